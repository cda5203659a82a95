#pragma once
// The table of tapered wire sets as the taper editor shows it: one row per
// set (key radius, taper type, ten sections of length and radius) and an
// empty row that a typed key or a chosen type turns into a new set.
#include "model/AntDef.h"

#include <string>

constexpr int TaperGridColumns = 3 + 2 * MaxTaperSections;

// What became of a typed cell. LikeOtherKey: a key a save would write as
// another set's key, or as a wire radius that differs from it.
enum class TaperEdit { Taken, NotEditable, NotANumber, OutOfRange, LikeOtherKey };

// The symbols of the taper types 0..3: "<>", "->", "<> *", "-> *".
const char* TaperTypeSymbol(int type);

std::string TaperCellHeader(int col);
// Text of a cell (row 1.. the sets, count + 1 the empty row).
std::string TaperCellText(const AntDef& ant, int col, int row);
bool TaperCellEditable(const AntDef& ant, int col, int row);
// Applies a typed text by the column's rule; anything but Taken changes nothing.
TaperEdit SetTaperCell(AntDef& ant, int col, int row, const std::string& text);
// Appends a set with the defaults (key -1 mm, "<> *", 1.8 m / 15 mm,
// 1.8 m / 12.5 mm, rest / 10 mm); false when the table is full.
bool AppendTaperSet(AntDef& ant);
// The type of the set of a row; on the empty row a new set is appended first,
// unless its default key would read back as another set's or a wire's radius.
bool SetTaperType(AntDef& ant, int row, int type);
// Deletes the set of a row; the freed last slot is cleared.
bool DeleteTaperSet(AntDef& ant, int row);
