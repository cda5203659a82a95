// Positions and identities of the window's antenna through its edits: the
// identities of its wires and entries, the wires its positions were placed
// against, and the optimizer's rows follow every renumbering; every edit
// that moves wires ends in SettlePositions; a multi-band run says what it
// left in place of the sources the antenna had.
#include "app/MainWnd.h"
#include "app/PlainNumber.h"
#include "model/TableRows.h"
#include "optimizer/OptimizerState.h"
#include "platform/StringGrid.h"

#include <algorithm>
#include <cstring>

void TMainWnd::SettlePositions() { AddLogLines(PlacePendingPositions()); }

std::vector<std::string> TMainWnd::PlacePendingPositions() {
    const int sources = Ant.SourceCount, loads = Ant.LoadCount;
    std::vector<std::string> lines = Positions.Settle(Ant);
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
    // A write-back that places nothing and keeps every number (the
    // optimizer's) leaves the positions to be settled from the wires before it.
    if (change.Place || change.Renumbers(ant.WireCount) || entries.Renumbers()) Positions.Take(ant);
    if (ACal) ACal->FollowWireRenumbering(ant, change, entries, notes);
}

namespace {

std::string SourceText(const SourceRec& s) {
    return std::string(s.Pos, strnlen(s.Pos, PosTextSize)) + " (" + ShortestFloat(s.Voltage) + " V, " +
           ShortestFloat(s.Phase) + " deg)";
}

std::string SourceList(const SourceRec* sources, int count) {
    std::string list;
    for (int i = 0; i < count; ++i) list += (i > 0 ? ", " : "") + SourceText(sources[i]);
    return list.empty() ? std::string("none") : list;
}

bool SameSources(const AntDef& a, const AntDef& b) {
    if (a.SourceCount != b.SourceCount) return false;
    for (int i = 0; i < std::clamp(a.SourceCount, 0, MaxSources); ++i) {
        const SourceRec &s = a.Sources[i], &t = b.Sources[i];
        if (strncmp(s.Pos, t.Pos, PosTextSize) != 0 || s.Phase != t.Phase || s.Voltage != t.Voltage) return false;
    }
    return true;
}

}  // namespace

void TMainWnd::ReportBandSources(const AntDef& before) {
    if (!ACal || ACal->BandCount <= 1 || SameSources(before, Ant)) return;
    std::string line = "The bands fed the antenna with their own sources (";
    for (int b = 0; b < std::clamp(ACal->BandCount, 0, MaxBands); ++b) {
        int n = 0;
        while (n < BandSources && ACal->Bands[b].Sources[n].Pos[0] != '\0') ++n;
        // A band without sources keeps the antenna's own.
        line += (b > 0 ? "; band " : "band ") + std::to_string(b + 1) + ": " +
                (n > 0 ? SourceList(ACal->Bands[b].Sources, n) : std::string("the antenna's own"));
    }
    line += "); the antenna is left with " + SourceList(Ant.Sources, std::clamp(Ant.SourceCount, 0, MaxSources)) +
            " in place of " + SourceList(before.Sources, std::clamp(before.SourceCount, 0, MaxSources)) + ".";
    AddLogLine(QString::fromStdString(line));
}
