#include "model/AntennaNormalForm.h"

#include <algorithm>
#include <cstring>

#include "model/NumberText.h"
#include "model/StackedAnt.h"
#include "model/TaperSetTable.h"
#include "model/TextLines.h"

std::string OneLineText(std::string_view s, bool noCommas) {
    std::string out(s);
    for (char& c : out)
        if (c == '\r' || c == '\n' || c == '\x1a' || (noCommas && c == ',')) c = ' ';
    return out;
}

std::string PositionFromField(std::string_view field) {
    // A no-break space or an unreadable byte folds into a blank: it is
    // skipped like the blanks before the field, as the writer drops them.
    const std::string folded = FoldFullWidth(field, field.size());
    return std::string(SkipBlanks(folded).substr(0, PosTextLength));
}

std::string PositionField(const char* pos) {
    // Written without the blanks the reader skips. A record line that began
    // with "*" would be skipped as a section title; that blank is dropped
    // again when the field is read.
    std::string s(SkipBlanks(OneLineText(pos, true)));
    return (!s.empty() && s[0] == '*') ? " " + s : s;
}

bool NormalizePosition(char (&pos)[PosTextSize]) {
    const std::string_view raw(pos, strnlen(pos, PosTextSize));
    const std::string folded(SkipBlanks(FoldFullWidth(raw, raw.size())));
    const std::string saved = PositionFromField(PositionField(folded.c_str()));
    CopyText(pos, saved.c_str());
    return saved == folded;
}

std::string NormalComment(std::string_view comment) {
    std::string out;
    TextLineReader lines(comment);
    std::string line;
    while (lines.ReadLine(line, std::string::npos)) out += line + "\r\n";
    return out;
}

namespace {

int InUse(int count, int limit) { return std::clamp(count, 0, limit); }

// The entries a load's type does not use are 0, as the text reader leaves them.
void ClearUnusedCoefficients(LoadRec& l) {
    int usedA = 0, usedB = 0;
    switch (l.Type) {
    case LoadLC: usedA = 2; usedB = 1; break;
    case LoadRX: usedA = 1; usedB = 1; break;
    case LoadS: usedA = usedB = InUse(l.N, MaxLoadPairs); break;
    default: break;
    }
    if (l.Type != LoadS) l.N = 0;
    std::fill(l.A + usedA, l.A + MaxLoadPairs, 0.0);
    std::fill(l.B + usedB, l.B + MaxLoadPairs, 0.0);
}

// The list of sections ends at the first of length 0, and the list of sets
// at the count: the text carries nothing after them. A set's sections are
// cut before the sets are normalised, which gives the last one the rest of
// the wire.
void NormalizeTaperSetEntries(AntDef& ant) {
    for (int i = 0; i < InUse(ant.TaperSetCount, MaxTaperSets); ++i) {
        TaperSet& t = ant.TaperSets[i];
        t.Unused = 0;
        const int end = static_cast<int>(std::find(t.Len, t.Len + MaxTaperSections, 0.0) - t.Len);
        std::fill(t.Len + end, t.Len + MaxTaperSections, 0.0);
        std::fill(t.Rad + end, t.Rad + MaxTaperSections, 0.0);
    }
    NormalizeTaperSets(ant);
    for (int i = ant.TaperSetCount; i < MaxTaperSets; ++i) ant.TaperSets[i] = TaperSet{};
}

}  // namespace

std::string ReadRefusalReason(const AntDef& ant) {
    for (const double f : {ant.Freq, ant.CalcFreq})
        if (const char* refusal = FrequencyRefusal(f)) return refusal;
    if (!TaperKeysReadBack(ant)) return TaperKeyLimitText;
    return {};
}

bool NormalizeReadAntenna(AntDef& ant, std::string& comment) {
    // A frequency is 0 (the default) or one the text writes as it is.
    bool faithful = ant.Freq == 0 || FrequencyInRange(ant.Freq);
    faithful &= ant.CalcFreq == 0 || FrequencyInRange(ant.CalcFreq);
    faithful &= OneLineText(ant.Name, false) == ant.Name;
    faithful &= StackCountsFit(ant.nH, ant.nV);
    // A single antenna's stack fields are not written: they read back as
    // these, the spacing one wavelength of the frequency the antenna is
    // given when its own is 0.
    if (ant.nH == 1 && ant.nV == 1) {
        ant.StackMode = 0;
        ant.hSpacing = ant.vSpacing = LightSpeedMHz / (ant.Freq > 0 ? ant.Freq : UnsetFreqShownAs);
    }
    for (int i = 0; i < InUse(ant.WireCount, MaxWires); ++i) ant.Wires[i].Unused = 0;
    RepairSegmentation(ant);
    for (int i = 0; i < InUse(ant.SourceCount, MaxSources); ++i) faithful &= NormalizePosition(ant.Sources[i].Pos);
    for (int i = 0; i < InUse(ant.LoadCount, MaxLoads); ++i) {
        LoadRec& l = ant.Loads[i];
        faithful &= NormalizePosition(l.Pos);
        faithful &= l.Type >= LoadLC && l.Type <= LoadS;
        ClearUnusedCoefficients(l);
    }
    NormalizeTaperSetEntries(ant);
    faithful &= TaperKeysReadBack(ant);
    comment = NormalComment(comment);
    faithful &= comment.find('\0') == std::string::npos;
    return faithful;
}
