// Routes the mouse events of the two picture labels and the Ctrl and Shift
// keys of the window to the view handlers of the main window.
#include "app/AntennaViewEvents.h"

#include "app/MainWnd.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTabWidget>

AntennaViewEvents::AntennaViewEvents(TMainWnd* owner) : QObject(owner), owner_(owner) {
    owner->ViewImage->installEventFilter(this);
    owner->DNImage->installEventFilter(this);
    // Key events go to the focused control; the filter on the application sees them all.
    qApp->installEventFilter(this);
    if (owner->K29) ConnectGuarded(owner->K29, &QAction::triggered, owner, [owner] { owner->K29Click(); });
}

AntennaViewEvents::~AntennaViewEvents() {
    if (qApp) qApp->removeEventFilter(this);
}

bool AntennaViewEvents::eventFilter(QObject* watched, QEvent* event) {
    // The window clears MainWnd as its destruction begins; from then on nothing is routed.
    if (MainWnd != owner_) return false;
    // No exception may leave an event handler: it is reported and the view
    // stays usable, with no button thought held.
    bool handled = false;
    if (!RunGuarded([&] { handled = Route(watched, event); })) owner_->ViewState = AntennaViewState{};
    return handled;
}

bool AntennaViewEvents::Route(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        if (owner_->isActiveWindow()) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (type == QEvent::KeyPress)
                owner_->FormKeyDown(key);
            else if (!static_cast<QKeyEvent*>(event)->isAutoRepeat())
                owner_->FormKeyUp(key);
        }
        return false;
    }
    if (watched == owner_ && type == QEvent::WindowActivate) {
        // Coming back to the window shows the view as it is now.
        owner_->FormActivate();
        return false;
    }
    if (watched == owner_->ViewImage) return ViewEvent(event);
    if (watched == owner_->DNImage) return PlotEvent(event);
    return false;
}

bool AntennaViewEvents::ViewEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        owner_->ViewImageMouseDown(e->button(), e->position().toPoint().x(), e->position().toPoint().y());
        return false;
    }
    case QEvent::MouseButtonDblClick: {
        // The window system sends the double click in place of the second press.
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) owner_->ViewImageDblClick();
        owner_->ViewImageMouseDown(e->button(), e->position().toPoint().x(), e->position().toPoint().y());
        return false;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        owner_->ViewImageMouseMove(e->position().toPoint().x(), e->position().toPoint().y());
        return false;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        owner_->ViewImageMouseUp(e->position().toPoint().x(), e->position().toPoint().y());
        return false;
    }
    default:
        return false;
    }
}

bool AntennaViewEvents::PlotEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        owner_->DNImageMouseDown(e->button(), e->position().toPoint().x(), e->position().toPoint().y());
        return false;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        owner_->DnImageMouseMove(e->position().toPoint().x(), e->position().toPoint().y());
        return false;
    }
    case QEvent::MouseButtonRelease:
        owner_->DNImageMouseUp();
        return false;
    default:
        return false;
    }
}
