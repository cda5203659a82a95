// The frequency table's rows: the count the dialog shows is the number of
// rows the table runs, and a range whose rows cannot all be calculated as
// distinct frequencies is refused.
#include "model/FreqTableRange.h"

#include <gtest/gtest.h>

#include "model/NumberText.h"

TEST(FreqTableRange, CountsExactlyTheRowsAndRefusesRowsThatRoundAwayOrTogether) {
    const struct {
        const char *fmin, *fmax, *stepKHz;
        FreqRangeStatus status;
        int count;
    } cases[] = {
        {"14.0", "14.35", "50", FreqRangeStatus::Ok, 8},
        {"14.0", "14.01", "1.2", FreqRangeStatus::Ok, 9},  // the exact step: 14.0, 14.001, ..., 14.01
        {"14.0", "14.35", "1.2", FreqRangeStatus::Ok, 293},
        {"1.8", "30", "1", FreqRangeStatus::Ok, 28201},
        {"14.0", "14.0004", "1", FreqRangeStatus::Ok, 1},
        {"0.0005", "0.003", "1", FreqRangeStatus::Ok, 3},
        {"14.35", "14.0", "50", FreqRangeStatus::Invalid, 0},
        {"14.0", "14.35", "0", FreqRangeStatus::Invalid, 0},
        {"14.0", "14.35", "-5", FreqRangeStatus::Invalid, 0},
        {"x", "14.35", "50", FreqRangeStatus::Invalid, 0},
        {"14.0006", "14.0007", "1", FreqRangeStatus::Invalid, 0},  // Fmin rounds beyond Fmax
        {"1e306", "1e307", "1", FreqRangeStatus::AboveLimit, 0},
        {"14", "6.8e38", "1000", FreqRangeStatus::AboveLimit, 0},
        {"999999", "1000000", "500", FreqRangeStatus::Ok, 3},  // the highest frequency itself
        {"0", "1e-300", "1e-9", FreqRangeStatus::BelowOneKHz, 0},
        {"0.0001", "0.0004", "0.1", FreqRangeStatus::BelowOneKHz, 0},
        {"0.0004", "0.2", "100", FreqRangeStatus::BelowOneKHz, 0},
        {"-1", "1", "100", FreqRangeStatus::BelowOneKHz, 0},
        {"14.0", "14.001", "0.5", FreqRangeStatus::RowsTogether, 0},
        {"14.0", "14.35", "0.9", FreqRangeStatus::RowsTogether, 0},
        {"1e300", "1e301", "1", FreqRangeStatus::AboveLimit, 0},
        {"1", "100.999", "1", FreqRangeStatus::Ok, 100000},  // the limit itself
        {"1", "101", "1", FreqRangeStatus::TooManyRows, 0},
        {"1", "1000", "1", FreqRangeStatus::TooManyRows, 0},
    };
    for (const auto& c : cases) {
        FreqTableRange range;
        EXPECT_EQ(ReadFreqTableRange(c.fmin, c.fmax, c.stepKHz, range), c.status) << c.fmin << " " << c.stepKHz;
        EXPECT_EQ(range.Count, c.count) << c.fmin << " " << c.fmax << " " << c.stepKHz;
        if (c.status != FreqRangeStatus::Ok) continue;
        // Distinct frequencies above 0, the last at most Fmax, the next beyond it.
        double fmax = 0;
        ASSERT_TRUE(StrToDblExpr(fmax, c.fmax));
        EXPECT_GT(range.Row(0), 0.0);
        for (int k = 1; k < range.Count; ++k) ASSERT_GT(range.Row(k), range.Row(k - 1)) << k;
        EXPECT_LE(range.Row(range.Count - 1), fmax);
        EXPECT_GT(range.Row(range.Count), fmax);
    }
}
