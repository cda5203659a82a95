// Frequency-table requests of every kind, under AddressSanitizer and UBSan:
// a range is refused or gives rows that are distinct frequencies above 0 MHz,
// from Fmin to the last one at most Fmax, never more than a table takes.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "model/FreqTableRange.h"
#include "model/NumberText.h"

namespace {

constexpr int FreqTableRequests = 100000;

const char* const EdgeTexts[] = {"0", "-0", "1e-300", "0.0004", "0.0005", "0.0015", "14.0", "14.35", "1e300",
                                 "-1", "1e-9", "0.1", "1", "0.999999", "1.0000001", "2147483648", "1.79e308",
                                 "x", "", "1/0", "0.5", "100", "5e-324", "14.0005"};

std::string RandomNumber(std::mt19937_64& rnd) {
    if (rnd() % 3 == 0) return EdgeTexts[rnd() % std::size(EdgeTexts)];
    std::uniform_real_distribution<double> exponent(-12.0, 12.0);
    const double v = std::pow(10.0, exponent(rnd)) * (rnd() % 8 == 0 ? -1.0 : 1.0);
    return DblToStr(v);
}

TEST(FreqTableFuzz, RequestsAreRefusedOrGiveDistinctRowsUpToFmax) {
    std::mt19937_64 rnd(0xF7AB1E);
    int ok = 0;
    for (int n = 0; n < FreqTableRequests; ++n) {
        const std::string fmin = RandomNumber(rnd);
        // Mostly a span above Fmin, so that tables of some rows come out.
        double low = 0;
        std::string fmax = RandomNumber(rnd);
        if (rnd() % 2 && StrToDblExpr(low, fmin)) {
            std::uniform_real_distribution<double> exponent(-6.0, 3.0);
            fmax = DblToStr(low + std::pow(10.0, exponent(rnd)));
        }
        const std::string step = RandomNumber(rnd);
        FreqTableRange range;
        if (ReadFreqTableRange(fmin, fmax, step, range) != FreqRangeStatus::Ok) {
            ASSERT_EQ(range.Count, 0);
            continue;
        }
        ++ok;
        double high = 0;
        ASSERT_TRUE(StrToDblExpr(high, fmax));
        ASSERT_GE(range.Count, 1);
        ASSERT_LE(range.Count, MaxFreqTableRows);
        ASSERT_GE(range.Row(0), 0.001) << fmin << " " << fmax << " " << step;
        for (int k = 1; k < range.Count; ++k) ASSERT_GT(range.Row(k), range.Row(k - 1)) << fmin << " " << step;
        ASSERT_LE(range.Row(range.Count - 1), high);
        ASSERT_GT(range.Row(range.Count), high);
    }
    std::printf("frequency-table requests: %d, %d accepted\n", FreqTableRequests, ok);
    EXPECT_GT(ok, FreqTableRequests / 20);
}

TEST(FreqTableFuzz, BandsAreRefusedOrGiveDistinctRowsFromStartToEnd) {
    // The bands of the multiband list follow the same rules; the reproducers
    // first: points listed as 0.0 or 14.0 four times, or at 0.0f MHz.
    const struct {
        const char* start;
        const char* end;
        int points;
    } reproducers[] = {{"0.0001", "0.0004", 4}, {"14.0001", "14.0004", 4}, {"1e-300", "1e-299", 4}};
    std::mt19937_64 rnd(0xBA4D5);
    int ok = 0;
    for (int n = 0; n < FreqTableRequests; ++n) {
        std::string start = RandomNumber(rnd), end = RandomNumber(rnd);
        int points = static_cast<int>(rnd() % 600);
        if (n < static_cast<int>(std::size(reproducers))) {
            start = reproducers[n].start;
            end = reproducers[n].end;
            points = reproducers[n].points;
        }
        double a = 0, b = 0;
        if (!StrToDblExpr(a, start) || !StrToDblExpr(b, end)) continue;
        FreqTableRange range;
        if (MakeBandRange(a, b, points, range) != FreqRangeStatus::Ok) {
            ASSERT_EQ(range.Count, 0);
            continue;
        }
        ASSERT_GE(n, static_cast<int>(std::size(reproducers))) << start << " - " << end;
        ++ok;
        ASSERT_EQ(range.Count, points > 1 ? points : 1);
        ASSERT_GE(range.Row(0), 0.001) << start << " " << end << " " << points;
        for (int k = 1; k < range.Count; ++k) ASSERT_GT(range.Row(k), range.Row(k - 1)) << start << " " << end;
        ASSERT_NEAR(range.Row(range.Count - 1), points > 1 ? b : a, 0.0005 + 1e-12 * std::fabs(b));
    }
    std::printf("bands: %d, %d accepted\n", FreqTableRequests, ok);
    EXPECT_GT(ok, 0);
}

}  // namespace
