#include "model/AntennaText.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "model/AntDef.h"
#include "model/AntennaFileCheck.h"
#include "model/AntennaNormalForm.h"
#include "model/EnvDef.h"
#include "model/EnvDefaults.h"
#include "model/MessageFormat.h"
#include "model/ModelImage.h"
#include "model/NumberText.h"
#include "model/ScopedValue.h"
#include "model/TextLines.h"

namespace {

constexpr const char* LineEnd = "\r\n";
constexpr const char* Sep = ",\t";

class TextWriter {
public:
    void Line(const std::string& s) { out_ += s + LineEnd; }
    template <typename... More>
    void Fields(const std::string& first, const More&... rest) {
        std::string s = first;
        ((s += Sep, s += rest), ...);
        Line(s);
    }
    std::string Take() { return std::move(out_); }
    void Raw(const std::string& s) { out_ += s; }

private:
    std::string out_;
};

std::string Int(int v) { return std::to_string(v); }

}  // namespace

std::string WriteAntennaText(const AntDef& ant, const EnvRec& env, const std::string& comment) {
    TextWriter w;
    w.Line(OneLineText(ant.Name, false));
    w.Line("*");
    w.Line(ExactNumberText(ant.Freq, DblToStr(ant.Freq)));
    w.Line("***Wires***");
    if (ant.nH > 1 || ant.nV > 1)
        w.Fields(Int(ant.WireCount), Int(ant.nH), Int(ant.nV), DblToStrExact(ant.hSpacing),
                 DblToStrExact(ant.vSpacing), Int(ant.StackMode));
    else
        w.Line(Int(ant.WireCount));
    for (int i = 0; i < std::clamp(ant.WireCount, 0, MaxWires); ++i) {
        const WireRec& r = ant.Wires[i];
        w.Fields(DblToStrExact(r.X1), DblToStrExact(r.Y1), DblToStrExact(r.Z1), DblToStrExact(r.X2),
                 DblToStrExact(r.Y2), DblToStrExact(r.Z2), DblToStrExact(r.R), IntOrPairToStr(r.Seg));
    }

    w.Line("*** Source ***");
    w.Fields(Int(ant.SourceCount), Int(ant.AutoVoltage));
    for (int i = 0; i < std::clamp(ant.SourceCount, 0, MaxSources); ++i) {
        const SourceRec& s = ant.Sources[i];
        w.Fields(PositionField(s.Pos), DblToStrExact(s.Phase), DblToStrExact(s.Voltage));
    }

    w.Line("*** Load ***");
    w.Fields(Int(ant.LoadCount), Int(ant.UseLoads));
    for (int i = 0; i < std::clamp(ant.LoadCount, 0, MaxLoads); ++i) {
        const LoadRec& l = ant.Loads[i];
        std::string head = PositionField(l.Pos) + Sep + Int(l.Type);
        switch (l.Type) {
        case LoadLC:
            w.Fields(head, DblToStrExact(l.A[0]), DblToStrExact(l.B[0]), DblToStrExact(l.A[1]));
            break;
        case LoadRX:
            w.Fields(head, DblToStrExact(l.A[0]), DblToStrExact(l.B[0]));
            break;
        case LoadS: {
            std::string pairs;
            for (int k = 0; k < std::clamp(l.N, 0, MaxLoadPairs); ++k)
                pairs += (k ? "," : "") + DblToStrExact(l.A[k]) + "," + DblToStrExact(l.B[k]);
            w.Fields(head, pairs);
            break;
        }
        default:
            w.Line(head);
            break;
        }
    }

    w.Line("*** Segmentation ***");
    w.Fields(Int(ant.DM1), Int(ant.DM2), ExactNumberText(ant.SC, DblToStr(ant.SC)), Int(ant.EC));
    w.Line("*** G/H/M/R/AzEl/X ***");
    w.Fields(Int(env.Type), DblToStrExact(env.AntHeight), Int(env.Material), DblToStrExact(env.Z0R),
             Int(RearAzimuth(env.AzEl)), Int(RearElevation(env.AzEl)), ExactNumberText(env.Z0X, DblToStr1(env.Z0X)));

    if (ant.TaperSetCount > 0) {
        w.Line("$$$ Taper wire set $$$");
        w.Line(Int(ant.TaperSetCount));
        for (int i = 0; i < std::min(ant.TaperSetCount, MaxTaperSets); ++i) {
            const TaperSet& t = ant.TaperSets[i];
            std::string s = DblToStrExact(t.Key) + Sep + Int(t.Type);
            for (int k = 0; k < MaxTaperSections && t.Len[k] != 0; ++k)
                s += Sep + DblToStrExact(t.Len[k]) + Sep + DblToStrExact(t.Rad[k]);
            w.Line(s);
        }
    }

    std::string text = NormalComment(comment);
    if (!text.empty()) {
        w.Line("### Comment ###");
        w.Raw(text);
    }
    return w.Take();
}

// ---- reading ----

namespace {

// A choice outside 0..last falls back to 0.
int Choice(int v, int last) { return v > last ? 0 : v; }

void ReadPos(char (&pos)[PosTextSize], std::string_view field) {
    CopyText(pos, PositionFromField(field).c_str());
}

bool Present(std::string_view field) { return !SkipBlanks(field).empty(); }

// The lines that begin the taper sets and the comment.
bool IsSectionMark(std::string_view line) { return line.starts_with("$$$") || line.starts_with("###"); }

// A refused field is named by at most this many characters.
constexpr std::size_t NamedFieldLength = 40;

class AntennaTextParser {
public:
    AntennaTextParser(AntDef& ant, EnvRec& env, std::string_view text, std::string& comment)
        : ant_(ant), env_(env), lines_(text), comment_(comment) {}

    // False when a record that a count announced is missing or cut short,
    // when a count is beyond the record's limits, when the next section's
    // lines were taken as records or a section's title does not follow its
    // records, or when a number field does not read: the antenna read is
    // not the file's.
    bool Whole() const { return whole_; }
    // Why the text is not whole, with the line; empty when the record read
    // is refused for what it holds (NormalizeReadAntenna).
    const std::string& Refusal() const { return refusal_; }

    // Reads the text, then checks and normalises what was read as every
    // reader does.
    void Run() {
        ReadSections();
        if (!NormalizeReadAntenna(ant_, readComment_)) whole_ = false;
        comment_ += readComment_;
    }

private:
    void ReadSections() {
        // The name is the first line whatever it begins with: a name starting
        // with "*" must not be skipped like a section title.
        if (!lines_.ReadLine(line_)) return;
        CopyText(ant_.Name, line_.c_str());
        if (!ReadFrequencyAndWires() || !ReadSources() || !ReadLoads()) return;
        if (!ReadSegmentation()) {
            SetDefaultSegmentation(ant_);
            return;
        }
        if (!ReadGround()) return;
        ReadTrailingSections();
    }

    // The first fault found makes the reason; reading goes on as before.
    void RefuseAt(int line, const char* reason, std::string_view field = {}) {
        if (whole_)
            refusal_ = "Line " + std::to_string(line) + ": " +
                       FormatMessageArg(reason, std::string(field.substr(0, NamedFieldLength)));
        whole_ = false;
    }
    void Refuse(const char* reason, std::string_view field = {}) { RefuseAt(lines_.LineNumber(), reason, field); }

    // Number fields: one that does not read refuses the text (an empty one is 0).
    double ReadReal(std::string_view field) {
        double v = 0;
        if (!StrToDblExpr(v, field)) Refuse(FieldNotANumberText, field);
        return v;
    }
    int ReadInt(std::string_view field) {
        int v = 0;
        if (!StrToIntExpr(v, field)) Refuse(FieldNotANumberText, field);
        return v;
    }
    int ReadAbsInt(std::string_view field) {
        int v = 0;
        if (!StrToAbsIntExpr(v, field)) Refuse(FieldNotANumberText, field);
        return v;
    }
    double Real(FieldSplitter& f) { return ReadReal(f.Next()); }
    int AbsInt(FieldSplitter& f) { return ReadAbsInt(f.Next()); }
    int Switch(FieldSplitter& f) { return AbsInt(f) != 0 ? 1 : 0; }

    // A real that ends a record: missing, the record was cut short.
    double LastReal(FieldSplitter& f) {
        const std::string_view field = f.Next();
        if (!Present(field)) Refuse(RecordCutShortText);
        return ReadReal(field);
    }

    bool NextLine() { return lines_.ReadLineSkipStars(line_); }

    // The first line of the section after a run of records: a title must end
    // the records, or their count is less than their lines.
    bool NextSectionLine() {
        if (!lines_.ReadLine(line_)) return false;
        if (!line_.empty() && line_[0] == '*') return NextLine();
        Refuse(TitleExpectedText);
        return true;
    }

    // A record a count announced: a section title before it means the
    // records ran out early; so does the end of the text. A source or load
    // record begins with its position, which may itself begin with "$$$" or
    // "###": where `positionFirst`, such a line is the record, as the format
    // reads records by their place.
    bool NextRecord(bool positionFirst = false) {
        while (lines_.ReadLine(line_)) {
            if (line_.empty() || line_[0] != '*') {
                if (!positionFirst && IsSectionMark(line_)) Refuse(RecordMissingText);
                return true;
            }
            Refuse(RecordMissingText);
        }
        RefuseAt(lines_.LineNumber() + 1, RecordMissingText);
        return false;
    }

    void CheckCount(int count, int limit) {
        if (count > limit) Refuse(CountBeyondLimitText);
    }

    bool ReadFrequencyAndWires() {
        if (!NextLine()) return false;
        FieldSplitter freq(line_);
        ant_.Freq = Real(freq);

        if (!NextLine()) return false;
        FieldSplitter f(line_);
        int count = AbsInt(f);
        std::string_view second = f.Next();
        if (!second.empty()) {
            ant_.nH = ReadAbsInt(second);
            ant_.nV = AbsInt(f);
            ant_.hSpacing = Real(f);
            ant_.vSpacing = Real(f);
            ant_.StackMode = Choice(AbsInt(f), 2);
            if (ant_.nH < 1 || ant_.nV < 1) ant_.nH = ant_.nV = 1;
        } else {
            ant_.StackMode = 0;
            ant_.nH = ant_.nV = 1;
        }
        ant_.WireCount = std::min(count, MaxWires);
        CheckCount(count, MaxWires);

        for (int i = 0; i < ant_.WireCount; ++i) {
            if (!NextRecord()) return false;
            FieldSplitter w(line_);
            WireRec& r = ant_.Wires[i];
            for (double* v : {&r.X1, &r.Y1, &r.Z1, &r.X2, &r.Y2, &r.Z2, &r.R}) *v = Real(w);
            const std::string_view segField = w.Next();
            if (!Present(segField)) Refuse(RecordCutShortText);
            const int seg = ReadInt(segField);
            std::string_view pair = w.Next();
            r.Seg = SegCodeFromFields(seg, pair.empty() ? 0 : ReadInt(pair));
        }
        return true;
    }

    bool ReadSources() {
        if (!NextSectionLine()) return false;
        FieldSplitter f(line_);
        int count = AbsInt(f);
        ant_.AutoVoltage = Switch(f);
        ant_.SourceCount = std::min(count, MaxSources);
        CheckCount(count, MaxSources);
        for (int i = 0; i < ant_.SourceCount; ++i) {
            if (!NextRecord(true)) return false;
            FieldSplitter s(line_);
            SourceRec& r = ant_.Sources[i];
            ReadPos(r.Pos, s.Next());
            r.Phase = Real(s);
            r.Voltage = LastReal(s);
        }
        return true;
    }

    bool ReadLoads() {
        if (!NextSectionLine()) return false;
        FieldSplitter f(line_);
        int count = AbsInt(f);
        ant_.UseLoads = Switch(f);
        ant_.LoadCount = std::min(count, MaxLoads);
        CheckCount(count, MaxLoads);
        for (int i = 0; i < ant_.LoadCount; ++i) {
            if (!NextRecord(true)) return false;
            ReadLoad(ant_.Loads[i]);
        }
        return true;
    }

    void ReadLoad(LoadRec& r) {
        FieldSplitter f(line_);
        // Entries the load's type does not use are 0.
        r = LoadRec{};
        ReadPos(r.Pos, f.Next());
        const std::string_view type = f.Next();
        if (!Present(type)) Refuse(RecordCutShortText);
        r.Type = ReadAbsInt(type);
        // The last coefficient a type needs must be there: a line cut short
        // would read as another load.
        switch (r.Type) {
        case LoadLC:
            r.A[0] = Real(f);
            r.B[0] = Real(f);
            r.A[1] = LastReal(f);
            break;
        case LoadRX:
            r.A[0] = Real(f);
            r.B[0] = LastReal(f);
            break;
        case LoadS:
            for (std::string_view a = f.Next(); !a.empty() && r.N < MaxLoadPairs; a = f.Next()) {
                r.A[r.N] = ReadReal(a);
                r.B[r.N] = LastReal(f);
                ++r.N;
            }
            break;
        default:
            // An unknown type would make the antenna unsavable as an image:
            // it reads as an R+jX load of zero, which does nothing.
            r.Type = LoadRX;
            break;
        }
    }

    bool ReadSegmentation() {
        if (!NextSectionLine()) return false;
        FieldSplitter f(line_);
        ant_.DM1 = AbsInt(f);
        ant_.DM2 = AbsInt(f);
        ant_.SC = Real(f);
        std::string_view ec = f.Next();
        ant_.EC = ec.empty() ? 1 : ReadAbsInt(ec);
        return true;
    }

    bool ReadGround() {
        if (!NextLine()) return false;
        FieldSplitter f(line_);
        env_.Type = Choice(AbsInt(f), GroundReal);
        env_.AntHeight = Real(f);
        std::string_view material = f.Next();
        if (material.empty()) {
            env_.Material = 0;
            return true;
        }
        env_.Material = Choice(ReadAbsInt(material), MaxMaterial);
        // An unreadable resistance ends the line, the reference kept as it was.
        std::string_view z0r = f.Next();
        double r = 0;
        if (z0r.empty()) return true;
        if (!StrToDblExpr(r, z0r)) {
            Refuse(FieldNotANumberText, z0r);
            return true;
        }
        env_.Z0R = r;
        int az = std::min(AbsInt(f), 359);
        int el = std::min(AbsInt(f), 179);
        env_.AzEl = PackAzEl(az, el);
        std::string_view z0x = f.Next();
        if (!z0x.empty()) env_.Z0X = ReadReal(z0x);
        return true;
    }

    void ReadTrailingSections() {
        bool afterSets = false;
        while (NextLine()) {
            if (line_.starts_with("$$$")) {
                if (!ReadTaperSets()) return;
                afterSets = true;
            } else if (line_.starts_with("###")) {
                // Comment lines are kept whole, whatever their length.
                while (lines_.ReadLine(line_, std::string::npos)) readComment_ += line_ + LineEnd;
                return;
            } else if (afterSets && Present(line_)) {
                // A set beyond the count would be dropped without a word.
                Refuse(TitleExpectedText);
            }
        }
    }

    bool ReadTaperSets() {
        if (!NextLine()) return false;
        FieldSplitter f(line_);
        const int listed = AbsInt(f);
        CheckCount(listed, MaxTaperSets);
        const int count = std::min(listed, MaxTaperSets);
        ant_.TaperSetCount = count;
        for (int i = 0; i < count; ++i) {
            if (!NextRecord()) return false;
            FieldSplitter s(line_);
            TaperSet& t = ant_.TaperSets[i];
            t = TaperSet{};
            t.Key = Real(s);
            t.Type = Choice(AbsInt(s), TaperOneWayStar);
            int k = 0;
            for (std::string_view len = s.Next(); !len.empty() && k < MaxTaperSections; len = s.Next(), ++k) {
                t.Len[k] = ReadReal(len);
                t.Rad[k] = Real(s);
            }
        }
        return true;
    }

    AntDef& ant_;
    EnvRec& env_;
    TextLineReader lines_;
    std::string& comment_;
    std::string readComment_;
    std::string line_;
    bool whole_ = true;
    std::string refusal_;
};

}  // namespace

bool IsWholeAntennaText(std::string_view text) {
    auto ant = std::make_unique<AntDef>();
    EnvRec env{};
    std::string comment;
    AntennaTextParser parser(*ant, env, text, comment);
    parser.Run();
    return parser.Whole();
}

namespace {

void MarkRead(AntDef& ant) {
    ant.Changed = 0;
    ant.Edited = 1;
    JobDef.PanX = 0;
    JobDef.PanY = 0;
}

}  // namespace

void ParseAntennaText(AntDef& ant, EnvRec& env, std::string_view text, std::string& comment) {
    AntennaTextParser(ant, env, text, comment).Run();
    MarkRead(ant);
}

bool ReadAntennaFile(std::string_view text, AntDef& ant, EnvRec& env, std::string& comment, std::string* refusal) {
    // A binary file (a far-field file opened by mistake) is no antenna text.
    if (text.find('\0') != std::string_view::npos) return false;
    // "R" is the new antenna's wavelength while the file is read.
    const ScopedValue<double> newAntenna(JobDef.Wavelength, LightSpeedMHz / NewAntennaFreq);
    if (!HasAntennaHeader(text)) return false;
    ResetToNewAntenna(ant);
    ResetAntennaReference(env);
    comment.clear();
    AntennaTextParser parser(ant, env, text, comment);
    parser.Run();
    if (!parser.Whole()) {
        if (refusal) *refusal = parser.Refusal();
        return false;
    }
    MarkRead(ant);
    return true;
}
