#pragma once
// Where a gl test saves a screenshot for review: the folder "screenshots"
// beside the test program (or a folder inside it), made when missing.
#include <QCoreApplication>
#include <QDir>
#include <QString>

inline QString ShotPath(const QString& name, const QString& subfolder = {}) {
    QString dir = QCoreApplication::applicationDirPath() + "/screenshots";
    if (!subfolder.isEmpty()) dir += "/" + subfolder;
    QDir().mkpath(dir);
    return dir + "/" + name;
}
