// Translated drawing texts are used as formats only when they fit the arguments.
#include "model/draw/LabelFormat.h"

#include <gtest/gtest.h>

TEST(LabelFormat, ConversionsMustMatchTheArguments) {
    EXPECT_TRUE(FormatFits("Wire %d", "i"));
    EXPECT_TRUE(FormatFits("Z: %.3f %c j%.3f Ohm", "fif"));
    EXPECT_TRUE(FormatFits("%-5.1lf%%", "f"));
    EXPECT_TRUE(FormatFits("Wire", ""));
    EXPECT_FALSE(FormatFits("Wire %s", "i"));
    EXPECT_FALSE(FormatFits("Wire %d %d", "i"));
    EXPECT_FALSE(FormatFits("%*d", "i"));
    EXPECT_FALSE(FormatFits("%n", "i"));
    EXPECT_FALSE(FormatFits("%ld", "i"));
    EXPECT_FALSE(FormatFits("trailing %", ""));
    EXPECT_FALSE(FormatFits(nullptr, ""));
}

TEST(LabelFormat, LabelsWithoutConversionGetTheValueAppended) {
    EXPECT_EQ(LabelWithInt("Wire", 3), "Wire 3");
    EXPECT_EQ(LabelWithInt("Draht %d:", 3), "Draht 3:");
    EXPECT_EQ(LabelWithInt("Bad %s", 3), "Bad %s 3");
    EXPECT_EQ(PlainLabel("100%% sure"), "100% sure");
    EXPECT_EQ(FormatText("%s-%d", "a", 7), "a-7");
}
