// Mouse and keys of the 3D pattern view: a drag with the left button turns
// the view, with Shift or Ctrl held it pans.
#include "views/GLSceneWidget.h"
#include "views/OpenGLForm.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSpinBox>

void TOpenGL_Form::FormMouseDown(Qt::MouseButton button, int x, int y) {
    if (button != Qt::LeftButton) return;
    LastX = x;
    LastY = y;
    Panning = PanMode;
    Rotating = !PanMode;
}

void TOpenGL_Form::FormMouseMove(int x, int y) {
    const QRect outer = frameGeometry();
    const int w = std::max(1, outer.width()), h = std::max(1, outer.height());
    if (Rotating) {
        // Moves between two renders add up, so no step of the drag is lost.
        TurnIncrement += (LastX - x) * 900.0 / w;
        TiltIncrement += (y - LastY) * 900.0 / h;
        LastX = x;
        LastY = y;
        FormPaint();
    } else if (Panning) {
        PanX -= (LastX - x) * 2.8 / w;
        PanY += (LastY - y) * 2.5 / h;
        LastX = x;
        LastY = y;
        DrawScene();
    }
}

void TOpenGL_Form::FormMouseUp() { Rotating = Panning = false; }

void TOpenGL_Form::FormKeyDown(int key) {
    PanMode = key == Qt::Key_Shift || key == Qt::Key_Control;
    if (Rotating) {
        Rotating = false;
        Panning = PanMode;
    }
}

void TOpenGL_Form::FormKeyUp() {
    PanMode = false;
    if (Panning) {
        Panning = false;
        Rotating = true;
    }
}

bool TOpenGL_Form::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) FormKeyDown(static_cast<QKeyEvent*>(event)->key());
        // The slice spin takes digits and backspace only, and a decimal
        // point, which the spin refuses as a whole instead of leaving the
        // digits around it as another number.
        if (watched == DnSB || watched->parent() == DnSB) {
            const auto* k = static_cast<QKeyEvent*>(event);
            const bool digit = (k->key() >= Qt::Key_0 && k->key() <= Qt::Key_9) || k->key() == Qt::Key_Period ||
                               k->key() == Qt::Key_Comma;
            const bool editing = k->key() == Qt::Key_Backspace || k->key() == Qt::Key_Up ||
                                 k->key() == Qt::Key_Down || k->key() == Qt::Key_Tab;
            if (!digit && !editing) return true;
        }
        break;
    case QEvent::KeyRelease:
        if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) FormKeyUp();
        break;
    case QEvent::MouseButtonPress:
        if (watched == Gl) {
            const auto* m = static_cast<QMouseEvent*>(event);
            FormMouseDown(m->button(), m->position().toPoint().x(), m->position().toPoint().y());
        }
        break;
    case QEvent::MouseMove:
        if (watched == Gl) {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            FormMouseMove(p.x(), p.y());
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == Gl) FormMouseUp();
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}
