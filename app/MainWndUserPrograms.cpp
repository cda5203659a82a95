// The Tools menu's user programs: up to three programs the user configured,
// started without waiting, optionally with the current antenna saved as
// "temp.kva" beside the settings file as their argument.
#include "app/ExternalOpen.h"
#include "platform/FilePaths.h"
#include "app/MainWnd.h"
#include "app/Settings.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "platform/FormPattern.h"
#include "tools/UserProgramsDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QMenu>

void TMainWnd::nec2fmClick(QObject* sender) {
    const int slot = sender ? sender->property("tag").toInt() : 0;
    if (slot < 0 || slot > UserProgramCount) return;
    if (slot == 0 || UserProgramSlots[slot - 1].Path.empty()) {
        EditUserPrograms(slot);
        return;
    }
    const UserProgramSlot& program = UserProgramSlots[slot - 1];
    std::string argument;
    if (program.PassAntenna) {
        const QString file = QFileInfo(QString::fromStdString(SettingsFilePath())).dir().filePath("temp.kva");
        // A failed save is reported; the program would read an old antenna.
        if (!SaveAntFile(file)) return;
        argument = LocalPath(file);
    }
    ExternalOpen(OpenKind::Program, program.Path, argument);
}

void TMainWnd::EditUserPrograms(int slot) {
    int edited = 0;
    {
        TUsCase dialog(slot, this);
        QFont f = dialog.font();
        f.setFamily(font().family());
        dialog.setFont(f);
        dialog.USPlCB->setEnabled(slot != 1);
        ShowModal(dialog);
        edited = dialog.SelectedSlot;
    }
    if (edited < 1 || edited > UserProgramCount) return;
    QAction* items[UserProgramCount] = {User1Menu, User2Menu, User3Menu};
    const std::string& path = UserProgramSlots[edited - 1].Path;
    const QString caption = path.empty() ? QString::number(edited) + QString::fromUtf8(NotDefinedText)
                                         : QFileInfo(QString::fromStdString(path)).fileName();
    items[edited - 1]->setText(caption);
    UpdateUserProgramItems();
}

void TMainWnd::UpdateUserProgramItems() {
    QAction* items[UserProgramCount] = {User1Menu, User2Menu, User3Menu};
    // An empty slot's item opens the dialog that sets it up.
    for (QAction* item : items) item->setEnabled(!JobDef.Busy);
}

void TMainWnd::ConnectUserPrograms() {
    for (QAction* item : {User1Menu, User2Menu, User3Menu, EditUsProg}) {
        ConnectGuarded(item, &QAction::triggered, this, [this, item] { nec2fmClick(item); });
    }
    ConnectGuarded(UserMen, &QMenu::aboutToShow, this, [this] { UpdateUserProgramItems(); });
    UpdateUserProgramItems();
}
