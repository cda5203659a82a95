// The controls of the four tabs, placed in absolute geometry at the design
// size; the form re-layout scales them with the window.
#include "app/MainWnd.h"
#include "app/MainWndLayout.h"
#include "platform/FormWidgets.h"
#include "platform/RadioGroup.h"
#include "platform/SingleLineField.h"
#include "platform/StringGrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

namespace {

QStringList Presets(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* t : texts) list << QString::fromLatin1(t);
    return list;
}

}  // namespace

void TMainWnd::BuildGeometryTab() {
    QWidget* t = TabSheet1;
    Label1 = PlaceLabel(t, "Label1", "Name", 4, 6, 44, 20);
    AntName = Place(new QLineEdit(t), "AntName", 48, 4, 300, 22);
    // It takes no more than the record's name holds.
    InstallSingleLine(AntName, AntNameLength);
    Label5 = PlaceLabel(t, "Label5", "Freq. (MHz)", 356, 6, 80, 20);
    Freq = PlacePresetCombo(t, "Freq", {}, 438, 4, 96);
    DocBtn = PlaceButton(t, "DocBtn", "Comments", 652, 2, 116, 26);
    DocBtn->setVisible(false);

    Label6 = PlaceLabel(t, "Label6", "Segmentation", 4, 34, 98, 20);
    Label3 = PlaceLabel(t, "Label3", "DM1", 104, 34, 32, 20);
    EditDM1 = PlacePresetCombo(t, "EditDM1", Presets({"100", "200", "400", "600", "800", "1500", "3000"}), 136, 32, 64);
    Label4 = PlaceLabel(t, "Label4", "DM2", 204, 34, 32, 20);
    EditDM2 = PlacePresetCombo(t, "EditDM2",
                               Presets({"10", "20", "30", "40", "60", "80", "120", "200", "300", "400", "600"}), 236,
                               32, 60);
    Label14 = PlaceLabel(t, "Label14", "EC", 304, 34, 22, 20);
    EditEC = PlacePresetCombo(t, "EditEC", Presets({"1", "2", "3", "4", "8", "16"}), 328, 32, 52);
    Label16 = PlaceLabel(t, "Label16", "SC", 388, 34, 22, 20);
    EditSC = PlacePresetCombo(t, "EditSC", Presets({"1.01", "1.1", "1.3", "1.6", "2.0", "2.5", "3.0"}), 412, 32, 60);
    EditDM1->setToolTip("DM1: the interval of tapering start (= lambda/DM1)");
    EditEC->setToolTip("EC: the number of segments at tapering-end point");
    EditSC->setToolTip("SC: the easing parameter (multiplier), 1 < SC <= 3");
    Label2 = PlaceLabel(t, "Label2", "Tables", 488, 34, 60, 20);

    WireCnt = PlaceLabel(t, "WireCnt", "Wire 0", 4, 62, 110, 18);
    ChkWith = PlaceCheck(t, "ChkWith", "Keep connect.", 120, 60, 130, 20);
    ChkRmd = PlaceCheck(t, "ChkRmd", "lambda", 260, 60, 90, 20);
    Grid2 = Place(new StringGrid(t), "Grid2", 4, 82, 768, 200);

    CurCnt = PlaceLabel(t, "CurCnt", "Source 0", 4, 290, 100, 18);
    AutoVol = PlaceCheck(t, "AutoVol", "Auto Voltage", 110, 288, 150, 20);
    LoadCnt = PlaceLabel(t, "LoadCnt", "Load 0", 300, 290, 100, 18);
    EnbLoad = PlaceCheck(t, "EnbLoad", "Use loads", 410, 288, 150, 20);
    Grid3 = Place(new StringGrid(t), "Grid3", 4, 310, 290, 140);
    Grid4 = Place(new StringGrid(t), "Grid4", 300, 310, 472, 140);
}

void TMainWnd::BuildViewTab() {
    QWidget* t = TabSheet2;
    Label8 = PlaceLabel(t, "Label8", "Zoom", 4, 4, 40, 20);
    TBarSC = Place(new QSlider(Qt::Horizontal, t), "TBarSC", 44, 2, 150, 24);
    TBarSC->setRange(0, 170);
    TBarSC->setValue(85);
    DspCur = PlaceCheck(t, "DspCur", "Currents", 204, 4, 86, 20);
    DspCur->setProperty("tag", 31);
    Label13 = PlaceLabel(t, "Label13", "Scale", 292, 4, 40, 20);
    TBarCur = Place(new QSlider(Qt::Horizontal, t), "TBarCur", 332, 2, 110, 24);
    TBarCur->setRange(0, 100);
    TBarCur->setValue(50);
    TBarCur->setEnabled(false);
    SelLB = PlaceLabel(t, "SelLB", "Wire", 452, 4, 40, 20);
    SelWirSpEd = Place(new IntegerSpin(t), "SelWirSpEd", 492, 2, 64, 24);
    SelWirSpEd->setRange(0, 0);
    OrgBtn = PlaceButton(t, "OrgBtn", "0", 566, 1, 40, 26);
    AllViewBtn = PlaceButton(t, "AllViewBtn", "All", 610, 1, 50, 26);

    ViewImage = Place(new QLabel(t), "ViewImage", 0, 28, 765, 360);
    ViewImage->setCursor(Qt::CrossCursor);
    ViewImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ViewImage->setAutoFillBackground(true);
    ViewImage->setBackgroundRole(QPalette::Base);

    DspPlus = PlaceCheck(t, "DspPlus", "Segments", 4, 394, 92, 20);
    LnThickCB = PlaceCheck(t, "LnThickCB", "Pen width x 2", 98, 394, 118, 20);
    Label7 = PlaceLabel(t, "Label7", "Centre", 218, 396, 48, 20);
    CenterRb = Place(new QRadioButton(" X=0, Y=0, Z=H", t), "CenterRb", 266, 394, 134, 20);
    FullWRb = Place(new QRadioButton("Midle point of antenna", t), "FullWRb", 400, 394, 174, 20);
    WireCenterRB = Place(new QRadioButton("Selected wire", t), "WireCenterRB", 574, 394, 114, 20);
    FullWRb->setChecked(true);
    SavImBtn = PlaceButton(t, "SavImBtn", "Save image", 688, 392, 84, 26);
}

void TMainWnd::BuildCalcTab() {
    QWidget* t = TabSheet3;
    Label9 = PlaceLabel(t, "Label9", "Frequency (MHz)", 4, 4, 120, 20);
    DoFreq = PlacePresetCombo(t, "DoFreq", {}, 4, 24, 110);
    CalcSel = Place(new RadioGroup(t), "CalcSel", 4, 52, 110, 84);
    CalcSel->setTitle("Ground");
    CalcSel->SetItems({"Free space", "Perfect", "Real"});
    CalcSel->SetItemIndex(0);
    Label11 = PlaceLabel(t, "Label11", "Add height", 120, 52, 110, 20);
    AntHeight = PlacePresetCombo(t, "AntHeight",
                                 Presets({"0", "3", "5", "7", "10", "12", "15", "16", "17", "18", "19", "20", "21", "22",
                                          "23", "24", "25", "28", "30", "35", "40", "45", "50", "60", "70", "80", "90",
                                          "100"}),
                                 120, 72, 100);
    GndSetBtn = PlaceButton(t, "GndSetBtn", "Setup", 120, 102, 100, 26);
    GndSetBtn->setVisible(false);
    Label12 = PlaceLabel(t, "Label12", "Material", 4, 140, 100, 20);
    MaterialSel = PlacePresetCombo(t, "MaterialSel",
                                   Presets({"No loss", "Cu wire", "Cu pipe", "Al wire", "Al pipe", "Fe wire", "Fe pipe",
                                            "User wire", "User pipe"}),
                                   4, 160, 220, false);
    MaterialSel->setProperty("tag", 40);
    CalTrgBtn = PlaceButton(t, "CalTrgBtn", "Start", 4, 190, 110, 30);
    ACalBtn = PlaceButton(t, "ACalBtn", "Optimization", 120, 190, 110, 30);

    Label10 = PlaceLabel(t, "Label10", "Antenna:", 240, 4, 66, 18);
    AntName3 = PlaceLabel(t, "AntName3", "", 306, 4, 454, 18);
    LogMemo = Place(new QPlainTextEdit(t), "LogMemo", 240, 25, 520, 200);

    Label15 = PlaceLabel(t, "Label15", "Results", 4, 226, 100, 16);
    Grid1 = Place(new StringGrid(t), "Grid1", 4, 244, 768, 150);
    EleEditBtn = PlaceButton(t, "EleEditBtn", "Element edit", 4, 400, 120, 26);
    WireCadBtn = PlaceButton(t, "WireCadBtn", "Wire edit", 130, 400, 120, 26);
    ACalResBtn = PlaceButton(t, "ACalResBtn", "Optimization log", 256, 400, 140, 26);
    BwBtn = PlaceButton(t, "BwBtn", "Plots", 402, 400, 100, 26);
}

void TMainWnd::BuildFarFieldTab() {
    QWidget* t = TabSheet4;
    DNImage = Place(new QLabel(t), "DNImage", 0, 0, 764, 395);
    DNImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    DNImage->setAutoFillBackground(true);
    DNImage->setBackgroundRole(QPalette::Base);
    WaveSel = Place(new RadioGroup(t), "WaveSel", 4, 397, 280, 56);
    WaveSel->setTitle("Field(s)");
    WaveSel->SetColumns(4);
    WaveSel->SetItems({"V", "H", "Total", "V+H"});
    OrientCB = PlaceCheck(t, "OrientCB", "+90 dg", 292, 414, 80, 20);
    EleBtn = PlaceButton(t, "EleBtn", "Elevation", 380, 410, 110, 26);
    PrintBtn = PlaceButton(t, "PrintBtn", "Print", 498, 410, 90, 26);
    Btn3D = PlaceButton(t, "Btn3D", "3 Dimension", 596, 410, 120, 26);
}
