// The wire editor's view state: zoom, rotation, centring, panning with the
// scroll bars and the 500 ms timer, the grid step, the memorised screens and
// the change of page.
#include "editing/WireCadDlg.h"

#include "draw/Projection.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "platform/FormLayout.h"
#include "platform/Prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <cmath>

namespace {

constexpr int ZoomMiddle = 75;  // half the "Zoom" bar's maximum: the fit
constexpr double FitShare = 0.7;

// The fit of the caller's antenna; the antenna view's centre is left as it was.
double FitScaleOf(const AntDef* ant, int w, int h) {
    if (!ant) return 100.0;
    const ViewPoint centre = ViewCentre;
    const double s = CalcViewScale(*ant, w / 2, h / 2);
    ViewCentre = centre;
    return s > 0 && std::isfinite(s) ? s : 100.0;
}

}  // namespace

int TWireCadDlg::ActivePage() const { return Page ? std::max(0, Page->currentIndex()) : 0; }

void TWireCadDlg::UpdateScale(double factor) {
    View.W = ActiveBox()->width();
    View.H = ActiveBox()->height();
    fitScale_ = FitScaleOf(ant_, View.W, View.H);
    View.Scale = FitShare * factor * fitScale_;
    View.UpdateOrigin();
}

void TWireCadDlg::SetSlider(QSlider* s, int position) {
    const QSignalBlocker block(s);
    s->setValue(position);
}

void TWireCadDlg::TBSCChange() {
    if (!Ready) return;
    UpdateScale(std::pow(1.05, TBSC->value() - ZoomMiddle));
    AutoGridStep(true);
    Repaint();
    ResetScrollBars();
    WireCadZoomPosition = TBSC->value();
}

void TWireCadDlg::TBDEGChange() {
    if (!Ready) return;
    View.SetAngles(2.0 * TBDEG->value(), TBZDEG->value());
    Boxes[PageAll]->Dirty = true;
    Repaint();
}

void TWireCadDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    Ready = true;
    View.SetAngles(2.0 * TBDEG->value(), TBZDEG->value());
    SetSlider(TBSC, WireCadZoomPosition);
    TBSCChange();
}

void TWireCadDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (align_) align_->AlignAll(this);
    for (QToolButton* b : {SBView, SBOrg}) {
        const int side = std::max(8, std::min(b->width(), b->height()) - 8);
        b->setIconSize(QSize(side, side));
    }
    if (!shown_) return;
    UpdateScale(std::pow(1.05, TBSC->value() - ZoomMiddle));
    for (QComboBox* box : {SelFilter, GridWidth})
        if (box->lineEdit()) box->lineEdit()->deselect();
    SBViewClick();
    ResetScrollBars();
}

void TWireCadDlg::SBViewClick() {
    View.W = ActiveBox()->width();
    View.H = ActiveBox()->height();
    View.Page = ActivePage();
    if (!View.CentreOn(Model)) Grid.A0 = Grid.B0 = 0.0;
    ResetScrollBars();
    AutoGridStep(true);
    Repaint();
}

void TWireCadDlg::K8Click() {
    View.OffA = View.OffB = 0.0;
    View.UpdateOrigin();
    Repaint();
    ResetScrollBars();
}

void TWireCadDlg::K4Click() {
    View.CentreAt(PopupPoint.x(), PopupPoint.y());
    Repaint();
    ResetScrollBars();
}

void TWireCadDlg::K9Click() {
    JobDef.Ant3D = JobDef.Ant3D ? 0 : 1;
    if (ActivePage() == PageAll) SBViewClick();
}

void TWireCadDlg::ResetScrollBars() {
    for (int i = 0; i < 4; ++i)
        for (QScrollBar* bar : {HBars[i], VBars[i]}) {
            const QSignalBlocker block(bar);
            bar->setValue(50);
        }
    panBaseA_ = View.OffA;
    panBaseB_ = View.OffB;
    panUnit_ = 25.0 / View.Scale;
}

void TWireCadDlg::ScrollBarChange(QScrollBar* bar, bool vertical) {
    if (!Ready) return;
    const int pos = bar->value();
    // Holding the bar at an end keeps the view moving on the timer.
    TimerState = pos > 0 && pos < 100 ? 2 : vertical ? (pos == 0 ? 3 : 4) : (pos == 0 ? 5 : 6);
    if (!Timer->isActive()) Timer->start();
    if (vertical)
        View.OffB = panBaseB_ + (50 - pos) * panUnit_;
    else
        View.OffA = panBaseA_ + (50 - pos) * panUnit_;
    ApplyPan();
}

void TWireCadDlg::ApplyPan() {
    View.UpdateOrigin();
    QuickDraw = 5;
    if (!Timer->isActive()) {
        if (TimerState < 2) TimerState = 2;
        Timer->start();
    }
    Repaint();
}

void TWireCadDlg::EndScroll() {
    QuickDraw = 0;
    TimerState = 0;
    Timer->stop();
    Repaint();
}

void TWireCadDlg::TimerTimer() {
    switch (TimerState) {
    case 0:
        Timer->stop();
        AutoGridStep(false);
        break;
    case 1:
        DragAutoScroll();
        break;
    case 2:
        if (QuickDraw == 0) break;
        if (--QuickDraw == 0) {
            Timer->stop();
            Repaint();
        }
        break;
    case 3:
    case 4:
    case 5:
    case 6: {
        // A scroll bar held at an end: 3 top, 4 bottom, 5 left, 6 right
        // (the right end moves twice as far per tick).
        const bool vertical = TimerState <= 4;
        const double dir = TimerState == 3 || TimerState == 5 ? 1.0 : -1.0;
        double& base = vertical ? panBaseB_ : panBaseA_;
        base += dir * (TimerState == 6 ? 10 : 5) * panUnit_;
        (vertical ? View.OffB : View.OffA) = base + dir * 50 * panUnit_;
        ApplyPan();
        break;
    }
    default:
        Timer->stop();
        break;
    }
}

void TWireCadDlg::SetStepText(double step) {
    const QSignalBlocker block(GridWidth);
    GridWidth->setEditText(QString::fromStdString(DblToStr(step)));
}

void TWireCadDlg::FillStepList() {
    const QSignalBlocker block(GridWidth);
    GridWidth->clear();
    for (int entry : GridStepTable) GridWidth->addItem(QString::fromStdString(DblToStr(NormalizeDbl(entry * 0.01))));
    GridWidth->setEditText("0.5");
}

void TWireCadDlg::AutoGridStep(bool automatic) {
    if (!Grid.On) return;
    const int width = std::max(1, ActiveBox()->width());
    const double t = width / (View.Scale * 100.0);
    if ((!automatic || !ChkAutoGrid->isChecked()) && t <= Grid.Step) {
        // Text the user is still typing ("0" on the way to "0.05") stays;
        // leaving the box checks it.
        double typed = 0.0;
        if (StrToDblExpr(typed, GridWidth->currentText().toStdString()) && typed > 0 && typed != Grid.Step)
            SetStepText(Grid.Step);
        return;
    }
    Grid.Step = AutoGridStepFor(width, View.Scale);
    SetStepText(Grid.Step);
    Repaint();
}

void TWireCadDlg::GridWidthChange() {
    if (!Ready) return;
    double v = 0.0;
    if (StrToDblExpr(v, GridWidth->currentText().toStdString()) && v > 0 && v != Grid.Step) Grid.Step = v;
    if (!Grid.On) return;
    TimerState = 0;
    Timer->start();
    AutoGridStep(false);
    Repaint();
}

// A step that is no positive number is reported when the user leaves the
// box, and the box shows the step in use again.
void TWireCadDlg::GridWidthDone() {
    if (!Ready) return;
    const QString text = GridWidth->currentText();
    double v = 0.0;
    if (StrToDblExpr(v, text.toStdString()) && v > 0) return;
    SetStepText(Grid.Step);
    ErrorBox("Invalid grid step: %s", text.toUtf8().constData());
}

void TWireCadDlg::ChkGridClick() {
    if (!Ready) return;
    Grid.On = ChkGrid->isChecked();
    AutoGridStep(true);
    Repaint();
}

void TWireCadDlg::K7Click() {
    Grid.A0 = Grid.B0 = 0.0;
    Repaint();
}

void TWireCadDlg::KX11Click() {
    if (Model.Selected < 0 || ActivePage() == PageAll) return;
    const Point2D p = View.ToPage(EndOf(Model.Wires[Model.Selected], HitCode == HitEnd2 ? 2 : 1));
    Grid.A0 = p.a;
    Grid.B0 = p.b;
    Repaint();
}

void TWireCadDlg::MemorizeScreen(int slot) {
    if (slot < 0 || slot > 3) return;
    WireCadScreen& s = ScreenSlot[slot];
    s.Valid = true;
    s.Page = ActivePage();
    s.Zoom = TBSC->value();
    s.Selected = Model.Selected;
    s.EditMode = EditMode;
    s.Filter = Model.FilterMode;
    s.GridOn = Grid.On;
    s.Azimuth = TBDEG->value();
    s.Elevation = TBZDEG->value();
    s.OffA = View.OffA;
    s.OffB = View.OffB;
    s.GridStep = Grid.Step;
    s.GridA0 = Grid.A0;
    s.GridB0 = Grid.B0;
}

void TWireCadDlg::RecallScreen(int slot) {
    if (slot < 0 || slot > 3 || !ScreenSlot[slot].Valid) return;
    const WireCadScreen& s = ScreenSlot[slot];
    const bool ready = Ready;
    Ready = false;
    View.OffA = s.OffA;
    View.OffB = s.OffB;
    if (s.GridStep > 0 && std::isfinite(s.GridStep)) Grid.Step = s.GridStep;
    SetStepText(Grid.Step);
    Grid.A0 = s.GridA0;
    Grid.B0 = s.GridB0;
    Grid.On = s.GridOn;
    {
        const QSignalBlocker block(ChkGrid);
        ChkGrid->setChecked(Grid.On);
    }
    Model.Select(s.Selected >= 0 && s.Selected < Model.Count && Model.Live[s.Selected] ? s.Selected : -1);
    SetSlider(TBSC, s.Zoom);
    SetSlider(TBDEG, s.Azimuth);
    SetSlider(TBZDEG, s.Elevation);
    {
        const QSignalBlocker block(Page);
        Page->setCurrentIndex(std::clamp(s.Page, 0, 3));
    }
    View.Page = ActivePage();
    UpdateScale(std::pow(1.05, TBSC->value() - ZoomMiddle));
    View.SetAngles(2.0 * TBDEG->value(), TBZDEG->value());
    UpdateViewControls();
    EditMode = std::clamp(s.EditMode, 0, 2);
    QToolButton* modes[3] = {SBSel, SBLine, SBLoop};
    modes[EditMode]->setChecked(true);
    Model.FilterMode = std::clamp(s.Filter, 0, 2);
    {
        const QSignalBlocker block(SelFilter);
        SelFilter->setCurrentIndex(Model.FilterMode);
    }
    Model.ApplySelFilter(ActivePage());
    RefreshInfo();
    View.UpdateOrigin();
    Ready = ready;
    Repaint();
    ResetScrollBars();
}

void TWireCadDlg::PageChange() {
    View.Page = ActivePage();
    View.W = ActiveBox()->width();
    View.H = ActiveBox()->height();
    View.UpdateOrigin();
    UpdateViewControls();
    ResetScrollBars();
    ShowCursorPos(MousePoint);
    RefreshInfo();
    Repaint();
}

void TWireCadDlg::Repaint() {
    for (WireCadBox* box : Boxes)
        if (box) box->Dirty = true;
    if (ActiveBox()) ActiveBox()->update();
}
