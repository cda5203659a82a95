#pragma once
// The one place that keeps positions through the changes of an antenna's
// pulse layout. A position is the user's point: set when its text is typed,
// when a file is opened, or when an edit of the geometry moves its wire. Every
// layout (the design or calculation frequency, the segmentation fields, the
// taper sets, the ground and added height, a run's frequencies, the design
// layout a file is written for) places it from that point: at the pulse
// there, its own text kept where that still names it, else at the nearest
// pulse of its wire with a line for the log. No layout changes the point, so
// a layout input changed and changed back gives back the same antenna.
//
// Positions are the antenna's sources and loads and the holders kept beside
// them (the optimizer's band sources and current goal), each known by its
// name ("Source 2", "Band 1 source 1"). An edit that renumbers or moves
// wires or entries places the texts itself (FollowWireRenumbering) and hands
// its renumbering to Follow; every other change ends in Settle.
//
// A run of write-backs (the optimizer's search) places at each point from
// the antenna as it was before the run, without a word, so that nothing
// drifts step by step; its end says once where positions went. A run over
// frequencies of its own lays the pulses out at each of them as the texts
// say; it settles everything but the frequency, and says once where a
// position stands elsewhere than at the calculation frequency.
#include "engine/PointPlacement.h"
#include "engine/PulseLayout.h"
#include "model/AntDef.h"
#include "model/TableRows.h"

#include <functional>
#include <map>
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

    // A position held outside the antenna's entries, named for the log
    // ("Band 2 source 1"), which is also how the keeper knows it.
    struct Holder {
        char* Pos;
        std::string Name;
        double Freq = 0;  // the one frequency a run uses it at; 0: each of the run's
    };

    // The holders kept beside the antenna's entries as they stand whenever
    // asked (the owner's optimizer state's; none until this is given).
    void KeepBeside(std::function<std::vector<Holder>()> holders) { others_ = std::move(holders); }

    // The record holds another antenna (opened, restored, new): its texts are
    // the user's points, as `ant`'s pulse layout stands now.
    void Take(const AntDef& ant);
    // The record is about to hold another antenna: the next Settle takes it.
    void Forget();
    // Places every position from its point on the layout of now and takes
    // the antenna. A text changed since the last placing was typed: its point
    // is where it named a pulse then. Returns the lines for the log.
    std::vector<std::string> Settle(AntDef& ant);
    // An edit renumbered or moved wires or entries and placed the texts
    // itself: the points go with their wires and entries. The next Settle
    // places them again on the layout of now.
    void Follow(const AntDef& ant, const WireRenumbering& change, const EntryRenumbering& entries);
    // The texts were written again naming the same points (a grounded wire
    // turned round during a run): they are taken as they stand.
    void Accept(const AntDef& ant);

    // A file or text that keeps the antenna (an antenna file, the text
    // editor's text, an optimization log) is read at the design frequency:
    // `ant`, a copy of the antenna as it stands, gets its calculation
    // frequency set to the design one, its wires' pulse numbers laid out
    // there, and its sources and loads placed from their points on that
    // layout; `others`, a copy's positions kept beside
    // them (a log's band sources and current goal), are placed the same way.
    // Returns the lines for the log of those whose point the copy cannot keep.
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
    // calculation frequency); the run is over, the points went with the
    // wires the run moved, and the antenna is taken.
    std::vector<std::string> EndRun(const AntDef& ant);

private:
    // The user's point of a position and the text last written for it: a
    // text other than that was typed since.
    struct Slot {
        PositionAnchor Anchor;
        std::string Written;
    };
    std::map<std::string, Slot> slots_;
    std::function<std::vector<Holder>()> others_;
    std::vector<Holder> Others() const { return others_ ? others_() : std::vector<Holder>{}; }
    // What the layout read when the positions were last placed, in a record
    // of those fields alone (null when not known), and the ground.
    std::unique_ptr<AntDef> laidOut_;
    LayoutGround ground_;
    // An edit wrote texts of its own since: the next Settle places again.
    bool followed_ = false;
    // Settle hands its placing to the followers of the antenna, whose
    // owner's Follow must not take it for an edit.
    bool settling_ = false;
    struct Run;
    std::unique_ptr<Run> run_;
    std::set<std::string> saidInFrequencyRun_;
    void TakeLayout(const AntDef& ant);
    void PlaceFromRunStart(const AntDef& ant, std::vector<std::string>* notes);
};
