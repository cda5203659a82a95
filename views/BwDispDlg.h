#pragma once
// The "Plots" dialog: impedance, SWR and gain charts, polar patterns and a
// table of the five main frequencies of the sweep, with the width, dot count,
// centre, SWR axis and match settings. The runs and the fit are SweepSession's.
#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>

#include "draw/FrequencyChart.h"
#include "views/SweepSession.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTabWidget;
class QWidget;

class TBwDispDlg : public QDialog {
    Q_OBJECT
public:
    TBwDispDlg(QWidget* owner, SweepHost host);
    ~TBwDispDlg() override;

    // Runs the dialog modally; 1 when any engine run was made.
    int Execute(uint32_t* palette);
    // Everything Execute does around the modal loop, for tests.
    void Open(uint32_t* palette);
    int Finish();

    void TryBtnClick();
    void MeasBtnClick();
    void HalfBtnClick();
    void GetFoBtnClick();
    void BwSelChange();
    void HalfAddCntChange();
    void PageChange();
    void LimitSWRChange();
    void SelMatchClick();
    void GridClick(int row, int col);
    void UpdateControls(bool showWidth);

    // The SWR drawn for each main point (before capping) and its frequency.
    double SwrAt[SweepMainPoints] = {};
    double SwrFreq[SweepMainPoints] = {};
    double SwrLimit = 30;
    SweepSession Session;

    QPushButton *TryBtn = nullptr, *MeasBtn = nullptr, *HalfBtn = nullptr, *GetFoBtn = nullptr, *PrintBtn = nullptr;
    QComboBox* BwSel = nullptr;
    QTabWidget* Page = nullptr;
    QWidget *PBoxZ = nullptr, *PBoxS = nullptr, *PBoxG = nullptr, *PBPtn = nullptr;
    QTableWidget* Grid = nullptr;
    QRadioButton* RGPtn[4] = {};
    QComboBox *EditCenter = nullptr, *LimitSWR = nullptr, *HalfAddCnt = nullptr, *MatchFreq = nullptr;
    QCheckBox *AutoSWRCb = nullptr, *MatchCenter = nullptr;
    QRadioButton* SelMatch[3] = {};

protected:
    void done(int result) override;

private:
    void PaintZ(QWidget* box);
    void PaintSwr(QWidget* box);
    void PaintGain(QWidget* box);
    void PaintPatterns(QWidget* box);
    void FillGrid();
    void AddCurve(CGraph& chart, const std::function<double(const SweepDot&)>& value);
    void ReadSettings();
    void WriteSettings();
    void SyncMatchSettings();
    bool OffSetup() const;
    int PatternField() const;

    uint32_t* palette_ = nullptr;
    bool initialised_ = false;
    CGraph graphZ_, graphSwr_, graphGain_;
};
