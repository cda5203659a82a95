// The antenna view and the far-field panel: the one redraw routine, the view
// transform shared by the redraw and the wire pick, and the view buttons.
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/ResultStore.h"
#include "model/ScreenHitTest.h"
#include "draw/AntennaDrawing.h"
#include "draw/PatternPanel.h"
#include "draw/Projection.h"
#include "draw/WireInfoBlock.h"
#include "platform/Canvas.h"
#include "platform/StringGrid.h"

#include <QCheckBox>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <algorithm>
#include <cmath>
#include <string>

namespace {

// Keeps a picture the size of the label that shows it.
void FitBitmap(QImage& bitmap, const QLabel* label) {
    const QSize size = label->size().expandedTo(QSize(1, 1));
    if (bitmap.size() != size) {
        bitmap = QImage(size, QImage::Format_RGB32);
        bitmap.fill(Qt::white);
    }
}

// Clears a flag when the scope ends, whatever way it ends.
struct FlagGuard {
    bool& flag;
    explicit FlagGuard(bool& f) : flag(f) { flag = true; }
    ~FlagGuard() { flag = false; }
};

// The source and load legend at the top left; returns where it lies.
ScreenRect DrawLegend(Canvas& c, int penWidth) {
    c.SetPenColor(ClRed);
    c.SetPenWidth(penWidth);
    c.SetBrushStyle(BrushStyle::Clear);
    const int h = c.TextHeight("A");
    c.TextOut(12, 0, ViewLabels[7]);
    c.Ellipse(3, h / 4, 10, h / 4 + 7);
    c.TextOut(12, h + 2, ViewLabels[8]);
    const int m = h + 2 + h / 2;
    c.Line(3, m - 3, 9, m + 3);
    c.Line(9, m - 3, 3, m + 3);
    c.SetBrushColor(ClWhite);
    const int width = std::max(c.TextWidth(ViewLabels[7]), c.TextWidth(ViewLabels[8]));
    return {3, 0, 12 + width - 1, 2 * h + 1};
}

}  // namespace

ViewTransform TMainWnd::CurrentViewTransform() const {
    const double scale = ViewZoom * std::pow(1.06, TBarSC->value() - TBarSC->maximum() / 2);
    const int cx = static_cast<int>(std::lround(ViewBitmap.width() / 2 + JobDef.PanX));
    const int cy = static_cast<int>(std::lround(ViewBitmap.height() / 2 + JobDef.PanY));
    return ViewTransform::FromAngles(cx, cy, ViewAzimuth, ViewElevation, scale, ViewCentreOn);
}

void TMainWnd::DrawAntenna() {
    if (Page->currentWidget() == TabSheet4) {
        RedrawPlots();
        return;
    }
    if (Page->currentWidget() != TabSheet2 || ViewState.Drawing) return;
    FlagGuard drawing(ViewState.Drawing);
    FitBitmap(ViewBitmap, ViewImage);
    const int half = std::min(ViewBitmap.width() / 2, ViewBitmap.height() / 2);
    if (half != ViewZoomRef && ViewZoomRef != 0 && half > 0) {
        ViewZoom = ViewZoom * half / ViewZoomRef;
        ViewZoomRef = half;
    }
    const ViewTransform t = CurrentViewTransform();
    const AntDef& calc = *CalcAnt;
    {
        Canvas c(&ViewBitmap);
        c.SetFont(font());
        DrawAntennaView(c, t);
        const int w = LnThickCB->isChecked() ? 2 : 1;
        c.SetPenColor(ClBlack);
        c.SetFontColor(ClGray);
        const int selected = SelWirSpEd->value();
        DrawWireThickness(calc, c, t, selected - 1, w);
        ViewState.Parts.clear();
        if (selected > 0) {
            const ScreenRect block = DrawDimension(c, Ant, selected - 1);
            if (block.Right > block.Left) ViewState.Parts.push_back({"wire block", block});
        }
        if (calc.WireCount > 0 && DspPlus->isChecked()) DrawPulseMarks(calc, c, t);
        ViewState.Parts.push_back({"legend", DrawLegend(c, w)});
        DrawCircleMarks(calc, c, t, w);
        if (EnbLoad->isChecked()) DrawCrossMarks(calc, c, t, w);
        if (DspCur->isChecked() && Results.HasFarField && ResultsBelongToAntenna(ResultHolder::Row, ResultUse::Show))
            DrawPulseLines(calc, c, t, std::pow(TBarCur->value() / 12.0, 4));
        if (Ant.nH > 1 || Ant.nV > 1) {
            const std::string stack = "Stack " + std::to_string(Ant.nH) + " on " + std::to_string(Ant.nV);
            c.SetFontColor(ClRed);
            c.SetTextTransparent(true);
            const int x = c.Width() - 2 - c.TextWidth(stack);
            c.TextOut(x, 2, stack);
            ViewState.Parts.push_back({"stack label", {x, 2, x + c.TextWidth(stack) - 1, 1 + c.TextHeight("A")}});
        }
        c.SetFontColor(ClBlack);
    }
    ViewImage->setPixmap(QPixmap::fromImage(ViewBitmap));
}

void TMainWnd::DrawFarFieldPanel() {
    FitBitmap(DNBitmap, DNImage);
    Canvas c(&DNBitmap);
    c.SetFont(font());
    DrawPatternImage(c, ResultsBelongToAntenna(ResultHolder::Row, ResultUse::Show));
}

bool TMainWnd::PickWire(int x, int y) {
    const AntDef& calc = *CalcAnt;
    if (calc.WireCount <= 0 || Ant.WireCount <= 0) return false;
    FitBitmap(ViewBitmap, ViewImage);
    const ViewTransform t = CurrentViewTransform();
    const ScreenPoint click{x, y};
    int best = 9, picked = -1;
    for (int i = 0; i < std::min(calc.WireCount, MaxWires); ++i) {
        const WireRec& w = calc.Wires[i];
        ScreenPoint a{}, b{};
        t.Map(w.X1, w.Y1, w.Z1, a.x, a.y);
        t.Map(w.X2, w.Y2, w.Z2, b.x, b.y);
        for (int tol = 1; tol <= best; ++tol) {
            if (HitTestSegment(click, a, b, tol) != 0) {
                picked = i;
                best = tol;
                break;
            }
        }
    }
    if (best >= 9 || picked < 0) return false;
    // A wire of a stacked copy stands for the wire it was copied from.
    Grid2->SetRow(picked % Ant.WireCount + 1);
    return true;
}

void TMainWnd::FitView() {
    FitBitmap(ViewBitmap, ViewImage);
    const int w = ViewBitmap.width(), h = ViewBitmap.height();
    const double s = CalcViewScale(*CalcAnt, w / 2, h / 2);
    if (s != 0.0) ViewZoom = 0.7 * s;
    ViewZoomRef = std::min(w / 2, h / 2);
}

void TMainWnd::K29Click() {
    JobDef.PanX = LastClick.x() - ViewBitmap.width() / 2;
    JobDef.PanY = LastClick.y() - ViewBitmap.height() / 2;
    LastClick = QPoint(0, 0);
    DrawAntenna();
}

void TMainWnd::OrgBtnClick() {
    ViewCentreOn = false;
    JobDef.PanX = 0;
    JobDef.PanY = 0;
    DrawAntenna();
}

void TMainWnd::AllViewBtnClick() {
    ViewCentreOn = false;
    JobDef.PanX = 0;
    JobDef.PanY = 0;
    TBarSC->setValue(TBarSC->maximum() / 2);
    ViewCentreOn = FullWRb->isChecked();
    CalcWireBounds(*CalcAnt, ViewCentre.X, ViewCentre.Y, ViewCentre.Z);
    DrawAntenna();
}
