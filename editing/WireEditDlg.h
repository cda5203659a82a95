#pragma once
// "Wire definition": one wire by numbers, its end points, radius and
// segmentation together with its length, azimuth and zenith angle around a
// point that stays in place. Every field updates the others while typing.
#include "editing/EditForm.h"
#include "model/AntDef.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class RadioGroup;

class TWireEditDlg : public QDialog {
    Q_OBJECT
public:
    explicit TWireEditDlg(QWidget* owner);
    // 1 when the wire was changed and written back into the table, else 0.
    // A typed radius is checked against the taper set keys of `ant`.
    int Execute(WireRec* wires, int index, int count, const AntDef& ant);
    // Rewrites every field but one (tag - 1 of a coordinate, 6 R, 7 Seg,
    // 10 length, 11 azimuth, 12 zenith; -1 none).
    void ShowValues(int except);
    void CartesianToPolar();
    void PolarToCartesian();
    void UpdateUnitLabels();

    WireRec OrigWire{};
    WireRec WorkWire{};
    double WireLength = 0.0, WireAzimuth = 0.0, WireZenith = 0.0;
    bool UserEditing = false;

    // Tags 1..9: X1, Y1, Z1, X2, Y2, Z2, length, azimuth, zenith.
    QLineEdit* Edits[10] = {};
    UpDownButton* UpDowns[10] = {};
    NumberStepper* Steppers[10] = {};
    QLabel* Units[8] = {};  // 1..6 coordinates, 7 length, 0 radius
    QLineEdit *EditR = nullptr, *EditSeg = nullptr;
    QLineEdit *EditX1 = nullptr, *EditY1 = nullptr, *EditZ1 = nullptr;
    QLineEdit *EditX2 = nullptr, *EditY2 = nullptr, *EditZ2 = nullptr;
    QLineEdit *EditLen = nullptr, *EditHDeg = nullptr, *EditVDeg = nullptr;
    RadioGroup* BaseSel = nullptr;
    QCheckBox *ChkRmd = nullptr, *ChkChen = nullptr;
    QPushButton *InitBtn = nullptr, *OKBtn = nullptr, *CancelBtn = nullptr;
    QTimer* Timer1 = nullptr;

    void EditChange(int tag);
    void EditRChange();
    void EditSegChange();
    void InitBtnClick();
    void ChkRmdClick();

private:
    // The wire the polar values were last taken from, and those values.
    struct PolarSource {
        WireRec Wire{};
        double Length = 0.0, Azimuth = 0.0, Zenith = 0.0;
    };
    const AntDef* ant_ = nullptr;
    PolarSource polarSource_;

    QString FieldValueText(int tag) const;
    void SetStepLimits();
};
