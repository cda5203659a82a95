#pragma once
// "Stack": how many copies of the antenna the calculation puts side by side
// (along Y) and one above the other (along Z), their spacings and where the
// antenna itself sits among them. Only the stacking fields are edited; the
// copies are built when the calculation copy is prepared.
#include "editing/EditForm.h"
#include "model/AntDef.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RadioGroup;

constexpr int StackMessageCount = 5;
constexpr int StackMessageSize = 128;
// "It's too much wires!" ... the question of the new-antenna button.
extern char StackMessages[StackMessageCount][StackMessageSize];
void DefaultStackMessages();
// The English texts, replaced by the active language's section when it has one.
void LoadStackMessages();

// Result of the new-antenna button: build a plain antenna from the stack.
constexpr int StackNewAntenna = 1024;

class TStackDlgBox : public QDialog {
    Q_OBJECT
public:
    explicit TStackDlgBox(QWidget* owner);
    // 0 after Cancel, 1 after "Make stack", StackNewAntenna when the user
    // confirmed building a new antenna from the stacked copies.
    int Execute(AntDef* ant);

    AntDef* Ant = nullptr;
    bool InLambda = true;
    double Lambda = 1.0;
    double HSpacing = 0.0, VSpacing = 0.0;
    bool UserEditing = false;

    QComboBox *HC = nullptr, *VC = nullptr;
    QLineEdit *HW = nullptr, *VW = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
    QLabel *LHW = nullptr, *LVW = nullptr;
    QCheckBox *CBRmdSel = nullptr, *CBSame = nullptr;
    RadioGroup* VT = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr, *AntNewBtn = nullptr;

    void HWChange();
    void VWChange();
    void CBRmdSelClick();
    void CBSameClick();
    void UpdateNewBtn();

private:
    void SpacingChanged(QLineEdit* from, QLineEdit* to, double& spacing, double& other);
    void ShowSpacings();
    void UpdateUnits();
};
