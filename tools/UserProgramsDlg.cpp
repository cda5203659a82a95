// The user programs dialog.
#include "tools/UserProgramsDlg.h"
#include "platform/CommandGuard.h"

#include "model/Messages.h"
#include "platform/FormPattern.h"
#include "platform/Prompter.h"
#include "platform/RadioGroup.h"
#include "platform/FormWidgets.h"

#include <QCheckBox>
#include <QSignalBlocker>

TUsCase::TUsCase(int selectedSlot, QWidget* owner) : QDialog(owner) {
    SetupToolForm(this, "UsCase", "Find users file");
    setFixedSize(480, 250);
    UserRG = new RadioGroup(this);
    UserRG->setObjectName("UserRG");
    UserRG->setTitle("Case users programm");
    UserRG->setGeometry(10, 10, 460, 110);
    Edit1 = PlaceEdit(this, "Edit1", 10, 130, 360);
    SrchBtn = PlaceButton(this, "SrchBtn", "Search", 380, 128);
    USPlCB = new QCheckBox("Start users programm with current *.kva file", this);
    USPlCB->setObjectName("USPlCB");
    USPlCB->setGeometry(10, 165, 460, 24);
    Button1 = PlaceButton(this, "Button1", "OK", 280, 210);
    Button1->setDefault(true);
    Button2 = PlaceButton(this, "Button2", "Cancel", 380, 210);

    for (int i = 0; i < UserProgramCount; ++i) {
        // An empty slot is restored as empty and without the antenna.
        saved_[i] = UserProgramSlots[i];
        if (saved_[i].Path.empty()) saved_[i].PassAntenna = false;
    }
    RebuildItems();
    if (selectedSlot >= 1 && selectedSlot <= UserProgramCount) {
        UserRG->SetItemIndex(selectedSlot - 1);
        UserRGClick(selectedSlot - 1);
        UserRG->setEnabled(false);
    }
    ConnectGuarded(UserRG, &RadioGroup::Clicked, this, [this](int index) { UserRGClick(index); });
    ConnectGuarded(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    ConnectGuarded(SrchBtn, &QPushButton::clicked, this, [this] { SrchBtnClick(); });
    ConnectGuarded(Button1, &QPushButton::clicked, this, [this] { Button1Click(true); });
    ConnectGuarded(Button2, &QPushButton::clicked, this, [this] { Button1Click(false); });
    ApplyFormPattern(this, QString(), ScreenScale());
    ApplyFormTexts(*this, FormLanguageLines("UsCase", 6), {"SrchBtn", "USPlCB", "Button1", "Button2", "UserRG"});
}

QString TUsCase::ItemText(int slot) const {
    const std::string& path = UserProgramSlots[slot].Path;
    if (path.empty()) return QString::fromUtf8(NotDefinedText) + QString::number(slot + 1);
    return QString::fromStdString(path);
}

void TUsCase::RebuildItems() {
    const int index = UserRG->ItemIndex();
    QStringList items;
    for (int i = 0; i < UserProgramCount; ++i) items << ItemText(i);
    UserRG->SetItems(items);
    UserRG->SetItemIndex(index);
}

void TUsCase::UserRGClick(int index) {
    if (index < 0 || index >= UserProgramCount) return;
    const QSignalBlocker block(Edit1);
    Edit1->setText(QString::fromStdString(UserProgramSlots[index].Path));
    SelectedSlot = index + 1;
    USPlCB->setChecked(UserProgramSlots[index].PassAntenna);
}

void TUsCase::Edit1Change() {
    if (SelectedSlot < 1) return;
    UserProgramSlots[SelectedSlot - 1].Path = Edit1->text().toStdString();
    RebuildItems();
}

void TUsCase::SrchBtnClick() {
    FileDialogRequest request;
    request.caption = "Search users file";
    // Programs here seldom end in .exe: every file can be chosen too.
    request.filter = "*.exe (*.exe);;All files (*)";
    request.fileName = Edit1->text().toStdString();
    const std::string chosen = CurrentPrompter().OpenFileName(request);
    if (!chosen.empty()) Edit1->setText(QString::fromStdString(chosen));
}

void TUsCase::Button1Click(bool ok) {
    if (!ok) {
        reject();
        return;
    }
    // Without a chosen slot there is nothing to store.
    if (SelectedSlot >= 1) {
        UserProgramSlot& slot = UserProgramSlots[SelectedSlot - 1];
        slot.Path = Edit1->text().toStdString();
        slot.PassAntenna = !slot.Path.empty() && USPlCB->isChecked();
    }
    accept();
}

void TUsCase::reject() {
    // Cancel, Escape and the close box all put the slots back.
    for (int i = 0; i < UserProgramCount; ++i) UserProgramSlots[i] = saved_[i];
    QDialog::reject();
}
