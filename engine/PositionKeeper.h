#pragma once
// The one place that keeps positions through the edits of an antenna's wires.
// An edit that renumbers wires (table rows, the wire editor, the element
// table) hands its own renumbering to FollowWireRenumbering, and its owner's
// follower then takes the wires as they are (Take). Every other edit that
// moves or resizes wires (a typed cell, a dialog, the optimizer's value
// column, the preparation's turn of grounded wires) ends in Settle, which
// places the positions from the wires they were last placed against to the
// wires now, every wire keeping its number. Sources and loads, and whatever
// follows the antenna's renumberings (the optimizer's band sources and
// current goal), keep their point, or on a moved wire their place along it,
// or go to the nearest pulse of their wire with a line for the log; one with
// no pulse left stays as it is, with a line (Settle removes nothing).
//
// A run of write-backs (the optimizer's search) places at each point from
// the antenna as it was before the run, without a word, so that nothing
// drifts step by step; its end says once where positions went.
#include "model/AntDef.h"

#include <memory>
#include <string>
#include <vector>

class PositionKeeper {
public:
    PositionKeeper();
    ~PositionKeeper();
    PositionKeeper(const PositionKeeper&) = delete;
    PositionKeeper& operator=(const PositionKeeper&) = delete;

    // The positions stand placed against `ant`'s wires as they are now.
    void Take(const AntDef& ant);
    // The record holds another antenna: the next Settle takes it as it stands.
    void Forget();
    // Places the positions for the edits of the wires since the last Take and
    // takes the wires. Returns the lines for the log.
    std::vector<std::string> Settle(AntDef& ant);

    // A position held outside the antenna's entries, named for the log
    // ("Band 2 source 1"): it is placed with them through a run.
    struct Holder {
        char* Pos;
        std::string Name;
    };
    // A run begins on `ant` as it stands; `holders` are every position the run
    // places (the antenna's own entries among them).
    void BeginRun(const AntDef& ant, std::vector<Holder> holders);
    // Each holder from its text before the run to the wires now; no line.
    void PlaceRun(const AntDef& ant);
    // The same once more, the lines for the log returned; the run is over
    // and the wires are taken.
    std::vector<std::string> EndRun(const AntDef& ant);

private:
    std::vector<WireRec> wires_;
    bool known_ = false;
    struct Run;
    std::unique_ptr<Run> run_;
    void PlaceFromRunStart(const AntDef& ant, std::vector<std::string>* notes);
};
