#pragma once
// Commands on the whole element table: rounding every value to a number of
// digits in the unit shown, replacing one value throughout a column, and the
// table as CSV lines or as the columns of a printout.
#include "editing/ElementTable.h"

#include <string>
#include <vector>

// Cuts every non-zero size, position and radius to `digits` decimals of the
// unit shown; a radius that would round to 0 keeps one unit of the last digit.
void RoundElementTable(ElementTable& table, int digits);

// Applies `replacement` (as typed) to every cell of the column whose value
// reads exactly `search`; returns the number of cells changed. `refused`,
// when given, gets why the first such cell did not take it (Taken for none).
int ReplaceInColumn(ElementTable& table, int col, double search, double replacement, CellEdit* refused = nullptr);

// The header line (the length title follows the first element) and one line
// per element of the cells as shown, joined by ","; a cell that holds a
// separator or a quote is quoted.
std::vector<std::string> ElementTableCsv(const ElementTable& table);

// The printed table: both the position and the gap of every element.
struct ElementPrintout {
    std::vector<int> Widths;
    std::vector<std::string> Titles;
    std::vector<std::vector<std::string>> Rows;
};
ElementPrintout ElementTablePrintout(const ElementTable& table);

// The antenna's file path without its extension, or "noname" in the data folder.
std::string ElementTableStem(const std::string& antennaFile, const std::string& dataFolder);
