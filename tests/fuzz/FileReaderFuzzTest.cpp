// Deterministic mutation fuzzing of the file readers, built with AddressSanitizer
// and UBSan: every mutated file must be read or refused without a crash, a hang
// or a sanitizer report. Accepted far-field files must write back byte for
// byte; antenna texts must reach a fixed point after one write.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "model/AntennaSamples.h"
#include "model/AntennaText.h"
#include "model/FarFieldFile.h"
#include "model/SafeFile.h"

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
constexpr std::array<int32_t, 22> EdgeInts = {0,   1,    -1,   2,    3,     9,         10,         11,
                                              12,  13,   64,   65,   100,   101,       180,        181,
                                              512, 513,  8192, 8193, INT32_MAX, INT32_MIN};
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

void MutateBinary(std::vector<uint8_t>& d, Random& rnd) {
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
            if (at + 4 <= d.size()) {
                int32_t v = EdgeInts[rnd.Below(EdgeInts.size())];
                std::memcpy(&d[at & ~std::size_t{3}], &v, 4);
            }
            break;
        case 4:
            if (at + 8 <= d.size()) {
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
const std::array<std::string, 26> EdgeTexts = {
    "\n",    "\r\n",   ",",      "*",     "$$$\n",        "###\n",          "\x1a",     "-",
    "99999999999",    "1e308",  "-1e308", "R/0",   "(((((",       "1/0",            "nan",      "inf",
    "0x10",   "-2147483648",     "600",    "5,3",   "-40000,70000", "\xEF\xBC\x91", "\xEF\xBC", std::string(1100, '7'),
    std::string(1, '\0'),     "w1e99999"};

void MutateText(std::string& t, Random& rnd) {
    int steps = 1 + static_cast<int>(rnd.Below(4));
    for (int s = 0; s < steps; ++s) {
        std::size_t at = rnd.Below(t.size() + 1);
        switch (rnd.Below(7)) {
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

ModelEnvFields SampleEnv() {
    ModelEnvFields e;
    e.Type = GroundReal;
    e.AntHeight = 12;
    e.Material = 4;
    e.Z0R = 50;
    e.AzEl = PackAzEl(120, 60);
    return e;
}

TEST(FileReaderFuzz, FarFieldReaderSurvivesMutatedFilesAndAcceptedOnesRoundTrip) {
    EnvDef = EnvRec{};
    auto results = SampleResults();
    std::vector<std::vector<uint8_t>> seeds = {
        BuildFarFieldImage(*NewAntenna(), ModelEnvFields{}, "", CResult()),
        BuildFarFieldImage(*SampleAntenna(), SampleEnv(), "a comment\r\n", CResult()),
        BuildFarFieldImage(*SampleAntenna(), SampleEnv(), "", *results),
    };
    FarFieldContents c;
    c.Ant = NewAntenna();
    c.Results = std::make_unique<CResult>();
    Random rnd(0xC0FFEE);
    int accepted = 0;
    std::vector<uint8_t> file;
    for (int n = 0; n < MutatedFilesPerReader; ++n) {
        const std::vector<uint8_t>& seed = seeds[rnd.Below(seeds.size())];
        file.assign(seed.begin(), seed.end());
        MutateBinary(file, rnd);
        c.Comment.clear();
        c.Results->HasFarField = 0;
        if (ParseFarFieldImage(file, c) != FarFieldStatus::Ok) continue;
        if (++accepted % 4 != 0) continue;   // the round trip is checked on a sample
        // The header's bytes after the version carry no meaning; the rest is
        // written back as it was read.
        std::vector<uint8_t> again = BuildFarFieldImage(*c.Ant, c.Env, c.Comment, *c.Results);
        file[10] = again[10];
        std::memcpy(&file[13], &again[13], 3);
        ASSERT_EQ(again, file) << "input " << n;
    }
    std::printf("far-field reader: %d mutated files, %d accepted\n", MutatedFilesPerReader, accepted);
    EXPECT_GT(accepted, 0);
}

TEST(FileReaderFuzz, AntennaTextReaderSurvivesMutatedTextsAndReachesAFixedPoint) {
    EnvRec env{};
    env.AzEl = PackAzEl(120, 60);
    env.Z0R = 50;
    std::vector<std::string> seeds = {
        WriteAntennaText(*SampleAntenna(), env, "comment\r\n*line\r\n"),
        WriteAntennaText(*NewAntenna(), env, ""),
    };
    std::vector<uint8_t> fixture;
    if (ReadWholeFile(KORVA_TEST_DATA "/yagi3.kva", fixture, 1 << 20) == ReadFileStatus::Ok)
        seeds.emplace_back(fixture.begin(), fixture.end());
    auto fresh = NewAntenna();
    auto ant = NewAntenna();
    Random rnd(0xA27E);
    for (int n = 0; n < MutatedFilesPerReader; ++n) {
        std::string text = seeds[rnd.Below(seeds.size())];
        MutateText(text, rnd);
        // Mostly the text is read over the previous one, as the Edit menu
        // restores a snapshot; on a sample into a new antenna, as a file is
        // opened, and then written and read again to its fixed point.
        bool sample = n % 16 == 0;
        if (sample) *ant = *fresh;
        EnvRec e = env;
        std::string comment;
        ParseAntennaText(*ant, e, text, comment);
        if (!sample) continue;
        std::string once = WriteAntennaText(*ant, e, comment);
        comment.clear();
        ParseAntennaText(*ant, e, once, comment);
        std::string twice = WriteAntennaText(*ant, e, comment);
        comment.clear();
        ParseAntennaText(*ant, e, twice, comment);
        ASSERT_EQ(WriteAntennaText(*ant, e, comment), twice) << "input " << n << ":\n" << text;
    }
    std::printf("antenna text reader: %d mutated texts\n", MutatedFilesPerReader);
}

}  // namespace
