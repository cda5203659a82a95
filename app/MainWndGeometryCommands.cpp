// Edit commands that change the whole antenna without a dialog (exchange of
// axes, rounding), the exchange of a wire's ends, and the source commands of
// the antenna view's popup.
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "model/GeometryEdits.h"
#include "model/Messages.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QMenu>
#include <QSpinBox>
#include <algorithm>

void TMainWnd::ConnectGeometryCommands() {
    for (QAction* a : {KXY1, KXZ1, KYZ1}) ConnectGuardedCommand(a, [this, a] { KXYClick(a); });
    for (QAction* a : {K23, K24, K25, K26}) ConnectGuardedCommand(a, [this, a] { K23Click(a); });
    for (QAction* a : {K35, KS5}) ConnectGuardedCommand(a, [this] { K35Click(); });
    ConnectGuardedCommand(K41, [this] { K41Click(); });
    for (QAction* a : {K42, K43, K44}) ConnectGuardedCommand(a, [this, a] { K42Click(a); });
    ConnectGuarded(PopupAnt, &QMenu::aboutToShow, this, [this] { PopupAntPopup(); });
}

void TMainWnd::KXYClick(QObject* sender) {
    if (!sender || JobDef.Busy || Ant.WireCount < 1) return;
    if (YesNoBox("%s", MainMessages[MsgAllCoordsChange]) != BoxYes) return;
    const int wire = SelWirSpEd->value();
    const int centre = RotationCentreCode();
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->CloseEditor();
    ExchangeAxes(Ant, sender->property("tag").toInt());
    AntChanged();
    ReapplyRotationCentre(wire, centre);
}

void TMainWnd::K23Click(QObject* sender) {
    if (!sender || JobDef.Busy || Ant.WireCount < 1) return;
    const int answer =
        CurrentPrompter().Message(MainMessages[MsgChangeRadius], "Korva", BoxIcon::Question, BoxButtons::YesNo);
    RoundValues(sender->property("tag").toInt(), answer == BoxYes);
}

void TMainWnd::RoundValues(int digits, bool radii) {
    if (YesNoBox("%s", MainMessages[MsgCutDigits]) != BoxYes) return;
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->CloseEditor();
    RoundAntennaValues(Ant, digits, radii);
    AntChanged();
}

void TMainWnd::K35Click() {
    LastClick = QPoint(0, 0);
    if (JobDef.Busy) return;
    Grid2->CloseEditor();
    const int r = Grid2->Row();
    if (Ant.WireCount < 1 || r < 1 || r > std::min(Ant.WireCount, MaxWires)) return;
    ExchangeWireEnds(Ant.Wires[r - 1]);
    AntChanged();
}

void TMainWnd::PopupAntPopup() {
    const int r = Grid2->Row();
    if (r < 1 || r > std::min(Ant.WireCount, MaxWires)) {
        K41->setEnabled(false);
        K40->menuAction()->setEnabled(false);
        return;
    }
    char letter = 0;
    const int found = FindWireSource(&letter, r - 1);
    for (QAction* a : {K42, K43, K44}) a->setChecked(false);
    K40->menuAction()->setEnabled(!JobDef.Busy && Ant.SourceCount < MaxSources && Ant.Wires[r - 1].R != 0);
    K41->setEnabled(!JobDef.Busy && found >= 0);
    if (found < 0) return;
    if (letter == 'B') K43->setChecked(true);
    if (letter == 'C') K42->setChecked(true);
    if (letter == 'E') K44->setChecked(true);
}

void TMainWnd::K41Click() {
    LastClick = QPoint(0, 0);
    if (JobDef.Busy) return;
    const int wire = SelWirSpEd->value();
    const int centre = RotationCentreCode();
    const int found = FindWireSource(nullptr, Grid2->Row() - 1);
    if (found >= 0) DeleteSource(found + 1);
    ReapplyRotationCentre(wire, centre);
}

void TMainWnd::K42Click(QObject* sender) {
    LastClick = QPoint(0, 0);
    if (!sender || JobDef.Busy) return;
    static const char letters[] = {'c', 'b', 'e'};
    const int tag = sender->property("tag").toInt();
    if (tag < 1 || tag > 3) return;
    const char letter = letters[tag - 1];
    const int wire = SelWirSpEd->value();
    const int centre = RotationCentreCode();
    if (MoveWireSource(Ant, wire, letter))
        AntChanged();
    else
        AddWireSource(letter);
    ReapplyRotationCentre(wire, centre);
}
