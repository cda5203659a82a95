#pragma once
// The frequencies of the frequency table: from Fmin by whole steps of the
// exact step, each rounded to 0.001 MHz, as long as the rounded value is at
// most Fmax. The count the dialog shows and the rows the table writes both
// come from here.
#include <string>

// Why a range gives no table: texts that do not read or no Fmin < Fmax with
// a positive step; a first row that rounds to 0 MHz or below (a calculation
// frequency of 0 means the antenna's own); an end above the highest
// frequency an antenna takes; rows that round together; more rows than a
// table takes.
enum class FreqRangeStatus { Ok, Invalid, BelowOneKHz, AboveLimit, RowsTogether, TooManyRows };

// A table of more rows would run for many hours with the window waiting.
constexpr int MaxFreqTableRows = 100000;

struct FreqTableRange {
    double Fmin = 0;  // MHz
    double Step = 0;  // MHz
    int Count = 0;
    // Row k (0 <= k < Count), MHz.
    double Row(int k) const;
};

FreqRangeStatus MakeFreqTableRange(double fmin, double fmax, double stepMHz, FreqTableRange& range);
// The rows of one band of the multiband list, under the same rules: `points`
// frequencies from start to end by equal steps (fewer than two points: start
// alone), each rounded to 0.001 MHz.
FreqRangeStatus MakeBandRange(double start, double end, int points, FreqTableRange& range);

// What the frequency table and the multiband list show for a refused range.
std::string FreqRangeMessage(FreqRangeStatus status);

// The same from the dialog's texts, the step in kHz.
FreqRangeStatus ReadFreqTableRange(const std::string& fmin, const std::string& fmax, const std::string& stepKHz,
                                   FreqTableRange& range);
