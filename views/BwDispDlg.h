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

class Canvas;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTabWidget;
class QWidget;
class UpDownButton;

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
    void ColorBtnClick();
    void PrintBtnClick();
    // The up-downs of the centre and the match frequency: one step of
    // NiceStep(0.001 f) up (+1) or down (-1), never below 1 MHz.
    void UDFreqClick(int direction);
    void UDMatchClick(int direction);
    // The tab control's popup: the match mode of the plots.
    void PopupMenuPopup();
    void SetMatchMode(int mode);  // KMOFFClick, KMSWRClick, KMZSWRClick
    void ChangeLanguage();
    // The three charts on a printer page (or any canvas) of that size.
    void PrintCharts(Canvas& page, const QString& fontName);

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
    QPushButton* ColorBtn = nullptr;
    UpDownButton *UDFreq = nullptr, *UDMatch = nullptr;
    QMenu* PopupMenu = nullptr;
    QMenu* KM = nullptr;
    QAction *KMOFF = nullptr, *KMSWR = nullptr, *KMZSWR = nullptr;
    // The confirmation of the resonance search (message section "MessagBwDisp_Dlg").
    QString ResonanceQuestion;

protected:
    void done(int result) override;

private:
    void PaintZ(QWidget* box);
    void PaintSwr(QWidget* box);
    void PaintGain(QWidget* box);
    // The charts' curves and texts once the chart is bound to its canvas;
    // `printed` gives the printout's texts and pens.
    void DrawZ(CGraph& g, bool printed);
    void DrawSwr(CGraph& g, bool printed);
    void DrawGain(CGraph& g);
    void PaintPatterns(QWidget* box);
    void FillGrid();
    void AddCurve(CGraph& chart, const std::function<double(const SweepDot&)>& value);
    void ReadSettings();
    void WriteSettings();
    void SyncMatchSettings();
    // What a command does first with a width typed into BwSel, as Return does.
    void TakeTypedWidth();
    bool OffSetup() const;
    int PatternField() const;

    uint32_t* palette_ = nullptr;
    bool initialised_ = false;
    // The centre box's text as the dialog wrote it: rounded to 4 decimals,
    // it names the table's centre, not a new one.
    QString shownCentre_;
    CGraph graphZ_, graphSwr_, graphGain_;
};
