#pragma once
// Conversions between the window's file names (QString) and the byte paths
// of the model's file routines and of the recent-files list.
#include "platform/Prompter.h"

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <string>

// The path in the file system's encoding, for the model's file routines.
inline std::string LocalPath(const QString& name) { return QFile::encodeName(name).toStdString(); }
inline QString FromLocalPath(const std::string& path) { return QFile::decodeName(path.c_str()); }

// The folder that holds the file, as the initial folder of the next dialog.
inline QString FolderOf(const QString& name) { return QFileInfo(name).absolutePath(); }

// The same path with its extension (after the last '.' of the file name)
// replaced by `extension` (".kva"), or appended when it has none.
inline QString WithExtension(const QString& name, const QString& extension) {
    const QFileInfo info(name);
    const QString fileName = info.fileName();
    const int dot = fileName.lastIndexOf('.');
    const QString stem = dot < 0 ? name : name.left(name.size() - fileName.size() + dot);
    return stem + extension;
}

// The plain box of a failed save: "Can not save " and the name, with the
// reason on a second line when there is one.
inline void ReportCannotSave(const QString& name, const std::string& reason) {
    ShowMessage("Can not save " + name.toStdString() + (reason.empty() ? "" : "\n" + reason));
}

// A file dialog of the File menu: caption, filter, default extension, start
// folder and the proposed name.
inline FileDialogRequest FileDialog(const char* caption, const char* filter, const char* suffix,
                                    const QString& folder, const std::string& fileName = {}) {
    FileDialogRequest request;
    request.caption = caption;
    request.filter = filter;
    request.defaultSuffix = suffix;
    request.folder = LocalPath(folder);
    request.fileName = fileName;
    return request;
}
