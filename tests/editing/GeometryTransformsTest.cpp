#include "editing/GeometryTransforms.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<AntDef> AntWith(std::initializer_list<WireRec> wires) {
    auto ant = std::make_unique<AntDef>();
    for (const WireRec& w : wires) ant->Wires[ant->WireCount++] = w;
    ant->Freq = ant->CalcFreq = 14.0;
    return ant;
}

WireRec Wire(double x1, double y1, double z1, double x2, double y2, double z2, double r = 0.001) {
    return WireRec{x1, y1, z1, x2, y2, z2, r, 10, 0, 0, 0};
}

}  // namespace

TEST(MoveWires, ColumnPresetsAxisAndDistanceThatZeroesTheCoordinate) {
    const WireRec w = Wire(1, 2, 10.5, 4, 5, 6);
    EXPECT_EQ(MoveAxisOfColumn(3), AxisZ);
    EXPECT_DOUBLE_EQ(MoveDistanceOfColumn(w, 3), -10.5);
    EXPECT_EQ(MoveAxisOfColumn(5), AxisY);
    EXPECT_DOUBLE_EQ(MoveDistanceOfColumn(w, 4), -4.0);
    EXPECT_EQ(MoveAxisOfColumn(7), AxisX);
    EXPECT_DOUBLE_EQ(MoveDistanceOfColumn(w, 0), 0.0);
    EXPECT_DOUBLE_EQ(MoveDistanceOfColumn(w, 8), 0.0);
}

TEST(MoveWires, AllWiresShiftAlongTheAxis) {
    auto ant = AntWith({Wire(0, 0, 10.5, 0, 0, 20), Wire(1, 1, 11, 2, 2, 12)});
    MoveAllWires(*ant, AxisZ, -10.5);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Z1, 0.0);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Z2, 9.5);
    EXPECT_DOUBLE_EQ(ant->Wires[1].Z2, 1.5);
    EXPECT_DOUBLE_EQ(ant->Wires[1].X1, 1.0);
}

TEST(MoveWires, OneWireKeepsOrLosesItsConnection) {
    auto ant = AntWith({Wire(0, 0, 0, 1, 0, 5), Wire(1, 0, 5, 2, 0, 5), Wire(1, 0, 5.0001, 3, 0, 5)});
    auto apart = std::make_unique<AntDef>(*ant);
    MoveOneWire(*ant, 0, AxisZ, 1.0, true);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Z2, 6.0);
    EXPECT_DOUBLE_EQ(ant->Wires[1].Z1, 6.0);     // shared end followed
    EXPECT_DOUBLE_EQ(ant->Wires[2].Z1, 5.0001);  // only close: stays
    MoveOneWire(*apart, 0, AxisZ, 1.0, false);
    EXPECT_DOUBLE_EQ(apart->Wires[1].Z1, 5.0);
    MoveOneWire(*apart, 5, AxisZ, 1.0, true);    // no such wire: nothing
    EXPECT_DOUBLE_EQ(apart->Wires[0].Z2, 6.0);
}

TEST(UpDownStep, DigitRightOfTheCaretLimitedPerDialog) {
    EXPECT_DOUBLE_EQ(CaretStep("0.000", 5, 0.001, 10, 0.1), 0.001);
    EXPECT_DOUBLE_EQ(CaretStep("12.5", 0, 0.001, 10, 0.1), 10.0);
    EXPECT_DOUBLE_EQ(CaretStep("12.5", 1, 0.001, 10, 0.1), 1.0);
    // Touching the point on either side: the first decimal.
    EXPECT_DOUBLE_EQ(CaretStep("12.5", 2, 0.001, 10, 0.1), 0.1);
    EXPECT_DOUBLE_EQ(CaretStep("12.5", 3, 0.001, 10, 0.1), 0.1);
    EXPECT_DOUBLE_EQ(CaretStep("12.25", 4, 0.001, 10, 0.1), 0.01);
    EXPECT_DOUBLE_EQ(CaretStep("123", 0, 0.1, 10, 1), 10.0);       // 100 limited
    EXPECT_DOUBLE_EQ(CaretStep("123", 3, 0.1, 10, 1), 0.1);        // 10^-1
    EXPECT_DOUBLE_EQ(CaretStep("", 0, 0.1, 10, 5), 5.0);
}

TEST(UpDownStep, AngleWrapsPastTheCircle) {
    EXPECT_NEAR(StepAngleOnce(359.5, 1, +1), 0.5, 1e-12);
    EXPECT_NEAR(StepAngleOnce(0.5, 1, -1), 359.5, 1e-12);
    EXPECT_DOUBLE_EQ(StepAngleOnce(359, 1, +1), 360.0);
    // The held button wraps either way: a typed -5 held up gives 356.
    EXPECT_DOUBLE_EQ(StepAngleHeld(-5, 1, +1), 356.0);
    EXPECT_DOUBLE_EQ(StepAngleHeld(365, 1, -1), 4.0);
    EXPECT_DOUBLE_EQ(StepAngleHeld(359.5, 1, +1), 0.5);
}

TEST(RotateWires, QuarterTurnsAboutEachAxis) {
    auto ant = AntWith({Wire(1, 0, 5, 2, 0, 5)});
    RotateAllWires(*ant, AxisZ, 90);
    EXPECT_NEAR(ant->Wires[0].X1, 0, 1e-12);
    EXPECT_NEAR(ant->Wires[0].Y1, 1, 1e-12);
    EXPECT_NEAR(ant->Wires[0].Y2, 2, 1e-12);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Z1, 5);
    RotateAllWires(*ant, AxisZ, -180);
    EXPECT_NEAR(ant->Wires[0].Y2, -2, 1e-12);

    double x = 1, y = 0, z = 0;
    RotatePointAbout(AxisY, x, y, z, 90);
    EXPECT_NEAR(x, 0, 1e-12);
    EXPECT_NEAR(z, 1, 1e-12);
    x = 0, y = 1, z = 0;
    RotatePointAbout(AxisX, x, y, z, 90);
    EXPECT_NEAR(y, 0, 1e-12);
    EXPECT_NEAR(z, 1, 1e-12);
    x = 0, y = 0, z = 3;
    RotatePointAbout(AxisZ, x, y, z, 37);  // on the axis: stays
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(z, 3);
}

TEST(ScaleWires, HalvesCoordinatesForTwiceTheFrequency) {
    auto ant = AntWith({Wire(2, 4, 6, -2, -4, 8, 0.002), Wire(0, 0, 0, 1, 1, 1, -1)});
    ant->hSpacing = ant->vSpacing = 299.792458 / 14.0;
    ASSERT_TRUE(ScaleWires(*ant, 0.5, 28.0, ScaleChoice{}));
    EXPECT_DOUBLE_EQ(ant->hSpacing, 299.792458 / 28.0);
    EXPECT_DOUBLE_EQ(ant->vSpacing, 299.792458 / 28.0);
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 1);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Y2, -2);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Z2, 4);
    EXPECT_DOUBLE_EQ(ant->Wires[0].R, 0.002);
    EXPECT_DOUBLE_EQ(ant->Freq, 28);
    EXPECT_DOUBLE_EQ(ant->CalcFreq, 28);
}

TEST(ScaleWires, RadiusOnlyLeavesFrequenciesAndTaperKeys) {
    auto ant = AntWith({Wire(2, 4, 6, -2, -4, 8, 0.002), Wire(0, 0, 0, 1, 1, 1, -1)});
    ASSERT_TRUE(ScaleWires(*ant, 2, 7.0, ScaleChoice{false, false, false, true}));
    EXPECT_DOUBLE_EQ(ant->Wires[0].R, 0.004);
    EXPECT_DOUBLE_EQ(ant->Wires[1].R, -1);
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 2);
    EXPECT_DOUBLE_EQ(ant->Freq, 14);
}

TEST(ScaleWires, RefusesMultipliersThatWouldCollapseTheAntenna) {
    auto ant = AntWith({Wire(2, 4, 6, -2, -4, 8)});
    EXPECT_FALSE(ScaleWires(*ant, 0.0, 14.0, ScaleChoice{}));
    EXPECT_FALSE(ScaleWires(*ant, 1.0 / 0.0, 14.0, ScaleChoice{}));
    EXPECT_FALSE(ScaleWires(*ant, 2.0, 0.0, ScaleChoice{}));
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 2);
    EXPECT_DOUBLE_EQ(ant->Freq, 14);
}

TEST(MoveWires, AResultAtInfinityLeavesTheWiresAsTheyWere) {
    auto ant = AntWith({Wire(1e308, 0, 0, 1, 0, 0), Wire(0, 0, 0, 2, 0, 0)});
    EXPECT_FALSE(MoveAllWires(*ant, AxisX, 1e308));
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 1e308);
    EXPECT_DOUBLE_EQ(ant->Wires[1].X2, 2.0);
    EXPECT_FALSE(MoveOneWire(*ant, 0, AxisX, 1e308, true));
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 1e308);
    EXPECT_FALSE(ScaleWires(*ant, 10.0, 1.4, ScaleChoice{}));
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 1e308);
    EXPECT_DOUBLE_EQ(ant->Freq, 14.0);
}
