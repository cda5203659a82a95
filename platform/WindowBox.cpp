#include "platform/WindowBox.h"

#include "platform/IniFile.h"
#include "platform/SettingsPath.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void SaveWindowBox(const QWidget& form, const std::string& section) {
    if (form.isMaximized()) return;
    IniFile ini(SettingsFilePath());
    ini.WriteInteger(section, "Left", form.x());
    ini.WriteInteger(section, "Top", form.y());
    ini.WriteInteger(section, "Width", form.width());
    ini.WriteInteger(section, "Height", form.height());
    ini.UpdateFile();
}

QRect ReadWindowBox(const std::string& section, const QRect& fallback) {
    const IniFile ini(SettingsFilePath());
    const QRect box(ini.ReadInteger(section, "Left", fallback.x()), ini.ReadInteger(section, "Top", fallback.y()),
                    ini.ReadInteger(section, "Width", fallback.width()),
                    ini.ReadInteger(section, "Height", fallback.height()));
    return FitToScreen(QRect(box.topLeft(), box.size().expandedTo(QSize(200, 150))));
}

QRect FitToScreen(const QRect& box) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return box;
    const QRect area = screen->availableGeometry();
    if (box.width() <= area.width() && box.height() <= area.height()) return box;
    QRect fitted(box.topLeft(), box.size().boundedTo(area.size()));
    fitted.moveCenter(area.center());
    return fitted;
}
