#include "model/CheckedFormat.h"

#include <gtest/gtest.h>

TEST(CheckedFormat, MatchesConversionsByKindAndOrder) {
    EXPECT_TRUE(FormatMatchesKinds("WAVE LENGTH = %.3f(m)", "f"));
    EXPECT_TRUE(FormatMatchesKinds("WIRE %d IS UNDER GROUND. HIGHT = %.2f M", "if"));
    EXPECT_TRUE(FormatMatchesKinds("100%% done", ""));
    EXPECT_FALSE(FormatMatchesKinds("%-5ld", "i"));
    EXPECT_TRUE(FormatMatchesKinds("%lf", "f"));
    EXPECT_FALSE(FormatMatchesKinds("%.2f then %d", "if"));
    EXPECT_FALSE(FormatMatchesKinds("%s", "i"));
    EXPECT_TRUE(FormatMatchesKinds("SWR: %.1f (%s Ohm),", "fs"));
    EXPECT_FALSE(FormatMatchesKinds("%*d", "i"));
    EXPECT_FALSE(FormatMatchesKinds("%n", ""));
    EXPECT_FALSE(FormatMatchesKinds("dangling %", ""));
    EXPECT_FALSE(FormatMatchesKinds(nullptr, ""));
    EXPECT_FALSE(FormatMatchesKinds("%d %d", "i"));
}

TEST(CheckedFormat, WritesPointDecimalsWhateverTheLocale) {
    EXPECT_EQ(FormatInCLocale("%.3f|%d|%.2e", 20.0, 7, 1234.5), "20.000|7|1.23e+03");
    EXPECT_EQ(FormatInCLocale("no conversions"), "no conversions");
}
