#include "model/NumberText.h"

#include "TypedNumbers.h"

#include "model/AntDef.h"
#include "model/EnvDef.h"
#include "model/Impedance.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <gtest/gtest.h>

namespace {

// Evaluates and returns the value; `ok` receives the success flag.
double Eval(const char* text, bool* ok = nullptr) {
    double v = -12345.0;
    bool r = StrToDblExpr(v, text);
    if (ok) *ok = r;
    return v;
}

class Evaluator : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = JobDef;
        JobDef.Wavelength = 20.0;
        JobDef.InWavelengths = 0;
    }
    void TearDown() override { JobDef = saved_; }
    JobRec saved_{};
};

TEST_F(Evaluator, PrecedenceAndAssociativityAreConventional) {
    EXPECT_DOUBLE_EQ(Eval("1+2*3"), 7);
    EXPECT_DOUBLE_EQ(Eval("2*3+1"), 7);
    EXPECT_DOUBLE_EQ(Eval("8-2-1"), 5);
    EXPECT_DOUBLE_EQ(Eval("8/2*4"), 16);
    EXPECT_DOUBLE_EQ(Eval("(1+2)*3"), 9);
    EXPECT_DOUBLE_EQ(Eval("1-2*3-4"), -9);
    EXPECT_DOUBLE_EQ(Eval("1-2*3+4"), -1);
    EXPECT_DOUBLE_EQ(Eval("2*(3+4)*2"), 28);
    EXPECT_DOUBLE_EQ(Eval("((1+2))*(4-1)"), 9);
    EXPECT_DOUBLE_EQ(Eval("12/(2+1)/2"), 2);
}

TEST_F(Evaluator, UnitTokensIgnoreCase) {
    EXPECT_DOUBLE_EQ(Eval("R/4"), 5);
    EXPECT_DOUBLE_EQ(Eval("r/4"), 5);
    EXPECT_DOUBLE_EQ(Eval("2*F"), 0.6096);
    EXPECT_DOUBLE_EQ(Eval("2*f"), 0.6096);
    EXPECT_DOUBLE_EQ(Eval("I"), 0.0254);
    EXPECT_DOUBLE_EQ(Eval("i*10"), 0.254);
    bool ok = true;
    EXPECT_DOUBLE_EQ(Eval("0-R", &ok), -20);
    EXPECT_TRUE(ok);
    Eval("-R", &ok);
    EXPECT_FALSE(ok);
}

TEST_F(Evaluator, SignsBelongToNumbersAndExponents) {
    EXPECT_DOUBLE_EQ(Eval("3*-2"), -6);
    EXPECT_DOUBLE_EQ(Eval("1e-3*1000"), 1);
    EXPECT_DOUBLE_EQ(Eval("1E+2/4"), 25);
    EXPECT_DOUBLE_EQ(Eval("-5"), -5);
    EXPECT_DOUBLE_EQ(Eval("1 000"), 1000);
    EXPECT_DOUBLE_EQ(Eval("\t2 * 3 "), 6);
    EXPECT_DOUBLE_EQ(Eval("5m"), 5);
}

// A text asked for as one number reads only when nothing of it is left
// over: a decimal comma or a second point is not cut off unseen.
TEST_F(Evaluator, OneNumberReadsOnlyWhenEveryOperandIsReadToItsEnd) {
    const struct {
        const char* text;
        bool reads;
        double value;
    } rows[] = {{"150.5", true, 150.5}, {" 2*R ", true, 40}, {"1e-3", true, 0.001}, {"-30", true, -30},
                {"150,5", false, 0},    {"0,05", false, 0},  {"1.5.2", false, 0},  {"5m", false, 0},
                {"", false, 0},         {"  ", false, 0},    {"2*()", false, 0}};
    for (const auto& r : rows) {
        double v = -1;
        EXPECT_EQ(StrToDblWhole(v, r.text), r.reads) << '"' << r.text << '"';
        if (r.reads) {
            EXPECT_DOUBLE_EQ(v, r.value) << r.text;
        }
    }
}

TEST_F(Evaluator, ForgivesTrailingOperatorsAndMissingParenthesis) {
    bool ok = false;
    EXPECT_DOUBLE_EQ(Eval("2*", &ok), 2);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(Eval("2+", &ok), 2);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(Eval("(1+2", &ok), 3);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(Eval("", &ok), 0);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(Eval("   ", &ok), 0);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(Eval(nullptr, &ok), 0);
    EXPECT_TRUE(ok);
}

TEST_F(Evaluator, BadOperandsFailAndCountAsZero) {
    bool ok = true;
    EXPECT_DOUBLE_EQ(Eval("abc", &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_DOUBLE_EQ(Eval("2+abc", &ok), 2);
    EXPECT_FALSE(ok);
    Eval("1)", &ok);
    EXPECT_FALSE(ok);
    Eval("(2)3", &ok);
    EXPECT_FALSE(ok);
    Eval(std::string(100, '1').c_str(), &ok);
    EXPECT_FALSE(ok);
}

TEST_F(Evaluator, RejectsInfinityNanAndHexadecimal) {
    for (const char* text : {"inf", "-inf", "INF", "infinity", "nan", "NaN", "2*nan", "0x10", "0x1p3", "-0X2",
                             "1e999", "-1e999"}) {
        bool ok = true;
        double v = Eval(text, &ok);
        EXPECT_FALSE(ok) << text;
        EXPECT_TRUE(std::isfinite(v)) << text;
    }
}

TEST_F(Evaluator, DivisionByZeroGivesLargestDouble) {
    bool ok = false;
    EXPECT_EQ(Eval("1/0", &ok), DBL_MAX);
    EXPECT_TRUE(ok);
    // Growing past the double range is a failure with a clamped value.
    EXPECT_EQ(Eval("1/0*10", &ok), DBL_MAX);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Eval("0-1/0*10", &ok), -DBL_MAX);
    EXPECT_FALSE(ok);
}

TEST_F(Evaluator, FoldsFullWidthCharacters) {
    // Full-width "１２．５" and "２＊Ｆ".
    EXPECT_DOUBLE_EQ(Eval("\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x8E\xEF\xBC\x95"), 12.5);
    EXPECT_DOUBLE_EQ(Eval("\xEF\xBC\x92\xEF\xBC\x8A\xEF\xBC\xA6"), 0.6096);
    EXPECT_EQ(FoldFullWidth("\xEF\xBD\x81" "b\xE2\x82\xAC" "c", 10), "ab c");
    EXPECT_EQ(FoldFullWidth("abcdef", 3), "abc");
    EXPECT_EQ(FoldFullWidth("\xEF\xBC", 8), "  ");  // a broken sequence: one blank a byte
}

TEST_F(Evaluator, IgnoresTextBeyondTheLimit) {
    std::string text = "1" + std::string(254, ' ') + "+1";
    EXPECT_DOUBLE_EQ(Eval(text.c_str()), 1);
}

TEST(IntExpr, RoundsHalfAwayFromZeroAndClamps) {
    int v = 0;
    EXPECT_TRUE(StrToIntExpr(v, "2.5"));
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(StrToIntExpr(v, "-2.5"));
    EXPECT_EQ(v, -3);
    EXPECT_TRUE(StrToIntExpr(v, "2.49"));
    EXPECT_EQ(v, 2);
    EXPECT_TRUE(StrToAbsIntExpr(v, "-2.5"));
    EXPECT_EQ(v, 3);
    EXPECT_TRUE(StrToIntExpr(v, "1e300"));
    EXPECT_EQ(v, INT_MAX);
    EXPECT_TRUE(StrToIntExpr(v, "-1e300"));
    EXPECT_EQ(v, INT_MIN);
    EXPECT_FALSE(StrToIntExpr(v, "1/0*10"));
    EXPECT_EQ(v, INT_MAX);
    EXPECT_FALSE(StrToIntExpr(v, "x7"));
    EXPECT_EQ(v, 0);
}

TEST(Formatter, TrimsZerosAndKeepsOneDecimal) {
    EXPECT_EQ(DblToStr(14.15), "14.15");
    EXPECT_EQ(DblToStr(2), "2.0");
    EXPECT_EQ(DblToStr(0), "0.0");
    EXPECT_EQ(DblToStr(-3.5), "-3.5");
    EXPECT_EQ(DblToStr2(3.14159), "3.14");
    EXPECT_EQ(DblToStr3(1.23456), "1.235");
    EXPECT_EQ(FormatDbl(1e-7, 0), "0.0");
    EXPECT_EQ(FormatDbl(1.23456789, 7), "1.235");
    EXPECT_EQ(FormatDbl(std::nan(""), 0), "0.0");
    EXPECT_EQ(FormatDbl(1234567.0, 0), "1234567.0");
}

// A value that rounds to zero shows no sign in any number text: an F/B of
// -0.004 dB, a jX of -0.038 ohm.
TEST(Formatter, WhatRoundsToZeroIsWrittenWithoutSign) {
    for (const auto& [text, expected] : {
             std::pair{DblToStr1(-0.04), "0.0"},
             {DblToStr2(-0.004), "0.0"},
             {DblToStr3(-0.0004), "0.0"},
             {FormatDbl(-1e-7, 0), "0.0"},
             {DblToStr(-0.0), "0.0"},
             {FormatFixed(-0.038, 1), "0.0"},
             {FormatFixed(-0.0, 3), "0.000"},
             {FormatExp(-0.0, 2), "0.00e+00"},
             {DblToStr1(-0.05), "-0.1"},
             {DblToStr2(-0.006), "-0.01"},
             {FormatFixed(-0.05, 1), "-0.1"},
             {FormatExp(-1e-300, 2), "-1.00e-300"},
             {CplxToStr2(31.9, -0.001), "31.90+j0.00"},
             {CplxToStr1(-0.04, -0.04), "0.0+j0.0"},
             {CplxToStr2(25.76, -13.84), "25.76-j13.84"},
         })
        EXPECT_EQ(text, expected);
    EXPECT_TRUE(IsNegativeZeroText("  -0.00"));
    EXPECT_TRUE(IsNegativeZeroText("-0.000e+00"));
    EXPECT_FALSE(IsNegativeZeroText("-0.001"));
    EXPECT_FALSE(IsNegativeZeroText("-nan"));
    EXPECT_FALSE(IsNegativeZeroText("0.0"));
    EXPECT_FALSE(IsNegativeZeroText("-"));
    EXPECT_FALSE(ShowsBelowZero(-0.0004, 3));
    EXPECT_TRUE(ShowsBelowZero(-0.0005, 3));
}

TEST(Formatter, ExponentFormForSmallRadii) {
    EXPECT_EQ(DblToStrE(0.0008), "8.000e-04");
    EXPECT_EQ(DblToStrE(-0.0008), "-8.000e-04");
    EXPECT_EQ(DblToStrE(0.002), "0.002");
    EXPECT_EQ(DblToStrE(0), "0.0");
    EXPECT_EQ(DblToStrE(12.5), "12.5");
}

TEST(Formatter, TextReadsBackAsTheSameNumber) {
    for (double v : {0.1, 14.15, -273.15, 123456.789012, 0.000123}) {
        double back = 0;
        ASSERT_TRUE(StrToDblExpr(back, DblToStrE(v))) << v;
        EXPECT_NEAR(back, v, 1e-6 * std::fabs(v)) << v;
    }
}

TEST(Formatter, FileTextKeepsTheShortFormOnlyWhereItIsExact) {
    const struct {
        double v;
        const char* text;
    } cases[] = {
        {0.0008, "8.000e-04"}, {-5.2, "-5.2"}, {0.001, "0.001"}, {14.15, "14.15"}, {0, "0.0"}, {-0.0, "0.0"},
        // Ends 0.1 um apart, a radius of a binary file, keys a save merged.
        {1.0000001, "1.0000001"}, {0.001244140625, "0.001244140625"}, {-0.00099999999, "-0.00099999999"},
        {2.6483432685, "2.6483432685"}, {0.1 + 0.2, "0.30000000000000004"}, {1e-300, "1.000e-300"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DblToStrExact(c.v), c.text) << c.v;
        double back = 1;
        ASSERT_TRUE(StrToDblExpr(back, DblToStrExact(c.v))) << c.v;
        EXPECT_EQ(back, c.v) << c.v;  // exactly: the file must carry the double computed with
    }
    EXPECT_EQ(ExactNumberText(14.1234567, DblToStr(14.1234567)), "14.1234567");
    EXPECT_EQ(ExactNumberText(0.5, DblToStr1(0.5)), "0.5");
}

TEST(SegmentationText, PairsAndPlainCodes) {
    EXPECT_EQ(IntOrPairToStr(-5), "-5");
    EXPECT_EQ(IntOrPairToStr(12), "12");
    EXPECT_EQ(IntOrPairToStr(PackSegPair(5, 3)), "5,3");
    int32_t v = 0;
    ASSERT_TRUE(StrToIntOrPair(v, "5,3"));
    EXPECT_EQ(static_cast<uint32_t>(v), 0x80000000u | (3u << 16) | 5u);
    EXPECT_EQ(IntOrPairToStr(v), "5,3");
    ASSERT_TRUE(StrToIntOrPair(v, "3,5"));
    EXPECT_EQ(v, 3);
    ASSERT_TRUE(StrToIntOrPair(v, "-3,-5"));
    EXPECT_EQ(IntOrPairToStr(v), "3,5");
    ASSERT_TRUE(StrToIntOrPair(v, " -10000"));
    EXPECT_EQ(v, -10000);
    v = 77;
    EXPECT_FALSE(StrToIntOrPair(v, "abc"));
    EXPECT_EQ(v, 77);
    // A plain value below the packed range would be read back as a pair.
    EXPECT_FALSE(StrToIntOrPair(v, "-20000"));
    EXPECT_FALSE(StrToIntOrPair(v, "99999999999"));
    // Nor a pair beyond its 15 bits: cut, it would read back as another.
    EXPECT_FALSE(StrToIntOrPair(v, "40000,35000"));
    EXPECT_FALSE(StrToIntOrPair(v, "40000,3"));
    EXPECT_EQ(v, 77);
    ASSERT_TRUE(StrToIntOrPair(v, "32767,32766"));
    EXPECT_EQ(IntOrPairToStr(v), "32767,32766");
}

TEST(LengthConversion, AppliesOnlyInWavelengthMode) {
    JobRec saved = JobDef;
    JobDef.Wavelength = 20.0;
    JobDef.InWavelengths = 0;
    EXPECT_DOUBLE_EQ(MetreToWave(5), 5);
    EXPECT_DOUBLE_EQ(RadiusToShown(0.002), 2);
    JobDef.InWavelengths = 1;
    EXPECT_DOUBLE_EQ(MetreToWave(5), 0.25);
    EXPECT_DOUBLE_EQ(WaveToMetre(0.25), 5);
    EXPECT_DOUBLE_EQ(RadiusToShown(0.002), 0.0001);
    EXPECT_DOUBLE_EQ(ShownToRadius(0.0001), 0.002);
    JobDef = saved;
}

TEST(LengthConversion, MillimetresAreTheMetresTheirTextStandsFor) {
    // x * 0.001 and x / 1000 each miss the file's value for some of these
    // by the last bit: a key typed or read one way would not select a wire
    // typed the other way. 0.0010005 m x 1000 is 1.0005000000000002, which
    // rounds to 1.001 mm where 1.0005 rounds to 1.0.
    for (const char* mm : {"9", "13", "18", "2.6", "-9", "0.8", "1.244140625", "123.456", "0.00001", "1.0005"}) {
        double typed = 0, file = 0;
        ASSERT_TRUE(StrToDblExpr(typed, mm));
        ASSERT_TRUE(StrToDblExpr(file, std::string(mm) + "e-3"));
        EXPECT_EQ(MmToMetre(typed), file) << mm;
        EXPECT_EQ(MetreToMm(file), typed) << mm;
    }
    EXPECT_EQ(MmToMetre(0), 0);
    EXPECT_EQ(MetreToMm(DBL_MAX), std::numeric_limits<double>::infinity());
    EXPECT_EQ(MmToMetre(DBL_TRUE_MIN), 0);
}

TEST(Rounding, HelpersOfChartsAndDialogs) {
    EXPECT_DOUBLE_EQ(RoundTo(2.346, 2), 2.35);
    EXPECT_DOUBLE_EQ(RoundTo(-2.344, 2), -2.34);
    EXPECT_DOUBLE_EQ(RoundByFactor(2.5, 1), 2);     // exact half toward zero
    EXPECT_DOUBLE_EQ(RoundByFactor(-2.5, 1), -2);
    EXPECT_DOUBLE_EQ(RoundByFactor(-2.6, 1), -3);
    EXPECT_DOUBLE_EQ(RoundAwayTo(1.201, 2), 1.21);
    EXPECT_DOUBLE_EQ(RoundAwayTo(-1.201, 2), -1.21);
    EXPECT_DOUBLE_EQ(RoundAwayTo(0.004, 2), 0);
    EXPECT_DOUBLE_EQ(RoundAwayTo(1.23456789, 6), 1.23456789);
    EXPECT_DOUBLE_EQ(NormalizeDbl(1.23456789), 1.234568);
    EXPECT_DOUBLE_EQ(NiceStep(0.37), 0.3);
    EXPECT_DOUBLE_EQ(NiceStep(0.07), 0.1);
    EXPECT_DOUBLE_EQ(NiceStep(37), 10);
    EXPECT_DOUBLE_EQ(NiceStep(3.9), 3);
    EXPECT_DOUBLE_EQ(NiceStep(0), 0);
    EXPECT_DOUBLE_EQ(RoundSignificant(3), 4);
    EXPECT_DOUBLE_EQ(RoundSignificant(-0.03), -0.04);
    EXPECT_DOUBLE_EQ(RoundSignificant(9), 10);
    EXPECT_DOUBLE_EQ(RoundSignificant(150), 200);
    EXPECT_DOUBLE_EQ(RoundSignificant(0), 0);
}

TEST(Rounding, ATypedValueRoundedAwayFromZeroKeepsItsDecimals) {
    // Rounding away from zero to as many decimals as were typed, or more,
    // leaves the value as typed, also where binary puts it a hair above.
    for (const char* typed : TypedNumbers) {
        const double v = Eval(typed);
        for (int n = TypedDecimals(typed); n <= 5; ++n) {
            EXPECT_EQ(RoundAwayTo(v, n), v) << typed << " to " << n;
            EXPECT_EQ(RoundAwayTo(-v, n), -v) << "-" << typed << " to " << n;
        }
    }
    // Every coordinate typed with two decimals, as the wire dialog stores it.
    for (int hundredths = 1; hundredths < 10000; ++hundredths) {
        char text[16];
        std::snprintf(text, sizeof text, "%d.%02d", hundredths / 100, hundredths % 100);
        const double v = Eval(text);
        EXPECT_EQ(RoundAwayTo(v, 2), v) << text;
        EXPECT_EQ(RoundAwayTo(v, 4), v) << text;
    }
    // A value truly above a step still goes to the next one.
    EXPECT_DOUBLE_EQ(RoundAwayTo(1.1100001, 4), 1.1101);
    EXPECT_DOUBLE_EQ(RoundAwayTo(14.1 + 1e-9, 3), 14.101);
    EXPECT_EQ(RoundAwayTo(0.0099999, 2), 0.0);
}

TEST(Rounding, NonFiniteInputComesBackUnchanged) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(NiceStep(inf), inf);
    EXPECT_EQ(RoundSignificant(-inf), -inf);
    EXPECT_TRUE(std::isnan(NiceStep(std::nan(""))));
    EXPECT_TRUE(std::isnan(RoundSignificant(std::nan(""))));
    EXPECT_EQ(RoundToInt(std::nan("")), 0);
}

}  // namespace
