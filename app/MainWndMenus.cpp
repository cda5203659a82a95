// The main menu, the popup menus and the toolbar. Every item carries its
// component name as objectName and its tag in the property "tag".
#include "app/MainWnd.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {

QAction* Item(QObject* owner, QMenu* menu, const char* name, const QString& caption, int tag = 0,
              const QKeySequence& key = {}) {
    auto* a = new QAction(caption, owner);
    a->setObjectName(QString::fromLatin1(name));
    a->setProperty("tag", tag);
    if (!key.isEmpty()) a->setShortcut(key);
    if (menu) menu->addAction(a);
    return a;
}

QMenu* SubMenu(QWidget* owner, QMenu* parent, const char* name, const QString& caption) {
    auto* m = new QMenu(caption, owner);
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name) + "Item");
    if (parent) parent->addMenu(m);
    return m;
}

}  // namespace

void TMainWnd::BuildMenus() {
    QMenuBar* bar = menuBar();
    auto top = [&](const char* name, const QString& caption) {
        QMenu* m = SubMenu(this, nullptr, name, caption);
        bar->addMenu(m);
        return m;
    };

    K1 = top("K1", "&File");
    K2 = Item(this, K1, "K2", "&New");
    K3 = Item(this, K1, "K3", "&Open (*.kva)");
    Reopen = SubMenu(this, K1, "Reopen", "Reopen");
    K4 = Item(this, K1, "K4", "&Save (*.kva)");
    K5 = Item(this, K1, "K5", "save &As ...(*.kva)");
    K1->addSeparator();
    K34 = Item(this, K1, "K34", "comments");
    K1->addSeparator();
    K12 = Item(this, K1, "K12", "open &Far fields (*.kvb)");
    K11 = Item(this, K1, "K11", "save far fi&Elds (*.kvb)");
    K19 = Item(this, K1, "K19", "o&Pen optimization log (*.kvo)");
    K20 = Item(this, K1, "K20", "save op&Timization log (*.kvo)");
    K1->addSeparator();
    KC2 = Item(this, K1, "KC2", "table of c&Urrents (*.csv)");
    K31 = Item(this, K1, "K31", "table of near fiel&Ds (*.csv)");
    K32 = Item(this, K1, "K32", "table of Angle/Gain (*.csv)");
    K49 = Item(this, K1, "K49", "table F/SWR/Gain/Z (*.csv)");
    NWLDat = Item(this, K1, "NWLDat", "create list F/R/jX (*nwl)");
    K1->addSeparator();
    K6 = Item(this, K1, "K6", "e&Xit");

    KE1 = top("KE1", "&Edit");
    K13 = Item(this, KE1, "K13", "&Delete", 21, QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    K14 = Item(this, KE1, "K14", "&Add", 22, QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    K27 = Item(this, KE1, "K27", "search and replace", 23, QKeySequence(Qt::CTRL | Qt::Key_R));
    K28 = Item(this, KE1, "K28", "move", 24, QKeySequence(Qt::CTRL | Qt::Key_M));
    KT2 = Item(this, KE1, "KT2", "wire definition", 25, QKeySequence(Qt::CTRL | Qt::Key_T));
    KE1->addSeparator();
    KXY = SubMenu(this, KE1, "KXY", "&Parallel");
    KXY1 = Item(this, KXY, "KXY1", "Axis X", 1);
    KXZ1 = Item(this, KXY, "KXZ1", "Axis Z", 2);
    KYZ1 = Item(this, KXY, "KYZ1", "Axis Y", 3);
    K33 = Item(this, KE1, "K33", "r&Otate", 26);
    KS4 = Item(this, KE1, "KS4", "wire s&Cale", 27);
    K22 = SubMenu(this, KE1, "K22", "round &Value");
    K23 = Item(this, K22, "K23", "2 digits", 2);
    K24 = Item(this, K22, "K24", "3 digits", 3);
    K25 = Item(this, K22, "K25", "4 digits", 4);
    K26 = Item(this, K22, "K26", "5 digits", 5);
    K37 = Item(this, KE1, "K37", "make &Stack");
    K45 = Item(this, KE1, "K45", "&Taper wire set", 28);
    KE1->addSeparator();
    K38 = Item(this, KE1, "K38", "save data to temporar&Y memory");
    K39 = Item(this, KE1, "K39", "&Restore data from temporery");
    K36 = Item(this, KE1, "K36", "restore the data &Before optimization");
    KE1->addSeparator();
    K30 = Item(this, KE1, "K30", "antenna de&Finition edit");
    KCAD = Item(this, KE1, "KCAD", "&Wire edit");
    K18 = Item(this, KE1, "K18", "&Element edit");

    KV1 = top("KV1", "&Service");
    K21 = Item(this, KV1, "K21", "options and &Setup");
    Tabposition1 = Item(this, KV1, "Tabposition1", "tab position top/bottom");
    ToolBV = Item(this, KV1, "ToolBV", "toolbar visible");
    ToolBV->setCheckable(true);
    ToolBV->setChecked(true);
    LanguageMenu = SubMenu(this, KV1, "LanguageMenu", "Language");
    LanguageMenu->menuAction()->setVisible(false);

    T0 = top("T0", "&Tools");
    KC1 = Item(this, T0, "KC1", "&Compare");
    K8 = Item(this, T0, "K8", "&Optimization");
    K15 = Item(this, T0, "K15", "optimization &Log");
    K17 = Item(this, T0, "K17", "Calcula&Tor");
    UserMen = SubMenu(this, T0, "UserMen", "User programms");
    User1Menu = Item(this, UserMen, "User1Menu", "1Not defined", 1);
    User2Menu = Item(this, UserMen, "User2Menu", "2Not defined", 2);
    User3Menu = Item(this, UserMen, "User3Menu", "3Not defined", 3);
    UserMen->addSeparator();
    EditUsProg = Item(this, UserMen, "EditUsProg", "Edit users progranmms", 0);

    KH1 = top("KH1", "&Help");
    KORVAhelp1 = Item(this, KH1, "KORVAhelp1", "KORVA-TEZ help", 1);
    WnewM = Item(this, KH1, "WnewM", "", 2);
    WnewM->setVisible(false);
    KKORVAWebW1 = SubMenu(this, KH1, "KKORVAWebW1", "KORVA-TEZ  WWW");
    KORVAinternational1 = Item(this, KKORVAWebW1, "KORVAinternational1", "KORVA-TEZ international", 0);
    KWeb4 = Item(this, KKORVAWebW1, "KWeb4", "Author page", 4);
    KWeb5 = Item(this, KKORVAWebW1, "KWeb5", "Translator page", 5);
    KH1->addSeparator();
    K10 = Item(this, KH1, "K10", "&About");

    CreateReopenMenu();
}

void TMainWnd::CreateReopenMenu() {
    for (int i = 0; i < 10; ++i) {
        QAction* a = Item(this, Reopen, "", QString(), i + 1);
        a->setObjectName(QStringLiteral("ReopenItem%1").arg(i + 1));
        a->setVisible(false);
        ReopenItems[i] = a;
    }
    Reopen->menuAction()->setEnabled(false);
}

void TMainWnd::BuildPopups() {
    EditPop = SubMenu(this, nullptr, "EditPop", QString());
    K7 = Item(this, EditPop, "K7", "Del", 21);
    K9 = Item(this, EditPop, "K9", "Add", 22);
    K35 = Item(this, EditPop, "K35", "Replace start and End point");
    KR1 = Item(this, EditPop, "KR1", "Search and replace", 23);
    KM1 = Item(this, EditPop, "KM1", "Move", 24);
    KT1 = Item(this, EditPop, "KT1", "Wire definition", 25);
    K46 = Item(this, EditPop, "K46", "Taper wire set", 28);
    K47 = Item(this, EditPop, "K47", "Table of real Length/rR for tapering wire");
    O1 = Item(this, EditPop, "O1", "Options and Setup");

    PopupLoad = SubMenu(this, nullptr, "PopupLoad", QString());
    KS1 = Item(this, PopupLoad, "KS1", "LC");
    KS2 = Item(this, PopupLoad, "KS2", "R+jX");
    KS3 = Item(this, PopupLoad, "KS3", "S");

    PopupAnt = SubMenu(this, nullptr, "PopupAnt", QString());
    K29 = Item(this, PopupAnt, "K29", "Center of coordinates on this position");
    K41 = Item(this, PopupAnt, "K41", "Delete source");
    K40 = SubMenu(this, PopupAnt, "K40", "Move/Add source to");
    K42 = Item(this, K40, "K42", "center of wire", 1);
    K43 = Item(this, K40, "K43", "begin of wire", 2);
    K44 = Item(this, K40, "K44", "end of wire", 3);
    for (QAction* a : {K42, K43, K44}) a->setCheckable(true);
    KS5 = Item(this, PopupAnt, "KS5", "Exchange start and end points");
    KM2 = Item(this, PopupAnt, "KM2", "Move", 24);
    KT3 = Item(this, PopupAnt, "KT3", "Wire definition", 25);
    KC3 = Item(this, PopupAnt, "KC3", "Taper wire set", 28);
    K48 = Item(this, PopupAnt, "K48", "Table of real  Length/R for tapering wire");
}

void TMainWnd::BuildToolBar() {
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setMovable(false);
    ToolButton2 = Item(this, nullptr, "ToolButton2", "New");
    ToolButton4 = Item(this, nullptr, "ToolButton4", "Open");
    ToolButton6 = Item(this, nullptr, "ToolButton6", "Save as..");
    ToolButton8 = Item(this, nullptr, "ToolButton8", "Wire edit");
    ToolButton9 = Item(this, nullptr, "ToolButton9", "Element edit");
    ToolButton10 = Item(this, nullptr, "ToolButton10", "Setup");
    ToolButton12 = Item(this, nullptr, "ToolButton12", "Calculator");
    ToolButton14 = Item(this, nullptr, "ToolButton14", "Exit");
    ToolBar1->addAction(ToolButton2);
    ToolBar1->addAction(ToolButton4);
    ToolBar1->addAction(ToolButton6);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ToolButton8);
    ToolBar1->addAction(ToolButton9);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ToolButton10);
    ToolBar1->addAction(ToolButton12);
    ToolBar1->addSeparator();
    ToolBar1->addAction(ToolButton14);
}
