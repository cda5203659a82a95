#pragma once
// The CSV result tables as files: a list of lines (a header and the engine's
// table lines) saved with CR LF line ends, and the lines of the currents
// table.
#include "model/PulseCurrentRec.h"

#include <string>
#include <vector>

// The file text of a list: every entry followed by CR LF. An entry may hold
// several lines of its own (the angle/gain table comes as one text); one
// that already ends with a line end gets none added, so the file carries no
// empty last line.
std::string CsvTableText(const std::vector<std::string>& list);

// Writes the list to a temporary file beside `path` and renames it over the
// target, so a failed write keeps the old file. An existing file that its
// owner may not write is refused. False with the reason in `error`.
bool SaveCsvTable(const std::string& path, const std::vector<std::string>& list, std::string* error = nullptr);

// One line "%d,%d,%.3lf,%.3lf,%.3lf,%.2le,%.2le,%.2le,%.1lf" per valid row
// of the currents table (row i holds pulse i + 1, so pulse numbers can have
// gaps), appended to the list.
void AddCurrentsTableLines(const PulseCurrentRec* rows, int rowCount, std::vector<std::string>& list);

// The default path of the near-field and angle/gain tables: the antenna's
// file with its extension removed, or "noname" in `otherFolder` when the
// antenna has no file; then ".csv".
std::string DefaultTablePath(const std::string& antennaFile, const std::string& otherFolder);

// The proposed name of the currents table's save dialog: the antenna's file
// with its extension removed, or "noname".
std::string DefaultTableName(const std::string& antennaFile);
