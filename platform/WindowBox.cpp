#include "platform/WindowBox.h"

#include "platform/IniFile.h"
#include "platform/SettingsPath.h"

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

}  // namespace

void WriteWindowBox(IniFile& ini, const QWidget& form, const std::string& section, const WindowBoxKeys& keys) {
    if (form.isMaximized()) return;
    ini.WriteInteger(section, keys.Left, form.x());
    ini.WriteInteger(section, keys.Top, form.y());
    if (keys.Width) ini.WriteInteger(section, keys.Width, form.width());
    if (keys.Height) ini.WriteInteger(section, keys.Height, form.height());
}

void SaveWindowBox(const QWidget& form, const std::string& section) {
    IniFile ini(SettingsFilePath());
    WriteWindowBox(ini, form, section);
    ini.UpdateFile();
}

QRect ReadWindowBox(const IniFile& ini, const std::string& section, const QRect& fallback,
                    const WindowBoxKeys& keys, QSize least) {
    const int left = std::clamp(ini.ReadInteger(section, keys.Left, fallback.x()), -CoordinateLimit, CoordinateLimit);
    const int top = std::clamp(ini.ReadInteger(section, keys.Top, fallback.y()), -CoordinateLimit, CoordinateLimit);
    const int width = std::clamp(keys.Width ? ini.ReadInteger(section, keys.Width, fallback.width()) : fallback.width(),
                                 0, SizeLimit);
    const int height = std::clamp(
        keys.Height ? ini.ReadInteger(section, keys.Height, fallback.height()) : fallback.height(), 0, SizeLimit);
    return FitToScreen(QRect(left, top, width, height), least);
}

QRect ReadWindowBox(const std::string& section, const QRect& fallback) {
    return ReadWindowBox(IniFile(SettingsFilePath()), section, fallback);
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

void PlaceWindow(QWidget& form, const QRect& box) {
    form.resize(box.size());
    // move() places a top-level window's frame; setGeometry() would place
    // its client area there and push the title bar off the screen.
    form.move(box.topLeft());
}
