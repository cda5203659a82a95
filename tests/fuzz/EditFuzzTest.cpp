// Seeded random edit sequences through the wire table's row edits and the
// wire editor's divide and exchange of ends (which segment the wires joined
// to what they change anew), with positions placed by the pulse layouts,
// built with AddressSanitizer and UBSan. After every edit each position keeps its
// point in space, goes (or moves) with a line in the log, or named no pulse
// before the edit and names none after it; and it fits the antenna text.
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

#include "editing/WireCadModel.h"
#include "engine/PointPlacement.h"
#include "engine/PulseLayout.h"
#include "engine/WireExpansion.h"
#include "model/EnvDef.h"
#include "model/PositionText.h"
#include "model/TableRows.h"
#include "model/WireGeometry.h"

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

}  // namespace
