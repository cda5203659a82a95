// Values far beyond any antenna's (0/0 reads as the largest double) must
// survive a save and a read like any other.
#include "model/AntDef.h"
#include "model/AntennaText.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"

#include <gtest/gtest.h>
#include <cfloat>
#include <memory>

TEST(HugeValueText, ReadsBackExactly) {
    for (double v : {1e15, -3.5e20, 1.2345678901234567e72, 1e200, DBL_MAX, -DBL_MAX}) {
        const std::string text = DblToStrE(v);
        EXPECT_LT(text.size(), ExprMaxTokenLength) << text;
        double back = 0;
        ASSERT_TRUE(StrToDblExpr(back, text)) << text;
        EXPECT_EQ(back, v) << text;
    }
    // Below the limit the fixed form stays.
    EXPECT_EQ(DblToStrE(123456789012.5), "123456789012.5");
    // The frequency and the other reals written by the plain formatter alike.
    for (int digits : {0, 1, 2, 3}) {
        double back = 0;
        ASSERT_TRUE(StrToDblExpr(back, FormatDbl(1e299, digits)));
        EXPECT_EQ(back, 1e299);
    }
}

TEST(HugeValueText, AnAntennaWithTheLargestDoubleRoundTrips) {
    auto ant = std::make_unique<AntDef>();
    ant->Freq = 1e299;
    ant->WireCount = 1;
    ant->Wires[0] = WireRec{0, 0, 0, DBL_MAX, 0, 1e300, 0.001, 5, 0, 0, 0};
    ant->SourceCount = 1;
    CopyText(ant->Sources[0].Pos, "w1c");
    ant->Sources[0].Phase = DBL_MAX;
    ant->Sources[0].Voltage = 1;
    SetDefaultSegmentation(*ant);
    EnvRec env{};
    const std::string text = WriteAntennaText(*ant, env, "");

    auto back = std::make_unique<AntDef>();
    std::string comment;
    ParseAntennaText(*back, env, text, comment);
    EXPECT_EQ(back->Wires[0].X2, DBL_MAX);
    EXPECT_EQ(back->Wires[0].Z2, 1e300);
    EXPECT_EQ(back->Sources[0].Phase, DBL_MAX);
    EXPECT_EQ(back->Freq, 1e299);
    EXPECT_EQ(WriteAntennaText(*back, env, ""), text);
}

TEST(HugeValueText, RoundingLeavesValuesWithoutAFractionAsTheyAre) {
    for (double v : {1e300, -DBL_MAX, 1e16 + 2}) {
        for (int n : {0, 2, 5}) {
            EXPECT_EQ(RoundTo(v, n), v) << v << " to " << n;
            EXPECT_EQ(RoundAwayTo(v, n), v) << v << " to " << n;
        }
    }
    // Ordinary values still round.
    EXPECT_DOUBLE_EQ(RoundTo(1.23456, 2), 1.23);
    EXPECT_DOUBLE_EQ(RoundAwayTo(1.231, 2), 1.24);
}
