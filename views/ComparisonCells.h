#pragma once
// The texts of the comparison grid and its common 0 dB level, apart from the
// dialog, so that every column can be checked without a window.
#include <array>
#include <string>

class CResult;

constexpr int ComparisonSlots = 10;
constexpr int ComparisonColumns = 14;
constexpr int ComparisonWordCount = 20;
// A word of the language file longer than this is cut.
constexpr std::size_t ComparisonWordLength = 15;

enum ComparisonWord {
    CwNo = 0, CwFreq, CwR, CwJX, CwSWR, CwGh, CwGa, CwFB, CwElev, CwGnd, CwHeight, CwPol, CwFile, CwName,
    CwFree, CwPerfect, CwReal, CwV, CwH, CwThis
};

using ComparisonWords = std::array<std::string, ComparisonWordCount>;

// The built-in English words.
ComparisonWords DefaultComparisonWords();
// Stores a word, cut to its longest length.
void SetComparisonWord(ComparisonWords& words, int index, const std::string& text);

// The text of data row n (1-based) in a column, for the slot's newest row,
// measured against the reference impedance of the environment.
std::string ComparisonCellText(const CResult& slot, const std::string& fileName, int n, int column,
                               const ComparisonWords& words);

// The largest maximum total gain over the azimuth and the elevation cut of
// the slots in use; `previous` when there is none.
double ComparisonReferenceGain(const CResult* const* slots, int count, double previous);
