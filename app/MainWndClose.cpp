// Closing the main window: the stop request for a running optimization, the
// settings file, and the closing flag that keeps late redraws away.
#include "app/MainWnd.h"
#include "app/Settings.h"
#include "model/EnvDef.h"
#include "platform/Prompter.h"

#include <QCloseEvent>

void TMainWnd::closeEvent(QCloseEvent* event) {
    JobDef.StopRequest = 1;
    if (JobDef.Busy) {
        // A calculation is under way: the window closes when it has returned.
        CloseAfterRun = true;
        event->ignore();
        return;
    }
    // Unsaved edits are asked for; Cancel, or a save that did not happen,
    // keeps the window open.
    if (!QuerySave()) {
        event->ignore();
        return;
    }
    // The view writes its section first, so the main window's write keeps it.
    Close3DView();
    // A settings file that cannot be written is reported, and the window
    // closes all the same: the user's way out is never blocked.
    const std::string path = SettingsFilePath();
    if (!WriteSettings(*this, path)) ErrorBox("Unable to write to %s", path.c_str());
    Closing = true;
    event->accept();
}
