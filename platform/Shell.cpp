#include "platform/Shell.h"

#include "platform/TextCodec.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

bool ShellOpen(const std::string& target, const std::string& argument) {
    if (target.empty()) return false;
    QString path = DisplayQString(target);
    if (path.startsWith("http://", Qt::CaseInsensitive) || path.startsWith("https://", Qt::CaseInsensitive))
        return QDesktopServices::openUrl(QUrl(path));
    QFileInfo info(path);
    if (info.isFile() && info.isExecutable()) {
        QStringList args;
        if (!argument.empty()) args << DisplayQString(argument);
        return QProcess::startDetached(info.absoluteFilePath(), args);
    }
    if (!info.exists()) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}
