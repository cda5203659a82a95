#include "editing/ElementTableCommands.h"

#include "model/CsvTable.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "model/ScopedValue.h"

#include <cmath>

namespace {

// A length cut to k per unit shown (metres or wavelengths).
double RoundShown(double metres, double k) { return WaveToMetre(RoundByFactor(MetreToWave(metres), k)); }

std::string CsvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

void RoundElementTable(ElementTable& table, int digits) {
    const double k = std::pow(10.0, digits);
    CWGroupList& groups = table.Groups();
    const bool scaled = table.Proportional;
    for (int n = 0; n < table.Count(); ++n) {
        CWGroup& g = groups.Groups[n];
        if (table.IsOpen(n)) {
            if (const double w = table.DisplayWidth(n); w != 0) g.SetWidth(scaled, RoundShown(w, k));
            if (const double h = table.DisplayHeight(n); h != 0) g.SetHeight(scaled, RoundShown(h, k));
        }
        if (const double l = table.Length(n); l != 0) g.SetLength(scaled, RoundShown(l, k));
        if (const double pos = groups.PosOf(n); pos != 0) groups.SetPos(n, RoundShown(pos, k));
        const double r = g.Radius();
        if (g.OneRadius && r > 0) {
            double rounded = JobDef.InWavelengths ? RoundShown(r, k) : RoundByFactor(r, k * 1000.0);
            // One unit of the last digit kept: 1/k mm, or 1/k wavelength.
            if (rounded == 0) rounded = JobDef.InWavelengths ? WaveToMetre(1.0 / k) : 0.001 / k;
            g.SetRadius(rounded);
        }
    }
    table.State |= 1;
}

int ReplaceInColumn(ElementTable& table, int col, double search, double replacement, CellEdit* refused) {
    const std::string text = DblToStr(replacement);
    int changed = 0;
    if (refused) *refused = CellEdit::Taken;
    for (int row = 1; row <= table.Count(); ++row) {
        double v = 0;
        const std::string cell = table.CellText(col, row);
        if (cell.empty() || !StrToDblExpr(v, cell) || v != search) continue;
        const CellEdit result = table.SetCell(col, row, text);
        if (result == CellEdit::Taken)
            ++changed;
        else if (refused && *refused == CellEdit::Taken)
            *refused = result;
    }
    return changed;
}

std::vector<std::string> ElementTableCsv(const ElementTable& table) {
    std::vector<std::string> lines;
    auto join = [&](int row) {
        std::string line;
        for (int c = 0; c < ElementColumns; ++c) {
            if (c) line += ',';
            line += CsvCell(row == 0 ? table.Header(c, 1) : table.CellText(c, row));
        }
        return line;
    };
    for (int row = 0; row <= table.Count(); ++row) lines.push_back(join(row));
    return lines;
}

ElementPrintout ElementTablePrintout(const ElementTable& table) {
    ElementPrintout out;
    out.Widths = {4, 10, 10, 10, 10, 10, 10, 8, 8, 6};
    const int columns = static_cast<int>(out.Widths.size());
    // Printed column 3 is the table's position column again, as gaps.
    auto shown = [&](int c, int row) {
        const ScopedValue<int32_t> gaps(JobDef.IntPos, c == 3 ? 1 : 0);
        const int col = c < 3 ? c : c - 1;
        return row == 0 ? table.Header(col, 1) : table.CellText(col, row);
    };
    for (int c = 0; c < columns; ++c) out.Titles.push_back(shown(c, 0));
    for (int row = 1; row <= table.Count(); ++row) {
        std::vector<std::string> cells;
        for (int c = 0; c < columns; ++c) cells.push_back(shown(c, row));
        out.Rows.push_back(std::move(cells));
    }
    return out;
}

std::string ElementTableStem(const std::string& antennaFile, const std::string& dataFolder) {
    std::string path = DefaultTablePath(antennaFile, dataFolder);
    return path.substr(0, path.size() - 4);  // without ".csv"
}
