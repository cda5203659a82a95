#include "editing/TextEditDlg.h"
#include "platform/CommandGuard.h"

#include "model/EnvDef.h"
#include "platform/FontChoice.h"
#include "platform/FormPattern.h"
#include "platform/IniFile.h"
#include "platform/KeyFilter.h"
#include "platform/Prompter.h"
#include "platform/TextCodec.h"
#include "platform/WindowBox.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>

namespace {

constexpr int DesignWidth = 780;
constexpr int DesignHeight = 580;
const char* const Section = "Textf";

}  // namespace


TTextEditDlg::TTextEditDlg(QWidget* owner, std::string settingsPath)
    : QDialog(owner), settingsPath_(std::move(settingsPath)) {
    setObjectName("TextEditDlg");
    setWindowTitle("Antenna definition edit");
    setSizeGripEnabled(true);
    setMinimumSize(500, 400);
    resize(DesignWidth, DesignHeight);
    // The main window's font name; a window does not inherit it by itself.
    QFont font = this->font();
    if (owner) font.setFamily(owner->font().family());
    font.setPointSize(std::max(6, 10 + EnvDef.FontSize));
    setFont(font);
    Memo = new QPlainTextEdit(this);
    Memo->setObjectName("Memo");
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab and Return are text here; Ctrl+Tab leaves the text for the
    // buttons and Ctrl+Return is OK.
    Memo->setTabChangesFocus(false);
    InstallCtrlTabLeaves(Memo);
    Memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Memo->setVisible(false);
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(200, 540, 90, 30);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(340, 540, 90, 30);
    FontBtn = new QPushButton("Font", this);
    FontBtn->setObjectName("FontBtn");
    FontBtn->setGeometry(480, 540, 90, 30);
    const QRect design(0, 0, DesignWidth - 1, DesignHeight - 1);
    for (QWidget* w : {OKBtn, CancelBtn, FontBtn}) align_.AddRect(w, design);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    for (const QKeyCombination keys : {Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter})
        ConnectGuarded(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, OKBtn, &QPushButton::click);
    // Cancel is the user's choice to drop the text; Escape and the close box ask first.
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    ConnectGuarded(FontBtn, &QPushButton::clicked, this, &TTextEditDlg::FontBtnClick);
    const std::vector<std::string> lines = FormLanguageLines("TextEditDlg", 4);
    if (!lines.empty()) setWindowTitle(QString::fromStdString(lines[0]));
    QPushButton* const buttons[3] = {OKBtn, CancelBtn, FontBtn};
    for (std::size_t k = 1; k < lines.size() && k <= 3; ++k) buttons[k - 1]->setText(QString::fromStdString(lines[k]));
    if (owner) setWindowState(owner->window()->windowState() & Qt::WindowMaximized);

    const IniFile ini(settingsPath_);
    RestoreWindowBox(*this, ini, Section, QRect(0, 0, DesignWidth, DesignHeight), {}, QSize(500, 400));
    QFont memoFont = Memo->font();
    const std::string family = ini.ReadString(Section, "FName", "");
    if (!family.empty()) memoFont.setFamily(QString::fromStdString(family));
    const int size = ini.ReadInteger(Section, "FSize", memoFont.pointSize());
    if (size >= 4 && size <= 200) memoFont.setPointSize(size);
    Memo->setFont(memoFont);
}

TTextEditDlg::~TTextEditDlg() { FormClose(); }

void TTextEditDlg::FormClose() {
    if (closed_ || settingsPath_.empty()) return;
    closed_ = true;
    IniFile ini(settingsPath_);
    // A maximized close keeps the box of the last normal-sized one.
    WriteWindowBox(ini, *this, Section);
    ini.WriteString(Section, "FName", Memo->font().family().toStdString());
    ini.WriteInteger(Section, "Charset", 0);
    ini.WriteInteger(Section, "FSize", Memo->font().pointSize());
    ini.UpdateFile();
}

void TTextEditDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    align_.AlignAll(width(), height());
    Memo->setGeometry(0, 0, width(), std::max(0, OKBtn->y() - 10));
}

void TTextEditDlg::FontBtnClick() {
    QFont font = Memo->font();
    if (ChooseFont(font, this)) Memo->setFont(font);
}

int TTextEditDlg::Execute(std::string& text, const char* caption) {
    // Lines are shown without their CR; the edited text gets CR LF back when
    // it came with them. Setting the text is no user edit.
    crlf_ = text.find("\r\n") != std::string::npos;
    QString shown = DisplayQString(text);
    shown.remove('\r');
    Memo->setPlainText(shown);
    Memo->document()->setModified(false);
    Memo->setVisible(true);
    if (caption) setWindowTitle(QString::fromUtf8(caption));
    closed_ = false;
    const int result = ShowModal(*this);
    FormClose();
    if (result != QDialog::Accepted || !Memo->document()->isModified()) return 0;
    text = EditedText();
    return 1;
}

std::string TTextEditDlg::EditedText() const {
    QString edited = Memo->toPlainText();
    if (crlf_) edited.replace('\n', "\r\n");
    return edited.toUtf8().toStdString();
}

void TTextEditDlg::done(int result) {
    if (result == QDialog::Accepted && CheckText && Memo->document()->isModified()) {
        const std::string error = CheckText(EditedText());
        if (!error.empty()) {
            ErrorBox("%s", error.c_str());
            return;
        }
    }
    // While the form still shows its box.
    FormClose();
    QDialog::done(result);
}

void TTextEditDlg::reject() {
    if (Memo->document()->isModified() && YesNoBox("The text was changed. Discard the changes?") != BoxYes) return;
    QDialog::reject();
}
