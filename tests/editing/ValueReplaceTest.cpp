#include "editing/StackCheck.h"
#include "editing/ValueReplace.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<AntDef> AntWith(std::initializer_list<WireRec> wires) {
    auto ant = std::make_unique<AntDef>();
    for (const WireRec& w : wires) ant->Wires[ant->WireCount++] = w;
    ant->Freq = 14.0;
    return ant;
}

WireRec Wire(double x1, double y1, double z1, double x2, double y2, double z2, double r = 0.001,
             int seg = 10) {
    return WireRec{x1, y1, z1, x2, y2, z2, r, seg, 0, 0, 0};
}

}  // namespace

TEST(ValueReplace, MirrorImagesFollowTheSignOfTheReplacement) {
    auto ant = AntWith({Wire(5, 5, 5, -5, -5, 1)});
    auto copy = std::make_unique<AntDef>(*ant);
    ASSERT_TRUE(ReplaceCoordinates(*ant, ReplaceAll, 5, 5.5, true));
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 5.5);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Y2, -5.5);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Z2, 1);
    ASSERT_TRUE(ReplaceCoordinates(*copy, ReplaceAll, 5, -6, true));
    EXPECT_DOUBLE_EQ(copy->Wires[0].X1, -6);
    EXPECT_DOUBLE_EQ(copy->Wires[0].X2, 6);
}

TEST(ValueReplace, AxisFilterAndNoMirrorWithoutTheOption) {
    auto ant = AntWith({Wire(5, 5, 5, -5, 0, -5)});
    ASSERT_TRUE(ReplaceCoordinates(*ant, ReplaceOnlyZ, 5, 7, false));
    EXPECT_DOUBLE_EQ(ant->Wires[0].X1, 5);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Y1, 5);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Z1, 7);
    EXPECT_DOUBLE_EQ(ant->Wires[0].Z2, -5);
    EXPECT_FALSE(ReplaceCoordinates(*ant, ReplaceAll, 42, 7, true));
}

TEST(ValueReplace, ExactComparisonOnly) {
    auto ant = AntWith({Wire(0, 5.0000004, 0, 0, 0, 0)});
    EXPECT_FALSE(ReplaceCoordinates(*ant, ReplaceAll, 5, 6, true));
    EXPECT_TRUE(ReplaceCoordinates(*ant, ReplaceAll, 5.0000004, 6, true));
}

TEST(ValueReplace, RadiiAndSegmentationCodes) {
    auto ant = AntWith({Wire(0, 0, 0, 1, 0, 0, 0.001, 10), Wire(0, 0, 0, 1, 0, 0, -1, -3),
                        Wire(0, 0, 0, 1, 0, 0, 0.001, -3)});
    ASSERT_TRUE(ReplaceRadius(*ant, 0.001, 0.002));
    EXPECT_DOUBLE_EQ(ant->Wires[0].R, 0.002);
    EXPECT_DOUBLE_EQ(ant->Wires[1].R, -1);
    EXPECT_DOUBLE_EQ(ant->Wires[2].R, 0.002);
    ASSERT_TRUE(ReplaceSegmentation(*ant, -3, 21));
    EXPECT_EQ(ant->Wires[0].Seg, 10);
    EXPECT_EQ(ant->Wires[1].Seg, 21);
    EXPECT_FALSE(ReplaceSegmentation(*ant, 99, 1));
}

TEST(StackCheck, LimitsOfWiresSourcesAndLoads) {
    auto ant = std::make_unique<AntDef>();
    ant->WireCount = 200;
    for (int i = 0; i < 200; ++i) ant->Wires[i] = Wire(0, 0, 0, 1, 0, 0);
    EXPECT_EQ(CheckStack(*ant, 2, 2, 1, 1), StackVerdict::TooManyWires);
    EXPECT_EQ(CheckStack(*ant, 2, 1, 1, 1), StackVerdict::Ok);
    ant->WireCount = 1;
    ant->SourceCount = 40;
    EXPECT_EQ(CheckStack(*ant, 2, 1, 1, 1), StackVerdict::TooManySources);
    ant->SourceCount = 1;
    ant->LoadCount = 60;
    EXPECT_EQ(CheckStack(*ant, 1, 2, 1, 1), StackVerdict::TooManyLoads);
    ant->LoadCount = 0;
    EXPECT_EQ(CheckStack(*ant, 0, 1, 1, 1), StackVerdict::BadCount);
    EXPECT_EQ(CheckStack(*ant, 1, 1, 0, 1), StackVerdict::BadSpacing);
    EXPECT_EQ(CheckStack(*ant, 100000, 100000, 1, 1), StackVerdict::TooManyWires);
}

TEST(StackCheck, SpacingMustExceedTheExtent) {
    auto ant = AntWith({Wire(0, -5, 10, 0, 5, 10)});
    EXPECT_EQ(CheckStack(*ant, 2, 1, 10, 10), StackVerdict::Overlap);
    EXPECT_EQ(CheckStack(*ant, 2, 1, 10.01, 10), StackVerdict::Ok);
    // Horizontal antenna: any spacing above 0 stacks it vertically.
    EXPECT_EQ(CheckStack(*ant, 1, 2, 1, 0.01), StackVerdict::Ok);
    double z = -1, y = -1;
    GetAntennaExtent(*ant, z, y);
    EXPECT_DOUBLE_EQ(z, 0);
    EXPECT_DOUBLE_EQ(y, 10);
}
