// The plain numbers of the main window's own fields: one decimal number,
// '.' decimals whatever the locale, no operators, no special values.
#include "app/PlainNumber.h"

#include <gtest/gtest.h>

TEST(PlainNumber, ReadsOneDecimalNumber) {
    double v = -1;
    EXPECT_TRUE(ParsePlainDouble(" 7.05 ", v));
    EXPECT_DOUBLE_EQ(v, 7.05);
    EXPECT_TRUE(ParsePlainDouble("-.5", v));
    EXPECT_DOUBLE_EQ(v, -0.5);
    EXPECT_TRUE(ParsePlainDouble("+2e3", v));
    EXPECT_DOUBLE_EQ(v, 2000.0);
    int n = 0;
    EXPECT_TRUE(ParsePlainInt("800", n));
    EXPECT_EQ(n, 800);
}

TEST(PlainNumber, RefusesEverythingElseAndKeepsTheValue) {
    double v = 3;
    for (const char* bad : {"", " ", "abc", "7,05", "1+2", "R/4", "inf", "-nan", "0x10", "1e999", "5m", "--1"}) {
        EXPECT_FALSE(ParsePlainDouble(bad, v)) << bad;
        EXPECT_DOUBLE_EQ(v, 3.0) << bad;
    }
    int n = 9;
    for (const char* bad : {"", "1.5", "99999999999", "12a", "0x1"}) {
        EXPECT_FALSE(ParsePlainInt(bad, n)) << bad;
        EXPECT_EQ(n, 9) << bad;
    }
}

TEST(PlainNumber, ShortestFormHasNoTrailingZeros) {
    EXPECT_EQ(ShortestFloat(14.15), "14.15");
    EXPECT_EQ(ShortestFloat(2.0), "2");
    EXPECT_EQ(ShortestFloat(0.25), "0.25");
    EXPECT_EQ(ShortestFloat(299.792458), "299.792458");
    EXPECT_EQ(ShortestFloat(1e-20), "1E-20");
}
