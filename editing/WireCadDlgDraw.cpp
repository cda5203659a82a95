// Drawing of the wire editor's pages: grid, scale bar, axes, wires with their
// end marks, and the rubber band of a gesture drawn over the finished page.
#include "editing/WireCadDlg.h"

#include "model/NumberText.h"
#include "model/ScreenClip.h"
#include "platform/Canvas.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QTabWidget>
#include <QPainter>
#include <cmath>

namespace {

constexpr WinColor GridMajor = 0x008000;  // RGB(0, 128, 0)
constexpr WinColor GridMinor = 0xC0C0C0;
constexpr WinColor AxisColor = 0xFF0000;  // RGB(0, 0, 255)
constexpr WinColor WireColor = 0x000000;
constexpr WinColor SelectedColor = 0x0000FF;  // RGB(255, 0, 0)
constexpr double GridLimit = 10000.0;        // m from the grid origin
constexpr int ClipMargin = 100;
constexpr int MarkSize = 3;

const char* const AxisLetters[4][2] = {{"", ""}, {"Y", "X"}, {"Z", "X"}, {"Z", "Y"}};

bool ClippedLine(Canvas& c, const ScreenRect& clip, double x1, double y1, double x2, double y2) {
    if (!ClipLineToRect(clip, x1, y1, x2, y2)) return false;
    c.Line(static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)), static_cast<int>(std::lround(x2)),
           static_cast<int>(std::lround(y2)));
    return true;
}

}  // namespace

WireCadBox::WireCadBox(TWireCadDlg* form, int page, QWidget* parent) : QWidget(parent), form_(form), page_(page) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WireCadBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Dirty = true;
    if (form_->ActivePage() == page_) {
        form_->View.W = width();
        form_->View.H = height();
        form_->View.UpdateOrigin();
    }
}

void WireCadBox::paintEvent(QPaintEvent*) {
    if (form_->painting_) return;
    form_->painting_ = true;
    if (Dirty || Picture.size() != size()) {
        Picture = QImage(size(), QImage::Format_RGB32);
        Canvas c(&Picture);
        form_->DrawPage(page_, c);
        Dirty = false;
    }
    QPainter p(this);
    p.drawImage(0, 0, Picture);
    form_->DrawRubberBand(p, page_);
    form_->painting_ = false;
}

void WireCadBox::mousePressEvent(QMouseEvent* e) { form_->MouseDown(page_, e); }
void WireCadBox::mouseMoveEvent(QMouseEvent* e) { form_->MouseMove(page_, e); }
void WireCadBox::mouseReleaseEvent(QMouseEvent* e) {
    form_->MouseUp(page_, e);
    if (e->button() == Qt::LeftButton) form_->Click(page_);
}

void TWireCadDlg::DrawPage(int page, Canvas& c) {
    WireCadView saved = View;
    View.Page = page;
    View.W = c.Width();
    View.H = c.Height();
    View.UpdateOrigin();
    // The labels follow the form's scale like its controls do.
    c.SetFont(Page->font());
    if (page == PageAll) {
        c.FillRect(0, 0, View.W, View.H, ClWhite);
        if (QuickDraw == 0) DrawScaleBar(c, View.W);
        DrawAxes3D(c);
    } else {
        DrawGrid(c, page);
        DrawAxes2D(c, page);
    }
    DrawWires(c, page);
    View = saved;
}

void TWireCadDlg::DrawGrid(Canvas& c, int) {
    c.FillRect(0, 0, View.W, View.H, ClWhite);
    if (QuickDraw != 0) return;
    if (Grid.On && Grid.Step > 0) {
        c.SetPenWidth(1);
        c.SetPenStyle(PenStyle::Solid);
        const double step = Grid.Step;
        // Only the lines that fall on the page are visited.
        auto lines = [&](double origin, double lo, double hi, bool vertical) {
            const double kmin = std::max(std::ceil((lo - origin) / step), -std::floor(GridLimit / step));
            const double kmax = std::min(std::floor((hi - origin) / step), std::floor(GridLimit / step));
            for (double k = kmin; k <= kmax; k += 1.0) {
                const double v = origin + k * step;
                c.SetPenColor(std::fmod(k, 5.0) == 0.0 ? GridMajor : GridMinor);
                int x = 0, y = 0;
                View.ToScreen(Point2D{v, v}, x, y);
                if (vertical)
                    c.Line(x, 0, x, View.H);
                else
                    c.Line(0, y, View.W, y);
            }
        };
        const Point2D topLeft = View.FromScreen(0, 0), bottomRight = View.FromScreen(View.W, View.H);
        if ((bottomRight.a - topLeft.a) / step < 20000) lines(Grid.A0, topLeft.a, bottomRight.a, true);
        if ((topLeft.b - bottomRight.b) / step < 20000) lines(Grid.B0, bottomRight.b, topLeft.b, false);
    }
    DrawScaleBar(c, View.W);
}

void TWireCadDlg::DrawScaleBar(Canvas& c, int width) {
    const double length = ScaleBarLength(width, View.Scale);
    const int bar = static_cast<int>(std::lround(std::min(length * View.Scale, 1.0e6)));
    const std::string label = DblToStr(length);
    const int w0 = c.TextWidth("0"), wl = c.TextWidth(label), h = c.TextHeight("0");
    c.FillRect(0, 0, (w0 + wl) / 2 + bar + 2, h + 10, ClWhite);
    c.SetPenColor(ClBlack);
    c.SetPenWidth(1);
    c.SetPenStyle(PenStyle::Solid);
    const int x0 = w0 / 2 + 1;
    c.MoveTo(x0, h + 2);
    c.LineTo(x0, h + 7);
    c.LineTo(x0 + bar, h + 7);
    c.LineTo(x0 + bar, h + 2);
    c.Line(x0 + bar / 2, h + 2, x0 + bar / 2, h + 7);
    c.SetFontColor(ClBlack);
    c.SetTextTransparent(true);
    c.TextOut(1, 1, "0");
    c.TextOut(x0 + bar - wl / 2, 1, label);
}

void TWireCadDlg::DrawAxes2D(Canvas& c, int page) {
    c.SetPenColor(AxisColor);
    c.SetPenWidth(1);
    c.SetPenStyle(PenStyle::Solid);
    int ox = View.OriginX, oy = View.OriginY;
    ClampToGdi(ox, oy);
    if (ox >= 0 && ox <= View.W && oy > 0) c.Line(ox, std::min(oy, View.H), ox, 0);
    if (oy >= 0 && oy <= View.H && ox < View.W) c.Line(std::max(ox, 0), oy, View.W, oy);
    c.SetFontColor(AxisColor);
    c.SetTextTransparent(true);
    c.TextOut(ox + 4, 4, AxisLetters[page][0]);
    c.TextOut(View.W - 16, oy + 4, AxisLetters[page][1]);
}

void TWireCadDlg::DrawAxes3D(Canvas& c) {
    c.SetPenColor(AxisColor);
    c.SetPenWidth(1);
    c.SetPenStyle(PenStyle::Solid);
    c.SetFontColor(AxisColor);
    c.SetTextTransparent(true);
    const ScreenRect clip{-ClipMargin, -ClipMargin, View.W + ClipMargin, View.H + ClipMargin};
    const struct {
        Point3D unit;
        double length;
        const char* letter;
    } axes[3] = {{{0, 1, 0}, View.W / 2.0 - 16, "Y"}, {{0, 0, 1}, double(View.H), "Z"}, {{1, 0, 0}, View.H / 2.0, "X"}};
    for (const auto& axis : axes) {
        Point2D d{};
        WireCadView unit = View;
        unit.Page = PageAll;
        d = unit.ToPage(axis.unit);
        const double x2 = View.OriginX + d.a * axis.length, y2 = View.OriginY - d.b * axis.length;
        ClippedLine(c, clip, View.OriginX, View.OriginY, x2, y2);
        double tx = x2, ty = y2;
        ClampToGdi(tx, ty);
        c.TextOut(static_cast<int>(tx), static_cast<int>(ty), axis.letter);
    }
}

void TWireCadDlg::DrawWires(Canvas& c, int) {
    const ScreenRect clip{-ClipMargin, -ClipMargin, View.W + ClipMargin, View.H + ClipMargin};
    c.SetPenStyle(PenStyle::Solid);
    for (int pass = 0; pass < 2; ++pass) {
        // The selected wire is drawn last, so that it stays visible on top.
        for (int i = 0; i < Model.Count; ++i) {
            if (!Model.IsWireShown(i) || (i == Model.Selected) != (pass == 1)) continue;
            const WireRec& w = Model.Wires[i];
            const WinColor colour = i == Model.Selected ? SelectedColor : WireColor;
            const Point2D p1 = View.ToPage(WireEnd1(w)), p2 = View.ToPage(WireEnd2(w));
            const double x1 = View.OriginX + std::round(p1.a * View.Scale), y1 = View.OriginY - std::round(p1.b * View.Scale);
            const double x2 = View.OriginX + std::round(p2.a * View.Scale), y2 = View.OriginY - std::round(p2.b * View.Scale);
            c.SetPenColor(colour);
            c.SetPenWidth(2);
            ClippedLine(c, clip, x1, y1, x2, y2);
            if (QuickDraw != 0) continue;
            c.SetPenWidth(1);
            const double ends[2][2] = {{x1, y1}, {x2, y2}};
            for (int e = 0; e < 2; ++e) {
                double x = ends[e][0], y = ends[e][1];
                if (x < clip.Left || x > clip.Right || y < clip.Top || y > clip.Bottom) continue;
                ClampToGdi(x, y);
                const int ix = static_cast<int>(x), iy = static_cast<int>(y);
                if (Model.IsEndConnected(i, EndOf(w, e + 1))) {
                    c.Line(ix - MarkSize, iy - MarkSize, ix + MarkSize + 1, iy + MarkSize + 1);
                    c.Line(ix - MarkSize, iy + MarkSize, ix + MarkSize + 1, iy - MarkSize - 1);
                } else {
                    c.MoveTo(ix - MarkSize, iy - MarkSize);
                    c.LineTo(ix + MarkSize, iy - MarkSize);
                    c.LineTo(ix + MarkSize, iy + MarkSize);
                    c.LineTo(ix - MarkSize, iy + MarkSize);
                    c.LineTo(ix - MarkSize, iy - MarkSize);
                }
            }
        }
    }
    c.SetPenWidth(1);
}

void TWireCadDlg::DrawRubberBand(QPainter& p, int page) {
    if (!rubber_ || page != ActivePage()) return;
    // Drawn inverting where the surface allows it, as a dotted line otherwise.
    if (p.paintEngine() && p.paintEngine()->hasFeature(QPaintEngine::RasterOpModes)) {
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p.setPen(QPen(Qt::white, 1, Qt::DotLine));
    } else {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    }
    if (page == PageAll) {
        p.drawLine(Anchor, MousePoint);
        return;
    }
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    View.ToScreen(WireEnd1(Model.Work), x1, y1);
    View.ToScreen(WireEnd2(Model.Work), x2, y2);
    if (EditMode == 2 && drawingNew_) {
        p.drawRect(QRect(QPoint(x1, y1), QPoint(x2, y2)).normalized());
        return;
    }
    const ScreenRect clip{-ClipMargin, -ClipMargin, View.W + ClipMargin, View.H + ClipMargin};
    if (ClipLineToRect(clip, x1, y1, x2, y2)) p.drawLine(x1, y1, x2, y2);
}
