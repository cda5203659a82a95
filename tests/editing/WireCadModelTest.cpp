// The wire editor's working model and view geometry, without a form.
#include "editing/WireCadModel.h"
#include "editing/WireCadView.h"
#include "model/EnvDef.h"

#include <gtest/gtest.h>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

WireRec W(double x1, double y1, double z1, double x2, double y2, double z2, int seg = 5) {
    WireRec w{};
    w.X1 = x1, w.Y1 = y1, w.Z1 = z1, w.X2 = x2, w.Y2 = y2, w.Z2 = z2;
    w.R = 0.001;
    w.Seg = seg;
    return w;
}

bool Ends(const WireRec& w, Point3D a, Point3D b) { return SamePoint(WireEnd1(w), a) && SamePoint(WireEnd2(w), b); }

class WireCadModelTest : public ::testing::Test {
protected:
    void Load(std::initializer_list<WireRec> wires) {
        ant = std::make_unique<AntDef>();
        ant->WireCount = 0;
        for (const WireRec& w : wires) ant->Wires[ant->WireCount++] = w;
        m = std::make_unique<WireCadModel>();
        m->Load(*ant);
    }
    // The wires at 14.2 MHz with the usual segmentation, fed at `pos`.
    void LoadFed(std::initializer_list<WireRec> wires, const char* pos) {
        Load(wires);
        ant->Freq = 14.2;
        SetDefaultSegmentation(*ant);
        ant->SourceCount = 1;
        CopyText(ant->Sources[0].Pos, pos);
    }
    std::unique_ptr<AntDef> ant;
    std::unique_ptr<WireCadModel> m;
};

TEST_F(WireCadModelTest, DeletedWiresAreDroppedAtWriteBackAndTheSelectionRenumbered) {
    Load({W(0, 0, 0, 1, 0, 0), W(1, 0, 0, 2, 0, 0), W(2, 0, 0, 3, 0, 0), W(3, 0, 0, 4, 0, 0), W(4, 0, 0, 5, 0, 0)});
    for (int i : {1, 3}) {
        m->Select(i);
        ASSERT_TRUE(m->DeleteSelected());
        EXPECT_EQ(m->Selected, -1);
    }
    m->Select(4);
    EXPECT_EQ(m->WriteBack(*ant), 2);
    ASSERT_EQ(ant->WireCount, 3);
    EXPECT_EQ(ant->Wires[0].X1, 0.0);
    EXPECT_EQ(ant->Wires[1].X1, 2.0);
    EXPECT_EQ(ant->Wires[2].X1, 4.0);
}

// A wire drawn into a deleted wire's slot is a new wire: the deleted wire's
// source goes, and the others stay on their wires. Without segmentation
// settings the pulses cannot be laid out: those on the wires the divide
// changed or met say that their point is not known.
TEST_F(WireCadModelTest, SourcesAndLoadsFollowTheirWiresAtWriteBack) {
    Load({W(0, 0, 0, 1, 0, 0), W(1, 0, 0, 2, 0, 0), W(2, 0, 0, 3, 0, 0)});
    ant->SourceCount = 2;
    CopyText(ant->Sources[0].Pos, "w1c");
    CopyText(ant->Sources[1].Pos, "w3c");
    ant->LoadCount = 1;
    CopyText(ant->Loads[0].Pos, "w2b");
    m->Select(0);
    ASSERT_TRUE(m->DeleteSelected());
    m->Select(1);
    ASSERT_TRUE(m->Divide(2));
    ASSERT_TRUE(m->Live[0]) << "the piece takes the free slot";
    std::vector<std::string> notes;
    m->WriteBack(*ant, &notes);
    ASSERT_EQ(ant->WireCount, 3);
    ASSERT_EQ(ant->SourceCount, 1);
    EXPECT_STREQ(ant->Sources[0].Pos, "w3c");
    EXPECT_STREQ(ant->Loads[0].Pos, "w2b");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].rfind("Source 1 (w1c) was on the deleted wire 1", 0), 0u) << notes[0];
    EXPECT_EQ(notes[1].rfind("Source 1 (w3c): the wires cannot be laid out", 0), 0u) << notes[1];
    EXPECT_EQ(notes[2].rfind("Load 1 (w2b): the wires cannot be laid out", 0), 0u) << notes[2];
}

// A source or load on a divided wire stays at its point in space. Wire 1
// runs 0..12 m along X with 12 segments (pulses at 1..11 m), wire 2 beside
// it; the pieces after wire 1 come after wire 2 and a junction's pulse
// belongs to the later piece. Where no pulse of the pieces stands at the
// point, the nearest one is taken and the log says so. A wire moved whole is
// another wire in space: its positions go with it. Over a ground raised 5 m
// the wire at Z 0 rests on nothing, before and after it moves up.
TEST_F(WireCadModelTest, PositionsOnADividedWireKeepTheirPoint) {
    const struct {
        const char* pos;
        int pieces;  // 1: not divided, moved whole to `to`
        int segs;  // of each piece
        const char* placed;
        bool nearest;
        Point3D to = {0, 1, 0};  // where a wire moved whole begins
        double raised = 0;       // the added height over a perfect ground; 0: free space
    } cases[] = {
        {"w1c", 2, 6, "w3b", false},     // 6 m: the junction of the halves
        {"W1C", 2, 6, "W3b", false},     // the "w" as typed
        {"w1b", 2, 6, "w1b", false},     // 1 m
        {"w1e", 2, 6, "w3e", false},     // 11 m
        {"w1c+2", 3, 4, "w4b", false},   // 8 m: the second junction
        {"w1b+1", 3, 4, "w1b+1", false}, // 2 m: still the text's pulse on the first piece (1, 2, 3 m)
        {"w1b+1", 2, 4, "w1b", true},    // 2 m; the first piece has pulses at 1.5, 3 and 4.5 m
        {"w2c", 2, 6, "w2c", false},     // another wire keeps its position
        {"w1c", 1, 12, "w1c", false},    // the wire moved
        {"w1b", 1, 12, "w1b", false, {0, 0, 1}, 5},
        {"w1c", 2, 4092, "w3b", false},  // 8194 pulses, more than a calculation takes: still laid out
    };
    const EnvRec env = EnvDef;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pos) + " in " + std::to_string(c.pieces));
        EnvDef.Type = c.raised > 0 ? GroundPerfect : GroundFree;
        EnvDef.AntHeight = c.raised;
        Load({W(0, 0, 0, 12, 0, 0, 12), W(0, 5, 0, 12, 5, 0, 12)});
        ant->Freq = 14.2;
        ant->SourceCount = ant->LoadCount = 1;
        CopyText(ant->Sources[0].Pos, c.pos);
        CopyText(ant->Loads[0].Pos, c.pos);
        m->Select(0);
        if (c.pieces > 1) {
            ASSERT_TRUE(m->Divide(c.pieces));
        } else {
            m->Templ = m->Work;
            SetEnd(m->Work, 1, c.to);
            ASSERT_TRUE(m->CommitMovedBody2D());
        }
        for (int i = 0; i < m->Count; ++i)
            if (i != 1) m->Wires[i].Seg = c.segs;
        std::vector<std::string> notes;
        m->WriteBack(*ant, &notes);
        ASSERT_EQ(ant->WireCount, 1 + c.pieces);
        EXPECT_STREQ(ant->Sources[0].Pos, c.placed);
        EXPECT_STREQ(ant->Loads[0].Pos, c.placed);
        ASSERT_EQ(notes.size(), c.nearest ? 2u : 0u);
        if (c.nearest) {
            EXPECT_NE(notes[0].find("Source 1"), std::string::npos) << notes[0];
            EXPECT_NE(notes[0].find("nearest"), std::string::npos) << notes[0];
        }
    }
    EnvDef = env;
}

// Wire 1 runs 0..12 m along X with 12 segments and meets wire 2, 12 m along
// Y, at its end; the joint's pulse belongs to wire 2 until wire 1 is divided
// into halves, whose second piece (wire 3) is then the later wire there, and
// the editor segments wire 2 anew, finer at its ends: what no pulse stands at
// any more goes to the nearest, with a line. A position that named no pulse
// names none after the divide, or goes.
TEST_F(WireCadModelTest, ADivideKeepsJointsAndPositionsThatNamedNothing) {
    const struct {
        const char* pos;
        int segs;  // of each half
        const char* placed;  // nullptr: removed, with a line for the log
        bool nearest;
    } cases[] = {
        {"w2b", 6, "w3e", false},      // the joint
        {"W2b+1", 6, "W2b+5", true},   // 1 m
        {"w2e", 6, "w2e+5", true},     // 11 m
        {"w3c", 6, "w4c", false},      // no wire 3 before, none after
        {"w1c-7", 2, "w1c-7", false},  // beyond wire 1's pulses, and beyond the first half's
        {"w1c-7", 30, nullptr, false}, // the first half has 29 pulses
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pos) + " on halves of " + std::to_string(c.segs));
        LoadFed({W(0, 0, 0, 12, 0, 0, 12), W(12, 0, 0, 12, 12, 0, 12)}, c.pos);
        m->Select(0);
        ASSERT_TRUE(m->Divide(2));
        m->Wires[0].Seg = m->Wires[2].Seg = c.segs;
        std::vector<std::string> notes;
        m->WriteBack(*ant, &notes);
        ASSERT_EQ(ant->WireCount, 3);
        if (c.placed) {
            ASSERT_EQ(ant->SourceCount, 1);
            EXPECT_STREQ(ant->Sources[0].Pos, c.placed);
            ASSERT_EQ(notes.size(), c.nearest ? 1u : 0u);
            if (c.nearest) {
                EXPECT_NE(notes[0].find("nearest"), std::string::npos) << notes[0];
            }
        } else {
            EXPECT_EQ(ant->SourceCount, 0);
            ASSERT_EQ(notes.size(), 1u);
            EXPECT_EQ(notes[0].rfind("Source 1 (w1c-7) named no pulse", 0), 0u) << notes[0];
        }
    }
}

// A wire with more segments than any preparation takes is laid out piece by
// piece, not pulse by pulse: the feed of the wire divided beside it goes to
// the joint of the halves.
TEST_F(WireCadModelTest, AWireOfTooManySegmentsDoesNotStopThePlacement) {
    LoadFed({W(0, 0, 0, 12, 0, 0, 2147483647), W(0, 5, 0, 12, 5, 0, 12)}, "w2c");
    m->Select(1);
    ASSERT_TRUE(m->Divide(2));
    m->WriteBack(*ant);
    ASSERT_EQ(ant->WireCount, 3);
    EXPECT_STREQ(ant->Sources[0].Pos, "w3b");
}

// Over ground the preparation turns a wire whose second end rests on it and
// exchanges b and e of its positions: the placement reads and writes them
// as that turn will. A vertical from 10 m down to the ground, fed at the
// ground, is divided; the lower half, the new wire 3, is turned in its turn.
TEST_F(WireCadModelTest, PositionsOnADividedGroundedWireKeepTheGroundPulse) {
    const int ground = EnvDef.Type;
    EnvDef.Type = GroundPerfect;
    LoadFed({W(0, 0, 10, 0, 0, 0, 10), W(3, 0, 10, 3, 0, 0, 10)}, "w1e");
    m->Select(0);
    ASSERT_TRUE(m->Divide(2));
    m->Wires[0].Seg = m->Wires[2].Seg = 5;
    std::vector<std::string> notes;
    m->WriteBack(*ant, &notes);
    EnvDef.Type = ground;
    EXPECT_STREQ(ant->Sources[0].Pos, "w3e");
    EXPECT_TRUE(notes.empty());
}

TEST_F(WireCadModelTest, UndoSwapsWithTheSnapshotSoASecondUndoRedoes) {
    Load({W(0, 0, 0, 1, 0, 0), W(1, 0, 0, 2, 0, 0)});
    EXPECT_FALSE(m->Undo());
    m->Select(1);
    m->DeleteSelected();
    ASSERT_TRUE(m->Undo());
    EXPECT_TRUE(m->Live[1]);
    EXPECT_EQ(m->Selected, 1);
    ASSERT_TRUE(m->Undo());
    EXPECT_FALSE(m->Live[1]);
    EXPECT_EQ(m->Selected, -1);
}

TEST_F(WireCadModelTest, DivideCutsIntoEqualPiecesEndingExactlyAtTheOldEnd) {
    Load({W(0, 0, 0, 3, 0, 0, 9), W(3, 0, 0, 3, 0, 4, 7)});
    m->Select(0);
    ASSERT_TRUE(m->Divide(3));
    ASSERT_EQ(m->Count, 4);
    EXPECT_TRUE(Ends(m->Wires[0], {0, 0, 0}, {1, 0, 0}));
    EXPECT_TRUE(Ends(m->Wires[2], {1, 0, 0}, {2, 0, 0}));
    EXPECT_TRUE(Ends(m->Wires[3], {2, 0, 0}, {3, 0, 0}));
    for (int i : {0, 1, 2, 3}) EXPECT_EQ(m->Wires[i].Seg, -1) << i;
    EXPECT_EQ(m->Selected, 0);
    // A divided wire of 0.3 m: repeated steps of 0.1 may not add up to 0.3.
    Load({W(0, 0, 0, 0.3, 0, 0)});
    m->Select(0);
    ASSERT_TRUE(m->Divide(3));
    EXPECT_EQ(m->Wires[2].X2, 0.3);
}

TEST_F(WireCadModelTest, CapacityCountsDeletedSlotsAndNewWiresReuseThem) {
    ant = std::make_unique<AntDef>();
    ant->WireCount = MaxWires - 1;
    for (int i = 0; i < ant->WireCount; ++i) ant->Wires[i] = W(i, 0, 0, i, 0, 1);
    m = std::make_unique<WireCadModel>();
    m->Load(*ant);
    m->Select(7);
    m->DeleteSelected();
    // Two free slots: the one at the end and the deleted one.
    m->Work = m->NewWireTemplate(PageXZ, 1000, 0);
    SetEnd(m->Work, 2, {1000, 0, 5});
    EXPECT_TRUE(m->CanAddWires(2));
    EXPECT_FALSE(m->CommitNewLoop2D(PageXZ));
    ASSERT_TRUE(m->CommitNewWire2D(PageXZ));
    EXPECT_EQ(m->Selected, 7);
    EXPECT_EQ(m->Count, MaxWires - 1);
    m->Select(7);
    ASSERT_TRUE(m->Divide(2));
    EXPECT_EQ(m->Count, MaxWires);
    m->Select(8);
    EXPECT_FALSE(m->Divide(2)) << "a full table";
    EXPECT_EQ(m->Count, MaxWires);
}

TEST_F(WireCadModelTest, DisjoinMovesTheEndOneMillimetreAlongEachAxisOfTheWire) {
    Load({W(0, 0, 0, 2, 0, 0), W(2, 0, 0, 2, 0, 1), W(0, 0, 0, -1, -1, -1)});
    m->Select(0);
    ASSERT_TRUE(m->Disjoin(HitEnd2));
    EXPECT_EQ(m->Wires[0].X2, 2.0 - 0.001);
    EXPECT_EQ(m->Wires[0].Y2, 0.0);
    EXPECT_EQ(m->Wires[1].X1, 2.0) << "the other wire stays";
    m->Select(2);
    ASSERT_TRUE(m->Disjoin(HitEnd1));
    EXPECT_TRUE(Ends(m->Wires[2], {-0.001, -0.001, -0.001}, {-1, -1, -1}));
    // A wire of less than a millimetre would shrink to nothing: refused.
    Load({W(0, 0, 0, 0.001, 0, 0)});
    m->Select(0);
    EXPECT_FALSE(m->Disjoin(HitEnd1));
    EXPECT_FALSE(m->HasUndo());
}

TEST_F(WireCadModelTest, ConnectTakesTheNearestEndThatMakesANewWire) {
    // Wire 0 from (0,0,0) to (0,0,1). Candidates: wire 1's ends (0,0,0) is
    // the fixed end; wire 2 already runs from the fixed end to (0.1,0,1).
    Load({W(0, 0, 0, 0, 0, 1), W(0, 0, 0, 5, 0, 0), W(0, 0, 0, 0.1, 0, 1), W(3, 0, 1, 4, 0, 1)});
    m->Select(0);
    ASSERT_TRUE(m->Connect(HitEnd2));
    EXPECT_TRUE(Ends(m->Wires[0], {0, 0, 0}, {3, 0, 1}));
    EXPECT_EQ(m->Wires[3].Seg, -1);
    EXPECT_EQ(m->Wires[0].Seg, -1);
    // Nothing to connect to: nothing happens.
    Load({W(0, 0, 0, 0, 0, 1)});
    m->Select(0);
    EXPECT_FALSE(m->Connect(HitEnd1));
}

TEST_F(WireCadModelTest, CentreOnAxisCentresTheLongerPageDirectionAndCarriesConnectedEnds) {
    Load({W(1, 5, 0, 3, 6, 0), W(1, 5, 0, 1, 5, 2), W(3, 6, 0, 9, 9, 0)});
    m->Select(0);
    ASSERT_TRUE(m->CentreOnAxis(PageXY));
    EXPECT_TRUE(Ends(m->Wires[0], {-1, 5, 0}, {1, 6, 0}));
    EXPECT_TRUE(Ends(m->Wires[1], {-1, 5, 0}, {1, 5, 2}));
    EXPECT_TRUE(Ends(m->Wires[2], {1, 6, 0}, {9, 9, 0}));
    EXPECT_FALSE(m->CentreOnAxis(PageAll));
}

TEST_F(WireCadModelTest, FiltersShowTheElementOrThePlaneOfTheSelectedWire) {
    Load({W(0, 0, 0, 1, 0, 0), W(1, 0, 0, 1, 1, 0), W(5, 5, 5, 6, 5, 5), W(0, 0, 1, 1, 2, 1), W(0, 0, 0, 1, 2, 3)});
    m->FilterMode = FilterElement;
    m->ApplySelFilter(PageXY);
    EXPECT_EQ(m->ShownCount(), 0) << "no selection shows no wire";
    m->Select(0);
    m->ApplySelFilter(PageXY);
    EXPECT_TRUE(m->IsWireShown(0) && m->IsWireShown(1) && m->IsWireShown(4));
    EXPECT_FALSE(m->IsWireShown(2) || m->IsWireShown(3));
    m->FilterMode = FilterPlane;
    m->ApplySelFilter(PageXY);  // Z1 = Z2 = 0
    EXPECT_TRUE(m->IsWireShown(0) && m->IsWireShown(1));
    EXPECT_FALSE(m->IsWireShown(2) || m->IsWireShown(3) || m->IsWireShown(4));
    m->Select(4);  // parallel to no coordinate plane
    m->ApplySelFilter(PageAll);
    EXPECT_EQ(m->ShownCount(), 0);
}

TEST_F(WireCadModelTest, NewWiresTakeTheCommonDepthAndAreRefusedWhenEmptyOrDuplicate) {
    Load({W(0, 2, 0, 1, 2, 0), W(1, 2, 0, 1, 2, 3)});
    m->Work = m->NewWireTemplate(PageXZ, 4, 0);
    EXPECT_EQ(m->Work.Y1, 2.0) << "all shown wires lie at Y = 2";
    EXPECT_EQ(m->Work.R, 0.001);
    EXPECT_FALSE(m->CommitNewWire2D(PageXZ)) << "both ends in one point";
    SetEnd(m->Work, 2, {0, 2, 0});
    SetEnd(m->Work, 1, {1, 2, 0});
    EXPECT_FALSE(m->CommitNewWire2D(PageXZ)) << "wire 0 reversed";
    SetEnd(m->Work, 2, {4, 2, 4});
    ASSERT_TRUE(m->CommitNewWire2D(PageXZ));
    EXPECT_EQ(m->Count, 3);
    EXPECT_EQ(m->Selected, 2);
    EXPECT_EQ(m->Wires[0].Seg, -1) << "the wire it joins is segmented anew";
    EXPECT_EQ(m->Marks[2], 0);
}

TEST_F(WireCadModelTest, LoopsAreFourEdgesInOrderAndNeverFlat) {
    Load({});
    m->Work = m->NewWireTemplate(PageXY, 2, 0);
    EXPECT_EQ(m->Work.R, 0.0008);
    SetEnd(m->Work, 2, {0, 1, 0});
    ASSERT_TRUE(m->CommitNewLoop2D(PageXY));
    ASSERT_EQ(m->Count, 4);
    EXPECT_TRUE(Ends(m->Wires[0], {0, 0, 0}, {2, 0, 0}));  // lower
    EXPECT_TRUE(Ends(m->Wires[1], {0, 1, 0}, {0, 0, 0}));  // left
    EXPECT_TRUE(Ends(m->Wires[2], {0, 1, 0}, {2, 1, 0}));  // upper
    EXPECT_TRUE(Ends(m->Wires[3], {2, 1, 0}, {2, 0, 0}));  // right
    EXPECT_EQ(m->Selected, 3);
    m->Work = m->NewWireTemplate(PageXY, 5, 0);
    SetEnd(m->Work, 2, {5, 3, 0});
    EXPECT_FALSE(m->CommitNewLoop2D(PageXY)) << "a loop of no width";
    EXPECT_EQ(m->Count, 4);
}

TEST_F(WireCadModelTest, MovesCarryCoincidentEndsButNeverLeaveAWireOfNoLength) {
    Load({W(0, 0, 0, 1, 0, 0), W(1, 0, 0, 1, 0, 1), W(1, 0, 1, 0, 0, 1)});
    m->Select(0);
    m->Templ = m->Work;
    SetEnd(m->Work, 2, {2, 0, 0});
    ASSERT_TRUE(m->CommitMovedEnd2D(2));
    EXPECT_TRUE(Ends(m->Wires[1], {2, 0, 0}, {1, 0, 1}));
    // Dragging wire 1's lower end onto its upper end.
    m->Select(1);
    m->Templ = m->Work;
    SetEnd(m->Work, 1, {1, 0, 1});
    EXPECT_FALSE(m->CommitMovedEnd2D(1));
    EXPECT_TRUE(Ends(m->Wires[1], {2, 0, 0}, {1, 0, 1}));
    // The body moves as a whole; its neighbours' shared ends follow.
    m->Select(2);
    m->Templ = m->Work;
    SetEnd(m->Work, 1, {1, 0, 3});
    ASSERT_TRUE(m->CommitMovedBody2D());
    EXPECT_TRUE(Ends(m->Wires[2], {1, 0, 3}, {0, 0, 3}));
    EXPECT_TRUE(Ends(m->Wires[1], {2, 0, 0}, {1, 0, 3}));
}

// The body dragged so that its new first end lies where its second end was:
// the wire on its old first end follows to the new first end only.
TEST_F(WireCadModelTest, ABodyMovedOntoItsOwnEndTakesEachNeighbourToItsNewEnd) {
    Load({W(0, 0.5, 0, 2.5, 0, 0), W(-2, 0.5, 0, 0, 0.5, 0)});
    m->Select(0);
    m->Templ = m->Work;
    SetEnd(m->Work, 1, {2.5, 0, 0});
    ASSERT_TRUE(m->CommitMovedBody2D());
    EXPECT_TRUE(Ends(m->Wires[0], {2.5, 0, 0}, {5, -0.5, 0}));
    EXPECT_TRUE(Ends(m->Wires[1], {-2, 0.5, 0}, {2.5, 0, 0}));
    // Centring (3,0)-(1,0) on the axis puts end 1 where end 2 was.
    Load({W(3, 0, 0, 1, 0, 0), W(3, 0, 0, 3, 2, 0)});
    m->Select(0);
    ASSERT_TRUE(m->CentreOnAxis(PageXY));
    EXPECT_TRUE(Ends(m->Wires[0], {1, 0, 0}, {-1, 0, 0}));
    EXPECT_TRUE(Ends(m->Wires[1], {1, 0, 0}, {3, 2, 0}));
}

TEST_F(WireCadModelTest, ThreeDimensionalEditsOnlyJoinExistingEnds) {
    Load({W(0, 0, 0, 1, 0, 0), W(5, 0, 0, 5, 0, 1)});
    m->Select(0);
    m->Templ = m->Work;
    EXPECT_FALSE(m->CommitMovedEnd3D(2, {1, 0, 0})) << "back onto its own start";
    EXPECT_FALSE(m->CommitMovedEnd3D(2, {0, 0, 0})) << "onto its other end";
    EXPECT_FALSE(m->HasUndo());
    ASSERT_TRUE(m->CommitMovedEnd3D(2, {5, 0, 1}));
    EXPECT_TRUE(Ends(m->Wires[0], {0, 0, 0}, {5, 0, 1}));
    m->Work = m->Wires[1];
    EXPECT_FALSE(m->CommitNewWire3D({5, 0, 1})) << "no length";
    // A new wire from wire 1's upper end to (0,0,0) would lie on wire 0.
    m->Work = m->Wires[1];
    SetEnd(m->Work, 1, {5, 0, 1});
    EXPECT_FALSE(m->CommitNewWire3D({0, 0, 0}));
    m->Work = m->Wires[1];
    ASSERT_TRUE(m->CommitNewWire3D({0, 0, 0}));
    EXPECT_TRUE(Ends(m->Wires[2], {5, 0, 0}, {0, 0, 0}));
    EXPECT_EQ(m->Selected, 2);
}

TEST_F(WireCadModelTest, InformationPanel) {
    Load({W(0, 0, 0, 3, 0, 4)});
    EXPECT_EQ(m->InfoText(PageXZ, false), "Wire isn't selected");
    m->Select(0);
    EXPECT_EQ(m->InfoText(PageXZ, false),
              "   Wire No.1\n   X1: 0.000 m\n   Y1: 0.000 m\n   Z1: 0.000 m\n   X2: 3.000 m\n   Y2: 0.000 m\n"
              "   Z2: 4.000 m\n   R : 1.000 mm\n   SEG: 5\n   Len: 5.0000 m\n   Deg:53.1\n ");
    EXPECT_NE(m->InfoText(PageXY, true).find("Wire No.2"), std::string::npos);
    // An end a rounding error off the axis shows 0.000, not -0.000.
    Load({W(-0.0004, 0, 0, 3, 0, 4)});
    m->Select(0);
    EXPECT_NE(m->InfoText(PageXZ, false).find("   X1: 0.000 m\n"), std::string::npos) << m->InfoText(PageXZ, false);
}

TEST(WireCadView, GridStepsScaleBarAndSnapping) {
    EXPECT_EQ(AutoGridStepFor(400, 100.0), 0.05);
    EXPECT_EQ(ScaleBarLength(800, 100.0), 2.0);
    EXPECT_EQ(AutoGridStepFor(400, 1e-9), 10000.0) << "beyond the table: its last step";
    GridState g;
    double a = 0.12, b = 0.3;
    g.Snap(a, b);
    EXPECT_EQ(a, 0.0);
    EXPECT_EQ(b, 0.5);
    a = 2.61, b = 0.2;
    g.Snap(a, b);
    EXPECT_EQ(a, 2.5);
    EXPECT_EQ(b, 0.0);
    // A vertical wire's dragged end keeps its X: only the height snaps.
    a = 1.0, b = 3.3;
    g.SnapEnd(a, b, 1.0, 0.0);
    EXPECT_EQ(a, 1.0);
    EXPECT_EQ(b, 3.5);
    g.On = false;
    a = 0.12;
    g.Snap(a, b);
    EXPECT_EQ(a, 0.12);
}

TEST(WireCadView, MappingRoundTripsAndCentres) {
    WireCadView v;
    v.Page = PageXZ;
    v.W = 400, v.H = 300;
    v.Scale = 50;
    v.UpdateOrigin();
    int x = 0, y = 0;
    v.ToScreen(Point3D{2, 7, 1}, x, y);
    EXPECT_EQ(x, 300);
    EXPECT_EQ(y, 100);
    const Point2D back = v.FromScreen(x, y);
    EXPECT_EQ(back.a, 2.0);
    EXPECT_EQ(back.b, 1.0);
    WireCadModel m;
    EXPECT_FALSE(v.CentreOn(m));
    EXPECT_EQ(v.OffA, 0.0);
    m.Count = 1;
    m.Live[0] = true;
    m.Wires[0] = W(2, 0, 4, 6, 0, 8);
    ASSERT_TRUE(v.CentreOn(m));
    v.ToScreen(Point3D{4, 0, 6}, x, y);
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 150);
}

TEST(WireCadView, ConstrainedDrags) {
    double a = 3, b = 1;
    LockToAxis(0, 0, a, b);
    EXPECT_EQ(b, 0.0);
    a = 1, b = 3;
    LockToAxis(0, 0, a, b);
    EXPECT_EQ(a, 0.0);
    a = 1.0, b = 1.01;  // 45.29 degrees turns to 45.3 at length 2
    RotateKeepLength(a, b, 0, 0, 2.0);
    EXPECT_NEAR(std::hypot(a, b), 2.0, 1e-12);
    EXPECT_NEAR(std::atan2(b, a) * 180 / 3.14159265358979323846, 45.3, 1e-9);
}

}  // namespace
