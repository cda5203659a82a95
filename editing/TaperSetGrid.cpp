#include "editing/TaperSetGrid.h"

#include "model/Messages.h"
#include "model/NumberText.h"
#include "model/TaperSetTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Section lengths and radii beyond this mean nothing to the engine (the
// "rest of the wire" length lies below it).
constexpr double TaperValueLimit = 1e5;

int SetCount(const AntDef& ant) { return std::clamp(ant.TaperSetCount, 0, MaxTaperSets); }

constexpr double DefaultTaperKey = -0.001;

bool IsSection(int col) { return col >= 3 && col < TaperGridColumns; }
int SectionOf(int col) { return (col - 3) / 2; }
bool IsLengthColumn(int col) { return IsSection(col) && (col - 3) % 2 == 0; }

}  // namespace

const char* TaperTypeSymbol(int type) {
    static const char* const symbols[4] = {"<>", "->", "<> *", "-> *"};
    return type >= 0 && type < 4 ? symbols[type] : "";
}

std::string TaperCellHeader(int col) {
    if (col == 0) return "No.";
    if (col == 1) return "R(mm)";
    if (col == 2) return "Type";
    if (!IsSection(col)) return {};
    const std::string k = std::to_string(SectionOf(col));
    return IsLengthColumn(col) ? "L" + k + "(m)" : "R" + k + "(mm)";
}

std::string TaperCellText(const AntDef& ant, int col, int row) {
    if (row == 0) return TaperCellHeader(col);
    const int n = SetCount(ant);
    if (row > n) return col == 0 && row == n + 1 ? std::string(EmptyRowText) : std::string();
    const TaperSet& s = ant.TaperSets[row - 1];
    if (col == 0) return std::to_string(row);
    if (col == 1) return DblToStr(MetreToMm(s.Key));
    if (col == 2) return TaperTypeSymbol(s.Type);
    if (!IsSection(col)) return {};
    const int k = SectionOf(col);
    if (s.Len[k] == 0) return {};
    return IsLengthColumn(col) ? DblToStr(s.Len[k]) : DblToStr(MetreToMm(s.Rad[k]));
}

bool TaperCellEditable(const AntDef& ant, int col, int row) {
    const int n = SetCount(ant);
    if (row < 1 || row > n + 1 || col < 1 || col >= TaperGridColumns || col == 2) return false;
    if (row == n + 1) return col == 1 && n < MaxTaperSets;
    return true;
}

bool AppendTaperSet(AntDef& ant) {
    const int n = SetCount(ant);
    if (n >= MaxTaperSets) return false;
    TaperSet& s = ant.TaperSets[n];
    s.Key = DefaultTaperKey;
    s.Type = 2;
    const double lengths[3] = {1.8, 1.8, TaperRestLength};
    const double radii[3] = {0.015, 0.0125, 0.01};
    for (int k = 0; k < MaxTaperSections; ++k) s.Rad[k] = k < 3 ? radii[k] : 0.007;
    for (int k = 0; k < 3; ++k) s.Len[k] = lengths[k];
    ant.TaperSetCount = n + 1;
    return true;
}

TaperEdit SetTaperCell(AntDef& ant, int col, int row, const std::string& text) {
    if (!TaperCellEditable(ant, col, row)) return TaperEdit::NotEditable;
    double v = 0.0;
    if (text.find_first_not_of(" \t") == std::string::npos || !StrToDblExpr(v, text)) return TaperEdit::NotANumber;
    if (!std::isfinite(v)) return TaperEdit::NotANumber;
    const bool length = IsLengthColumn(col);
    // Key and section radius: non-zero; length: at least 0; all within the limit.
    const double metres = length ? v : MmToMetre(std::fabs(v));
    if ((length ? v < 0 : v == 0) || metres > TaperValueLimit) return TaperEdit::OutOfRange;
    // A key a save would write as another set's key, or as a radius that
    // differs from it, would move wires to another set.
    if (col == 1 && !TaperKeyReadsBack(ant, row - 1, -metres)) return TaperEdit::LikeOtherKey;
    if (row == SetCount(ant) + 1 && !AppendTaperSet(ant)) return TaperEdit::NotEditable;
    TaperSet& s = ant.TaperSets[row - 1];
    if (col == 1)
        s.Key = -metres;
    else if (length)
        s.Len[SectionOf(col)] = metres;
    else
        s.Rad[SectionOf(col)] = metres;
    return TaperEdit::Taken;
}

bool SetTaperType(AntDef& ant, int row, int type) {
    const int n = SetCount(ant);
    if (type < 0 || type > 3 || row < 1 || row > n + 1) return false;
    if (row == n + 1 && (!TaperKeyReadsBack(ant, n, DefaultTaperKey) || !AppendTaperSet(ant))) return false;
    ant.TaperSets[row - 1].Type = type;
    return true;
}

bool DeleteTaperSet(AntDef& ant, int row) {
    const int n = SetCount(ant);
    if (row < 1 || row > n) return false;
    for (int i = row - 1; i + 1 < n; ++i) ant.TaperSets[i] = ant.TaperSets[i + 1];
    std::memset(&ant.TaperSets[n - 1], 0, sizeof(TaperSet));
    ant.TaperSetCount = n - 1;
    return true;
}
