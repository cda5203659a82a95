#include "platform/SettingsPath.h"
#include "platform/System.h"

#include <QDir>

std::string SettingsPathOverride;

std::string SettingsFilePath() {
    if (!SettingsPathOverride.empty()) return SettingsPathOverride;
    return QDir(QString::fromStdString(SettingsFolder())).filePath("Korva.ini").toStdString();
}
