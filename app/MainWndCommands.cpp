// Wiring of the commands: menu items, toolbar buttons and the buttons of the
// tabs.
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "platform/StringGrid.h"
#include "platform/Prompter.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolBar>
#include <exception>

namespace {

template <class Handler>
void Reported(const Handler& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        ErrorBox("%s", e.what());
    }
}

}  // namespace

void TMainWnd::ConnectGuardedCommand(QAction* action, std::function<void()> command) {
    connect(action, &QAction::triggered, this, [this, command] {
        if (JobDef.Busy) return;
        Reported(command);
        UpdateMenuState();
    });
}

void TMainWnd::ConnectCommands() {
    // No exception leaves a command: it is reported and the window goes on.
    auto on = [this](QAction* a, auto handler) {
        connect(a, &QAction::triggered, this, [handler] { Reported(handler); });
    };
    ConnectFileCommands();
    ConnectPrintCommands();
    ConnectResultTables();
    Connect3DView();
    ConnectSweepCommands();
    ConnectHelpCommands();
    ConnectUserPrograms();
    ConnectCalculators();
    ConnectTableEdit();
    ConnectGeometryCommands();
    ConnectGeometryDialogs();
    ConnectWireCad();
    ConnectElementCommands();
    ConnectMemoryCommands();
    ConnectOptimizerCommands();
    on(K10, [this] { K10Click(K10); });
    on(K6, [this] { close(); });
    on(ToolButton14, [this] { close(); });
    on(Tabposition1, [this] { Tabposition1Click(); });
    on(ToolBV, [this] { ToolBVClick(); });
    connect(Page, &QTabWidget::currentChanged, this, [this] { Reported([this] { PageChange(); }); });
    // The enabled states depend on the focused table and its row: fresh at every opening.
    for (QMenu* m : {K1, KE1, EditPop, PopupAnt}) connect(m, &QMenu::aboutToShow, this, [this] { UpdateMenuState(); });
    // So do the shortcuts of the row commands when the focus moves between the
    // tables by keyboard.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (Closing || JobDef.Busy) return;
        auto inTable = [this](QWidget* w) {
            for (StringGrid* g : {Grid2, Grid3, Grid4})
                if (w && (w == g || g->isAncestorOf(w))) return g;
            return static_cast<StringGrid*>(nullptr);
        };
        if (inTable(old) != inTable(now)) UpdateMenuState();
    });
}
