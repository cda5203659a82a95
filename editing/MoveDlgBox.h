#pragma once
// "Move": shifts every wire, or the selected one (optionally dragging the
// ends of wires connected to it), along one axis by a distance.
#include "editing/EditForm.h"
#include "model/AntDef.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class RadioGroup;

class TMoveDlgBox : public QDialog {
    Q_OBJECT
public:
    explicit TMoveDlgBox(QWidget* owner);
    // wire: 1-based selected wire; column: 1..6 for X1..Z2, other for none.
    // 1 when OK was pressed and the distance parsed (also for 0), else 0.
    int Execute(AntDef& ant, int wire, int column);

    RadioGroup* VectSel = nullptr;
    QLineEdit* EditLen = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr;
    QCheckBox *ChkAll = nullptr, *ChkWith = nullptr;
    UpDownButton* UpDown1 = nullptr;
    QTimer* Timer1 = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;
    NumberStepper* Stepper = nullptr;  // holds MoveStep and StepDir

    void ChkAllClick();
};
