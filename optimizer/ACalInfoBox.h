#pragma once
// "Advanced": the goal values of the optimizer, the rear sector of the F/B
// ratio and the reference impedance of the SWR. Values are copied in, and
// back only on OK; a value that does not read or breaks its condition keeps
// the old one.
#include <QDialog>
#include <QString>

class CACal;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QToolButton;
class RadioGroup;

class TACalInfoBox : public QDialog {
    Q_OBJECT
public:
    explicit TACalInfoBox(QWidget* owner, const QString& fontName = {});

    bool Execute(CACal* cal);
    void UpdateMatchFields();
    // The SWR arrows: +1 up, -1 down.
    void UDSWRClick(int direction);
    // The arrows of the gain, F/B or jX goal (UDGain, UDFB, UDJX): the next
    // whole number that way from the value typed, within the up-down's range.
    void GoalArrowClick(QLineEdit* edit, int direction);
    void AutoJXClick();

    QTabWidget* PageControl1 = nullptr;
    QWidget *TabGoal = nullptr, *TabEnv = nullptr;
    QGroupBox *GroupTarget = nullptr, *GroupOptZ = nullptr, *GroupCurrent = nullptr;
    QGroupBox *GroupRear = nullptr, *GroupZ0 = nullptr;
    // Goals are reals: typed as such, shown as whole numbers on opening.
    QLineEdit *EditGain = nullptr, *EditFB = nullptr, *EditJX = nullptr;
    QLineEdit* EditSWR = nullptr;
    QToolButton *UDSWRUp = nullptr, *UDSWRDown = nullptr;
    RadioGroup* MatchSel = nullptr;
    QLineEdit *EditTergR = nullptr, *EditTergJX = nullptr;
    QRadioButton *RBIMAX = nullptr, *RBIMIN = nullptr;
    QLineEdit* EditCur = nullptr;
    QSpinBox *EditFBH = nullptr, *EditFBV = nullptr;
    QComboBox* EditSWRZ = nullptr;
    QLineEdit* EditSWRJX = nullptr;
    QPushButton *AutoJX = nullptr, *OKBtn = nullptr, *CancelBtn = nullptr;
    QLabel *LabelGain = nullptr, *LabelFB = nullptr, *LabelJX = nullptr, *LabelSWR = nullptr;
    QLabel *LabelJXUnit = nullptr, *LabelPulse = nullptr, *LabelAzimut = nullptr, *LabelVertical = nullptr;
    QLabel *LabelDegH = nullptr, *LabelDegV = nullptr, *LabelOhmR = nullptr, *LabelOhmJX = nullptr;

    // The text of its language section that no control holds (the prompt).
    const std::string& HeldLanguageText() const { return prompt_; }

private:
    // An up-down of a goal: its field, range and position (the value shown on
    // opening and after each step, stepped from when the text does not read).
    struct GoalUpDown {
        QLineEdit* edit;
        int lo, hi, position;
    };
    GoalUpDown* UpDownOf(QLineEdit* edit);
    void ShowGoal(GoalUpDown& ud, double goal);
    GoalUpDown goalUpDowns_[3] = {};

    void ChangeLanguage();
    void Store(CACal& cal);
    std::string prompt_ = "Z using line (Ohm)";
};
