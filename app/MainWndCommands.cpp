// Wiring of the commands: menu items, toolbar buttons and the buttons of the
// tabs.
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "platform/CommandGuard.h"
#include "platform/StringGrid.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>

void TMainWnd::RunWindowCommand(const std::function<void()>& command, WhileBusy busy) {
    if (busy == WhileBusy::Refused && JobDef.Busy) return;
    TakeTypedFields();
    RunGuarded(command);
    UpdateMenuState();
}

void TMainWnd::ConnectGuardedCommand(QAction* action, std::function<void()> command, WhileBusy busy) {
    ConnectGuarded(action, &QAction::triggered, this, [this, command, busy] { RunWindowCommand(command, busy); });
}

void TMainWnd::ConnectGuardedCommand(QAbstractButton* button, std::function<void()> command, WhileBusy busy) {
    ConnectGuarded(button, &QAbstractButton::clicked, this, [this, command, busy] { RunWindowCommand(command, busy); });
}

void TMainWnd::ConnectCommands() {
    auto on = [this](QAction* a, auto handler) { ConnectGuarded(a, &QAction::triggered, this, handler); };
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
    ConnectGuarded(Page, &QTabWidget::currentChanged, this, [this] { PageChange(); });
    // What shows or offers results follows their origin whenever the program
    // waits for input: after a typed cell, a dialog, a setting, whatever path
    // the edit took. A run (a box it asks in between) keeps its controls as
    // the run set them.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        ConnectGuarded(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (!Closing && !JobDef.Busy) ShowOnlyResultsThatBelong();
        });
    // The enabled states depend on the focused table and its row: fresh at every opening.
    for (QMenu* m : {K1, KE1, EditPop, PopupAnt}) ConnectGuarded(m, &QMenu::aboutToShow, this, [this] { UpdateMenuState(); });
    // So do the shortcuts of the row commands when the focus moves between the
    // tables by keyboard.
    ConnectGuarded(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        if (Closing || JobDef.Busy) return;
        auto inTable = [this](QWidget* w) {
            for (StringGrid* g : {Grid2, Grid3, Grid4})
                if (w && (w == g || g->isAncestorOf(w))) return g;
            return static_cast<StringGrid*>(nullptr);
        };
        if (inTable(old) != inTable(now)) UpdateMenuState();
    });
}
