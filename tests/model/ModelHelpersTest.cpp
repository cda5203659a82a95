#include "model/ModelHelpers.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

std::unique_ptr<AntDef> AntWithWires(int count) {
    auto ant = std::make_unique<AntDef>();
    ant->WireCount = count;
    return ant;
}

}  // namespace

TEST(PositionText, ResolvesBeginCentreEndAndOffsets) {
    auto ant = AntWithWires(3);
    ant->Wires[1].FirstPulse = 7;
    ant->Wires[1].PulseCount = 5;
    EXPECT_EQ(ParseSourcePos(*ant, "w2b1"), 8);
    EXPECT_EQ(ParseSourcePos(*ant, "w2c"), 9);
    EXPECT_EQ(ParseSourcePos(*ant, "w2e"), 11);
    EXPECT_EQ(ParseSourcePos(*ant, "w2e1"), 10);
    EXPECT_EQ(ParseSourcePos(*ant, "W2C"), 9);
    EXPECT_EQ(ParseSourcePos(*ant, "w2"), 9);
    EXPECT_EQ(ParseSourcePos(*ant, "w2cx"), 9);   // unreadable offset counts as 0
    EXPECT_EQ(ParseSourcePos(*ant, "15"), 15);
    EXPECT_EQ(ParseSourcePos(*ant, "x3"), 0);
    EXPECT_EQ(ParseSourcePos(*ant, "w2q"), 0);
    EXPECT_EQ(ParseSourcePos(*ant, "w4c"), 0);    // beyond the wire table
    EXPECT_EQ(ParseSourcePos(*ant, ""), 0);
}

TEST(PositionText, WireZeroNamesTheFirstWire) {
    auto ant = AntWithWires(1);
    ant->Wires[0].FirstPulse = 1;
    ant->Wires[0].PulseCount = 9;
    EXPECT_EQ(ParseSourcePos(*ant, "w0c"), ParseSourcePos(*ant, "w1c"));
    EXPECT_EQ(ParseSourcePos(*ant, "w1c"), 5);
}

TEST(PositionText, NeverNamesAPulseOutsideTheWire) {
    auto ant = AntWithWires(2);
    ant->Wires[0] = {};
    ant->Wires[0].FirstPulse = 1;
    ant->Wires[0].PulseCount = 3;
    ant->Wires[1].FirstPulse = 4;
    ant->Wires[1].PulseCount = 3;
    EXPECT_EQ(ParseSourcePos(*ant, "w1b-1"), 0);  // would be pulse 0 - before the wire
    EXPECT_EQ(ParseSourcePos(*ant, "w2b-2"), 0);  // would be a pulse of wire 1
    EXPECT_EQ(ParseSourcePos(*ant, "w1b2"), 3);   // the last pulse of wire 1
    EXPECT_EQ(ParseSourcePos(*ant, "w1b3"), 0);   // one past it: the first pulse of wire 2
    EXPECT_EQ(ParseSourcePos(*ant, "w1b5"), 0);   // would be a pulse of wire 2
    EXPECT_EQ(ParseSourcePos(*ant, "w1e3"), 0);
    ant->Wires[1].FirstPulse = 0;                   // a wire without pulses
    ant->Wires[1].PulseCount = 0;
    EXPECT_EQ(ParseSourcePos(*ant, "w2b"), 0);
    EXPECT_EQ(ParseSourcePos(*ant, "w2e"), 0);
}

TEST(PositionText, ClampsDigitOverflow) {
    auto ant = AntWithWires(1);
    ant->Wires[0].FirstPulse = 1;
    ant->Wires[0].PulseCount = 4;
    EXPECT_EQ(ParseSourcePos(*ant, "w99999999999999999999c"), 0);
    EXPECT_EQ(ParseSourcePos(*ant, "w1b99999999999999999"), 0);
    EXPECT_EQ(ParseSourcePos(*ant, "w1e-99999999999999999"), 0);
    EXPECT_GT(ParseSourcePos(*ant, "99999999999999999999"), 0);  // huge but positive: refused later
}

TEST(PositionText, ResolvePositionsFillsWiresThenSourcesAndLoads) {
    auto ant = AntWithWires(2);
    // wire 0: two pieces with pulses 1..3 and 4..5; a pulseless piece of wire 1.
    ant->ExpWireCount = 3;
    ant->ExpWires[0] = {};
    ant->ExpWires[0].UserWire = 0;
    ant->ExpWires[0].FirstPulse = 1;
    ant->ExpWires[0].FirstPoint = 1;
    ant->ExpWires[0].LastPoint = 3;
    ant->ExpWires[1].UserWire = 0;
    ant->ExpWires[1].FirstPulse = 4;
    ant->ExpWires[1].FirstPoint = 6;
    ant->ExpWires[1].LastPoint = 7;
    ant->ExpWires[2].UserWire = 1;
    ant->ExpWires[2].FirstPulse = 0;
    ant->SourceCount = 1;
    CopyText(ant->Sources[0].Pos, "w1c");
    ant->LoadCount = 2;
    CopyText(ant->Loads[0].Pos, "w1e");
    CopyText(ant->Loads[1].Pos, "w2c");
    ResolvePositions(*ant);
    EXPECT_EQ(ant->Wires[0].FirstPulse, 1);
    EXPECT_EQ(ant->Wires[0].PulseCount, 5);
    EXPECT_EQ(ant->Wires[1].FirstPulse, 0);
    EXPECT_EQ(ant->Sources[0].Pulse, 3);
    EXPECT_EQ(ant->Loads[0].Pulse, 5);
    EXPECT_EQ(ant->Loads[1].Pulse, 0);
}

TEST(PositionText, UnterminatedFieldIsReadSafely) {
    auto ant = AntWithWires(1);
    ant->Wires[0].FirstPulse = 1;
    ant->Wires[0].PulseCount = 3;
    ant->SourceCount = 1;
    std::memset(ant->Sources[0].Pos, '1', PosTextSize);  // no terminating zero
    ant->Sources[0].Voltage = 1.0;
    ResolvePositions(*ant);
    EXPECT_GT(ant->Sources[0].Pulse, 0);
}

TEST(TaperSetTable, NormalisesLastSectionAndZeroRadii) {
    auto ant = AntWithWires(0);
    ant->TaperSetCount = 2;
    ant->TaperSets[0].Key = -1;
    ant->TaperSets[0].Len[0] = 1.0;
    ant->TaperSets[0].Rad[0] = 0.001;
    ant->TaperSets[0].Len[1] = 2.0;
    ant->TaperSets[1].Key = -2;  // only (0, 0) in its first section
    NormalizeTaperSets(*ant);
    EXPECT_EQ(ant->TaperSetCount, 2);
    EXPECT_EQ(ant->TaperSets[0].Len[0], 1.0);
    EXPECT_EQ(ant->TaperSets[0].Rad[0], 0.001);
    EXPECT_EQ(ant->TaperSets[0].Len[1], TaperRestLength);
    EXPECT_EQ(ant->TaperSets[0].Rad[1], 0.001);
    EXPECT_EQ(ant->TaperSets[0].Len[2], 0.0);
    EXPECT_EQ(ant->TaperSets[1].Len[0], TaperRestLength);
    EXPECT_EQ(ant->TaperSets[1].Rad[0], TaperDefaultRadius);
}

TEST(TaperSetTable, AFullSetEndsInTheRestLength) {
    auto ant = AntWithWires(0);
    ant->TaperSetCount = 1;
    ant->TaperSets[0].Key = -3;
    for (int k = 0; k < MaxTaperSections; ++k) ant->TaperSets[0].Len[k] = 0.5;
    ant->TaperSets[0].Rad[4] = 0.002;
    NormalizeTaperSets(*ant);
    EXPECT_EQ(ant->TaperSets[0].Len[9], TaperRestLength);
    EXPECT_EQ(ant->TaperSets[0].Rad[0], TaperDefaultRadius);
    EXPECT_EQ(ant->TaperSets[0].Rad[3], TaperDefaultRadius);
    EXPECT_EQ(ant->TaperSets[0].Rad[9], 0.002);
}

TEST(TaperSetTable, AZeroKeyEndsTheListAndLookupIsExact) {
    auto ant = AntWithWires(0);
    ant->TaperSetCount = 3;
    ant->TaperSets[0].Key = -1;
    ant->TaperSets[1].Key = 0;
    ant->TaperSets[2].Key = -2;
    NormalizeTaperSets(*ant);
    EXPECT_EQ(ant->TaperSetCount, 1);
    EXPECT_EQ(FindTaperSet(*ant, -1), &ant->TaperSets[0]);
    EXPECT_EQ(FindTaperSet(*ant, -2), nullptr);
    EXPECT_EQ(FindTaperSet(*ant, -1.0000000001), nullptr);
    ant->TaperSetCount = 99;  // out of range counts are limited to the table
    EXPECT_EQ(FindTaperSet(*ant, -2), &ant->TaperSets[2]);
}

TEST(WireGeometry, LengthAzimuthAndTiltFromZenith) {
    WireRec w{};
    w.Y2 = 3;
    w.Z2 = 4;
    double len, az, tilt;
    WireLenAzEl(len, az, tilt, w);
    EXPECT_DOUBLE_EQ(len, 5.0);
    EXPECT_NEAR(az, 90.0, 1e-12);
    EXPECT_NEAR(tilt, 36.8699, 1e-4);
    EXPECT_DOUBLE_EQ(WireLength(w), 5.0);
    EXPECT_NEAR(ArcTan2Deg(-1, 0), 180.0, 1e-12);
    EXPECT_NEAR(ArcTan2Deg(0, -1), -90.0, 1e-12);
}

TEST(WireGeometry, ScaleCoordKeepsTheValueWithoutAReferenceLength) {
    double c = 2.0;
    ScaleCoord(c, 4, 2, 3, 1);
    EXPECT_DOUBLE_EQ(c, 2.0);
    ScaleCoord(c, 4, 3, 3, 1);
    EXPECT_DOUBLE_EQ(c, 4.0);
    ScaleCoord(c, 1, 1, 3, 1);
    EXPECT_DOUBLE_EQ(c, 4.0);
}

// A neighbour follows the end it shared, judged by where the ends were: both
// ends move at once, also when a new end lies where the other end was.
TEST(WireGeometry, MovingAWiresEndsCarriesEachSharedEndToItsNewPlace) {
    const struct {
        const char* name;
        std::array<double, 6> before, after, neighbour, expected;  // X1 Y1 Z1 X2 Y2 Z2
    } cases[] = {
        {"one end", {0, 0, 0, 1, 0, 5}, {0, 0, 0, 1, 0, 6}, {1, 0, 5, 2, 0, 0}, {1, 0, 6, 2, 0, 0}},
        {"only close to the end", {0, 0, 0, 1, 0, 5}, {0, 0, 0, 1, 0, 6}, {1, 0, 5.0000001, 3, 0, 0},
         {1, 0, 5.0000001, 3, 0, 0}},
        {"shifted onto its end 2, neighbour at end 1", {0, 0.5, 0, 2.5, 0, 0}, {2.5, 0, 0, 5, -0.5, 0},
         {-2, 0.5, 0, 0, 0.5, 0}, {-2, 0.5, 0, 2.5, 0, 0}},
        {"shifted onto its end 2, neighbour at end 2", {0, 0.5, 0, 2.5, 0, 0}, {2.5, 0, 0, 5, -0.5, 0},
         {2.5, 0, 0, 2.5, 3, 0}, {5, -0.5, 0, 2.5, 3, 0}},
        {"shifted onto its end 1", {2.5, 0, 0, 5, 0, 0}, {0, 0, 0, 2.5, 0, 0}, {5, 0, 0, 5, 1, 0},
         {2.5, 0, 0, 5, 1, 0}},
        {"turned round", {0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 0, 0}, {0, 1, 0, 0, 0, 0}, {0, 1, 0, 1, 0, 0}},
    };
    auto wire = [](const std::array<double, 6>& e) { return WireRec{e[0], e[1], e[2], e[3], e[4], e[5], 0.001, 1, 0, 0, 0}; };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WireRec wires[2] = {wire(c.before), wire(c.neighbour)};
        MoveWireEnds(wires, 2, wire(c.after), wire(c.before));
        for (int k = 0; k < 2; ++k) {
            const WireRec& got = wires[k];
            const WireRec want = wire(k == 0 ? c.after : c.expected);
            EXPECT_TRUE(got.X1 == want.X1 && got.Y1 == want.Y1 && got.Z1 == want.Z1 && got.X2 == want.X2 &&
                        got.Y2 == want.Y2 && got.Z2 == want.Z2)
                << "wire " << k << ": " << got.X1 << "," << got.Y1 << "," << got.Z1 << " - " << got.X2 << ","
                << got.Y2 << "," << got.Z2;
        }
    }
}

TEST(WireGeometry, ReplacePointChangesEndOneBeforeEndTwo) {
    WireRec w{1, 1, 1, 1, 1, 1, 0.001, 1, 0, 0, 0};  // both ends equal the point
    ReplacePoint(w, {1, 1, 1}, {2, 2, 2});
    EXPECT_EQ(w.X1, 2.0);
    EXPECT_EQ(w.X2, 1.0);
}

TEST(ScreenHitTest, LineTestNearEndsNearLineAndMiss) {
    const ScreenPoint a{100, 100}, b{200, 100};
    EXPECT_EQ(HitTestLine({103, 100}, a, b), 1);
    EXPECT_EQ(HitTestLine({200, 97}, a, b), 2);
    EXPECT_EQ(HitTestLine({150, 108}, a, b), 3);
    EXPECT_EQ(HitTestLine({150, 112}, a, b), 0);
    EXPECT_EQ(HitTestLine({150, 92}, a, b), 3);
    EXPECT_EQ(HitTestLine({250, 100}, a, b), 0);
}

TEST(ScreenHitTest, SegmentOrdersItsEndsAndHandlesVerticalAndSteepLines) {
    ScreenPoint a{200, 0}, b{100, 0};
    EXPECT_EQ(HitTestSegment({150, 2}, a, b, 4), 3);
    EXPECT_EQ(a.x, 100);  // exchanged in the caller's variables
    ScreenPoint v1{50, 0}, v2{50, 100};
    EXPECT_EQ(HitTestSegment({50, 50}, v1, v2, 4), 3);
    EXPECT_EQ(HitTestSegment({52, 50}, v1, v2, 4), 3);
    EXPECT_EQ(HitTestSegment({50, 100}, v1, v2, 4), 2);
    ScreenPoint s1{0, 0}, s2{10, 100};  // slope 10: the tolerance widens to 40
    EXPECT_EQ(HitTestSegment({5, 80}, s1, s2, 4), 3);
    EXPECT_EQ(HitTestSegment({5, 95}, s1, s2, 4), 0);
}

TEST(ScreenHitTest, RectanglesAcceptCornersInAnyOrder) {
    EXPECT_TRUE(PointInRect({5, 5}, {10, 10}, {0, 0}));
    EXPECT_TRUE(PointInRect({10, 0}, {0, 10}, {10, 0}));
    EXPECT_FALSE(PointInRect({11, 5}, {0, 0}, {10, 10}));
    EXPECT_TRUE(PointNearPoint({INT32_MAX, 0}, {INT32_MAX - 2, 0}, 4));
}

TEST(ScreenHitTest, ClampKeepsCoordinatesInRange) {
    int x = 40000, y = -50000;
    ClampToGdi(x, y);
    EXPECT_EQ(x, 32000);
    EXPECT_EQ(y, -32000);
    double dx = 1e300, dy = std::nan("");
    ClampToGdi(dx, dy);
    EXPECT_EQ(dx, 32000.0);
    EXPECT_EQ(dy, 0.0);
}
