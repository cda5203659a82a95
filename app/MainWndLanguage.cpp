// Languages: the language menu built from the list file, loading a language
// file whole (checked completely before it becomes active), and applying it
// to the main window and the shared texts.
#include "platform/FilePaths.h"
#include "app/LanguageTargets.h"
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "model/LanguageFile.h"
#include "model/LanguageState.h"
#include "model/Messages.h"
#include "platform/Prompter.h"
#include "platform/RadioGroup.h"
#include "platform/StringGrid.h"
#include "platform/TextCodec.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

namespace {

const char* const ListFileName = "krvlanguage.txt";

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

// A language file as UTF-8 text with CR LF line ends. UTF-8 files (with or
// without a byte order mark) are taken as they are; any other is decoded by
// the code page of the charset on its first line.
bool DecodeLanguage(const std::string& bytes, std::string& text, std::string& error) {
    std::string utf8;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        utf8 = bytes.substr(3);
    } else if (IsValidUtf8(bytes)) {
        utf8 = bytes;
    } else {
        int charset = 0;
        std::string first = bytes.substr(0, bytes.find('\n'));
        if (!first.empty() && first.back() == '\r') first.pop_back();
        ParseCharsetLine(first, charset);
        const char* codePage = CodePageOfCharset(charset);
        if (!DecodeCodePage(bytes, codePage, utf8)) {
            error = std::string("the code page ") + codePage + " is not available";
            return false;
        }
    }
    text = JoinLanguageLines(SplitLanguageLines(utf8));
    return true;
}

void ReportLanguageFile(const QString& path, const std::string& reason) {
    ErrorBox("Language file %s: %s", path.toStdString().c_str(), reason.c_str());
}

}  // namespace

QString TMainWnd::LanguageFolder() const { return QDir(ProgramFolder).filePath("Language"); }

void TMainWnd::ShowLanguage() {
    // Without a language list no language is active.
    if (QFileInfo::exists(QDir(LanguageFolder()).filePath(ListFileName))) {
        LanguageIndex = std::max(0, LanguageIndex);
        LoadLanguage(LanguageIndex);
    } else {
        LanguageIndex = -1;
        LanguageText.clear();
    }
    ApplyLanguage();
}

bool TMainWnd::LoadLanguage(int index) {
    const QString listPath = QDir(LanguageFolder()).filePath(ListFileName);
    const bool active = LanguageIsActive();
    std::string bytes, error;
    bool loaded = false;
    if (QFileInfo(listPath).isFile()) {
        if (!ReadLanguageBytes(LocalPath(listPath), bytes, error)) ReportLanguageFile(listPath, error);
    }
    const std::vector<std::string> list = SplitLanguageLines(bytes);
    if (!list.empty()) {
        LanguageMenu->menuAction()->setVisible(true);
        if (LanguageItems.empty()) BuildLanguageMenu(list);
        // A line that names no file (out of range, empty) loads nothing: the
        // language it stood for was removed from the list.
        if (index >= 0 && index < static_cast<int>(list.size()) && !list[static_cast<std::size_t>(index)].empty()) {
            const QString path = QDir(LanguageFolder()).filePath(FromLocalPath(list[static_cast<std::size_t>(index)]));
            std::string text;
            MainLanguage parsed;
            if (!QFileInfo(path).isFile())
                ShowMessage("File " + path.toStdString() + " not found");
            else if (!ReadLanguageBytes(LocalPath(path), bytes, error) || !DecodeLanguage(bytes, text, error) ||
                     !ParseMainLanguage(text, parsed, error))
                ReportLanguageFile(path, error);
            else {
                LanguageText = std::move(text);
                loaded = true;
            }
        }
    }
    // A failed load keeps the language that is active, if any.
    if (loaded) {
        LanguageIndex = index;
    } else if (!active) {
        LanguageIndex = -1;
        LanguageText.clear();
    }
    CheckLanguageItem();
    return loaded;
}

void TMainWnd::BuildLanguageMenu(const std::vector<std::string>& listLines) {
    auto* group = new QActionGroup(this);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const LanguageMenuEntry& entry : LanguageMenuEntries(listLines)) {
        auto* item = new QAction(DisplayQString(entry.Caption), this);
        item->setObjectName(QStringLiteral("LanguageItem%1").arg(LanguageItems.size() + 1));
        item->setProperty("tag", static_cast<int>(LanguageItems.size()) + 1);
        // The item loads its own line, also when lines before it made no item.
        item->setProperty("listLine", entry.ListLine);
        item->setCheckable(true);
        group->addAction(item);
        LanguageMenu->addAction(item);
        LanguageItems.push_back(item);
        ConnectGuarded(item, &QAction::triggered, this, [this, item] { English1Click(item); });
    }
}

void TMainWnd::CheckLanguageItem() {
    QAction* active = nullptr;
    for (QAction* item : LanguageItems) {
        const bool on = LanguageIndex >= 0 && item->property("listLine").toInt() == LanguageIndex;
        item->setChecked(on);
        if (on) active = item;
    }
    LanguageMenu->setDefaultAction(active);
}

void TMainWnd::English1Click(QObject* sender) {
    if (JobDef.Busy || !sender) return;
    if (LoadLanguage(sender->property("listLine").toInt())) ApplyLanguage();
    FormResize();
    PageChange();
}

namespace {

void SetControlText(QTabWidget* page, QObject* target, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(target))
        action->setText(text);
    else if (auto* menu = qobject_cast<QMenu*>(target))
        menu->setTitle(text);
    else if (auto* widget = qobject_cast<QWidget*>(target); widget && page->indexOf(widget) >= 0)
        page->setTabText(page->indexOf(widget), text);
    else if (auto* group = qobject_cast<QGroupBox*>(target))
        group->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(target))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(target))
        label->setText(text);
}

void SetControlHint(QObject* target, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(target))
        action->setToolTip(text);
    else if (auto* widget = qobject_cast<QWidget*>(target))
        widget->setToolTip(text);
}

}  // namespace

void TMainWnd::ApplyMainWndSection(const MainLanguage& language) {
    const std::vector<std::string>& lines = language.MainWnd;
    for (int k = 0; k < MainWndTextTargetCount; ++k) {
        if (!MainWndTextTargets[k]) continue;
        if (QObject* target = findChild<QObject*>(QString::fromLatin1(MainWndTextTargets[k])))
            SetControlText(Page, target, FromUtf8(lines[static_cast<std::size_t>(k)]));
    }
    RoundDigitsCaption = FromUtf8(lines[RoundDigitsLine]);
    {
        const QSignalBlocker block(MaterialSel);
        MaterialSel->clear();
        for (int i = 0; i < MaterialItemCount; ++i)
            MaterialSel->addItem(FromUtf8(lines[static_cast<std::size_t>(MaterialItemsLine + i)]));
        MaterialSel->setCurrentIndex(std::clamp(EnvDef.Material, 0, MaterialItemCount - 1));
    }
    // A slot that holds a program keeps the program's name.
    QAction* userItems[UserProgramCount] = {User1Menu, User2Menu, User3Menu};
    for (int i = 0; i < UserProgramCount; ++i)
        if (UserProgramSlots[i].Path.empty())
            userItems[i]->setText(FromUtf8(lines[static_cast<std::size_t>(UserMenuLine + i)]));
    const int ground = CalcSel->ItemIndex();
    CalcSel->SetItems({FromUtf8(lines[CalcSelItemsLine]), FromUtf8(lines[CalcSelItemsLine + 1]),
                       FromUtf8(lines[CalcSelItemsLine + 2])});
    CalcSel->SetItemIndex(ground);
}

void TMainWnd::ApplyHintSection(const MainLanguage& language) {
    for (int k = 0; k < HintTargetCount; ++k) {
        if (!HintTargets[k]) continue;
        if (QObject* target = findChild<QObject*>(QString::fromLatin1(HintTargets[k])))
            SetControlHint(target, FromUtf8(language.Hints[static_cast<std::size_t>(k)]));
    }
    if (language.NewsName.empty()) {
        WnewM->setVisible(false);
    } else {
        WnewM->setText(FromUtf8(language.NewsName));
        // The file opened is the caption as the language gave it, whatever
        // a '&' in it does to the caption.
        WnewM->setProperty("fileName", FromUtf8(language.NewsName));
        WnewM->setVisible(true);
    }
}

void TMainWnd::ApplyLanguage() {
    if (!LanguageIsActive()) {
        ApplyDefaultMessages();
        return;
    }
    MainLanguage language;
    std::string error;
    if (!ParseMainLanguage(LanguageText, language, error)) {
        // Loading checks the same; a text that fails here changes nothing.
        ErrorBox("Language: %s", error.c_str());
        return;
    }
    if (language.HasHelpFile) HelpFileName = FromUtf8(language.HelpFile);
    if (!language.MainWnd.empty()) ApplyMainWndSection(language);
    if (!language.Hints.empty()) ApplyHintSection(language);
    ApplyLanguageMessages(language);
    // The round-value items: their digit count, then the common text.
    QAction* roundItems[4] = {K26, K25, K24, K23};
    for (int i = 0; i < 4; ++i) roundItems[i]->setText(QString::number(5 - i) + ' ' + RoundDigitsCaption);

    // Texts built on the new captions and buffers.
    UpdateCount();
    AntName3->setText(DisplayQString(Ant.Name));
    for (StringGrid* g : {Grid1, Grid2, Grid3, Grid4}) g->Invalidate();
}
