#include "model/AntennaFileCheck.h"

#include "model/NumberText.h"
#include "model/TextLines.h"

#include <string>

bool HasAntennaHeader(std::string_view text) {
    TextLineReader lines(text);
    std::string line;
    if (!lines.ReadLine(line)) return false;  // the name, whatever it holds

    if (!lines.ReadLineSkipStars(line)) return false;
    const std::string_view freqField = FieldSplitter(line).Next();
    double freq = 0;
    if (SkipBlanks(freqField).empty() || !StrToDblExpr(freq, freqField) || freq < 0) return false;

    if (!lines.ReadLineSkipStars(line)) return false;
    const std::string_view countField = FieldSplitter(line).Next();
    int count = 0;
    return !SkipBlanks(countField).empty() && StrToAbsIntExpr(count, countField);
}
