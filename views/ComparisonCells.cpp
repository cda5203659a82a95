#include "views/ComparisonCells.h"

#include "model/EnvDef.h"
#include "model/Impedance.h"
#include "model/NumberText.h"
#include "model/ResultStore.h"

#include <algorithm>
#include <cstring>

ComparisonWords DefaultComparisonWords() {
    return {"No.", "Freq", "R",    "jX",   "SWR",  "Gh",      "Ga",   "F/B", "Elev.", "GND",
            "Height", "Pol.", "File", "name", "Free", "Perfect", "Real", "V",   "H",     "this"};
}

void SetComparisonWord(ComparisonWords& words, int index, const std::string& text) {
    if (index < 0 || index >= ComparisonWordCount) return;
    words[static_cast<std::size_t>(index)] = text.substr(0, ComparisonWordLength);
}

std::string ComparisonCellText(const CResult& slot, const std::string& fileName, int n, int column,
                               const ComparisonWords& words) {
    const ResultRow* row = slot.Row(0);
    if (!row) return {};
    const bool freeSpace = row->Ground == 0;
    switch (column) {
    case 0:
        return std::to_string(n);
    case 1:
        return DblToStr3(row->F);
    case 2:
        return DblToStr3(row->R);
    case 3:
        return DblToStr3(row->jX);
    case 4:
        // A row stored against another reference is measured against today's.
        if (static_cast<double>(row->Z0R) == static_cast<double>(static_cast<float>(EnvDef.Z0R)) &&
            static_cast<double>(row->Z0X) == static_cast<double>(static_cast<float>(EnvDef.Z0X)))
            return DblToStr2(row->SWR);
        return DblToStr2(CalcSWR(row->R, row->jX, EnvDef.Z0R, EnvDef.Z0X));
    case 5:
        if (row->Ga == 0.0f) return {};
        if (!freeSpace) return "---";
        return DblToStr2(std::max(-999.0, static_cast<double>(row->Ga) - 2.15));
    case 6:
        return DblToStr2(std::max(-999.0, static_cast<double>(row->Ga)));
    case 7:
        return DblToStr2(row->FB);
    case 8:
        return DblToStr1(row->Elev);
    case 9:
        return words[static_cast<std::size_t>(CwFree + std::clamp(row->Ground, 0, 2))];
    case 10:
        return freeSpace ? std::string() : DblToStr(row->Height);
    case 11:
        return words[row->Vertical() ? CwV : CwH];
    case 12:
        return fileName;
    case 13:
        return std::string(slot.Title, strnlen(slot.Title, sizeof slot.Title));
    default:
        return {};
    }
}

double ComparisonReferenceGain(const CResult* const* slots, int count, double previous) {
    if (count <= 0) return previous;
    double best = -1e30;
    for (int i = 0; i < count; ++i) best = std::max({best, static_cast<double>(slots[i]->AzMax),
                                                    static_cast<double>(slots[i]->ElevMax)});
    return best;
}
