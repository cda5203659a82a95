#pragma once
// "Rotate": turns the whole antenna about one coordinate axis through the
// origin. The rotation direction is remembered in the settings file.
#include "editing/EditForm.h"
#include "model/AntDef.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class RadioGroup;

class TRotWireDlg : public QDialog {
    Q_OBJECT
public:
    // settingsPath: the ini file holding "Rotate"/"CW".
    TRotWireDlg(QWidget* owner, std::string settingsPath);
    ~TRotWireDlg() override;
    // 1 when OK was pressed with an angle that parsed and is not 0, else 0.
    int Execute(AntDef& ant);
    void RotatePoint(double& x, double& y, double& z, double degrees) const;

    QLineEdit* EditDeg = nullptr;
    QLabel *Label1 = nullptr, *Label3 = nullptr;
    RadioGroup *BSel = nullptr, *CWRG = nullptr;
    UpDownButton* UpDown1 = nullptr;
    QTimer* Timer1 = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;
    NumberStepper* Stepper = nullptr;  // holds AngleStep and StepDir

private:
    void FormClose();
    std::string settingsPath_;
    bool closed_ = false;
};
