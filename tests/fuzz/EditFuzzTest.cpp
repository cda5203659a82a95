// Seeded random edit sequences through the wire table's row edits and the
// wire editor's divide and exchange of ends (which segment the wires joined
// to what they change anew), with positions placed by the pulse layouts,
// built with AddressSanitizer and UBSan. After every edit each position keeps its
// point in space, goes (or moves) with a line in the log, or named no pulse
// before the edit and names none after it; and it fits the antenna text. Then
// frequency tables and multiband lists between edits and Starts: every value
// they give and every point the sweep table holds for the antenna is that of
// the antenna as it stands. And the optimization log through runs at other
// calculation frequencies and bands, edits, saves and reopens: a point is
// taken for the antenna's own only where it was computed from the antenna as
// it stands, at its frequency.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "CountedRunHost.h"

#include "editing/WireCadModel.h"
#include "engine/PointPlacement.h"
#include "engine/PulseLayout.h"
#include "engine/WireExpansion.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "model/PositionText.h"
#include "model/ResultOrigin.h"
#include "model/ResultStore.h"
#include "model/TableRows.h"
#include "model/TestFolder.h"
#include "model/WireGeometry.h"
#include "optimizer/OptLogFile.h"
#include "optimizer/OptimizerState.h"
#include "views/FreqTable.h"
#include "views/MultibandList.h"
#include "views/SweepFixture.h"

namespace {

enum class Edit { Delete, Insert, Divide, Exchange };

bool SamePlace(const Point3D& p, const Point3D& q) {
    return std::fabs(p.X - q.X) + std::fabs(p.Y - q.Y) + std::fabs(p.Z - q.Z) < 1e-6;
}

// Wire `wire` (from 1) through the wire editor: divided into `pieces`, which
// then get `segs` segments each (-1 leaves the editor's automatic ones), or
// its ends exchanged; the editor segments the wires joined to it anew.
std::vector<std::string> InWireEditor(AntDef& ant, Edit edit, int wire, int pieces, int segs) {
    auto editor = std::make_unique<WireCadModel>();
    editor->Load(ant);
    editor->Select(wire - 1);
    if (edit == Edit::Divide && editor->Divide(pieces) && segs != -1)
        for (int i = 0; i < editor->Count; ++i)
            if (editor->CutFrom[i] == wire) editor->Wires[i].Seg = segs;
    if (edit == Edit::Exchange) editor->ExchangeEnds();
    std::vector<std::string> notes;
    editor->WriteBack(ant, &notes);
    return notes;
}

bool NoteStarts(const std::vector<std::string>& notes, const std::string& start) {
    return std::any_of(notes.begin(), notes.end(), [&](const std::string& n) { return n.rfind(start, 0) == 0; });
}

class EditChecker {
public:
    // Runs one edit on `ant` and checks every source through it. Counts the
    // edits whose layouts were known on both sides.
    void Run(AntDef& ant, Edit edit, int row, int pieces, int segs, const std::string& trace) {
        auto before = std::make_unique<AntDef>(ant);
        for (int i = 0; i < ant.SourceCount; ++i) ant.Sources[i].Voltage = i + 1;  // to find them again
        std::vector<std::string> notes;
        if (edit == Edit::Delete) DeleteTableEntry(ant, EditTable::Wires, row, &notes, PlaceByPoint);
        if (edit == Edit::Insert) InsertTableEntry(ant, EditTable::Wires, row, &notes, PlaceByPoint);
        if (edit == Edit::Divide || edit == Edit::Exchange) notes = InWireEditor(ant, edit, row, pieces, segs);
        for (int i = 0; i < ant.SourceCount; ++i)
            ASSERT_LE(std::strlen(ant.Sources[i].Pos), static_cast<std::size_t>(PosTextLength)) << trace;
        PulseLayout was, now;
        if (!LayOutPulses(*before, was) || !LayOutPulses(ant, now)) return;
        ++checked[static_cast<int>(edit)];
        for (int i = 0; i < before->SourceCount; ++i) {
            const char* text = before->Sources[i].Pos;
            const std::optional<Point3D> at = was.PointNamed(text);
            int j = 0;
            while (j < ant.SourceCount && ant.Sources[j].Voltage != i + 1) ++j;
            const std::string what = trace + ": source " + std::to_string(i + 1) + " " + text;
            if (j == ant.SourceCount) {
                ASSERT_TRUE(NoteStarts(notes, "Source " + std::to_string(i + 1) + " (")) << what;
                ++removed;
                continue;
            }
            const std::optional<Point3D> after = now.PointNamed(ant.Sources[j].Pos);
            if (!at) {
                ASSERT_FALSE(after) << what << " -> " << ant.Sources[j].Pos << " came alive";
                continue;
            }
            if (after && SamePlace(*at, *after)) continue;
            ASSERT_TRUE(NoteStarts(notes, "Source " + std::to_string(j + 1) + " ("))
                << what << " -> " << ant.Sources[j].Pos << " left its point without a word";
            ++moved;
        }
    }
    int checked[4] = {};
    int removed = 0, moved = 0;
};

std::unique_ptr<AntDef> Antenna(const std::vector<WireRec>& wires, const std::vector<const char*>& sources) {
    auto ant = std::make_unique<AntDef>();
    ant->Freq = 14.2;
    SetDefaultSegmentation(*ant);
    for (const WireRec& w : wires) ant->Wires[ant->WireCount++] = w;
    for (const char* s : sources) CopyText(ant->Sources[ant->SourceCount++].Pos, s);
    return ant;
}

WireRec Wire(double x1, double y1, double z1, double x2, double y2, double z2, int segs) {
    return WireRec{x1, y1, z1, x2, y2, z2, 0.001, segs, 0, 0, 0};
}

class EditFuzz : public ::testing::Test {
protected:
    void SetUp() override { ground = EnvDef.Type; }
    void TearDown() override { EnvDef.Type = ground; }
    int ground = 0;
};

// The inputs that found the faults: a position lengthened past the field by
// an inserted wire, positions beyond the wires or beyond a wire's pulses, a
// feed at a joint, a wire of more segments than any preparation takes (beside
// the divided wire, and divided itself), a feed on a neighbour that the
// divide segments anew, and a wire too long for the squares of its length.
TEST_F(EditFuzz, SeedsKeepWhereTheyStand) {
    EnvDef.Type = GroundFree;
    EditChecker check;
    std::vector<WireRec> hundred;
    for (int i = 0; i < 99; ++i) hundred.push_back(Wire(i, 0, 0, i, 0, 10, i == 98 ? 150 : 3));
    auto ant = Antenna(hundred, {"w99b+100"});
    check.Run(*ant, Edit::Insert, 1, 0, 0, "w99b+100");
    EXPECT_STREQ(ant->Sources[0].Pos, "w100c+26");

    const std::vector<WireRec> three = {Wire(0, 0, 0, 12, 0, 0, 12), Wire(12, 0, 0, 12, 12, 0, 12),
                                        Wire(0, 5, 0, 12, 5, 0, 4)};
    for (Edit e : {Edit::Insert, Edit::Divide}) {
        ant = Antenna(three, {"w4c", "w3c-3", "w2b", "W2e"});
        check.Run(*ant, e, e == Edit::Insert ? 2 : 3, 2, 30, "three wires");
        ant = Antenna(three, {"w4c", "w3c-3", "w2b", "W2e"});
        check.Run(*ant, e, 1, 2, 6, "three wires, the first");
    }
    ant = Antenna(three, {"w2b", "w3c"});
    check.Run(*ant, Edit::Delete, 1, 0, 0, "the joint's other wire deleted");

    for (int divided : {1, 2}) {
        ant = Antenna({Wire(0, 0, 0, 12, 0, 0, 2147483647), Wire(0, 5, 0, 12, 5, 0, 12)}, {"w1c", "w2c"});
        check.Run(*ant, Edit::Divide, divided, 2, 6, "2147483647 segments, wire " + std::to_string(divided));
        EXPECT_STREQ(ant->Sources[divided - 1].Pos, "w3b") << "the joint of the halves";
    }

    ant = Antenna({Wire(0, -5, 10, 0, 0, 10, 6), Wire(0, 0, 10, 0, 5, 10, 6)}, {"w2b+2", "w2e+1"});
    check.Run(*ant, Edit::Divide, 1, 2, -1, "a neighbour segmented anew");
    EXPECT_EQ(ant->Wires[1].Seg, -1);

    // A wire so long that the square of its length overflows, divided: the
    // feed at 2/3 of it is found on the second half by arithmetic on numbers.
    ant = Antenna({Wire(0, 5, 0, 12, 5, 0, 4), Wire(0, 0, 0, 1e200, 0, 0, 3)}, {"w2c", "w1c"});
    check.Run(*ant, Edit::Divide, 2, 2, 6, "a wire 1e200 m long");
    EXPECT_STREQ(ant->Sources[0].Pos, "w3c-1");
}

// Wires between the points of a small grid, so that joints are common, some
// resting on a perfect ground; sources on them, beyond them and beyond their
// pulses, some of more segments than any preparation takes; then a few
// deletions, insertions, divides and exchanges of ends in a row.
TEST_F(EditFuzz, RandomEditSequencesKeepEveryFeedWhereItStands) {
    constexpr int Sequences = 1200;
    std::mt19937 rnd(0x3851);
    auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(n)); };
    EditChecker check;
    for (int n = 0; n < Sequences; ++n) {
        EnvDef.Type = pick(4) == 0 ? GroundPerfect : GroundFree;
        const int wires = 1 + pick(7);
        std::vector<WireRec> list;
        auto point = [&] { return Point3D{double(pick(3)), double(pick(3)), double(pick(3))}; };
        auto segments = [&] { return pick(8) == 0 ? -1 : pick(30) == 0 ? 2147483647 : 1 + pick(6); };
        while (static_cast<int>(list.size()) < wires) {
            const Point3D a = point(), b = point();
            if (a.X == b.X && a.Y == b.Y && a.Z == b.Z) continue;
            list.push_back(Wire(a.X, a.Y, a.Z, b.X, b.Y, b.Z, segments()));
        }
        std::vector<std::string> texts;
        for (int s = 1 + pick(6); s > 0; --s) {
            std::string t = pick(6) == 0 ? "W" : "w";
            t += std::to_string(pick(wires + 3));
            t += "bce"[pick(3)];
            const int offset = pick(9) - 4;
            if (offset != 0) t += (offset > 0 ? "+" : "") + std::to_string(offset);
            texts.push_back(t);
        }
        std::vector<const char*> sources;
        for (const std::string& t : texts) sources.push_back(t.c_str());
        auto ant = Antenna(list, sources);
        for (int step = 0; step < 4 && ant->WireCount > 0; ++step) {
            const Edit e = static_cast<Edit>(pick(4));
            const int row = 1 + pick(ant->WireCount);
            const int pieces = 2 + pick(2);
            const std::string trace = "sequence " + std::to_string(n) + " step " + std::to_string(step);
            check.Run(*ant, e, row, pieces, segments(), trace);
            if (HasFatalFailure()) return;
            // The inserted wire is typed in as a user would: not followed.
            if (e == Edit::Insert) {
                const Point3D a = point(), b = point();
                ant->Wires[row - 1] = Wire(a.X, a.Y, a.Z, b.X, b.Y, b.Z + (a.Z == b.Z ? 1 : 0), segments());
            }
        }
    }
    std::printf("edits checked: %d deletions, %d insertions, %d divides, %d exchanges; %d sources removed, %d moved\n",
                check.checked[0], check.checked[1], check.checked[2], check.checked[3], check.removed, check.moved);
    for (int checked : check.checked) EXPECT_GT(checked, Sequences / 5);
}

// The user's antenna with the window's one question on its results: a
// fingerprint kept with each holder, compared with the antenna as it stands.
class SweepWorld {
public:
    SweepWorld() {
        ant->Freq = 14.2;
        SetDefaultSegmentation(*ant);
        ant->nH = ant->nV = 1;
        ant->WireCount = 1;
        ant->Wires[0] = WireRec{0, -5.12, 10, 0, 5.12, 10, 0.001, 21, 0, 0, 0};
        ant->SourceCount = 1;
        CopyText(ant->Sources[0].Pos, "w1c");
        ant->Sources[0].Voltage = 1;
        ant->LoadCount = 1;
        ant->Loads[0].Type = LoadRX;
        CopyText(ant->Loads[0].Pos, "w1c");
        ant->Loads[0].A[0] = 50;
        ant->UseLoads = 1;
    }
    std::unique_ptr<AntDef> ant = std::make_unique<AntDef>();
    ResultOrigin origin;

    uint64_t Now() const {
        CalculationFields fields = CalculationFieldsOf(*ant, EnvDef);
        fields.CalcFreq = calcFreq_;  // as the window's field holds it through a run
        return CalculationFingerprint(*ant, fields, EnvDef, UserMaterialDef);
    }
    SweepHost Host() {
        SweepHost h;
        h.Model = ant.get();
        h.Prepare = [this] { return Prepare(); };
        h.SweepBelongs = [this] { return origin.Belongs(ResultHolder::Sweep, ResultUse::Combine, Now()); };
        return h;
    }
    bool Start() {
        ant->CalcFreq = calcFreq_;
        if (!Prepare()) return false;
        Results.PushRow();
        if (!RunFullCalc()) {
            origin.Forget();
            return false;
        }
        Results.HasFarField = 1;
        Results.InitSweep(ant->CalcFreq);
        origin.Computed(ResultHolder::Row);
        origin.Computed(ResultHolder::Sweep);
        return true;
    }
    // R and X of the antenna as it stands at f, computed afresh; the
    // results and the model are put back.
    std::pair<double, double> Fresh(double f) {
        const auto kept = std::make_unique<CResult>(Results);
        auto probe = std::make_unique<AntDef>(*ant);
        probe->CalcFreq = f;
        std::pair<double, double> z{NAN, NAN};
        if (PrepareModel(probe.get()) == 1) {
            Results.PushRow();
            if (RunFullCalc()) z = {Results.Row(0)->R, Results.Row(0)->jX};
        }
        Results = *kept;
        ant->CalcFreq = calcFreq_;
        Prepare();
        return z;
    }

private:
    int Prepare() {
        if (PrepareModel(ant.get()) != 1) {
            origin.PreparationFailed();
            return 0;
        }
        CalculationFields fields = CalculationFieldsOf(*ant, EnvDef);
        origin.Prepared(CalculationFingerprint(*ant, fields, EnvDef, UserMaterialDef));
        return 1;
    }
    double calcFreq_ = 14.2;
};

// Within the two decimals the table and the list print, and the rounding of
// the single precision the points are kept in.
void ExpectImpedance(const std::pair<double, double>& fresh, double r, double x, const std::string& what) {
    EXPECT_NEAR(r, fresh.first, 0.011 + 1e-5 * std::fabs(fresh.first)) << what;
    EXPECT_NEAR(x, fresh.second, 0.011 + 1e-5 * std::fabs(fresh.second)) << what;
}

// Edits of what the calculation reads (a typed coordinate, the loads
// switched, the ground and its medium), undone at times, with Starts,
// frequency tables and multiband lists in between.
TEST_F(EditFuzz, SweepsBetweenEditsGiveOnlyValuesOfTheAntennaAsItStands) {
    constexpr int Steps = 600;
    ReadySmallEngine();
    JobDef.Interactive = 0;
    Results = CResult{};
    SweepWorld world;
    AntDef& ant = *world.ant;
    std::mt19937 rnd(0x49a);
    auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(n)); };
    auto before = std::make_unique<AntDef>(ant);
    EnvRec envBefore = EnvDef;
    int tables = 0, reused = 0;
    ASSERT_TRUE(world.Start());
    for (int step = 0; step < Steps; ++step) {
        const std::string trace = "step " + std::to_string(step);
        switch (pick(9)) {
        case 0:  // a coordinate typed
            *before = ant, envBefore = EnvDef;
            ant.Wires[0].Y2 = 4.5 + 0.5 * pick(5);
            break;
        case 1:
            *before = ant, envBefore = EnvDef;
            ant.UseLoads = !ant.UseLoads;
            break;
        case 2:
            *before = ant, envBefore = EnvDef;
            EnvDef.Type = EnvDef.Type == GroundReal ? GroundFree : GroundReal;
            break;
        case 3:
            *before = ant, envBefore = EnvDef;
            EnvDef.Conductivity[0] = EnvDef.Conductivity[0] == 0.005 ? 0.0001 : 0.005;
            EnvDef.Dieleciric[0] = EnvDef.Dieleciric[0] == 13 ? 3 : 13;
            break;
        case 4:  // the edit undone
            std::swap(ant, *before);
            std::swap(EnvDef, envBefore);
            break;
        case 5:
        case 6:
            world.Start();
            break;
        default: {
            const uint64_t now = world.Now();
            const bool belongs = world.origin.Belongs(ResultHolder::Sweep, ResultUse::Combine, now);
            const SweepTable sweepBefore = Results.Sweep;
            if (pick(2) == 0) {
                FreqTableRequest request;
                request.Fmin = 14.0 + 0.1 * pick(3);
                request.Fmax = request.Fmin + 0.1 * (1 + pick(3));
                request.Step = 0.1;
                const std::string text = BuildFreqTable(world.Host(), request);
                std::size_t at = text.find("\r\n");
                while (at != std::string::npos && at + 2 < text.size()) {
                    const std::size_t end = text.find("\r\n", at + 2);
                    const std::string line = text.substr(at + 2, end - at - 2);
                    double f = 0, r = 0, x = 0;
                    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf", &f, &r, &x), 3) << trace << ": " << line;
                    if (belongs && FindSweepPoint(sweepBefore, f)) ++reused;
                    ExpectImpedance(world.Fresh(f), r, x, trace + ": table at " + line);
                    at = end;
                }
            } else {
                MultibandList list(world.Host(), {});
                list.Running = true;
                std::vector<std::string> lines;
                list.ComputeBands({{"14.0 - 14.4", true}}, 5, lines);
                for (std::size_t i = 1; i < lines.size(); ++i) {
                    double f = 0, r = 0, x = 0;
                    ASSERT_EQ(std::sscanf(lines[i].c_str(), "%lf %lf %lf", &f, &r, &x), 3) << trace << ": " << lines[i];
                    if (belongs && FindSweepPoint(sweepBefore, f)) ++reused;
                    ExpectImpedance(world.Fresh(f), r, x, trace + ": list at " + lines[i]);
                }
            }
            ++tables;
            // What the runs left in the sweep table is of the antenna the
            // table belongs to; of another one it got nothing.
            if (!belongs) {
                EXPECT_EQ(std::memcmp(&Results.Sweep, &sweepBefore, sizeof(SweepTable)), 0) << trace;
            } else {
                for (const SweepPoint& p : Results.Sweep.Points)
                    if (p.State == SweepComputed) ExpectImpedance(world.Fresh(p.F), p.R, p.X, trace + ": sweep point");
            }
            break;
        }
        }
        if (HasFailure()) return;
    }
    std::printf("sweeps checked: %d tables and lists, %d points reused\n", tables, reused);
    EXPECT_GT(tables, Steps / 6);
    EXPECT_GT(reused, 0);
}

// ---- The optimization log through runs, edits, saves and reopens ----

// A run's calculations: each point fingerprinted as the window's preparation
// fingerprints it, with the band's frequency and feeds in the antenna.
class LogRunHost : public CountedRunHost {
public:
    LogRunHost(const AntDef& ant, int stopAt) : CountedRunHost(stopAt), ant_(ant) {}
    std::optional<uint64_t> PointOrigin() const override {
        return CalculationFingerprint(ant_, CalculationFieldsOf(ant_, EnvDef), EnvDef, UserMaterialDef);
    }

private:
    const AntDef& ant_;
};

// The window's antenna, its calculation field and its optimizer, with what
// each slot of the log ring was really computed from.
struct LogWindow {
    std::unique_ptr<AntDef> Ant = std::make_unique<AntDef>();
    std::unique_ptr<CACal> Cal = std::make_unique<CACal>();
    double CalcField = 14.2;
    std::optional<uint64_t> Truth[LogRingSize];

    LogWindow() {
        Ant->Freq = Ant->CalcFreq = 14.2;
        Ant->nH = Ant->nV = 1;
        SetDefaultSegmentation(*Ant);
        for (int e = 0; e < 3; ++e)
            Ant->Wires[Ant->WireCount++] = WireRec{3.0 * e, -5.2 + 0.3 * e, 10, 3.0 * e, 5.2 - 0.3 * e, 10, 0.001, 11, 0, 0, 0};
        CopyText(Ant->Sources[0].Pos, "w2c");
        Ant->Sources[0].Voltage = 1;
        Ant->SourceCount = 1;
        Attach();
        Cal->SetGoals(1, 0, 0, 0, 0, 0, 0);
        for (int e : {0, 2}) {
            ACalVarRec width;
            width.Kind = KindElement;
            width.Item = e;
            width.Field = ElWidth;
            Cal->AddElementVar(e, ElWidth, Cal->GetElementValue(width), 10);
        }
    }
    void Attach() { (void)Cal->Attach(*Ant, EnvDef); }
    // What the next Start would compute from.
    uint64_t StateNow() const {
        CalculationFields fields = CalculationFieldsOf(*Ant, EnvDef);
        fields.CalcFreq = CalcField;
        return CalculationFingerprint(*Ant, fields, EnvDef, UserMaterialDef);
    }
    // Calculate, Optimization, stopped after a few points; the field then
    // shows the frequency the antenna was left at (band 1's).
    void Run(int stopAt) {
        Ant->CalcFreq = CalcField;
        if (Cal->BandCount <= 1) {
            for (auto& band : Cal->Bands) band = ACalBandRec{};
            Cal->BandCount = 1;
            Cal->Bands[0].Freq = CalcField;
            Cal->Bands[0].Sources[0] = Ant->Sources[0];
        }
        Attach();
        if (!Cal->Prepare().Ok()) return;
        LogRunHost host(*Ant, stopAt);
        JobDef.StopRequest = 0;
        Cal->Optimize(host);
        JobDef.StopRequest = 0;
        CalcField = Ant->CalcFreq;
        for (int slot = 0; slot < LogRingSize; ++slot) Truth[slot] = Cal->Log[slot].Origin;
    }
    // The log saved and opened in a new window, which shows the design
    // frequency in its calculation field.
    void SaveAndReopen(const std::string& path, const std::string& trace) {
        Attach();
        const LogAntenna which = LogAntennaOf(*Cal, *Ant, EnvDef, UserMaterialDef);
        std::string error;
        ASSERT_EQ(SaveOptLog(path, *Ant, TakeModelEnvFields(EnvDef), "", *Cal, &error, which), OptLogStatus::Ok)
            << trace << ": " << error;
        auto opened = std::make_unique<AntDef>();
        ModelEnvFields env = TakeModelEnvFields(EnvDef);
        std::string comment, refusal;
        auto state = std::make_unique<CACal>();
        LogAntenna read = LogAntenna::Other;
        ASSERT_EQ(OpenOptLog(path, *opened, env, comment, *state, nullptr, &refusal, &read), OptLogStatus::Ok)
            << trace << ": " << refusal;
        ASSERT_EQ(read, which) << trace;
        *Ant = *opened;
        Cal = std::move(state);
        CalcField = Ant->Freq;
        Attach();
        if (read == LogAntenna::Logged) Cal->TakeLogAsOf(StateNow());
    }
    // Every point that says what it was computed from says it truly; the
    // point the dialog selects as the antenna's is of the antenna now.
    void CheckClaims(const std::string& trace) const {
        for (int slot = 0; slot < LogRingSize; ++slot) {
            const std::optional<uint64_t>& said = Cal->Log[slot].Origin;
            if (!said) continue;
            ASSERT_EQ(said, Truth[slot]) << trace << ": slot " << slot << " claims another state";
        }
        const int n = Cal->LoggedPointOf(StateNow());
        if (n < 0) return;
        const int slot = ((Cal->LogHead - 1 - n) % LogRingSize + LogRingSize) % LogRingSize;
        ASSERT_EQ(Truth[slot], StateNow()) << trace << ": point " << n << " taken for the antenna's";
    }
};

TEST_F(EditFuzz, LogPointsAreTheAntennasAfterASaveAndReopenOnlyWhereTheyAre) {
    constexpr int Sequences = 60;
    std::mt19937 rnd(0x5902);
    auto pick = [&](int n) { return static_cast<int>(rnd() % static_cast<unsigned>(n)); };
    const EnvRec envBefore = EnvDef;
    EnvDef.Type = GroundFree;
    JobDef.OptLog = 0;
    Results = CResult{};
    Results.PushRow();
    TestFolder folder("korva-log-points");
    ASSERT_FALSE(folder.Path().empty());
    const std::string path = folder.File("run.kvo");
    const double otherFrequencies[] = {14.05, 14.15, 14.35};
    int reopened = 0, taken = 0, notTaken = 0, elsewhere = 0;
    for (int n = 0; n < Sequences && !HasFailure(); ++n) {
        LogWindow w;
        for (int step = 0; step < 12 && !HasFailure(); ++step) {
            const std::string trace = "sequence " + std::to_string(n) + " step " + std::to_string(step);
            switch (pick(7)) {
            case 0: {  // a run at the design frequency, another, or over two bands
                w.CalcField = pick(2) ? w.Ant->Freq : otherFrequencies[pick(3)];
                w.Cal->BandCount = 1 + pick(2);
                if (w.Cal->BandCount == 2) {
                    w.Cal->Bands[0] = ACalBandRec{};
                    w.Cal->Bands[0].Freq = pick(2) ? w.Ant->Freq : otherFrequencies[pick(3)];
                    if (pick(2)) {  // band 1 with feeds of its own
                        w.Cal->Bands[0].Sources[0] = w.Ant->Sources[0];
                        w.Cal->Bands[0].Sources[0].Voltage = 1 + pick(2);
                    }
                    w.Cal->Bands[1] = ACalBandRec{};
                    w.Cal->Bands[1].Freq = 14.3;
                }
                w.Run(3 + pick(6));
                break;
            }
            case 1:  // the calculation frequency typed
                w.CalcField = pick(2) ? w.Ant->Freq : otherFrequencies[pick(3)];
                w.Ant->CalcFreq = w.CalcField;
                break;
            case 2:  // the design frequency typed and taken
                w.Ant->Freq = w.Ant->Freq == 14.2 ? 14.25 : 14.2;
                break;
            case 3: {  // the value column set to a logged point's values
                if (w.Cal->LogCount == 0) break;
                w.Attach();
                ACalLogEntry e;
                w.Cal->GetLogEntry(e, pick(w.Cal->LogCount));
                for (int r = 0; r < w.Cal->RowCount(); ++r) w.Cal->SetValue(r, e.Values[r]);
                w.Cal->Groups().WriteBack();
                break;
            }
            case 4:  // the driven element, which no row varies, typed longer or back
                w.Ant->Wires[1].Y2 = w.Ant->Wires[1].Y2 == 4.9 ? 5.0 : 4.9;
                w.Ant->Wires[1].Y1 = -w.Ant->Wires[1].Y2;
                break;
            default: {
                elsewhere += w.CalcField != w.Ant->Freq ? 1 : 0;
                w.SaveAndReopen(path, trace);
                ++reopened;
                (w.Cal->LoggedPointOf(w.StateNow()) >= 0 ? taken : notTaken) += 1;
                break;
            }
            }
            w.CheckClaims(trace);
        }
    }
    EnvDef = envBefore;
    std::printf("logs reopened %d times (%d saved at another calculation frequency): a point taken %d times, "
                "none %d times\n",
                reopened, elsewhere, taken, notTaken);
    EXPECT_GT(taken, Sequences / 4);
    EXPECT_GT(notTaken, Sequences / 4);
}

}  // namespace
