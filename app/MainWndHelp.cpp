// The Help menu (help file and the news file of the active language), the
// makers' web pages and the calculator. Nothing here waits for what it opens.
#include "app/ExternalOpen.h"
#include "platform/FilePaths.h"
#include "app/MainWnd.h"
#include "platform/Prompter.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QToolBar>

namespace {

// Addresses of the makers' pages by the tag of their item; an item without an
// address stays disabled.
struct WebPage {
    int Tag;
    const char* Address;
};
const WebPage MakerWebPages[] = {{0, ""}, {4, ""}, {5, ""}};

const char* WebAddressOfTag(int tag) {
    for (const WebPage& page : MakerWebPages)
        if (page.Tag == tag) return page.Address;
    return "";
}

// Desktop calculators, the first one installed is started.
const char* const Calculators[] = {"gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-gtk", "xcalc"};

}  // namespace

void TMainWnd::KORVAhelp1Click(QObject* sender) {
    const int tag = sender ? sender->property("tag").toInt() : 0;
    QString path;
    if (tag == 1) {
        // The built-in language and a language without a help line name none.
        if (HelpFileName.trimmed().isEmpty()) {
            ShowMessage("No help file is installed.");
            return;
        }
        path = QDir(ProgramFolder).absolutePath() + '/' + HelpFileName;
    } else if (tag == 2) {
        // Only a file of the language folder: the name comes from a language
        // file, and no folder part in it may lead elsewhere.
        const QString name = QFileInfo(WnewM->property("fileName").toString()).fileName();
        path = QDir(LanguageFolder()).filePath(name);
    } else {
        return;
    }
    if (QFileInfo(path).isFile())
        ExternalOpen(OpenKind::Document, LocalPath(path), {});
    else
        ShowMessage("File " + path.toStdString() + " not found");
}

void TMainWnd::KORVAinternational1Click(QObject* sender) {
    const char* address = WebAddressOfTag(sender ? sender->property("tag").toInt() : -1);
    if (*address) ExternalOpen(OpenKind::WebPage, address, {});
}

void TMainWnd::K17Click() {
    std::string tried;
    for (const char* name : Calculators) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty()) {
            if (!ExternalOpen(OpenKind::Program, LocalPath(program), {}))
                ShowMessage("The calculator " + program.toStdString() + " could not be started.");
            return;
        }
        tried += (tried.empty() ? "" : ", ") + std::string(name);
    }
    ShowMessage("No calculator program was found (looked for " + tried + ").");
}

void TMainWnd::ConnectHelpCommands() {
    auto on = [this](QAction* action, auto handler) { ConnectGuarded(action, &QAction::triggered, this, handler); };
    on(KORVAhelp1, [this] { KORVAhelp1Click(KORVAhelp1); });
    on(WnewM, [this] { KORVAhelp1Click(WnewM); });
    for (QAction* web : {KORVAinternational1, KWeb4, KWeb5}) {
        if (*WebAddressOfTag(web->property("tag").toInt()))
            on(web, [this, web] { KORVAinternational1Click(web); });
        else
            web->setEnabled(false);
    }
    on(K17, [this] { K17Click(); });
    on(ToolButton12, [this] { K17Click(); });
}
