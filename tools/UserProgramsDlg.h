#pragma once
// "Find users file": the paths of the three user programs and whether each is
// started with the current antenna. The path field writes into the selected
// slot at once; Cancel puts back what the slots held when the form opened.
#include "model/EnvDef.h"

#include <QDialog>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class RadioGroup;

class TUsCase : public QDialog {
    Q_OBJECT
public:
    // selectedSlot: 1..3 edits only that slot; 0 lets the user choose one.
    explicit TUsCase(int selectedSlot, QWidget* owner = nullptr);

    int SelectedSlot = 0;  // 1..3, 0 none; the slot edited when the form closes
    RadioGroup* UserRG = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton *SrchBtn = nullptr, *Button1 = nullptr, *Button2 = nullptr;
    QCheckBox* USPlCB = nullptr;

    void UserRGClick(int index);
    void Edit1Change();
    void SrchBtnClick();
    void Button1Click(bool ok);
    void reject() override;

private:
    QString ItemText(int slot) const;
    void RebuildItems();
    UserProgramSlot saved_[UserProgramCount];
};
