// Turning, panning and picking on the antenna view with the mouse, and the
// Ctrl and Shift keys that switch a drag to panning.
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QSpinBox>
#include <cmath>

void TMainWnd::FormKeyDown(int key) {
    if (key == Qt::Key_Control || key == Qt::Key_Shift) {
        ViewState.Modifier = true;
        if (ViewState.LeftDrag && !ViewState.PanMode) {
            // Panning that starts in the middle of a drag starts from here, without a jump.
            ViewState.PanAtStart = QPoint(static_cast<int>(std::lround(JobDef.PanX)), static_cast<int>(std::lround(JobDef.PanY)));
            ViewState.DragStart = ViewState.Previous;
        }
        ViewState.PanMode = ViewState.LeftDrag;
    } else {
        ViewState.Modifier = false;
        ViewState.PanMode = false;
    }
}

void TMainWnd::FormKeyUp(int) {
    ViewState.Modifier = false;
    ViewState.PanMode = false;
    ViewState.RightHeld = false;
}

void TMainWnd::ViewImageMouseDown(Qt::MouseButton button, int x, int y) {
    LastClick = QPoint(x, y);
    if (button == Qt::RightButton) {
        ViewState.RightHeld = true;
        return;
    }
    if (button != Qt::LeftButton) return;
    if (ViewState.DoubleClicked) {
        ViewState.DoubleClicked = false;
        ViewState.LeftDrag = false;
    } else {
        ViewState.LeftDrag = true;
    }
    ViewState.PanMode = ViewState.Modifier && ViewState.LeftDrag;
    if (ViewState.PanMode)
        ViewState.PanAtStart = QPoint(static_cast<int>(std::lround(JobDef.PanX)), static_cast<int>(std::lround(JobDef.PanY)));
    ViewState.DragStart = QPoint(x, y);
    ViewState.Previous = QPoint(x, y);
    ViewState.Moved = false;
}

void TMainWnd::ViewImageMouseMove(int x, int y) {
    if (ViewState.RightHeld) return;
    const QPoint here(x, y);
    if (ViewState.PanMode) {
        if (here != ViewState.DragStart) ViewState.Moved = true;
        JobDef.PanX = ViewState.PanAtStart.x() + (x - ViewState.DragStart.x());
        JobDef.PanY = ViewState.PanAtStart.y() + (y - ViewState.DragStart.y());
        ViewState.Previous = here;
        DrawAntenna();
    } else if (ViewState.LeftDrag) {
        if (here == ViewState.Previous) return;
        ViewState.Moved = true;
        const int h = ViewBitmap.height();
        if (h <= 0) return;
        const double k = 720.0 / h;  // degrees per pixel
        ViewAzimuth += (ViewState.Previous.x() - x) * k;
        ViewElevation += (ViewState.Previous.y() - y) * k;
        ViewAzimuth = std::fmod(ViewAzimuth, 360.0);
        ViewElevation = std::fmod(ViewElevation, 360.0);
        if (ViewAzimuth < 0) ViewAzimuth += 360.0;
        if (ViewElevation < 0) ViewElevation += 360.0;
        DrawAntenna();
        ViewState.Previous = here;
    }
}

void TMainWnd::ViewImageMouseUp(int x, int y) {
    ViewState.RightHeld = false;
    ViewState.LeftDrag = false;
    ViewState.PanMode = false;
    if (!ViewState.Moved) {
        if (PickWire(x, y)) SelWirSpEd->setValue(Grid2->Row());
    } else {
        ViewState.Moved = false;
    }
}

void TMainWnd::ViewImageDblClick() {
    if (JobDef.Busy || Grid2->Row() > Ant.WireCount || !KT2 || !KT2->isEnabled()) return;
    KT2->trigger();
    ViewState.DoubleClicked = true;
}
