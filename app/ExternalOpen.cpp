#include "app/ExternalOpen.h"

#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace {

bool OpenOnDesktop(OpenKind kind, const std::string& target, const std::string& argument) {
    switch (kind) {
    case OpenKind::Program: return ShellOpen(target, argument);
    case OpenKind::Document: return QDesktopServices::openUrl(QUrl::fromLocalFile(QFile::decodeName(target.c_str())));
    case OpenKind::WebPage: return QDesktopServices::openUrl(QUrl(QString::fromStdString(target)));
    }
    return false;
}

}  // namespace

std::function<bool(OpenKind, const std::string&, const std::string&)> ExternalOpen = OpenOnDesktop;
