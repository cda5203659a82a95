#include "platform/WindowBox.h"

#include "platform/IniFile.h"
#include "platform/SettingsPath.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// Far beyond any screen, small enough that a box's right and bottom edges stay in range.
constexpr int CoordinateLimit = 1 << 20;
constexpr int SizeLimit = 1 << 14;

// The available area of the screen that shows most of the box, else of the primary screen.
QRect ScreenAreaOf(const QRect& box) {
    QRect best;
    long long bestShown = 0;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect shown = s->availableGeometry().intersected(box);
        const long long area = static_cast<long long>(shown.width()) * shown.height();
        if (area > bestShown) {
            bestShown = area;
            best = s->availableGeometry();
        }
    }
    if (bestShown == 0)
        if (const QScreen* primary = QGuiApplication::primaryScreen()) best = primary->availableGeometry();
    return best;
}

// The frame around the window's client area, once the window manager has framed it.
QMargins KnownFrame(const QWidget& w) {
    if (!w.isVisible()) return {};
    const QRect frame = w.frameGeometry(), client = w.geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

// The form's own frame when it has one, else that of its owner or of any
// other shown window: one window manager frames them all alike.
QMargins ExpectedFrame(const QWidget& form) {
    QMargins frame = KnownFrame(form);
    if (!frame.isNull()) return frame;
    if (const QWidget* owner = form.parentWidget()) {
        frame = KnownFrame(*owner->window());
        if (!frame.isNull()) return frame;
    }
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w == &form || w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip) continue;
        frame = KnownFrame(*w);
        if (!frame.isNull()) return frame;
    }
    return {};
}

QSize Extent(const QMargins& m) { return {m.left() + m.right(), m.top() + m.bottom()}; }

// Watches a placed form until the window manager has framed it; a frame
// other than the one expected places the client area inside the box again.
class FrameWatch : public QObject {
public:
    static constexpr const char* Name = "FrameWatch";

    FrameWatch(QWidget& form, const QRect& box, QSize least, const QMargins& expected)
        : QObject(&form), form_(form), box_(box), least_(least), expected_(expected) {
        setObjectName(Name);
        form.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Show:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowActivate:
                break;
            default:
                return false;
        }
        const QMargins frame = KnownFrame(form_);
        if (frame.isNull()) return false;
        form_.removeEventFilter(this);
        deleteLater();
        if (frame != expected_ && !(form_.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            form_.setGeometry(FitToScreen(box_, least_.expandedTo(Extent(frame) + QSize(1, 1))).marginsRemoved(frame));
        return false;
    }

private:
    QWidget& form_;
    QRect box_;
    QSize least_;
    QMargins expected_;
};

}  // namespace

QSize UsableLeast(const QSize& freshBox) { return {freshBox.width() / 2, freshBox.height() / 2}; }

QRect FrameBox(const QWidget& form) {
    // A window not shown has no frame: its frame geometry is its client area
    // (a pixel less), and a box saved so would shrink at each opening.
    if (!form.isVisible()) return form.geometry().marginsAdded(ExpectedFrame(form));
    return form.frameGeometry();
}

bool HasNormalBox(const QWidget& form) {
    return !(form.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

void WriteWindowBox(IniFile& ini, const QWidget& form, const std::string& section, const WindowBoxKeys& keys) {
    if (!HasNormalBox(form)) return;
    const QRect box = FrameBox(form);
    ini.WriteInteger(section, keys.Left, box.x());
    ini.WriteInteger(section, keys.Top, box.y());
    if (keys.Width) ini.WriteInteger(section, keys.Width, box.width());
    if (keys.Height) ini.WriteInteger(section, keys.Height, box.height());
}

void SaveWindowBox(const QWidget& form, const std::string& section, const WindowBoxKeys& keys) {
    IniFile ini(SettingsFilePath());
    WriteWindowBox(ini, form, section, keys);
    ini.UpdateFile();
}

QRect ReadWindowBox(const IniFile& ini, const std::string& section, const QRect& fallback, const WindowBoxKeys& keys) {
    const int left = std::clamp(ini.ReadInteger(section, keys.Left, fallback.x()), -CoordinateLimit, CoordinateLimit);
    const int top = std::clamp(ini.ReadInteger(section, keys.Top, fallback.y()), -CoordinateLimit, CoordinateLimit);
    const int width = std::clamp(keys.Width ? ini.ReadInteger(section, keys.Width, fallback.width()) : fallback.width(),
                                 0, SizeLimit);
    const int height = std::clamp(
        keys.Height ? ini.ReadInteger(section, keys.Height, fallback.height()) : fallback.height(), 0, SizeLimit);
    return {left, top, width, height};
}

void RestoreWindowBox(QWidget& form, const IniFile& ini, const std::string& section, const QRect& fallback,
                      const WindowBoxKeys& keys, QSize least) {
    least = least.expandedTo(UsableLeast(fallback.size()));
    // A box that keeps only its corner has the form's own size, frame included.
    QRect box = fallback;
    const QSize framed = form.size() + Extent(ExpectedFrame(form));
    if (!keys.Width) box.setWidth(framed.width());
    if (!keys.Height) box.setHeight(framed.height());
    box = ReadWindowBox(ini, section, box, keys);
    if (ini.ValueExists(section, keys.Left) || ini.ValueExists(section, keys.Top)) {
        PlaceFrame(form, box, least);
        return;
    }
    // Never saved: the window system places it (a dialog over its owner).
    const QMargins frame = ExpectedFrame(form);
    least = least.expandedTo(form.minimumSize() + Extent(frame));
    form.resize(FitToScreen(box, least).size() - Extent(frame));
}

void RestoreWindowBox(QWidget& form, const std::string& section, const QRect& fallback) {
    RestoreWindowBox(form, IniFile(SettingsFilePath()), section, fallback);
}

QRect FitToScreen(const QRect& box, QSize least) {
    const QSize wanted = box.size().expandedTo(least);
    const QRect area = ScreenAreaOf(QRect(box.topLeft(), wanted));
    if (area.isEmpty()) return QRect(box.topLeft(), wanted);
    QRect fitted(box.topLeft(), wanted.boundedTo(area.size()));
    if (fitted.size() != wanted) {
        fitted.moveCenter(area.center());
        return fitted;
    }
    fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.right() + 1 - fitted.width()));
    fitted.moveTop(std::clamp(fitted.top(), area.top(), area.bottom() + 1 - fitted.height()));
    return fitted;
}

void PlaceFrame(QWidget& form, const QRect& frameBox, QSize least) {
    for (QObject* old : form.findChildren<QObject*>(FrameWatch::Name, Qt::FindDirectChildrenOnly)) delete old;
    const QMargins frame = ExpectedFrame(form);
    // The frame never smaller than the form can be made.
    least = least.expandedTo(form.minimumSize() + Extent(frame)).expandedTo(Extent(frame) + QSize(1, 1));
    // The client area's own corner: Qt then places the frame around it,
    // whether or not the window exists yet.
    form.setGeometry(FitToScreen(frameBox, least).marginsRemoved(frame));
    if (KnownFrame(form).isNull()) new FrameWatch(form, frameBox, least, frame);
}
