#include "views/NWLForm.h"
#include "platform/CommandGuard.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/FormWidgets.h"
#include "platform/SettingsPath.h"
#include "model/SafeFile.h"
#include "platform/IniFile.h"
#include "platform/FormPattern.h"
#include "platform/KeyFilter.h"
#include "platform/Prompter.h"
#include "platform/Shell.h"

namespace {

const char* const BandTexts[] = {"1.8 - 2.0",    "3.5 - 3.8",   "7.0 - 7.1",   "10.1 - 10.15",
                                 "14.0 - 14.35", "18.05 - 18.2", "21.0 - 21.45", "24.85 - 25.0",
                                 "28.0 - 29.7",  "50.0 - 51.0", "144.0 - 146.0"};

// A right-button press on the check box chooses the program anew.
class RightClickFilter : public QObject {
public:
    RightClickFilter(QObject* parent, std::function<void()> onRight) : QObject(parent), onRight_(std::move(onRight)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            onRight_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onRight_;
};

}  // namespace

TNWLForm::TNWLForm(QWidget* owner, SweepHost host, std::function<void()> pump)
    : QDialog(owner), list_(std::move(host), std::move(pump)) {
    setObjectName("NWLForm");
    setWindowTitle("F/Z Multiband");
    setFixedSize(560, 430);
    ResMemo = new QPlainTextEdit(this);
    ResMemo->setObjectName("ResMemo");
    ResMemo->setGeometry(10, 10, 300, 410);
    ResMemo->setReadOnly(true);
    auto* l1 = new QLabel("Bands", this);
    l1->setObjectName("Label1");
    l1->setGeometry(320, 10, 120, 20);
    BandLB = new QListWidget(this);
    BandLB->setObjectName("BandLB");
    BandLB->setGeometry(320, 32, 130, 230);
    for (const char* text : BandTexts) {
        auto* item = new QListWidgetItem(text, BandLB);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    auto* l5 = new QLabel("Steps", this);
    l5->setObjectName("Label5");
    l5->setGeometry(460, 10, 90, 20);
    StepCB = new QComboBox(this);
    StepCB->setObjectName("StepCB");
    StepCB->setGeometry(460, 32, 90, 24);
    StepCB->setEditable(true);
    KeepTypedText(StepCB);
    StepCB->addItems({"3", "5", "11", "15", "21", "51", "101", "251", "501"});
    StepCB->setEditText("11");
    InstallWholeNumber(StepCB, 5);

    SetBndPnl = new QWidget(this);
    SetBndPnl->setObjectName("SetBndPnl");
    SetBndPnl->setGeometry(320, 270, 230, 80);
    auto* l2 = new QLabel("Scan frequence", SetBndPnl);
    l2->setObjectName("Label2");
    l2->setGeometry(0, 0, 200, 20);
    auto* l3 = new QLabel("Start", SetBndPnl);
    l3->setObjectName("Label3");
    l3->setGeometry(0, 22, 60, 20);
    auto* l4 = new QLabel("End", SetBndPnl);
    l4->setObjectName("Label4");
    l4->setGeometry(70, 22, 60, 20);
    StEd = new QLineEdit(SetBndPnl);
    StEd->setObjectName("StEd");
    StEd->setGeometry(0, 44, 64, 24);
    EndEd = new QLineEdit(SetBndPnl);
    EndEd->setObjectName("EndEd");
    EndEd->setGeometry(70, 44, 64, 24);
    InstallCommaToPoint(StEd);
    InstallCommaToPoint(EndEd);
    OKbBtn = PlaceButton(SetBndPnl, "OKbBtn", "OK", 140, 42, 60);
    SetBndPnl->hide();

    OKBtn = PlaceButton(this, "OKBtn", "Start", 460, 70);
    SaveBtn = PlaceButton(this, "SaveBtn", "Save", 460, 104);
    SaveBtn->setEnabled(false);
    ClrBtn = PlaceButton(this, "ClrBtn", "Clear", 460, 138);
    CancBtn = PlaceButton(this, "CancBtn", "Close", 460, 392);
    StCB = new QCheckBox("Start user programm", this);
    StCB->setObjectName("StCB");
    StCB->setGeometry(320, 360, 230, 24);
    StCB->installEventFilter(new RightClickFilter(this, [this] { ChooseUserProgram(UserProgram); }));

    IniFile ini(SettingsFilePath());
    UserProgram = QString::fromStdString(ini.ReadString("UserFiles", "NWL", ""));

    ApplyFormPattern(this, owner ? owner->font().family() : font().family(), ScreenScale());
    ChangeLanguage();

    ConnectGuarded(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    ConnectGuarded(SaveBtn, &QPushButton::clicked, this, [this] { SaveBtnClick(); });
    ConnectGuarded(ClrBtn, &QPushButton::clicked, this, [this] { ClrBtnClick(); });
    ConnectGuarded(CancBtn, &QPushButton::clicked, this, [this] { close(); });
    ConnectGuarded(OKbBtn, &QPushButton::clicked, this, [this] { OKbBtnClick(); });
    ConnectGuarded(BandLB, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { EditBand(BandLB->row(item)); });
    ConnectGuarded(StepCB, &QComboBox::editTextChanged, this, [this](const QString& t) { OKBtn->setEnabled(!t.isEmpty()); });
    ConnectGuarded(StCB, &QCheckBox::clicked, this, [this] {
        if (UserProgram.isEmpty()) ChooseUserProgram({});
    });
}

void TNWLForm::ChangeLanguage() {
    const auto lines = FormLanguageLines("NWLForm", 13);
    if (lines.size() < 13) return;
    auto text = [&](int i) { return QString::fromStdString(lines[static_cast<std::size_t>(i)]); };
    setWindowTitle(text(0));
    const char* labels[5] = {"Label1", "Label5", "Label2", "Label3", "Label4"};
    for (int i = 0; i < 5; ++i)
        if (auto* l = findChild<QLabel*>(labels[i])) l->setText(text(1 + i));
    OKbBtn->setText(text(6));
    CancBtn->setText(text(7));
    SaveBtn->setText(text(8));
    ClrBtn->setText(text(9));
    StCB->setText(text(10));
    StartText = text(11);
    StopText = text(12);
    OKBtn->setText(StartText);
}

void TNWLForm::ChooseUserProgram(const QString& current) {
    FileDialogRequest request;
    request.caption = "Find user file";
    request.fileName = current.toStdString();
    request.filter = "Programs (*);;*.exe (*.exe)";
    std::string chosen = CurrentPrompter().OpenFileName(request);
    if (chosen.empty()) return;
    UserProgram = QString::fromStdString(chosen);
    IniFile ini(SettingsFilePath());
    ini.WriteString("UserFiles", "NWL", chosen);
    ini.UpdateFile();
}

void TNWLForm::OKBtnClick() {
    if (list_.Running) {
        // Pressed while the points pump the queue: the run ends at its next test.
        list_.Running = false;
        OKBtn->setText(StartText);
        StepCB->setEnabled(true);
        return;
    }
    if (!BandsComputable()) return;
    for (QWidget* w : {static_cast<QWidget*>(StepCB), static_cast<QWidget*>(BandLB),
                       static_cast<QWidget*>(SaveBtn), static_cast<QWidget*>(ClrBtn)})
        w->setEnabled(false);
    OKBtn->setText(StopText);
    list_.Running = true;
    ComputeBands();
    SaveBtn->setEnabled(ResMemo->document()->blockCount() > 1);
    StepCB->setEnabled(true);
    ClrBtn->setEnabled(true);
    BandLB->setEnabled(true);
    OKBtn->setText(StartText);
    list_.Running = false;
}

int TNWLForm::PointsPerBand() const {
    bool ok = false;
    const int points = StepCB->currentText().toInt(&ok);
    return ok ? points : 1;
}

// A checked band whose points the list cannot compute, or whose lines would
// not tell its points apart, is refused before anything runs, with the
// message the frequency table shows for such a range.
bool TNWLForm::BandsComputable() const {
    for (int i = 0; i < BandLB->count(); ++i) {
        if (BandLB->item(i)->checkState() != Qt::Checked) continue;
        const std::string text = BandLB->item(i)->text().toStdString();
        FreqTableRange range;
        const FreqRangeStatus status = ReadBandRange(text, PointsPerBand(), range);
        if (status != FreqRangeStatus::Ok) {
            ErrorBox("%s: %s", text.c_str(), FreqRangeMessage(status).c_str());
            return false;
        }
    }
    return true;
}

void TNWLForm::ComputeBands() {
    std::vector<BandItem> bands;
    for (int i = 0; i < BandLB->count(); ++i)
        bands.push_back({BandLB->item(i)->text().toStdString(), BandLB->item(i)->checkState() == Qt::Checked});
    const int points = PointsPerBand();
    std::vector<std::string> lines;
    // Lines appear as they are computed, so the list grows while it runs.
    std::size_t shown = 0;
    auto flush = [&] {
        for (; shown < lines.size(); ++shown) ResMemo->appendPlainText(QString::fromStdString(lines[shown]));
    };
    list_.OnLine = flush;
    list_.ComputeBands(bands, points, lines);
    list_.OnLine = nullptr;
    flush();
}

void TNWLForm::ClrBtnClick() { ResMemo->clear(); }

void TNWLForm::EditBand(int row) {
    if (row < 0 || row >= BandLB->count() || list_.Running) return;
    QString text = BandLB->item(row)->text();
    StEd->setText(text.section(' ', 0, 0));
    EndEd->setText(text.section(' ', -1, -1));
    editedRow_ = row;
    SetBndPnl->show();
}

void TNWLForm::OKbBtnClick() {
    if (editedRow_ >= 0 && editedRow_ < BandLB->count()) {
        const QString text = StEd->text() + " - " + EndEd->text();
        // Frequencies no antenna takes are refused where they are typed; what
        // depends on the points per band is checked when the list runs.
        FreqTableRange range;
        const FreqRangeStatus status = ReadBandRange(text.toStdString(), 1, range);
        if (status == FreqRangeStatus::BelowOneKHz || status == FreqRangeStatus::AboveLimit) {
            ErrorBox("%s: %s", text.toStdString().c_str(), FreqRangeMessage(status).c_str());
            return;
        }
        QListWidgetItem* item = BandLB->item(editedRow_);
        item->setText(text);
        item->setCheckState(Qt::Checked);
    }
    SetBndPnl->hide();
}

void TNWLForm::SaveBtnClick() {
    QString proposed = "noname.nwl";
    if (!FileName.isEmpty()) {
        QFileInfo info(FileName);
        QString base = info.path() + "/" + info.completeBaseName();
        if (base.endsWith(".kva", Qt::CaseInsensitive)) base.chop(4);
        proposed = base;
    }
    FileName = proposed;
    StepCB->setEnabled(false);
    FileDialogRequest request;
    request.caption = "Save";
    request.fileName = QFileInfo(proposed).fileName().toStdString();
    request.folder = QFileInfo(proposed).path().toStdString();
    request.filter = "*.nwl (*.nwl)";
    request.defaultSuffix = "nwl";
    std::string chosen = CurrentPrompter().SaveFileName(request);
    if (!chosen.empty()) {
        QString name = QString::fromStdString(chosen);
        if (QFileInfo(name).suffix().isEmpty()) name += ".nwl";
        FileName = name;
        QString text = ResMemo->toPlainText();
        if (text.isEmpty()) {
            InfoBox("The date is not calculated!");
            return;
        }
        std::string bytes = text.replace('\n', "\r\n").toStdString() + "\r\n";
        std::string error;
        if (!WriteFileReplacing(name.toStdString(), bytes, &error)) {
            ErrorBox("Can not save file %s\n%s", name.toStdString().c_str(), error.c_str());
            return;
        }
    }
    if (StCB->isChecked() && !UserProgram.isEmpty()) {
        if (!QFileInfo::exists(UserProgram)) ChooseUserProgram(UserProgram);
        if (QFileInfo::exists(UserProgram)) ShellOpen(UserProgram.toStdString(), FileName.toStdString());
    }
}

void TNWLForm::closeEvent(QCloseEvent* event) {
    // A close while the list runs stops it; the window closes when it returns.
    if (list_.Running) {
        list_.Running = false;
        event->ignore();
        QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
        return;
    }
    QDialog::closeEvent(event);
}

void TNWLForm::reject() {
    if (list_.Running) {
        list_.Running = false;
        return;
    }
    QDialog::reject();
}
