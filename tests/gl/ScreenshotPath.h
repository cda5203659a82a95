#pragma once
// Where a gl test saves a screenshot for review: the folder "screenshots"
// beside the test program, made when missing.
#include <QCoreApplication>
#include <QDir>
#include <QString>

inline QString ShotPath(const QString& name) {
    const QString dir = QCoreApplication::applicationDirPath() + "/screenshots";
    QDir().mkpath(dir);
    return dir + "/" + name;
}
