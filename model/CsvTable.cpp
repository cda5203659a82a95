#include "model/CsvTable.h"

#include "model/CheckedFormat.h"
#include "model/SafeFile.h"

namespace {

bool EndsWithLineEnd(const std::string& s) { return !s.empty() && (s.back() == '\n' || s.back() == '\r'); }

// The path without the extension of its file name (after its last '.').
std::string WithoutExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path;
    return path.substr(0, dot);
}

}  // namespace

std::string CsvTableText(const std::vector<std::string>& list) {
    std::size_t size = 0;
    for (const std::string& s : list) size += s.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& s : list) {
        text += s;
        if (!EndsWithLineEnd(s)) text += "\r\n";
    }
    return text;
}

bool SaveCsvTable(const std::string& path, const std::vector<std::string>& list, std::string* error) {
    return WriteFileReplacing(path, CsvTableText(list), error);
}

void AddCurrentsTableLines(const PulseCurrentRec* rows, int rowCount, std::vector<std::string>& list) {
    if (!rows) return;
    for (int i = 0; i < rowCount; ++i) {
        const PulseCurrentRec& r = rows[i];
        if (!r.Valid) continue;
        list.push_back(FormatInCLocale("%d,%d,%.3lf,%.3lf,%.3lf,%.2le,%.2le,%.2le,%.1lf", r.Wire, i + 1,
                                       static_cast<double>(r.X), static_cast<double>(r.Y),
                                       static_cast<double>(r.Z), static_cast<double>(r.Re),
                                       static_cast<double>(r.Im), static_cast<double>(r.Mag),
                                       static_cast<double>(r.Phase)));
    }
}

std::string DefaultTableName(const std::string& antennaFile) {
    return antennaFile.empty() ? std::string("noname") : WithoutExtension(antennaFile);
}

std::string DefaultTablePath(const std::string& antennaFile, const std::string& otherFolder) {
    if (!antennaFile.empty()) return WithoutExtension(antennaFile) + ".csv";
    std::string folder = otherFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + "noname.csv";
}
