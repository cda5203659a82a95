// Positions and identities of the window's antenna through its edits: the
// identities of its wires and entries, the wires its positions were placed
// against, and the optimizer's rows follow every renumbering; every edit
// that changes the pulse layout ends in SettlePositions or in the
// preparation, which settles what is pending; a multi-band run says what it
// left in place of the sources the antenna had.
#include "app/MainWnd.h"
#include "model/TableRows.h"
#include "optimizer/OptimizerState.h"
#include "platform/StringGrid.h"

#include <algorithm>

void TMainWnd::SettlePositions() { AddPositionLines(PlacePendingPositions()); }

std::vector<std::string> TMainWnd::PlacePendingPositions(bool atRunFrequency) {
    const int sources = Ant.SourceCount, loads = Ant.LoadCount;
    std::vector<std::string> lines = atRunFrequency ? Positions.SettleAtRunFrequency(Ant) : Positions.Settle(Ant);
    // A source or load with no pulse left on its wire went.
    if (Ant.SourceCount != sources || Ant.LoadCount != loads) {
        if (Ant.SourceCount != sources) SetAutoVol();
        UpdateCount();
        Grid3->SetRowCount(Ant.SourceCount + 2);
        Grid4->SetRowCount(Ant.LoadCount + 2);
    }
    Grid3->Invalidate();
    Grid4->Invalidate();
    return lines;
}

void TMainWnd::FollowAntennaRenumbering(const AntDef& ant, const WireRenumbering& change,
                                        const EntryRenumbering& entries, std::vector<std::string>& notes) {
    AntIds.Follow(ant, change, entries);
    if (ACal) ACal->FollowWireRenumbering(ant, change, entries, notes);
    // A write-back that places nothing and keeps every number (the
    // optimizer's) leaves the positions to be settled from the wires before it.
    if (change.Place || change.Renumbers(ant.WireCount) || entries.Renumbers())
        Positions.Follow(ant, change, entries);
}

std::vector<PositionKeeper::Holder> TMainWnd::RunPositions(CACal& cal) {
    std::vector<PositionKeeper::Holder> holders;
    for (int i = 0; i < std::clamp(Ant.LoadCount, 0, MaxLoads); ++i)
        holders.push_back({Ant.Loads[i].Pos, EntryName("Load", i + 1)});
    if (cal.BandCount <= 1)
        for (int i = 0; i < std::clamp(Ant.SourceCount, 0, MaxSources); ++i)
            holders.push_back({Ant.Sources[i].Pos, EntryName("Source", i + 1)});
    const std::vector<PositionKeeper::Holder> held = PositionsHeldBy(&cal);
    holders.insert(holders.end(), held.begin(), held.end());
    return holders;
}


void TMainWnd::ReportBandSources(const AntDef& before) {
    if (!ACal) return;
    const std::string line = ACal->SourcesLeftNote(before, Ant);
    if (!line.empty()) AddLogLine(QString::fromStdString(line));
}
