// Whole-antenna edits without a dialog: exchange of axes, rounding in the
// table's unit, wire ends, moving sources, and restoring a kept antenna text.
#include "AntennaSamples.h"
#include "model/AntennaSnapshot.h"
#include "model/AntennaText.h"
#include "model/GeometryEdits.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

class GeometryEdits : public ::testing::Test {
protected:
    void SetUp() override {
        savedJob_ = JobDef;
        JobDef.InWavelengths = 0;
        JobDef.Wavelength = 20.0;
    }
    void TearDown() override { JobDef = savedJob_; }

    static std::unique_ptr<AntDef> Dipole() {
        auto ant = NewAntenna();
        ant->WireCount = 1;
        ant->Wires[0] = WireRec{-2.5, 0.25, 10, 2.5, 0.25, 10, 0.001, 11, 0, 0, 0};
        return ant;
    }

private:
    JobRec savedJob_{};
};

void AddSource(AntDef& ant, const char* pos, double volts = 1.0) {
    SourceRec& s = ant.Sources[ant.SourceCount++];
    CopyText(s.Pos, pos);
    s.Voltage = volts;
}

}  // namespace

TEST_F(GeometryEdits, AxisZTurnsAHorizontalDipoleUpAndTwiceRestoresIt) {
    auto ant = Dipole();
    ExchangeAxes(*ant, ExchangeXZ);
    const WireRec& w = ant->Wires[0];
    EXPECT_DOUBLE_EQ(w.Z1, -2.5);
    EXPECT_DOUBLE_EQ(w.Z2, 2.5);
    EXPECT_DOUBLE_EQ(w.X1, 10.0);
    EXPECT_DOUBLE_EQ(w.X2, 10.0);
    EXPECT_DOUBLE_EQ(w.Y1, 0.25);
    ExchangeAxes(*ant, ExchangeXZ);
    auto original = Dipole();
    EXPECT_EQ(std::memcmp(&ant->Wires[0], &original->Wires[0], sizeof(WireRec)), 0);

    ExchangeAxes(*ant, ExchangeXY);
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 0.25);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Y2, 2.5);
    ExchangeAxes(*ant, ExchangeXY);
    ExchangeAxes(*ant, ExchangeYZ);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Y1, 10.0);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Z1, 0.25);
    // An unknown choice leaves everything.
    auto before = *ant;
    ExchangeAxes(*ant, 7);
    EXPECT_EQ(std::memcmp(&before.Wires[0], &ant->Wires[0], sizeof(WireRec)), 0);
}

TEST_F(GeometryEdits, RoundingWorksInMetresAndMillimetres) {
    auto ant = Dipole();
    ant->Wires[0] = WireRec{1.23456, -0.98765, 0, 2.0049, 0, 3.1, 0.0012345, 5, 0, 0, 0};
    RoundAntennaValues(*ant, 2, true);
    const WireRec& w = ant->Wires[0];
    EXPECT_NEAR(w.X1, 1.23, 1e-12);
    EXPECT_NEAR(w.Y1, -0.99, 1e-12);
    EXPECT_NEAR(w.X2, 2.0, 1e-12);
    EXPECT_NEAR(w.R, 0.00123, 1e-12);  // 1.2345 mm to 1.23 mm
    EXPECT_EQ(w.Seg, 5);
}

TEST_F(GeometryEdits, RoundingInWavelengthsUsesTheWavelengthStep) {
    JobDef.InWavelengths = 1;
    auto ant = Dipole();
    ant->Wires[0].X1 = 1.234;  // 0.0617 wavelengths of 20 m
    RoundAntennaValues(*ant, 2, false);
    EXPECT_NEAR(ant->Wires[0].X1, 1.2, 1e-9);  // 0.06 wavelengths, not 1.23 m
    EXPECT_DOUBLE_EQ(ant->Wires[0].R, 0.001);  // radii left alone
}

TEST_F(GeometryEdits, RoundingKeepsTaperKeysAndZeroCoefficients) {
    JobDef.InWavelengths = 1;
    auto ant = SampleAntenna();
    RoundAntennaValues(*ant, 2, true);
    EXPECT_DOUBLE_EQ(ant->Wires[1].R, -1.0);  // still selects its taper set
    EXPECT_NEAR(ant->Loads[2].A[1], 0.0, 1e-12);
    EXPECT_NEAR(ant->Loads[0].A[0], 2.2, 1e-12);
    EXPECT_EQ(ant->Loads[0].A[2], 0.0);
    ant->Loads[1].B[0] = -300.456;
    RoundAntennaValues(*ant, 1, false);
    EXPECT_NEAR(ant->Loads[1].B[0], -300.5, 1e-9);
}

TEST_F(GeometryEdits, ExchangingWireEndsKeepsRadiusAndSegmentation) {
    auto ant = Dipole();
    ExchangeWireEnds(ant->Wires[0]);
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 2.5);
    EXPECT_DOUBLE_EQ(ant->Wires[0].X2, -2.5);
    EXPECT_DOUBLE_EQ(ant->Wires[0].R, 0.001);
    EXPECT_EQ(ant->Wires[0].Seg, 11);
}

TEST_F(GeometryEdits, MovingASourceChangesOnlyItsLetter) {
    auto ant = Dipole();
    AddSource(*ant, "w12c");
    AddSource(*ant, "w2b3", 0.5);
    AddSource(*ant, "w2e");
    EXPECT_TRUE(MoveWireSource(*ant, 2, 'e'));
    EXPECT_STREQ(ant->Sources[1].Pos, "w2e3");  // the first on wire 2; offset kept
    EXPECT_STREQ(ant->Sources[2].Pos, "w2e");
    EXPECT_DOUBLE_EQ(ant->Sources[1].Voltage, 0.5);
    EXPECT_STREQ(ant->Sources[0].Pos, "w12c");
    EXPECT_TRUE(MoveWireSource(*ant, 12, 'b'));
    EXPECT_STREQ(ant->Sources[0].Pos, "w12b");
    EXPECT_FALSE(MoveWireSource(*ant, 5, 'c'));
}

TEST_F(GeometryEdits, MovingASourceHandlesTextsThatEndAtTheirNumber) {
    auto ant = Dipole();
    AddSource(*ant, "12");   // a plain pulse: "2" after the first character
    AddSource(*ant, "w02");  // wire 2 without letter: its centre
    AddSource(*ant, "");
    EXPECT_TRUE(MoveWireSource(*ant, 2, 'b'));
    EXPECT_STREQ(ant->Sources[0].Pos, "12");
    EXPECT_STREQ(ant->Sources[1].Pos, "w2b");
    EXPECT_FALSE(MoveWireSource(*ant, 0, 'b'));
}

TEST_F(GeometryEdits, RestoringAKeptTextGivesBackExactlyWhatWasKept) {
    auto kept = SampleAntenna();
    EnvRec env{};
    env.Type = 2;
    env.AntHeight = 12.5;
    env.Z0R = 75;
    env.AzEl = PackAzEl(100, 40);
    const std::string text = WriteAntennaText(*kept, env, "first line\r\nsecond\r\n");

    // The antenna it replaces has more of everything and a comment of its own.
    auto ant = SampleAntenna();
    ant->WireCount = 5;
    ant->TaperSetCount = 3;
    ant->Wires[4].X1 = 99;
    std::string comment = "old comment\r\n";
    EnvRec now{};
    now.Z0R = 50;
    auto plain = NewAntenna();
    plain->WireCount = 1;
    plain->Wires[0] = WireRec{0, 0, 0, 1, 0, 0, 0.001, 3, 0, 0, 0};
    const std::string plainText = WriteAntennaText(*plain, now, "");

    RestoreAntennaText(*ant, now, comment, text);
    EXPECT_EQ(WriteAntennaText(*ant, now, comment), text);
    EXPECT_EQ(comment, "first line\r\nsecond\r\n");
    EXPECT_EQ(now.Type, 2);
    EXPECT_DOUBLE_EQ(now.Z0R, 75.0);

    // A kept antenna without taper sets and loads leaves none of them behind.
    RestoreAntennaText(*ant, now, comment, plainText);
    EXPECT_EQ(ant->TaperSetCount, 0);
    EXPECT_EQ(ant->LoadCount, 0);
    EXPECT_DOUBLE_EQ(ant->Wires[1].X1, 0.0);
    EXPECT_TRUE(comment.empty());
    EXPECT_EQ(WriteAntennaText(*ant, now, comment), plainText);
}
