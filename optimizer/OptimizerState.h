#pragma once
// The optimizer's whole state: the variable rows (what may change in the
// antenna and the environment, in which steps, between which limits, tied
// together how), the goal block, the best point found and the ring of
// evaluated points. Values are read from and written straight into the
// attached antenna and environment; element rows go through the element model.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/PositionKeeper.h"
#include "model/AntDef.h"
#include "model/ElementList.h"
#include "model/EntryIdentity.h"
#include "model/ElementVariables.h"
#include "model/ResultStore.h"

struct EnvRec;
struct WireRenumbering;
struct EntryRenumbering;
class ByteWriter;
class ByteReader;

constexpr int MaxVarRows = 128;
constexpr int MaxBands = 10;
constexpr int BandSources = 4;
constexpr int LogRingSize = 128;
constexpr int LogAzSamples = 180;
constexpr int LogElSamples = 91;
constexpr int WeightCount = 7;
constexpr int OptLineWidth = 192;

enum VarKind : int32_t {
    KindWire = 0, KindElement, KindLoad, KindHeight, KindFreq, KindWirePolar, KindSource, KindStack
};
enum WeightIndex { WGain = 0, WFB, WJX, WSWR, WElev, WMatch, WCurrent };
enum MatchKindValue : int32_t { MatchCapacity = 0, MatchHairpin = 1, MatchOptionalZ = 2 };

// Link flags of a row that follows a master row (the master in the low 16 bits).
constexpr int32_t LinkFree = -1;
constexpr int32_t LinkAdd = 0x10000;
constexpr int32_t LinkSubtractFrom = 0x20000;
constexpr int32_t LinkMultiply = 0x40000;
constexpr int32_t LinkDivide = 0x80000;
constexpr uint16_t LimitFromRow = 0x8000;

// The master row of a link: the low 16 bits, or j of the negated form -2-j.
inline int LinkMaster(int32_t link) { return link <= -2 ? -2 - link : (link & 0xFFFF); }

struct ACalVarRec {
    int32_t Kind = KindWire;
    int32_t Link = LinkFree;
    int32_t Item = 0;
    int32_t Field = 0;
    uint16_t MinFrom = 0;
    uint16_t MaxFrom = 0;
    double Step = 0;
    double Max = 0;
    double Min = 0;
    double BaseStep = 0;
    double CurStep = 0;
    double Value = 0;
};

struct ACalBandRec {
    double Freq = 0;
    SourceRec Sources[BandSources] = {};
};

struct ACalLogEntry {
    double Values[MaxVarRows] = {};
    double Score = 0;
    float Ga = 0, FB = 0, R = 0, JX = 0, SWR = 0, Elev = 0;
    int16_t AzPattern[LogAzSamples] = {};
    int16_t ElPattern[LogElSamples] = {};
    // The state the point was computed from (the fingerprint of the model
    // at band 1), none where it is not known. Not part of the file's entry.
    std::optional<uint64_t> Origin;
};

// What a check of the rows found. A refusal ends the check; a question (a
// linked row that does not hold its link's value) lets it go on from NextRow
// when the user answers Yes. The caller shows the text.
struct OptimizerCheck {
    enum Outcome { Passed, Refused, Question };
    Outcome Result = Passed;
    int Message = -1;             // in the optimizer's message table; -1 for a refusal without text
    int First = 0, Second = -1;   // the numbers the message names; Second -1 when it names one
    int NextRow = 0;

    bool Ok() const { return Result == Passed; }
    // The message in the active language; empty when there is none.
    std::string Text() const;
};

// What of the optimizer names parts of one antenna: its rows, bands and
// current goal, kept with a copy of that antenna and put back with it.
struct OptimizerReferences {
    std::vector<ACalVarRec> Rows;
    std::vector<double> BestValues;
    int32_t BandCount = 1;
    ACalBandRec Bands[MaxBands];
    char CurrentPos[PosTextSize] = {};
};

// What the search needs of the main window: one calculation of the antenna
// as it stands (results in the newest row of the results store, messages
// pumped once), the log memo and the status lines.
class OptimizerHost {
public:
    virtual ~OptimizerHost() = default;
    virtual bool OptCalc() = 0;
    virtual void AddLogLine(const std::string& line) = 0;
    virtual void ClearLog() = 0;
    virtual void DrawOptInfo() = 0;
    // After each write-back of the rows into the antenna: the positions
    // (sources, loads, band sources, the current goal) are placed for the
    // wires as they now stand, before a band takes its sources.
    virtual void PlacePositions() {}
    // What the point just calculated was computed from (the antenna with the
    // band's feeds and frequency, the environment), as the host fingerprints
    // it; none where it cannot tell.
    virtual std::optional<uint64_t> PointOrigin() const { return std::nullopt; }
};

class CACal {
public:
    // The rows, read and written through the state: on an attached antenna
    // they first follow the edits of its wires not yet followed (not while
    // a search runs, whose own write-backs wait for its end); the lines that
    // gives wait for TakeNotes. The const forms hand out the rows as they are.
    int RowCount();
    int RowCount() const { return rowCount_; }
    ACalVarRec& Row(int i);
    const ACalVarRec& Row(int i) const { return rows_[i]; }
    // The table holds `n` rows (0 .. MaxVarRows); rows past it are cleared.
    void SetRowCount(int n);
    // The lines of following the edits since the last call.
    std::vector<std::string> TakeNotes();

    // The element model the rows' values are set on, written into the
    // antenna by its WriteBack; handed out, as the rows are, after it
    // followed the edits of the attached antenna, so that it never writes
    // back wires as they were before an edit.
    CWGroupList& Groups();
    const CWGroupList& Groups() const { return groups_; }

    // The goal block.
    int32_t GoalsOn = 1;
    double Weights[WeightCount] = {};
    double Results[6] = {};          // Ga, F/B, R, jX, SWR, Elev of band 1
    double LastScore = 0;
    double RowBest = 0;
    double BestScore = 0;
    double BestValues[MaxVarRows] = {};
    int32_t BandCount = 1;
    int32_t PriorityFirst = 1;
    ACalBandRec Bands[MaxBands];
    double GainGoal = 100, FBGoal = 25, JXGoal = 0, SWRGoal = 1.0;
    int32_t MatchKind = MatchCapacity;
    double OptZR = 50, OptZX = 0;
    int32_t MinimizeCurrent = 0;
    char CurrentPos[PosTextSize] = "w1c";
    double CurrentMag = -1.0;

    int32_t StepAbsolute = 1;
    int32_t TwoDegree = 1;
    double BandScores[MaxBands] = {};
    EnvRec* Env = nullptr;
    AntDef* Ant = nullptr;
    CResult BestResult;        // of band 1: the antenna is left at band 1
    // What BestResult was computed from (OptimizerHost::PointOrigin): the
    // antenna may be left in another state than band 1 had at that point.
    std::optional<uint64_t> BestOrigin;
    CResult FirstBandResult;   // band 1 of the point under way, in a multi-band run
    char LogLine[OptLineWidth] = {};
    char LogHeader[OptLineWidth] = {};
    ACalLogEntry Log[LogRingSize];
    int32_t LogHead = 0;
    int32_t LogCount = 0;
    int32_t Evaluations = 0;  // calculated points of the last run (not in the file)

    CACal();
    CACal(const CACal&) = delete;
    CACal& operator=(const CACal&) = delete;

    // Binds the rows to the antenna and rebuilds the element model, whose
    // order along the boom element rows name. The rows first follow any edit
    // of the antenna since the last build, every wire keeping its number
    // (wires past the old count are new): an element row stays on the element
    // that holds the same wires, wherever it now stands; a row whose element
    // is gone, split or joined with other wires is removed. Returns a line
    // for the log for each. The search's own write-backs change no element
    // row until then.
    // `ids` are the antenna's identities, kept by its owner beside it (null
    // for a record without them: its wires are then known by their numbers).
    [[nodiscard]] std::vector<std::string> Attach(AntDef& ant, EnvRec& env, const AntennaIdentities* ids = nullptr);

    double GetValue(int row);
    void SetValue(int row, double v);
    void SetWithLinks(int row);
    double LinkedValue(int32_t link, double c);
    int FollowLink(int depth, int row) const;
    int32_t ResolveLink(int depth, int32_t link) const;
    void SetDefaultLimits(int row);
    // Resets the run and the steps; refuses a broken link or a free row
    // whose size is 0.
    OptimizerCheck Prepare();
    // Checks the rows from `fromRow` on and clamps free rows into their limits.
    OptimizerCheck Validate(int fromRow = 0);
    bool CheckLimits(int row, double& v);

    // Loads band `band` into `ant`: its frequency and its feeds. A band
    // without feeds of its own feeds with the antenna's own, as they were
    // when the run began (not those an earlier band left).
    void SetBand(AntDef& ant, int band) const;
    // After a multi-band run that left `after` with other sources than
    // `before` had: a line naming the sources each band fed and those the
    // antenna is left with; empty when nothing changed so.
    std::string SourcesLeftNote(const AntDef& before, const AntDef& after) const;
    void SetTargets(const ResultRow& row);
    void SetGoals(double gain, double fb, double jx, double swr, double elv, double m, double c);
    std::string GoalText() const;
    void ShowGoal(std::vector<std::string>& lines) const;
    bool AtBestPoint() const;
    // Every row's Value from the antenna and environment as they are now.
    void RefreshValues();
    // Follows an edit that renumbered the antenna's wires, sources or loads
    // (the follower of FollowWireRenumbering and FollowEntryRenumbering):
    // rows, band sources and the current goal's position move with their
    // wire, element, source or load; those whose item is gone are removed,
    // each with a line for the log. A row on an end of a wire turned round
    // goes on varying that end.
    void FollowWireRenumbering(const AntDef& ant, const WireRenumbering& change, const EntryRenumbering& entries,
                               std::vector<std::string>& notes);
    // The rows, bands and current goal, to keep with a copy of the antenna.
    OptimizerReferences KeepReferences() const;
    // Puts kept references back with the copy of the antenna they were kept
    // with (`ant`, as it is now restored). The logged points are emptied when
    // they were taken with other rows. Returns the lines for the log.
    std::vector<std::string> RestoreReferences(const OptimizerReferences& kept, const AntDef& ant);
    // The element sizes and wires the rows vary, for the element table's pick mode.
    ElementVariables TableVariables() const;

    // Row adders: append one free (or linked) row at RowCount; -1 when the
    // table is full. The step is NiceStep(value / divisor) in absolute mode,
    // 100 / divisor percent otherwise.
    int AddVar(int kind, int item, int field, int32_t link, double value, double divisor);
    int AddElementVar(int element, int field, double value, double divisor);
    double Score(const ResultRow& row, const CResult& store);

    // The point just calculated is the best so far: its row values, result
    // and origin, and the antenna and height it was calculated on.
    void TakeBestPoint(const CResult& result, std::optional<uint64_t> origin);

    // The search; false when stopped or when a calculation failed. The
    // antenna is left at the best point found, as it was calculated there.
    bool Optimize(OptimizerHost& host);

    // The log ring. `origin` is the state the point was computed from.
    void PushLog(const CResult& store, std::optional<uint64_t> origin = std::nullopt);
    bool LookupLog(double& score) const;
    void GetLogEntry(ACalLogEntry& entry, int n) const;
    // How far back from the newest the point computed from `state` lies;
    // -1 when the antenna in that state is none of the logged points.
    int LoggedPointOf(uint64_t state) const;
    // The log was read with the antenna it is of, now in `state`: the points
    // at the rows' present values are of that state. The others stay
    // unknown, as their states were not kept.
    void TakeLogAsOf(uint64_t state);
    // Whether TakeLogAsOf(state) would take only points computed from
    // `state`, and at least one: a log file written with the antenna says it
    // is one of its points only then, `state` being the one the antenna will
    // be read back in.
    bool LogReadsAsOf(uint64_t state);

    // The state part of the optimization log file.
    void WriteTo(ByteWriter& out) const;
    // Bands are read through the band table's rules; `refusal` then says
    // why a file's bands were refused.
    bool ReadFrom(ByteReader& in, std::string* refusal = nullptr);

    // Per-kind readers and writers.
    double GetWireValue(const ACalVarRec& r);
    void SetWireValue(const ACalVarRec& r, double v);
    double GetElementValue(const ACalVarRec& r);
    void SetElementValue(const ACalVarRec& r, double v);
    double GetLoadValue(const ACalVarRec& r) const;
    void SetLoadValue(const ACalVarRec& r, double v);
    double GetWireGeom(const ACalVarRec& r);
    void SetWireGeom(const ACalVarRec& r, double v);
    double GetSourceValue(const ACalVarRec& r) const;
    void SetSourceValue(const ACalVarRec& r, double v);
    double GetStackValue(const ACalVarRec& r) const;
    void SetStackValue(const ACalVarRec& r, double v);
    void SetWireField(int wire, const WireRec& before);

private:
    // The entry is at the rows' present values, as the dialog shows and
    // compares them.
    bool AtPresentValues(const ACalLogEntry& e);
    // The ring slot of the point n places back from the newest.
    int SlotBack(int n) const { return ((LogHead - 1 - n) % LogRingSize + LogRingSize) % LogRingSize; }
    CWGroupList groups_;
    // The antenna and height of the best point of the run: the values set
    // again from another point rescale elements from other extents, which
    // lands near the best point's ends but not on them.
    std::unique_ptr<AntDef> bestAnt_;
    double bestHeight_ = 0;
    ACalVarRec rows_[MaxVarRows];
    int32_t rowCount_ = 0;
    std::vector<std::string> notes_;
    bool searching_ = false, following_ = false;
    // The antenna's own feeds while a run holds them, for bands without any.
    std::optional<std::vector<SourceRec>> ownSources_;
    void FollowPending();
    bool ItemInRange(const ACalVarRec& r) const;
    // Element rows through one change of the wires: `after` is the antenna's
    // wires now.
    void FollowElements(const WireRenumbering& change, const AntDef& after, std::vector<std::string>& notes);
    void FollowTurnedWires(const WireRenumbering& change, const AntDef& after, std::vector<std::string>& notes);
    std::vector<std::string> FollowEdits(const AntDef& ant);
    // The wires of the last build of the element model, as element rows
    // know them; not known in a new state or one read from a file, which
    // takes the antenna it is first attached to.
    std::vector<WireRec> seenWires_;
    // Their identities where the antenna keeps them: an element is then the
    // same element when it holds the same wire identities.
    std::vector<EntryId> seenIds_;
    // The attached antenna's identities, owned beside it.
    const AntennaIdentities* ids_ = nullptr;
    // Those of `ant` when it is the attached antenna and they fit its wires;
    // null when its wires are known by their numbers only.
    const AntennaIdentities* IdentitiesOf(const AntDef& ant) const;
    bool wiresSeen_ = false;
    // The change from the wires last seen to `ant`'s `count` wires: by
    // identity where both are known, else every wire keeping its number.
    WireRenumbering ChangeSinceSeen(const AntDef& ant, int count) const;
    void SeeWires(const AntDef& ant);
};

// The positions the optimizer keeps beside the antenna's (each band's
// sources, the current goal), named as the log and the position keeper name
// them; in a state of several bands each band's source at its band's
// frequency. None without a state.
std::vector<PositionKeeper::Holder> PositionsHeldBy(CACal* cal);
