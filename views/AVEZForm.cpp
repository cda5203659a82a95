#include "views/AVEZForm.h"
#include "platform/CommandGuard.h"

#include "model/EnvDef.h"
#include "model/LanguageFile.h"
#include "model/LanguageState.h"
#include "platform/FormPattern.h"
#include "platform/FormWidgets.h"
#include "platform/KeyFilter.h"
#include "platform/TextCodec.h"
#include "views/OpenGLForm.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

TAVEZForm::TAVEZForm(QWidget* owner) : QDialog(owner) {
    setObjectName("AVEZForm");
    setWindowTitle("3D setup");
    QFont f = font();
    f.setPointSize(std::max(4, 10 + EnvDef.FontSize));
    setFont(f);
    setFixedSize(300, 190);
    auto group = [this](const char* name, QGroupBox*& box, QLabel*& label, QComboBox*& combo, const char* comboName,
                        QStringList items, int y) {
        box = new QGroupBox(this);
        box->setObjectName(name);
        box->setGeometry(10, y, 280, 65);
        label = new QLabel(box);
        label->setGeometry(10, 28, 150, 22);
        combo = new QComboBox(box);
        combo->setObjectName(comboName);
        combo->setEditable(true);
        // Nor completed: an inline completion takes the Return meant for OK.
        KeepTypedText(combo);
        combo->addItems(items);
        combo->setGeometry(170, 25, 90, 26);
        // Typed keys are dropped: the steps come from the lists only.
        InstallTypedKeyDiscard(combo);
        InstallTypedKeyDiscard(combo->lineEdit());
    };
    group("EvGB", EvGB, EvLabel, EvEditCB, "EvEditCB", {"1", "2", "3", "5", "6", "9", "10"}, 8);
    group("AzGB", AzGB, AzLabel, AzEditCB, "AzEditCB", {"1", "2", "3", "4", "5", "6", "9", "15", "20", "36"}, 80);
    ConnectGuarded(EvEditCB, &QComboBox::currentIndexChanged, this, [this] { EvEditCBChange(); });
    ConnectGuarded(AzEditCB, &QComboBox::currentIndexChanged, this, [this] { AzEditCBChange(); });
    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(110, 152, 80, 28);
    ConnectGuarded(Button1, &QPushButton::clicked, this, &QDialog::accept);
    ApplyFormPattern(this, owner ? owner->font().family() : QString(), ScreenScale());
    ChangeLanguage();
}

void TAVEZForm::ChangeLanguage() {
    std::vector<std::string> lines;
    std::string error;
    if (LanguageIsActive() && FindFormSection(LanguageText, "AVEZForm", 6, lines, error)) {
        setWindowTitle(DisplayQString(lines[0]));
        Button1->setText(DisplayQString(lines[1]));
        EvPrefix = DisplayQString(lines[2]);
        AzPrefix = DisplayQString(lines[3]);
        AzText = DisplayQString(lines[4]);
        EvText = DisplayQString(lines[5]);
    }
    AzLabel->setText(AzText);
    EvLabel->setText(EvText);
}

void TAVEZForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TAVEZForm::FormShow() {
    if (GLAzimStep <= 0) GLAzimStep = 6;
    if (GLElevStep <= 0) GLElevStep = 3;
    // The form writes its own boxes without running their change handlers.
    const QSignalBlocker blockEv(EvEditCB), blockAz(AzEditCB);
    EvEditCB->setCurrentIndex(EvEditCB->findText(QString::number(GLElevStep)));
    AzEditCB->setCurrentIndex(AzEditCB->findText(QString::number(GLAzimStep)));
    EvEditCB->setEditText(QString::number(GLElevStep));
    AzEditCB->setEditText(QString::number(GLAzimStep));
    AzGB->setTitle(AzPrefix + QString::number(360 / GLAzimStep));
    EvGB->setTitle(EvPrefix + QString::number(90 / GLElevStep));
}

void TAVEZForm::EvEditCBChange() {
    const int step = EvEditCB->currentText().toInt();
    if (step <= 0) return;
    GLElevStep = step;
    EvGB->setTitle(EvPrefix + QString::number(90 / step));
}

void TAVEZForm::AzEditCBChange() {
    const int step = AzEditCB->currentText().toInt();
    if (step <= 0) return;
    GLAzimStep = step;
    AzGB->setTitle(AzPrefix + QString::number(360 / step));
}
