// Closing the main window: the stop request for a running optimization, the
// settings file, and the closing flag that keeps late redraws away.
#include "app/MainWnd.h"
#include "model/EnvDef.h"

#include <QCloseEvent>

void TMainWnd::closeEvent(QCloseEvent* event) {
    JobDef.StopRequest = 1;
    if (JobDef.Busy) {
        // A calculation is under way: it ends at its next check, then the window closes.
        event->ignore();
        return;
    }
    Closing = true;
    event->accept();
}
