// Seeded random edit sequences through the wire table's row edits and the
// wire editor's divide, with positions placed by the pulse layouts, built
// with AddressSanitizer and UBSan. After every edit each position keeps its
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

#include "engine/PointPlacement.h"
#include "engine/PulseLayout.h"
#include "engine/WireExpansion.h"
#include "model/EnvDef.h"
#include "model/PositionText.h"
#include "model/TableRows.h"
#include "model/WireGeometry.h"

namespace {

enum class Edit { Delete, Insert, Divide };

// The point a position names in a layout; none when it names no pulse.
std::optional<Point3D> PointOf(const PulseLayout& layout, const char* text) {
    const PositionRef ref = SplitPosition(text);
    if (ref.Names != PositionRef::Wire) return std::nullopt;
    char pos[PosTextSize] = {};
    CopyText(pos, text);
    if (ref.Number <= static_cast<long long>(layout.Turned.size()) && layout.Turned[ref.Number - 1])
        SwapPositionEnd(pos, static_cast<int>(ref.Number));
    const int pulse = ParseSourcePos(*layout.Ant, pos);
    if (pulse < 1 || pulse > static_cast<int>(layout.Points.size())) return std::nullopt;
    return layout.Points[static_cast<std::size_t>(pulse - 1)];
}

bool SamePlace(const Point3D& p, const Point3D& q) {
    return std::fabs(p.X - q.X) + std::fabs(p.Y - q.Y) + std::fabs(p.Z - q.Z) < 1e-6;
}

// Divides wire `wire` (from 1) into `pieces` as the wire editor does: the
// first piece keeps the wire's row, the others go to the end of the table.
std::vector<std::string> Divide(AntDef& ant, int wire, int pieces, int segs) {
    WireRenumbering change(ant);
    const WireRec whole = ant.Wires[wire - 1];
    const Point3D a = WireEnd1(whole), b = WireEnd2(whole);
    auto at = [&](int k) {
        if (k == pieces) return b;
        const double t = static_cast<double>(k) / pieces;
        return Point3D{a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y), a.Z + t * (b.Z - a.Z)};
    };
    for (int k = 0; k < pieces; ++k) {
        const Point3D p = at(k), q = at(k + 1);
        WireRec piece = whole;
        piece.X1 = p.X, piece.Y1 = p.Y, piece.Z1 = p.Z, piece.X2 = q.X, piece.Y2 = q.Y, piece.Z2 = q.Z;
        piece.Seg = segs;
        const int row = k == 0 ? wire : ++ant.WireCount;
        ant.Wires[row - 1] = piece;
        change.Pieces[static_cast<std::size_t>(wire - 1)].push_back(row);
    }
    change.Place = PlaceByPoint(ant, change);
    return FollowWireRenumbering(ant, change);
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
        if (edit == Edit::Divide) notes = Divide(ant, row, pieces, segs);
        for (int i = 0; i < ant.SourceCount; ++i)
            ASSERT_LE(std::strlen(ant.Sources[i].Pos), static_cast<std::size_t>(PosTextLength)) << trace;
        PulseLayout was, now;
        if (!LayOutPulses(*before, was) || !LayOutPulses(ant, now)) return;
        ++checked[static_cast<int>(edit)];
        for (int i = 0; i < before->SourceCount; ++i) {
            const char* text = before->Sources[i].Pos;
            const std::optional<Point3D> at = PointOf(was, text);
            int j = 0;
            while (j < ant.SourceCount && ant.Sources[j].Voltage != i + 1) ++j;
            const std::string what = trace + ": source " + std::to_string(i + 1) + " " + text;
            if (j == ant.SourceCount) {
                ASSERT_TRUE(NoteStarts(notes, "Source " + std::to_string(i + 1) + " (")) << what;
                ++removed;
                continue;
            }
            const std::optional<Point3D> after = PointOf(now, ant.Sources[j].Pos);
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
    int checked[3] = {};
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
// feed at a joint, and a wire of more segments than any preparation takes.
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

    ant = Antenna({Wire(0, 0, 0, 12, 0, 0, 2147483647), Wire(0, 5, 0, 12, 5, 0, 12)}, {"w2c"});
    check.Run(*ant, Edit::Divide, 2, 2, 6, "2147483647 segments");
    EXPECT_STREQ(ant->Sources[0].Pos, "w2c");
}

// Wires between the points of a small grid, so that joints are common, some
// resting on a perfect ground; sources on them, beyond them and beyond their
// pulses; then a few deletions, insertions and divides in a row.
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
        auto segments = [&] { return pick(8) == 0 ? -1 : 1 + pick(6); };
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
            const Edit e = static_cast<Edit>(pick(3));
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
    std::printf("edits checked: %d deletions, %d insertions, %d divides; %d sources removed, %d moved\n",
                check.checked[0], check.checked[1], check.checked[2], check.removed, check.moved);
    for (int checked : check.checked) EXPECT_GT(checked, Sequences / 4);
}

}  // namespace
