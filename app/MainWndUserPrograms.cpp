// The Tools menu's user programs: up to three programs the user configured,
// started without waiting, optionally with the current antenna saved as
// "temp.kva" beside the settings file as their argument.
#include "app/ExternalOpen.h"
#include "app/FilePaths.h"
#include "app/MainWnd.h"
#include "app/Settings.h"
#include "model/EnvDef.h"

#include <QAction>
#include <QDir>
#include <QMenu>

void TMainWnd::nec2fmClick(QObject* sender) {
    const int slot = sender ? sender->property("tag").toInt() : 0;
    if (slot < 1 || slot > UserProgramCount) return;
    const UserProgramSlot& program = UserProgramSlots[slot - 1];
    // An empty slot would open the user-programs dialog, which its item
    // cannot reach yet: the item is disabled.
    if (program.Path.empty()) return;
    std::string argument;
    if (program.PassAntenna) {
        const QString file = QFileInfo(QString::fromStdString(SettingsFilePath())).dir().filePath("temp.kva");
        // A failed save is reported; the program would read an old antenna.
        if (!SaveAntFile(file)) return;
        argument = LocalPath(file);
    }
    ExternalOpen(OpenKind::Program, program.Path, argument);
}

void TMainWnd::UpdateUserProgramItems() {
    QAction* items[UserProgramCount] = {User1Menu, User2Menu, User3Menu};
    for (int i = 0; i < UserProgramCount; ++i) items[i]->setEnabled(!UserProgramSlots[i].Path.empty());
}

void TMainWnd::ConnectUserPrograms() {
    for (QAction* item : {User1Menu, User2Menu, User3Menu}) {
        connect(item, &QAction::triggered, this, [this, item] { nec2fmClick(item); });
        Wire(item);
    }
    connect(UserMen, &QMenu::aboutToShow, this, [this] { UpdateUserProgramItems(); });
    UpdateUserProgramItems();
}
