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
    // Widths and precisions as wide as the program's own texts, not wider.
    for (const auto& [format, kinds, matches] :
         {std::tuple{"TOTAL PULSE = %999999999d", "i", false}, {"%99d", "i", true}, {"%100d", "i", false},
          {"%.99f", "f", true}, {"%.100f", "f", false}, {"%-0099s", "s", true}, {"%5.00000000000000000001lf", "f", true},
          {"%.99999999999999999999s", "s", false}, {"%99.100f", "f", false}, {"%9.4lf", "f", true}})
        EXPECT_EQ(FormatMatchesKinds(format, kinds), matches) << format;
    EXPECT_FALSE(FormatMatchesKinds(nullptr, ""));
    EXPECT_FALSE(FormatMatchesKinds("%d %d", "i"));
}

TEST(CheckedFormat, WritesPointDecimalsWhateverTheLocale) {
    EXPECT_EQ(FormatInCLocale("%.3f|%d|%.2e", 20.0, 7, 1234.5), "20.000|7|1.23e+03");
    EXPECT_EQ(FormatInCLocale("no conversions"), "no conversions");
}
