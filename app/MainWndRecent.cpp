// The Reopen submenu: ten items showing the recent-files list, newest first.
#include "app/MainWnd.h"

#include <QAction>
#include <QMenu>

void TMainWnd::ShowRecentFiles() {
    for (int i = 0; i < 10; ++i) {
        QAction* item = ReopenItems[i];
        if (!item) continue;
        if (i < Recent.Count()) {
            const QString path = QString::fromStdString(Recent.At(i));
            item->setData(path);
            item->setText(QString(path).replace('&', "&&"));
            item->setVisible(true);
        } else {
            item->setData(QString());
            item->setText(QString());
            item->setVisible(false);
        }
    }
    Reopen->menuAction()->setEnabled(Recent.Count() > 0);
}
