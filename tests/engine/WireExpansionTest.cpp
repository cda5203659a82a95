#include "ExpansionFixture.h"
#include "model/EnvDef.h"

#include <cfloat>
#include <cstring>

using V = std::vector<int>;

TEST_F(Expansion, RadiusZeroGivesNoPieceAndLeavesLowestZ) {
    AddWire({0, 0, -7}, {0, 0, 1}, 0.0, 5);
    ant->Wires[0].FirstPulse = 4;
    ant->Wires[0].PulseCount = 9;
    ASSERT_EQ(ExpandWires(*ant), 1);
    EXPECT_EQ(ant->ExpWireCount, 0);
    EXPECT_EQ(ant->LowestZ, DBL_MAX);
    EXPECT_EQ(ant->Wires[0].FirstPulse, 0);
    EXPECT_EQ(ant->Wires[0].PulseCount, 0);
}

TEST_F(Expansion, FixedCountIsOnePieceWhateverTheLength) {
    AddWire({0, 0, 3}, {0, 0, 900}, 0.002, 5);
    AddWire({0, 0, 2}, {0, 0, 2.001}, 0.002, 5);
    ASSERT_EQ(ExpandWires(*ant), 1);
    EXPECT_EQ(PieceSegs(), (V{5, 5}));
    EXPECT_EQ(ant->ExpWires[1].UserWire, 1);
    EXPECT_EQ(ant->ExpWires[1].FirstPulse, 0);
    EXPECT_EQ(ant->LowestZ, 2.0);
}

TEST_F(Expansion, FullPieceTableRefusesOnceWithOneNotice) {
    for (int i = 0; i < 460; ++i) AddWire({0, double(i), 0}, {10, double(i), 0}, 0.001, -1);  // 9 pieces each
    EXPECT_EQ(ExpandWires(*ant), 0);
    EXPECT_EQ(ant->ExpWireCount, MaxExpWires);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "Too mauch wires!");
    EXPECT_EQ(log, (std::vector<std::string>{"Too mauch wires!"}));
    // Wires past the table still have their pulse fields cleared.
    EXPECT_EQ(ant->Wires[459].FirstPulse, 0);
}

TEST_F(Expansion, OverflowByTheLastWireIsRefusedToo) {
    for (int i = 0; i < 456; ++i) AddWire({0, double(i), 0}, {10, double(i), 0}, 0.001, -1);  // 4104 pieces
    EXPECT_EQ(ExpandWires(*ant), 0);
    EXPECT_EQ(notices.size(), 1u);
    for (int i = 455; i >= 0; --i) ant->Wires[i].Seg = (i == 455) ? 1 : -1;  // exactly 4096
    notices.clear();
    EXPECT_EQ(ExpandWires(*ant), 1);
    EXPECT_EQ(ant->ExpWireCount, MaxExpWires);
    EXPECT_TRUE(notices.empty());
}

TEST_F(Expansion, NegativeRadiusWithoutItsSetIsDrawnButRefused) {
    AddWireAlongX(2.0, 3, -0.005);
    AddWireAlongX(3.0, 3, -0.007);
    EXPECT_EQ(ExpandWires(*ant), 0);
    EXPECT_EQ(PieceSegs(), (V{3, 3}));
    EXPECT_EQ(ant->ExpWires[0].R, -0.005);  // the one-piece mode keeps the radius
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "R = -5.0  No description for this R(Taper wire set) ");
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(Expansion, TaperedWireExpandsSectionBySection) {
    ant->TaperSetCount = 1;
    TaperSet& set = ant->TaperSets[0];
    set.Key = -1;
    set.Type = TaperOneWay;
    set.Len[0] = 1.0;
    set.Rad[0] = 0.01;
    set.Len[1] = 99999.9;
    set.Rad[1] = 0.005;
    AddWireAlongX(5.0, 4, -1);
    ASSERT_EQ(ExpandWires(*ant), 1);
    EXPECT_EQ(PieceSegs(), (V{4, 4}));
    EXPECT_EQ(ant->ExpWires[0].R, 0.01);
    EXPECT_EQ(ant->ExpWires[1].R, 0.005);
    ExpectCoversWire(0);
}

TEST_F(Expansion, TaperSetWithAZeroRadiusIsRefused) {
    ant->TaperSetCount = 1;
    ant->TaperSets[0].Key = -1;
    ant->TaperSets[0].Len[0] = 99999.9;  // not normalised: radius 0
    AddWireAlongX(5.0, 4, -1);
    EXPECT_EQ(ExpandWires(*ant), 0);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("RADIUS"), std::string::npos);
}

TEST_F(Expansion, QuietWhenNotInteractiveButStillRefused) {
    JobDef.Interactive = 0;
    AddWireAlongX(2.0, 3, -0.005);
    EXPECT_EQ(ExpandWires(*ant), 0);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(notices.size(), 1u);
}

TEST_F(Expansion, GroundedSecondEndIsTurnedRound) {
    EnvDef.AntHeight = 2.0;
    AddWire({5, 0, 1}, {6, 0, 1}, 0.001, 3);
    AddWire({0, 0, -2}, {0, 0, -2 + 0.0}, 0.001, 3);  // both ends on the ground: stays
    AddWire({0, 0, 10}, {0, 0, -2}, 0.001, -2);
    ant->SourceCount = 3;
    CopyText(ant->Sources[0].Pos, "w3b");
    CopyText(ant->Sources[1].Pos, "W3E1");
    CopyText(ant->Sources[2].Pos, "w1b");
    ant->LoadCount = 2;
    CopyText(ant->Loads[0].Pos, "w31b");
    CopyText(ant->Loads[1].Pos, "w3c");
    NormalizeGroundedWires(*ant);
    const WireRec& w = ant->Wires[2];
    EXPECT_EQ(w.Z1, -2.0);
    EXPECT_EQ(w.Z2, 10.0);
    EXPECT_EQ(w.Seg, -3);
    EXPECT_STREQ(ant->Sources[0].Pos, "w3e");
    EXPECT_STREQ(ant->Sources[1].Pos, "W3B1");
    EXPECT_STREQ(ant->Sources[2].Pos, "w1b");
    EXPECT_STREQ(ant->Loads[0].Pos, "w31b");
    EXPECT_STREQ(ant->Loads[1].Pos, "w3c");
    EXPECT_EQ(ant->Wires[1].Z1, -2.0);
    EXPECT_EQ(ant->Wires[0].X1, 5.0);
}

// Given the wire's pulse count, a turned wire's positions keep their pulse:
// an offset from the centre changes its sign and, with an even count, its
// size by one; a text that names no pulse only has its end exchanged.
TEST_F(Expansion, GroundedWireKeepsItsPositionsOnTheirPulses) {
    AddWire({0, 0, 5.25}, {0, 0, 0}, 0.001, 20);
    const char* typed[] = {"w1c3", "w1e", "w1b+2", "w1c", "w1c30"};
    const char* turned[] = {"w1c-4", "w1b", "w1e+2", "w1c-1", "w1c30"};
    ant->SourceCount = 5;
    for (int i = 0; i < 5; ++i) CopyText(ant->Sources[i].Pos, typed[i]);
    NormalizeGroundedWires(*ant, {20});
    for (int i = 0; i < 5; ++i) EXPECT_STREQ(ant->Sources[i].Pos, turned[i]) << typed[i];
}

TEST_F(Expansion, WireZeroInAPositionNamesTheFirstWire) {
    AddWire({0, 0, 4}, {0, 0, 0}, 0.001, -3);
    ant->SourceCount = 1;
    CopyText(ant->Sources[0].Pos, "w0e");
    NormalizeGroundedWires(*ant);
    EXPECT_STREQ(ant->Sources[0].Pos, "w0b");
    EXPECT_EQ(ant->Wires[0].Seg, -2);
}
