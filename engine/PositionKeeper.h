#pragma once
// The one place that keeps positions through the changes of an antenna's
// pulse layout. An edit that renumbers wires (table rows, the wire editor,
// the element table) hands its own renumbering to FollowWireRenumbering, and
// its owner's follower then takes the antenna as it is (Take). Every other
// change of what the layout reads (a wire moved or resized by a typed cell, a
// dialog, the optimizer's value column or the preparation's turn of grounded
// wires; the design or calculation frequency; the segmentation fields; the
// taper sets; the ground) ends in Settle, which places the positions from the layout they
// were last placed against to the layout now, every wire keeping its number.
// Sources and loads, and whatever follows the antenna's renumberings (the
// optimizer's band sources, current goal and rows), keep their point, or on
// a moved wire their place along it, or go to the nearest pulse of their
// wire with a line for the log; one with no pulse left stays as it is, with
// a line (Settle removes nothing).
//
// A run of write-backs (the optimizer's search) places at each point from
// the antenna as it was before the run, without a word, so that nothing
// drifts step by step; its end says once where positions went. A run over
// frequencies of its own lays the pulses out at each of them as the texts
// say; it settles everything but the frequency, and says once where a
// position stands elsewhere than at the calculation frequency.
#include "engine/PulseLayout.h"
#include "model/AntDef.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

class PositionKeeper {
public:
    PositionKeeper();
    ~PositionKeeper();
    PositionKeeper(const PositionKeeper&) = delete;
    PositionKeeper& operator=(const PositionKeeper&) = delete;

    // The positions stand placed against `ant`'s pulse layout as it is now.
    void Take(const AntDef& ant);
    // The record holds another antenna: the next Settle takes it as it stands.
    void Forget();
    // Places the positions for the changes of the layout since the last Take
    // and takes the antenna. Returns the lines for the log.
    std::vector<std::string> Settle(AntDef& ant);

    // A position held outside the antenna's entries, named for the log
    // ("Band 2 source 1"): it is placed with them through a run, and in a
    // copy that a file keeps.
    struct Holder {
        char* Pos;
        std::string Name;
        double Freq = 0;  // the one frequency the run uses it at; 0: each of the run's
    };
    // A file or text that keeps the antenna (an antenna file, the text
    // editor's text, an optimization log) is read at the design frequency:
    // `ant`, a copy of the antenna as it stands, gets its sources and loads
    // placed from the layout they were last placed against to the one at
    // that frequency, by their points, as Settle places them; `others`, a
    // copy's positions kept beside them (a log's band sources and current
    // goal), are placed the same way. Returns the lines for the log of those
    // whose point the copy cannot keep.
    std::vector<std::string> PlaceForText(AntDef& ant, const std::vector<Holder>& others = {}) const;

    // A run over frequencies of its own (a sweep, a table, the multiband
    // list) begins: nothing said yet.
    void BeginFrequencyRun();
    // At one of its frequencies (`ant`'s calculation frequency now): the
    // changes but that of the frequency settled, as Settle does, and a line
    // for each position that stands elsewhere than at the calculation
    // frequency, once in the run.
    std::vector<std::string> SettleAtRunFrequency(AntDef& ant);

    // A run begins on `ant` as it stands; `holders` are every position the run
    // places (the antenna's own entries among them), `frequencies` those the
    // run calculates at besides `ant`'s calculation frequency.
    void BeginRun(const AntDef& ant, std::vector<Holder> holders, const std::vector<double>& frequencies = {});
    // Each holder from its text before the run to the wires now; no line.
    void PlaceRun(const AntDef& ant);
    // The same once more, the lines for the log returned (with those of the
    // positions that stood elsewhere at a frequency of the run than at the
    // calculation frequency); the run is over and the antenna is taken.
    std::vector<std::string> EndRun(const AntDef& ant);

private:
    // What the layout read when the positions were last placed, in a record
    // of those fields alone (null when not known), and the ground.
    std::unique_ptr<AntDef> laidOut_;
    LayoutGround ground_;
    struct Run;
    std::unique_ptr<Run> run_;
    std::set<std::string> saidInFrequencyRun_;
    void PlaceFromRunStart(const AntDef& ant, std::vector<std::string>* notes);
};
