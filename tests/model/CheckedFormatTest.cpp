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
    EXPECT_EQ(FormatInCLocale("%d%% of %s", 50, "all"), "50% of all");
}

// A floating value that rounds to zero keeps its field but loses its sign,
// as in the optimizer log's columns and the CSV tables.
TEST(CheckedFormat, WritesWhatRoundsToZeroWithoutSign) {
    EXPECT_EQ(FormatInCLocale("%2d %9.4lf %6.1lf %c%s", 3, 14.2, -0.038, 'A', "!"), " 3   14.2000    0.0 A!");
    EXPECT_EQ(FormatInCLocale("%.1lf,%.2lf,%.2le,", -0.04, -0.004, -0.0), "0.0,0.00,0.00e+00,");
    EXPECT_EQ(FormatInCLocale("[%-6.1f][%06.1f][%+.1f]", -0.01, -0.01, -0.01), "[0.0   ][0000.0][+0.0]");
    EXPECT_EQ(FormatInCLocale("%.1f %.2f", -0.05, -0.2), "-0.1 -0.20");
}
