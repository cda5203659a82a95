#pragma once
// "Search and replace": replaces one value by another wherever it occurs
// exactly in the wire table (a coordinate, optionally with its mirror image,
// a radius or a segmentation code).
#include "editing/EditForm.h"
#include "model/AntDef.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RadioGroup;

class TValRepDlg : public QDialog {
    Q_OBJECT
public:
    explicit TValRepDlg(QWidget* owner);
    // wire: 1-based; column 1..8 of the wire table. 1 when something was replaced.
    int Execute(AntDef& ant, int wire, int column);
    // The two-value variant: 1 after OK when the values then differ.
    int ExecuteValue(double& newValue, double& oldValue);

    QLineEdit *EditOld = nullptr, *EditNew = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr;
    RadioGroup* RepSel = nullptr;
    QCheckBox* InvSel = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;

private:
    int ReplaceSegmentCodes(AntDef& ant, const WireRec& wire);
};
