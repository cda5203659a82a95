// The controls of the View and far-field tabs: zoom and current bars, display
// boxes, selected wire, rotation centre, field choice and plot orientation,
// and what a change to either tab shows.
#include "views/OpenGLForm.h"
#include "app/AntennaViewEvents.h"
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "draw/PolarPlot.h"
#include "platform/RadioGroup.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

void TMainWnd::ConnectView() {
    new AntennaViewEvents(this);
    ConnectGuarded(TBarSC, &QSlider::valueChanged, this, [this] { TBarSCChange(nullptr); });
    ConnectGuarded(TBarCur, &QSlider::valueChanged, this, [this] { TBarSCChange(nullptr); });
    for (QCheckBox* box : {DspCur, DspPlus, LnThickCB})
        ConnectGuarded(box, &QCheckBox::clicked, this, [this, box] { TBarSCChange(box); });
    ConnectGuarded(SelWirSpEd, &QSpinBox::valueChanged, this, [this] { SelWirSpEdChange(); });
    ConnectGuarded(CenterRb, &QRadioButton::clicked, this, [this] { CenterRbClick(true); });
    ConnectGuarded(FullWRb, &QRadioButton::clicked, this, [this] { FullWRbClick(true); });
    ConnectGuarded(WireCenterRB, &QRadioButton::clicked, this, [this] { WireCenterRBClick(); });
    ConnectGuarded(OrgBtn, &QPushButton::clicked, this, [this] { OrgBtnClick(); });
    ConnectGuarded(AllViewBtn, &QPushButton::clicked, this, [this] { AllViewBtnClick(); });
    ConnectGuarded(WaveSel, &RadioGroup::Clicked, this, [this](int index) { WaveSelClick(index); });
    ConnectGuarded(OrientCB, &QCheckBox::clicked, this, [this] { OrientCBClick(); });
    {
        const QSignalBlocker block(OrientCB);
        OrientCB->setChecked(PatternOrient == 0);
    }
    ViewImage->setContextMenuPolicy(Qt::CustomContextMenu);
    ConnectGuarded(ViewImage, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupAnt->popup(ViewImage->mapToGlobal(pos)); });
    // The menu takes the button's release; the view must not think it is still held.
    ConnectGuarded(PopupAnt, &QMenu::aboutToHide, this, [this] { ViewState.RightHeld = false; });
    UpdatePlotCursor();
}

void TMainWnd::ShowViewTab() {
    {
        const QSignalBlocker block(SelWirSpEd);
        const int n = std::clamp(CalcAnt->WireCount, 0, MaxWires);
        SelWirSpEd->setMaximum(n);
        if (n == 0)
            SelWirSpEd->setValue(0);
        else if (SelWirSpEd->value() == 0)
            SelWirSpEd->setValue(1);
        else
            SelWirSpEd->setValue(Grid2->Row());
    }
    SelWirSpEdChange(false);
    TBarCur->setEnabled(DspCur->isChecked() && Results.HasFarField &&
                        ResultsBelongToAntenna(ResultHolder::Row, ResultUse::Show));
    FitView();
    // The fit centres on the middle of the antenna; the view uses that centre
    // whenever an option other than the origin is checked, so an antenna high
    // above the origin is not fitted around a point it is never drawn at.
    ViewCentreOn = !CenterRb->isChecked();
    if (WireCenterRB->isChecked()) WireCenterRBClick(false);
    DrawAntenna();
}

void TMainWnd::TBarSCChange(QObject* sender) {
    // The current scale applies to currents of the antenna shown.
    if (sender && sender->property("tag").isValid() && Results.HasFarField &&
        ResultsBelongToAntenna(ResultHolder::Row, ResultUse::Show))
        TBarCur->setEnabled(DspCur->isChecked());
    DrawAntenna();
}

void TMainWnd::SelWirSpEdChange(bool draw) {
    const AntDef& calc = *CalcAnt;
    const int n = std::clamp(calc.WireCount, 0, MaxWires);
    if (n == 0) {
        const QSignalBlocker block(SelWirSpEd);
        SelWirSpEd->setValue(0);
        return;
    }
    int v = 0;
    {
        const QSignalBlocker block(SelWirSpEd);
        SelWirSpEd->setMaximum(n);
        v = SelWirSpEd->value();
    }
    if (v > 0) Grid2->SetRow(v);
    if (v > 0) {
        const WireRec& w = calc.Wires[v - 1];
        ViewState.WireCentre = {(w.X1 + w.X2) / 2, (w.Y1 + w.Y2) / 2, (w.Z1 + w.Z2) / 2};
    } else {
        CalcWireBounds(calc, ViewState.WireCentre.X, ViewState.WireCentre.Y, ViewState.WireCentre.Z);
    }
    if (WireCenterRB->isChecked()) ViewCentre = ViewState.WireCentre;
    if (draw) DrawAntenna();
}

void TMainWnd::CenterRbClick(bool bySender) {
    if (bySender) ViewCentreOn = !CenterRb->isChecked();
    JobDef.PanX = 0;
    JobDef.PanY = 0;
    DrawAntenna();
}

void TMainWnd::FullWRbClick(bool bySender) {
    if (bySender) ViewCentreOn = FullWRb->isChecked();
    CalcWireBounds(*CalcAnt, ViewCentre.X, ViewCentre.Y, ViewCentre.Z);
    JobDef.PanX = 0;
    JobDef.PanY = 0;
    {
        const QSignalBlocker block(TBarSC);
        TBarSC->setValue(TBarSC->maximum() / 2);
    }
    DrawAntenna();
}

void TMainWnd::WireCenterRBClick(bool draw) {
    ViewCentreOn = true;
    const AntDef& calc = *CalcAnt;
    const int v = SelWirSpEd->value();
    if (v > 0 && v <= std::min(calc.WireCount, MaxWires)) {
        const WireRec& w = calc.Wires[v - 1];
        ViewState.WireCentre = {(w.X1 + w.X2) / 2, (w.Y1 + w.Y2) / 2, (w.Z1 + w.Z2) / 2};
    } else {
        CalcWireBounds(calc, ViewState.WireCentre.X, ViewState.WireCentre.Y, ViewState.WireCentre.Z);
    }
    ViewCentre = ViewState.WireCentre;
    if (draw) DrawAntenna();
}

void TMainWnd::WaveSelClick(int index) {
    if (index == JobDef.WaveSel || index < 0 || index > 3) return;
    JobDef.WaveSel = index;
    if (Results.AngleStep != 0) RedrawPlots();
    UpdatePlotCursor();
}

void TMainWnd::OrientCBClick() {
    PatternOrient = OrientCB->isChecked() ? 0 : 90;
    RedrawPlots();
}

void TMainWnd::RedrawPlots() {
    DrawFarFieldPanel();
    DNImage->setPixmap(QPixmap::fromImage(DNBitmap));
    UpdatePlotCursor();
}

void TMainWnd::UpdatePlotCursor() {
    DNImage->setCursor(!PatternOfThisAntenna(ResultUse::Show) || JobDef.WaveSel >= 3 ? Qt::ArrowCursor : Qt::CrossCursor);
}
