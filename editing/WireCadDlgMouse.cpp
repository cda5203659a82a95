// Mouse gestures of the wire editor: picking, drawing new wires and loops,
// dragging ends and bodies (Shift keeps to an axis, Ctrl turns at constant
// length), joining ends in the 3D page, the drag auto-scroll and the cursor
// readout.
#include "editing/WireCadDlg.h"

#include "model/CheckedFormat.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <cmath>

namespace {

constexpr int DragThreshold = 8;  // pixels before a press on a wire becomes a drag
constexpr int PickTolerance = 8;

}  // namespace

void WireCadBox::contextMenuEvent(QContextMenuEvent* event) {
    if (form_->ActivePage() != page_) return;
    form_->PopupMenuPopup(event->pos());
    form_->PopupMenu->exec(event->globalPos());
}

bool TWireCadDlg::ScreenEnds(int wire, ScreenPoint& a, ScreenPoint& b) const {
    if (wire < 0 || wire >= Model.Count) return false;
    View.ToScreen(WireEnd1(Model.Wires[wire]), a.x, a.y);
    View.ToScreen(WireEnd2(Model.Wires[wire]), b.x, b.y);
    return true;
}

int TWireCadDlg::PickWire(const QPoint& at) const {
    int best = -1, bestT = PickTolerance + 1;
    for (int i = 0; i < Model.Count; ++i) {
        if (!Model.IsWireShown(i)) continue;
        ScreenPoint a{}, b{};
        ScreenEnds(i, a, b);
        for (int t = 1; t < bestT; ++t) {
            ScreenPoint p = a, q = b;
            if (HitTestSegment({at.x(), at.y()}, p, q, t) != 0) {
                best = i;
                bestT = t;
                break;
            }
        }
    }
    return best;
}

void TWireCadDlg::SelectWireAt(const QPoint& at) {
    Model.Select(PickWire(at));
    RefreshInfo();
}

void TWireCadDlg::ReadShiftMode(Qt::KeyboardModifiers modifiers) {
    ShiftMode = (modifiers & Qt::ShiftModifier) ? 1 : (modifiers & Qt::ControlModifier) ? 2 : 0;
    ctrlAtLastMove_ = (modifiers & Qt::ControlModifier) != 0;
}

void TWireCadDlg::ShowCursorPos(const QPoint& at) {
    const int page = ActivePage();
    if (page == PageAll) return;
    const Point2D p = View.FromScreen(at.x(), at.y());
    const char* const names[4][2] = {{"", ""}, {"X", "Y"}, {"X", "Z"}, {"Y", "Z"}};
    LCursor->setText(QString::fromStdString(
        FormatInCLocale(" %s : %.3f m\n %s : %.3f m", names[page][0], p.a, names[page][1], p.b)));
}

void TWireCadDlg::UpdateCursor(int page, const QPoint& at) {
    Qt::CursorShape shape = Qt::ArrowCursor;
    ScreenPoint a{}, b{};
    if (page != PageAll) {
        if (EditMode == 1 || EditMode == 2) {
            shape = Qt::CrossCursor;
        } else if (EditMode == 0 && ScreenEnds(Model.Selected, a, b)) {
            const int hit = HitTestLine({at.x(), at.y()}, a, b);
            shape = hit == HitEnd1 || hit == HitEnd2 ? Qt::CrossCursor : hit == HitBody ? Qt::SizeAllCursor : Qt::ArrowCursor;
        }
    } else if (Model.Count >= 2 && (EditMode == 0 || EditMode == 1)) {
        const int wire = EditMode == 0 ? Model.Selected : PickWire(at);
        if (ScreenEnds(wire, a, b)) {
            const int hit = HitTestLine({at.x(), at.y()}, a, b);
            if (hit == HitEnd1 || hit == HitEnd2) shape = Qt::CrossCursor;
        }
    }
    Boxes[page]->setCursor(shape);
}

void TWireCadDlg::MouseDown(int page, QMouseEvent* e) {
    MousePoint = e->position().toPoint();
    if (e->button() != Qt::LeftButton || page != ActivePage()) return;
    dragBegan_ = false;
    if (page != PageAll) {
        Dragging = true;
        if (EditMode == 1 || EditMode == 2) {
            const Point2D q = View.FromScreen(MousePoint.x(), MousePoint.y());
            Model.Templ = Model.NewWireTemplate(page, q.a, q.b);
            Model.Work = Model.Templ;
            Anchor = MousePoint;
            drawingNew_ = true;
            rubber_ = true;
            RefreshInfo();
            Boxes[page]->update();
        } else if (EditMode == 0 && Model.Selected >= 0) {
            ScreenPoint a{}, b{};
            ScreenEnds(Model.Selected, a, b);
            DragState = HitTestLine({MousePoint.x(), MousePoint.y()}, a, b);
            if (DragState != HitNone) {
                Model.Templ = Model.Work = Model.Wires[Model.Selected];
                Anchor = MousePoint;
            }
        }
    } else {
        if ((EditMode != 0 && EditMode != 1) || Model.Count < 2) return;
        const int wire = EditMode == 0 ? Model.Selected : PickWire(MousePoint);
        ScreenPoint a{}, b{};
        if (!ScreenEnds(wire, a, b)) return;
        DragState = HitTestLine({MousePoint.x(), MousePoint.y()}, a, b);
        Model.Templ = Model.Work = Model.Wires[wire];
        if (DragState == HitEnd1) {
            Anchor = EditMode == 0 ? QPoint(b.x, b.y) : MousePoint;
            Dragging = true;
        } else if (DragState == HitEnd2) {
            if (EditMode == 0) {
                Anchor = QPoint(a.x, a.y);
            } else {
                SetEnd(Model.Work, 1, WireEnd2(Model.Work));
                Anchor = MousePoint;
            }
            Dragging = true;
        } else {
            DragState = 0;
        }
        if (EditMode == 1) {
            DragState = 0;
            drawingNew_ = Dragging;
        }
    }
    TimerState = 1;
    Timer->start();
}

void TWireCadDlg::MouseMove(int page, QMouseEvent* e) {
    if (page != ActivePage()) return;
    MousePoint = e->position().toPoint();
    ShowCursorPos(MousePoint);
    if (!Dragging) {
        UpdateCursor(page, MousePoint);
        return;
    }
    ReadShiftMode(e->modifiers());
    if (page == PageAll)
        MouseMove3D(MousePoint);
    else
        MouseMove2D(MousePoint);
}

void TWireCadDlg::MouseMove2D(const QPoint& at) {
    const PageAxes ax = AxesOf(ActivePage());
    const double da = (at.x() - Anchor.x()) / View.Scale, db = (Anchor.y() - at.y()) / View.Scale;
    WireRec& w = Model.Work;
    const WireRec& t = Model.Templ;
    auto pageEnd = [&](const WireRec& r, int end) {
        const Point3D p = EndOf(r, end);
        return Point2D{Coord(p, ax.a), Coord(p, ax.b)};
    };
    auto setPageEnd = [&](int end, const Point2D& p) {
        Point3D q = EndOf(w, end);
        SetCoord(q, ax.a, p.a);
        SetCoord(q, ax.b, p.b);
        SetEnd(w, end, q);
    };
    if (drawingNew_) {
        const Point2D p1 = pageEnd(t, 1), t2 = pageEnd(t, 2);
        Point2D p2{t2.a + da, t2.b + db};
        if (EditMode == 1 && ShiftMode != 0) LockToAxis(p1.a, p1.b, p2.a, p2.b);
        setPageEnd(2, p2);
    } else if (DragState != 0) {
        if (DragState < 10) {
            if (std::abs(at.x() - Anchor.x()) < DragThreshold && std::abs(at.y() - Anchor.y()) < DragThreshold) return;
            DragState += 10;
            dragBegan_ = true;
        }
        const Point2D t1 = pageEnd(t, 1), t2 = pageEnd(t, 2);
        if (DragState == 11 || DragState == 12) {
            const int end = DragState - 10;
            const Point2D fixed = end == 1 ? t2 : t1, from = end == 1 ? t1 : t2;
            Point2D p{from.a + da, from.b + db};
            if (ShiftMode == 1) {
                if (std::fabs(p.b - fixed.b) >= std::fabs(p.a - fixed.a))
                    p.a = fixed.a;
                else
                    p.b = fixed.b;
            } else if (ShiftMode == 2) {
                RotateKeepLength(p.a, p.b, fixed.a, fixed.b, std::hypot(t2.a - t1.a, t2.b - t1.b));
            }
            setPageEnd(end, p);
        } else {
            double ma = da, mb = db;
            if (ShiftMode != 0) (std::fabs(db) >= std::fabs(da) ? ma : mb) = 0.0;
            setPageEnd(1, {t1.a + ma, t1.b + mb});
            setPageEnd(2, {t2.a + ma, t2.b + mb});
        }
        rubber_ = true;
    } else {
        return;
    }
    RefreshInfo();
    ActiveBox()->update();
}

void TWireCadDlg::MouseMove3D(const QPoint& at) {
    if (EditMode == 0) {
        if (DragState == 0) return;
        if (DragState < 10) {
            if (std::abs(at.x() - Anchor.x()) < DragThreshold && std::abs(at.y() - Anchor.y()) < DragThreshold) return;
            DragState += 10;
            dragBegan_ = true;
        }
    }
    rubber_ = true;
    ActiveBox()->update();
}

void TWireCadDlg::MouseUp(int page, QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || page != ActivePage()) return;
    if (TimerState == 1) Timer->stop();
    const bool wasDragging = Dragging;
    Dragging = false;
    rubber_ = false;
    if (wasDragging) {
        if (page == PageAll)
            MouseUp3D();
        else
            MouseUp2D(page);
    }
    DragState = 0;
    drawingNew_ = false;
    RefreshInfo();
    Repaint();
}

void TWireCadDlg::MouseUp2D(int page) {
    const PageAxes ax = AxesOf(page);
    WireRec& w = Model.Work;
    auto snapEnd = [&](int end, const Point3D& reference, bool lineUp) {
        Point3D p = EndOf(w, end);
        double a = Coord(p, ax.a), b = Coord(p, ax.b);
        if (lineUp)
            Grid.SnapEnd(a, b, Coord(reference, ax.a), Coord(reference, ax.b));
        else
            Grid.Snap(a, b);
        SetCoord(p, ax.a, a);
        SetCoord(p, ax.b, b);
        SetEnd(w, end, p);
    };
    if (drawingNew_) {
        snapEnd(1, {}, false);
        snapEnd(2, {}, false);
        if (EditMode == 2)
            Model.CommitNewLoop2D(page);
        else
            Model.CommitNewWire2D(page);
    } else if (DragState == 11 || DragState == 12) {
        const int end = DragState - 10;
        if (!ctrlAtLastMove_) snapEnd(end, EndOf(w, 3 - end), true);
        Model.CommitMovedEnd2D(end);
    } else if (DragState == 13) {
        snapEnd(1, WireEnd1(Model.Templ), true);
        Model.CommitMovedBody2D();
    }
    // A refused commit leaves the table; the panel shows the wire as it is.
    Model.SelectedWireChanged();
}

void TWireCadDlg::MouseUp3D() {
    int best = -1;
    long long bestDist = 0;
    Point3D target{};
    for (int i = 0; i < Model.Count; ++i) {
        if (!Model.IsWireShown(i)) continue;
        for (int end = 1; end <= 2; ++end) {
            int x = 0, y = 0;
            View.ToScreen(EndOf(Model.Wires[i], end), x, y);
            const long long dx = x - MousePoint.x(), dy = y - MousePoint.y(), d = dx * dx + dy * dy;
            if (best < 0 || d < bestDist) {
                best = i;
                bestDist = d;
                target = EndOf(Model.Wires[i], end);
            }
        }
    }
    if (best < 0) return;
    if (EditMode == 0 && DragState >= 10)
        Model.CommitMovedEnd3D(DragState - 10, target);
    else if (EditMode == 1)
        Model.CommitNewWire3D(target);
    Model.SelectedWireChanged();
}

void TWireCadDlg::Click(int page) {
    if (page != ActivePage() || EditMode != 0 || dragBegan_) return;
    SelectWireAt(MousePoint);
    Repaint();
}

void TWireCadDlg::DragAutoScroll() {
    if (QApplication::mouseButtons() == Qt::NoButton) Timer->stop();
    const int x = MousePoint.x(), y = MousePoint.y(), w = View.W, h = View.H;
    const int dx = x < 0 ? x : x >= w ? x - w : 0;
    const int dy = y < 0 ? y : y >= h ? y - h : 0;
    if (dx == 0 && dy == 0) return;
    View.OriginX -= dx;
    View.OriginY -= dy;
    Anchor -= QPoint(dx, dy);
    View.OffA = (View.OriginX - w / 2) / View.Scale;
    View.OffB = (View.OriginY - h / 2) / View.Scale;
    ResetScrollBars();
    if (Dragging) {
        if (ActivePage() == PageAll)
            MouseMove3D(MousePoint);
        else {
            ShiftMode = 0;
            ctrlAtLastMove_ = false;
            MouseMove2D(MousePoint);
        }
    }
    Repaint();
    ActiveBox()->repaint();
    RefreshInfo();
}
