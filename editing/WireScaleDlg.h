#pragma once
// "Wire scale": scales the geometry for another design frequency. The user
// enters either the new frequency or the multiplier; the other follows.
#include "editing/EditForm.h"
#include "model/AntDef.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TWireScaleDlg : public QDialog {
    Q_OBJECT
public:
    explicit TWireScaleDlg(QWidget* owner);
    // 1 when the antenna was scaled; 0 after Cancel or with the multiplier 1.
    int Execute(AntDef& ant);
    // Rewrites the fields except one (0 TFreq, 1 TSC, -1 none).
    void ShowValues(int except);
    void TFreqChange();
    void TSCChange();

    AntDef* Ant = nullptr;
    double NewFreq = 14.05;
    double ScaleMult = 1.0;
    bool UserEditing = true;

    QLabel *DFreq = nullptr, *Label1 = nullptr, *Label2 = nullptr, *Label4 = nullptr;
    QComboBox* TFreq = nullptr;
    QLineEdit* TSC = nullptr;
    QGroupBox* GroupBox = nullptr;
    QCheckBox *WireXSW = nullptr, *WireYSW = nullptr, *WireZSW = nullptr, *WireRSW = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;
};
