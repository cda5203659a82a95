// Deterministic mutation fuzzing of the file readers, built with AddressSanitizer
// and UBSan: every mutated file must be read or refused without a crash, a hang
// or a sanitizer report, and what is accepted goes on as an opened file goes:
// stacked and prepared for the engine. Accepted far-field files and antenna
// texts must reach a fixed point after one write.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "engine/EngineState.h"
#include "engine/ModelPrep.h"
#include "engine/PulseLayout.h"
#include "engine/WireExpansion.h"
#include "model/AntennaSamples.h"
#include "model/AntennaText.h"
#include "model/EnvDefaults.h"
#include "model/FarFieldFile.h"
#include "model/ModelImage.h"
#include "model/Messages.h"
#include "model/PositionText.h"
#include "model/SafeFile.h"
#include "model/StackedAnt.h"
#include "model/TableRows.h"
#include "model/TaperSetTable.h"

namespace {

constexpr int MutatedFilesPerReader = 300000;

// splitmix64: the same sequence on every platform and library.
class Random {
public:
    explicit Random(uint64_t seed) : s_(seed) {}
    uint64_t Next() {
        uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t n) { return n ? static_cast<std::size_t>(Next() % n) : 0; }

private:
    uint64_t s_;
};

// Values that sit on the edges of the readers' checks.
constexpr std::array<int32_t, 24> EdgeInts = {0,   1,   -1,   2,    3,         9,         10,     11,
                                              12,  13,  64,   65,   100,       101,       180,    181,
                                              512, 513, 8192, 8193, INT32_MAX, INT32_MIN, -20000, 1963393264};
const std::array<double, 7> EdgeReals = {0.0,
                                         -0.0,
                                         1e308,
                                         -1e-320,
                                         std::numeric_limits<double>::infinity(),
                                         std::numeric_limits<double>::quiet_NaN(),
                                         99999.9};

// Where the counts, types and texts are: the header and the model image of
// the seeds, and the results image's head.
constexpr std::size_t DenseRegion = 4096;

// Big counts, half the time, where two fields are set at once: a product
// overflows only when both are large.
int32_t CountEdge(Random& rnd) {
    return rnd.Below(2) ? (rnd.Below(2) ? INT32_MAX : 1963393264) : EdgeInts[rnd.Below(EdgeInts.size())];
}

// Offsets of the seed's small whole numbers: its counts, types and codes.
std::vector<std::size_t> CountOffsets(const std::vector<uint8_t>& d) {
    std::vector<std::size_t> at;
    for (std::size_t i = 0; i + 4 <= std::min(d.size(), DenseRegion); ++i) {
        int32_t v;
        std::memcpy(&v, &d[i], 4);
        if (v >= 1 && v <= 1000) at.push_back(i);
    }
    return at;
}

void MutateBinary(std::vector<uint8_t>& d, const std::vector<std::size_t>& counts, Random& rnd) {
    int steps = 1 + static_cast<int>(rnd.Below(4));
    for (int s = 0; s < steps; ++s) {
        // Half of the mutations go where the fields that are checked lie;
        // the rest anywhere, the long runs of gains and currents included.
        std::size_t at = rnd.Below(2) ? rnd.Below(std::min(d.size(), DenseRegion) + 1) : rnd.Below(d.size() + 1);
        switch (rnd.Below(8)) {
        case 0:
            if (at < d.size()) d[at] ^= static_cast<uint8_t>(1u << rnd.Below(8));
            break;
        case 1:
            if (at < d.size()) d[at] = static_cast<uint8_t>(rnd.Next());
            break;
        case 2:
        case 3:
            // At any offset: the image's counts do not all lie on 4-byte bounds.
            if (at + 4 <= d.size()) {
                int32_t v = EdgeInts[rnd.Below(EdgeInts.size())];
                std::memcpy(&d[at], &v, 4);
            }
            break;
        case 4:
            // Two neighbouring counts at once (the stack counts are neighbours):
            // their product must be checked as well as each alone.
            if (rnd.Below(2)) {
                const std::size_t c = counts.empty() ? at : counts[rnd.Below(counts.size())];
                for (int k = 0; k < 2 && c + 4 * k + 4 <= d.size(); ++k) {
                    const int32_t v = CountEdge(rnd);
                    std::memcpy(&d[c + 4 * k], &v, 4);
                }
            } else if (at + 8 <= d.size()) {
                double v = EdgeReals[rnd.Below(EdgeReals.size())];
                std::memcpy(&d[at], &v, 8);
            }
            break;
        case 5:
            d.resize(at);
            break;
        case 6: {
            uint8_t bytes[16];
            std::size_t n = 1 + rnd.Below(sizeof bytes);
            for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(rnd.Next());
            d.insert(d.begin() + static_cast<std::ptrdiff_t>(at), bytes, bytes + n);
            break;
        }
        default:
            d.erase(d.begin() + static_cast<std::ptrdiff_t>(at),
                    d.begin() + static_cast<std::ptrdiff_t>(std::min(d.size(), at + 1 + rnd.Below(64))));
            break;
        }
    }
}

// Pieces that steer the text reader into its corners.
const std::array<std::string, 30> EdgeTexts = {
    "\n",    "\r\n",   ",",      "*",     "$$$\n",        "###\n",          "\x1a",     "-",
    "99999999999",    "1e308",  "-1e308", "R/0",   "(((((",       "1/0",            "nan",      "inf",
    "0x10",   "-2147483648",     "600",    "5,3",   "-40000,70000", "\xEF\xBC\x91", "\xEF\xBC", std::string(1100, '7'),
    std::string(1, '\0'),     "w1e99999", "2147483647", "\xC2\xA0", "-20000", "1963393264"};

// Replaces two neighbouring fields of the line at `at` with edge numbers.
void SetTwoFields(std::string& t, std::size_t at, Random& rnd) {
    std::size_t start = t.rfind('\n', at == 0 ? 0 : at - 1);
    start = start == std::string::npos ? 0 : start + 1;
    const std::size_t end = std::min(t.find('\n', start), t.size());
    std::vector<std::size_t> commas;
    for (std::size_t i = start; i < end; ++i)
        if (t[i] == ',') commas.push_back(i);
    if (commas.size() < 2) return;
    const std::size_t k = rnd.Below(commas.size() - 1);
    // Fields k + 1 and k + 2: between commas k, k + 1 and k + 2 (or the end).
    const std::size_t last = k + 2 < commas.size() ? commas[k + 2] : end;
    const std::string fields = std::to_string(CountEdge(rnd)) + "," + std::to_string(CountEdge(rnd));
    t.replace(commas[k] + 1, last - commas[k] - 1, fields);
}

void MutateText(std::string& t, Random& rnd) {
    int steps = 1 + static_cast<int>(rnd.Below(4));
    for (int s = 0; s < steps; ++s) {
        std::size_t at = rnd.Below(t.size() + 1);
        switch (rnd.Below(8)) {
        case 0:
            if (at < t.size()) t[at] = static_cast<char>(rnd.Next());
            break;
        case 1:
            if (at < t.size()) t.erase(at, 1 + rnd.Below(8));
            break;
        case 2:
        case 3: {
            t.insert(at, EdgeTexts[rnd.Below(EdgeTexts.size())]);
            break;
        }
        case 4: {   // drop a whole line
            std::size_t start = t.rfind('\n', at == 0 ? 0 : at - 1);
            start = start == std::string::npos ? 0 : start + 1;
            std::size_t end = t.find('\n', at);
            t.erase(start, end == std::string::npos ? std::string::npos : end - start + 1);
            break;
        }
        case 6:
            SetTwoFields(t, at, rnd);
            break;
        case 5: {   // duplicate a line
            std::size_t end = t.find('\n', at);
            if (end != std::string::npos) {
                std::size_t start = t.rfind('\n', at == 0 ? 0 : at - 1);
                start = start == std::string::npos ? 0 : start + 1;
                t.insert(start, t.substr(start, end - start + 1));
            }
            break;
        }
        default:
            t.resize(at);
            break;
        }
    }
}

// What an accepted file may hold: frequencies that a save writes as they are.
bool SavableFrequencies(const AntDef& a) {
    return (a.Freq == 0 || FrequencyInRange(a.Freq)) && (a.CalcFreq == 0 || FrequencyInRange(a.CalcFreq));
}

// In a prepared stack every source and load that names a wire lies on a
// pulse of its own copy's wires, or on none; one at a plain pulse number
// lies that far into its own copy's pulses, or beyond all pulses (refused).
bool PositionsStayInTheirCopies(const AntDef& stacked) {
    const int copies = stacked.StackCopies;
    if (copies <= 1) return true;
    const int wiresEach = stacked.WireCount / copies;
    auto copyOfPulse = [&](int pulse) {
        for (int w = 0; w < stacked.WireCount; ++w) {
            const WireRec& r = stacked.Wires[w];
            if (r.FirstPulse > 0 && pulse >= r.FirstPulse && pulse < r.FirstPulse + r.PulseCount) return w / wiresEach;
        }
        return -1;
    };
    auto firstPulseOfCopy = [&](int copy) {
        for (int w = copy * wiresEach; w < (copy + 1) * wiresEach; ++w)
            if (stacked.Wires[w].FirstPulse > 0 && stacked.Wires[w].PulseCount > 0) return stacked.Wires[w].FirstPulse;
        return 0;
    };
    auto check = [&](const char* pos, int pulse, int index, int count) {
        const PositionRef ref = SplitPosition(std::string(pos, strnlen(pos, PosTextSize)).c_str());
        const int copy = index / (count / copies);
        if (pulse <= 0 || ref.Names == PositionRef::Nothing) return true;
        if (ref.Names == PositionRef::Wire) return copyOfPulse(pulse) == copy;
        if (copyOfPulse(pulse) < 0) return true;
        return copyOfPulse(pulse) == copy && pulse - firstPulseOfCopy(copy) + 1 == ref.Number;
    };
    for (int i = 0; i < stacked.SourceCount; ++i)
        if (!check(stacked.Sources[i].Pos, stacked.Sources[i].Pulse, i, stacked.SourceCount)) return false;
    for (int i = 0; i < stacked.LoadCount; ++i)
        if (!check(stacked.Loads[i].Pos, stacked.Loads[i].Pulse, i, stacked.LoadCount)) return false;
    return true;
}

// A prepared stacked copy taken as the antenna: each source the antenna
// text could not carry names the same pulse in a text it carries, or is
// removed with a line for the log; a plain pulse number becomes the one
// it resolved to; the others stay as they were.
bool TakenAsTheAntennaFitsItsPositions(const AntDef& stacked) {
    auto taken = std::make_unique<AntDef>(stacked);
    const std::vector<std::string> notes = FitPositionsToField(*taken);
    const int count = std::clamp(stacked.SourceCount, 0, MaxSources);
    for (int i = 0, j = 0; i < count; ++i) {
        const SourceRec& was = stacked.Sources[i];
        const bool fitted = j < taken->SourceCount && std::strlen(taken->Sources[j].Pos) <= PosTextLength &&
                            ParseSourcePos(*taken, taken->Sources[j].Pos) == was.Pulse && was.Pulse > 0;
        const bool kept = j < taken->SourceCount && std::strcmp(taken->Sources[j].Pos, was.Pos) == 0;
        const bool numbered = j < taken->SourceCount && ParseSourcePos(*taken, taken->Sources[j].Pos) == was.Pulse;
        const std::string text(was.Pos, strnlen(was.Pos, PosTextSize));
        if (SplitPosition(text.c_str()).Names == PositionRef::Pulse ? numbered
            : text.size() <= PosTextLength                          ? kept
                                                                    : fitted) {
            ++j;
            continue;
        }
        const std::string removed = "Source " + std::to_string(i + 1) + " (";
        if (std::none_of(notes.begin(), notes.end(), [&](const std::string& n) { return n.rfind(removed, 0) == 0; }))
            return false;
    }
    return true;
}

// What opening a file does next: the grounded ends turned, the stack built
// and the model prepared for the engine (the matrix is not filled).
class OpenedModel {
public:
    OpenedModel() {
        ApplyDefaultMessages();
        InitEnvironmentDefaults(1ull << 30);
        EnvDef.PMAX = AllocEngineArrays(2048);
        SetEngineLog(&log_);
    }
    // Every stack is built; the slower preparation runs on a sample.
    void Prepare(const AntDef& ant, const ModelEnvFields& env) {
        const bool stacked = StackCountH(ant) > 1 || StackCountV(ant) > 1;
        if (!stacked && ++calls_ % 8 != 0) return;
        ApplyModelEnvFields(env, EnvDef);
        *ant_ = ant;
        NormalizeGroundedWires(*ant_);
        std::string error;
        AntDef* calc = ant_.get();
        if (stacked) {
            if (!BuildStackedAntenna(*ant_, *stacked_, error)) return;
            calc = stacked_.get();
            if (++calls_ % 8 != 0) return;
        }
        if (PrepareModel(calc)) {
            ++prepared_;
            if (stacked) {
                ASSERT_TRUE(PositionsStayInTheirCopies(*calc));
                ASSERT_TRUE(TakenAsTheAntennaFitsItsPositions(*calc));
            }
        }
        log_.clear();
    }
    int Prepared() const { return prepared_; }

private:
    std::unique_ptr<AntDef> ant_ = std::make_unique<AntDef>();
    std::unique_ptr<AntDef> stacked_ = std::make_unique<AntDef>();
    std::vector<std::string> log_;
    int prepared_ = 0;
    int calls_ = 0;
};

// A stacked antenna whose copies reach the record's limit.
std::unique_ptr<AntDef> FullStack() {
    auto a = SampleAntenna();
    a->nH = 8;
    a->nV = 8;
    a->SourceCount = 1;
    a->LoadCount = 1;
    return a;
}

// The reproducers of faults found before: a frequency beyond the limits (a
// save would write another one; far below, single precision makes it 0, far
// above no number), a stacked source on a wire beyond the wires, which must
// not land on the next copy, taper keys and a radius that a save writes
// alike, and a name cut inside a character.
std::unique_ptr<AntDef> WithFrequencies(double freq, double calcFreq) {
    auto a = SampleAntenna();
    a->Freq = freq;
    a->CalcFreq = calcFreq;
    return a;
}

std::unique_ptr<AntDef> StackedSourceBeyondTheWires() {
    auto a = SampleAntenna();
    a->nH = 2;
    a->SourceCount = 2;
    CopyText(a->Sources[1].Pos, "w4c");
    CopyText(a->Loads[0].Pos, "w5b");
    return a;
}

std::unique_ptr<AntDef> TaperKeysAlike() {
    auto a = SampleAntenna();
    a->TaperSetCount = 2;
    for (int i = 0; i < 2; ++i) {
        a->TaperSets[i] = TaperSet{};
        a->TaperSets[i].Key = i == 0 ? -1.0 : -1.0000001;
        a->TaperSets[i].Len[0] = TaperRestLength;
        a->TaperSets[i].Rad[0] = 0.01 * (i + 1);
    }
    a->Wires[0].R = -1.0000001;
    return a;
}

// Values that six decimals would move across a joint or a segment
// boundary: ends 0.1 um apart (joined after such a save), a half-wave
// dipole of 0-R/4 to R/4 cut by density, a radius of a binary file.
std::unique_ptr<AntDef> NearlyJoined() {
    auto a = SampleAntenna();
    const double quarter = LightSpeedMHz / a->Freq / 4;
    a->Wires[0] = WireRec{-quarter, 0, 10, quarter, 0, 10, 0.001244140625, PackSegPair(4, 8), 0, 0, 0};
    a->Wires[1] = WireRec{quarter, 0, 10, quarter, 1.0000001, 10, 0.001, 0, 0, 0, 0};
    a->Wires[2] = WireRec{quarter, 1.0, 10, quarter, 3, 10, 0.001, -1, 0, 0, 0};
    return a;
}

// The pulses an antenna lays out, run by run with their wire, over the ground
// of the environment; ends joined another way lay out other pulses.
struct LaidOut {
    LaidOut(const AntDef& ant, const EnvRec& env) {
        ApplyModelEnvFields(TakeModelEnvFields(env), EnvDef);
        PulseLayout layout;
        Known = LayOutPulses(ant, layout);
        for (const PulseRun& r : layout.Runs) {
            Points.insert(Points.end(), {r.A.X, r.A.Y, r.A.Z, r.B.X, r.B.Y, r.B.Z});
            Wires.insert(Wires.end(), {r.Wire, r.Segs, r.FirstK, r.LastK});
        }
    }
    bool operator==(const LaidOut&) const = default;
    bool Known = false;
    std::vector<double> Points;
    std::vector<int> Wires;
};

// The set a wire of the radius uses: its index, or -1.
int TaperSetIndex(const AntDef& a, double radius) {
    const TaperSet* set = FindTaperSet(a, radius);
    return set ? static_cast<int>(set - a.TaperSets) : -1;
}

// Stacked copies of a 50-wire antenna name wires up to 150: "w49b+100" on a
// wire of 150 segments becomes "w149b+100" in the third copy.
std::unique_ptr<AntDef> StackedPositionBeyondTheTextsField() {
    auto a = SampleAntenna();
    a->WireCount = 50;
    for (int i = 0; i < 50; ++i) a->Wires[i] = WireRec{0.5 * i, 0, 10, 0.5 * i, 0, 20, 0.001, i == 48 ? 150 : 3, 0, 0, 0};
    a->SourceCount = 1;
    CopyText(a->Sources[0].Pos, "w49b+100");
    a->LoadCount = 0;
    a->nH = 3;
    a->hSpacing = 40;
    return a;
}

std::string LongUtf8NameText(const EnvRec& env) {
    std::string name = "a";
    for (int i = 0; i < 100; ++i) name += "\xC3\xBC";
    const std::string text = WriteAntennaText(*SampleAntenna(), env, "");
    return name + text.substr(text.find("\r\n"));
}

TEST(FileReaderFuzz, FarFieldReaderSurvivesMutatedFilesAndAcceptedOnesRoundTrip) {
    EnvDef = EnvRec{};
    auto results = SampleResults();
    std::vector<std::vector<uint8_t>> seeds = {
        BuildFarFieldImage(*NewAntenna(), ModelEnvFields{}, "", CResult()),
        BuildFarFieldImage(*SampleAntenna(), SampleEnv(), "a comment\r\n", CResult()),
        BuildFarFieldImage(*SampleAntenna(), SampleEnv(), "", *results),
        BuildFarFieldImage(*FullStack(), ModelEnvFields{}, "", CResult()),
        BuildFarFieldImage(*WithFrequencies(1e-300, 0), SampleEnv(), "", CResult()),
        BuildFarFieldImage(*WithFrequencies(14.15, 9.45e-6), SampleEnv(), "", CResult()),
        BuildFarFieldImage(*WithFrequencies(14.15, 6.8e38), SampleEnv(), "", CResult()),
        BuildFarFieldImage(*TaperKeysAlike(), SampleEnv(), "", CResult()),
        BuildFarFieldImage(*StackedSourceBeyondTheWires(), SampleEnv(), "", CResult()),
    };
    std::vector<std::vector<std::size_t>> counts;
    for (const auto& seed : seeds) counts.push_back(CountOffsets(seed));
    OpenedModel opened;
    FarFieldContents c;
    c.Ant = NewAntenna();
    c.Results = std::make_unique<CResult>();
    auto asText = NewAntenna();
    Random rnd(0xC0FFEE);
    int accepted = 0;
    std::vector<uint8_t> file;
    for (int n = 0; n < MutatedFilesPerReader; ++n) {
        const std::size_t pick = rnd.Below(seeds.size());
        file.assign(seeds[pick].begin(), seeds[pick].end());
        MutateBinary(file, counts[pick], rnd);
        c.Comment.clear();
        c.Results->HasFarField = 0;
        if (ParseFarFieldImage(file, c) != FarFieldStatus::Ok) continue;
        ASSERT_TRUE(SavableFrequencies(*c.Ant)) << "input " << n;
        opened.Prepare(*c.Ant, c.Env);
        if (++accepted % 4 != 0) continue;   // the round trip is checked on a sample
        // What was read is written and read back unchanged (values the engine
        // refuses are repaired on the first read).
        const std::vector<uint8_t> again = BuildFarFieldImage(*c.Ant, c.Env, c.Comment, *c.Results);
        ASSERT_EQ(ParseFarFieldImage(again, c), FarFieldStatus::Ok) << "input " << n;
        ASSERT_EQ(BuildFarFieldImage(*c.Ant, c.Env, c.Comment, *c.Results), again) << "input " << n;
        // Saved as antenna text, it opens with the same pulses and joints.
        EnvRec env{};
        ApplyModelEnvFields(c.Env, env);
        std::string comment;
        ASSERT_TRUE(ReadAntennaFile(WriteAntennaText(*c.Ant, env, c.Comment), *asText, env, comment)) << "input " << n;
        ASSERT_TRUE(LaidOut(*asText, env) == LaidOut(*c.Ant, env)) << "input " << n;
    }
    std::printf("far-field reader: %d mutated files, %d accepted, %d prepared\n", MutatedFilesPerReader, accepted,
                opened.Prepared());
    EXPECT_GT(accepted, 0);
    EXPECT_GT(opened.Prepared(), 0);
}

TEST(FileReaderFuzz, AntennaTextReaderSurvivesMutatedTextsAndReachesAFixedPoint) {
    EnvRec env{};
    env.AzEl = PackAzEl(120, 60);
    env.Z0R = 50;
    std::vector<std::string> seeds = {
        WriteAntennaText(*SampleAntenna(), env, "comment\r\n*line\r\n"),
        WriteAntennaText(*NewAntenna(), env, ""),
        WriteAntennaText(*FullStack(), env, ""),
        WriteAntennaText(*StackedSourceBeyondTheWires(), env, ""),
        WriteAntennaText(*StackedPositionBeyondTheTextsField(), env, ""),
        LongUtf8NameText(env),
    };
    for (const char* freq : {"1e-7", "9.45e-6", "1e-300", "6.8e38"}) {
        std::string text = WriteAntennaText(*SampleAntenna(), env, "");
        text.replace(text.find("14.175"), 6, freq);
        seeds.push_back(text);
    }
    // Keys and a radius that a six-decimal text would write alike, and
    // values near joints and segment boundaries.
    seeds.push_back(WriteAntennaText(*TaperKeysAlike(), env, ""));
    seeds.push_back(WriteAntennaText(*NearlyJoined(), env, ""));
    OpenedModel opened;
    std::vector<uint8_t> fixture;
    if (ReadWholeFile(KORVA_TEST_DATA "/yagi3.kva", fixture, 1 << 20) == ReadFileStatus::Ok)
        seeds.emplace_back(fixture.begin(), fixture.end());
    auto fresh = NewAntenna();
    auto ant = NewAntenna();
    auto read = NewAntenna();
    auto probe = NewAntenna();
    Random rnd(0xA27E);
    for (int n = 0; n < MutatedFilesPerReader; ++n) {
        std::string text = seeds[rnd.Below(seeds.size())];
        MutateText(text, rnd);
        // Mostly the text is read over the previous one, as the Edit menu
        // restores a snapshot; on a sample into a new antenna, as a file is
        // opened, and then written and read again to its fixed point.
        bool sample = n % 16 == 0;
        // A whole text opens as a file: after a new antenna, then prepared.
        const bool open = sample || (n % 4 == 0 && IsWholeAntennaText(text));
        if (open) *ant = *fresh;
        EnvRec e = env;
        std::string comment;
        ParseAntennaText(*ant, e, text, comment);
        if (open && !sample) {
            ASSERT_TRUE(SavableFrequencies(*ant)) << "input " << n << ":\n" << text;
        }
        if (open) opened.Prepare(*ant, TakeModelEnvFields(e));
        if (!sample) continue;
        std::string once = WriteAntennaText(*ant, e, comment);
        *read = *ant;
        const LaidOut laidOut(*read, e);
        // A file that opens keeps every wire on its taper set over a save.
        EnvRec opening = env;
        std::string openingComment;
        const bool opens = ReadAntennaFile(text, *probe, opening, openingComment);
        comment.clear();
        ParseAntennaText(*ant, e, once, comment);
        // A saved antenna names the same pulses as the one read.
        for (int i = 0; i < std::clamp(ant->SourceCount, 0, MaxSources); ++i)
            ASSERT_STREQ(ant->Sources[i].Pos, read->Sources[i].Pos) << "input " << n << ":\n" << text;
        for (int i = 0; i < std::clamp(ant->LoadCount, 0, MaxLoads); ++i)
            ASSERT_STREQ(ant->Loads[i].Pos, read->Loads[i].Pos) << "input " << n << ":\n" << text;
        for (int i = 0; opens && i < std::clamp(ant->WireCount, 0, MaxWires); ++i)
            ASSERT_EQ(TaperSetIndex(*ant, ant->Wires[i].R), TaperSetIndex(*read, read->Wires[i].R))
                << "input " << n << ", wire " << i + 1 << ":\n" << text;
        // The reopened antenna lays out the same pulses and joints, and its
        // text is the one saved.
        ASSERT_TRUE(LaidOut(*ant, e) == laidOut) << "input " << n << ":\n" << text;
        ASSERT_EQ(WriteAntennaText(*ant, e, comment), once) << "input " << n << ":\n" << text;
    }
    std::printf("antenna text reader: %d mutated texts, %d prepared\n", MutatedFilesPerReader, opened.Prepared());
    EXPECT_GT(opened.Prepared(), 0);
}

// Bytes that change a position over a save, or name another pulse: blanks,
// separators, line ends, signs, no-break spaces and full-width forms.
const std::array<std::string, 24> PositionPieces = {
    "w",  "W", "b", "c",  "e",    "E",    "1",    "2",        "3",        "0",        "9",           "+",
    "-",  " ", "\t", ",", "*", "\r", "\n", "\x1a", "\xA0", "\xC2\xA0", "\xEF\xBC\x91", "\xEF\xBC\x8C"};

// A position field as a binary file may hold it: up to 11 bytes of pieces,
// its end, then whatever; now and then no end at all.
void RandomPositionField(char (&pos)[PosTextSize], Random& rnd) {
    std::string text;
    const std::size_t length = rnd.Below(PosTextSize + 1);
    while (text.size() < length) text += PositionPieces[rnd.Below(PositionPieces.size())];
    for (std::size_t i = 0; i < PosTextSize; ++i)
        pos[i] = i < text.size() ? text[i] : static_cast<char>(rnd.Next());
    if (rnd.Below(8) != 0) pos[std::min<std::size_t>(text.size(), PosTextSize - 1)] = 0;
}

// Pulses of every position, on a fixed pulse layout of the wires.
std::vector<int> Pulses(AntDef& ant) {
    for (int i = 0; i < std::clamp(ant.WireCount, 0, MaxWires); ++i) {
        ant.Wires[i].FirstPulse = 1 + 7 * i;
        ant.Wires[i].PulseCount = 7;
    }
    std::vector<int> pulses;
    for (int i = 0; i < std::clamp(ant.SourceCount, 0, MaxSources); ++i)
        pulses.push_back(ParseSourcePos(ant, ant.Sources[i].Pos));
    for (int i = 0; i < std::clamp(ant.LoadCount, 0, MaxLoads); ++i)
        pulses.push_back(ParseSourcePos(ant, ant.Loads[i].Pos));
    return pulses;
}

TEST(FileReaderFuzz, PositionsOfBinaryFilesOpenTheSameAfterASaveAsText) {
    // A far-field file whose positions hold hostile bytes is refused, or its
    // antenna saved as text opens with the same positions and pulses.
    constexpr int Files = 100000;
    const auto sample = SampleAntenna();
    auto ant = NewAntenna();
    auto back = NewAntenna();
    FarFieldContents c;
    c.Ant = NewAntenna();
    c.Results = std::make_unique<CResult>();
    Random rnd(0x905171);
    int accepted = 0;
    for (int n = 0; n < Files; ++n) {
        *ant = *sample;
        for (int i = 0; i < ant->SourceCount; ++i)
            if (rnd.Below(2)) RandomPositionField(ant->Sources[i].Pos, rnd);
        for (int i = 0; i < ant->LoadCount; ++i)
            if (rnd.Below(2)) RandomPositionField(ant->Loads[i].Pos, rnd);
        c.Comment.clear();
        if (ParseFarFieldImage(BuildFarFieldImage(*ant, SampleEnv(), "", CResult()), c) != FarFieldStatus::Ok) continue;
        ++accepted;
        EnvRec env{};
        ApplyModelEnvFields(c.Env, env);
        const std::string text = WriteAntennaText(*c.Ant, env, c.Comment);
        std::string comment;
        ASSERT_TRUE(ReadAntennaFile(text, *back, env, comment)) << "input " << n << ":\n" << text;
        for (int i = 0; i < c.Ant->SourceCount; ++i)
            ASSERT_STREQ(back->Sources[i].Pos, c.Ant->Sources[i].Pos) << "input " << n;
        for (int i = 0; i < c.Ant->LoadCount; ++i) ASSERT_STREQ(back->Loads[i].Pos, c.Ant->Loads[i].Pos) << "input " << n;
        ASSERT_EQ(Pulses(*back), Pulses(*c.Ant)) << "input " << n;
        ASSERT_EQ(WriteAntennaText(*back, env, comment), text) << "input " << n;
    }
    std::printf("positions of far-field files: %d files, %d accepted\n", Files, accepted);
    EXPECT_GT(accepted, Files / 8);
    EXPECT_LT(accepted, Files);
}

}  // namespace
