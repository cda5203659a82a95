#include "model/FarFieldFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sys/resource.h>
#include <unistd.h>

#include "model/AntennaSamples.h"
#include "model/BinaryStream.h"
#include "model/HeaderConstants.h"
#include "model/ModelImage.h"
#include "model/SafeFile.h"

namespace {

namespace fs = std::filesystem;

template <typename T>
T At(const std::vector<uint8_t>& d, std::size_t offset) {
    T v{};
    if (offset + sizeof v <= d.size()) std::memcpy(&v, &d[offset], sizeof v);
    else ADD_FAILURE() << "offset " << offset << " beyond the image";
    return v;
}

template <typename T>
std::vector<uint8_t> Patched(std::vector<uint8_t> d, std::size_t offset, T v) {
    std::memcpy(&d.at(offset), &v, sizeof v);
    return d;
}

FarFieldContents FreshContents() {
    FarFieldContents c;
    c.Ant = NewAntenna();
    c.Results = std::make_unique<CResult>();
    return c;
}

TEST(HeaderVersion, ScansTheVersionDigitsAfterTheName) {
    ByteWriter w;
    WriteFileHeader(w, ResHeader);
    const auto& h = w.Data();
    ASSERT_EQ(h.size(), 16u);
    EXPECT_EQ(std::string(h.begin(), h.begin() + 13), "KORVA Res2.00");
    EXPECT_EQ(h[13], 0x1A);
    EXPECT_EQ(h[14], 0);
    EXPECT_EQ(h[15], 0);
    EXPECT_EQ(ParseHeaderVersion(h.data(), h.size(), ResHeader), 200);

    auto text = [](const char* s) { return ParseHeaderVersion(reinterpret_cast<const uint8_t*>(s), 16, ResHeader); };
    EXPECT_EQ(text("KORVA Res2.01\x1A\0\0"), 201);
    EXPECT_EQ(text("KORVA Opt2.00\x1A\0\0"), -1);
    EXPECT_EQ(text("KORVA Resx.yz\x1A\0\0"), 0);
    EXPECT_EQ(ParseHeaderVersion(h.data(), 8, ResHeader), -1);
}

// Offsets of the empty antenna's file: header, then the model image.
constexpr std::size_t OffName = 16, OffFreq = 145, OffWireCount = 153, OffCalcFreq = 157, OffSourceCount = 165,
                      OffUseLoads = 173, OffDM1 = 181, OffSC = 189, OffEC = 197, OffStackMode = 201, OffNV = 205,
                      OffNH = 209, OffVSpacing = 213, OffGround = 229, OffHeight = 233, OffMaterial = 241,
                      OffZ0R = 245, OffZ0X = 253, OffAzEl = 261, OffTaperCount = 265, OffTaperSets = 269,
                      OffCommentLength = 2029, OffHasFarField = 2033, EmptyFileSize = 2037;

TEST(FarFieldImage, EmptyAntennaGoldenLayout) {
    auto ant = NewAntenna();
    ant->nV = 3;
    ant->nH = 2;
    ant->vSpacing = 4.5;
    ModelEnvFields env = SampleEnv();
    auto results = std::make_unique<CResult>();
    std::vector<uint8_t> d = BuildFarFieldImage(*ant, env, "", *results);

    ASSERT_EQ(d.size(), EmptyFileSize);
    EXPECT_EQ(d[OffName], 0);
    EXPECT_EQ(At<double>(d, OffFreq), 14.15);
    EXPECT_EQ(At<int32_t>(d, OffWireCount), 0);
    EXPECT_EQ(At<double>(d, OffCalcFreq), 0.0);
    EXPECT_EQ(At<int32_t>(d, OffSourceCount), 0);
    EXPECT_EQ(At<int32_t>(d, OffSourceCount + 4), 1);   // AutoVoltage
    EXPECT_EQ(At<int32_t>(d, OffUseLoads), 1);
    EXPECT_EQ(At<int32_t>(d, OffDM1), 800);
    EXPECT_EQ(At<int32_t>(d, OffDM1 + 4), 80);
    EXPECT_EQ(At<double>(d, OffSC), 2.0);                // SC before EC
    EXPECT_EQ(At<int32_t>(d, OffEC), 1);
    EXPECT_EQ(At<int32_t>(d, OffStackMode), 0);
    EXPECT_EQ(At<int32_t>(d, OffNV), 3);                 // nV before nH
    EXPECT_EQ(At<int32_t>(d, OffNH), 2);
    EXPECT_EQ(At<double>(d, OffVSpacing), 4.5);          // vSpacing before hSpacing
    EXPECT_EQ(At<int32_t>(d, OffGround), GroundReal);
    EXPECT_EQ(At<double>(d, OffHeight), 20.0);
    EXPECT_EQ(At<int32_t>(d, OffMaterial), 7);
    EXPECT_EQ(At<double>(d, OffZ0R), 50.0);
    EXPECT_EQ(At<double>(d, OffZ0X), -12.5);
    EXPECT_EQ(At<int32_t>(d, OffAzEl), 3932280);
    EXPECT_EQ(At<int32_t>(d, OffTaperCount), 0);
    EXPECT_EQ(OffCommentLength - OffTaperSets, 1760u);   // all ten sets, used or not
    EXPECT_EQ(At<int32_t>(d, OffCommentLength), 0);
    EXPECT_EQ(At<int32_t>(d, OffHasFarField), 0);
}

// The fixture was written from the format's field table by a separate script.
TEST(FarFieldImage, MatchesTheGoldenEmptyAntennaFile) {
    std::vector<uint8_t> golden;
    ASSERT_EQ(ReadWholeFile(KORVA_TEST_DATA "/golden-empty.kvb", golden, 1 << 16), ReadFileStatus::Ok);
    ASSERT_EQ(golden.size(), EmptyFileSize + 11);
    auto ant = NewAntenna();
    CopyText(ant->Name, "golden");
    ModelEnvFields env;
    env.AntHeight = 20;
    env.AzEl = PackAzEl(120, 60);
    EXPECT_EQ(BuildFarFieldImage(*ant, env, "golden file", CResult()), golden);

    FarFieldContents c = FreshContents();
    ASSERT_EQ(OpenFarFieldFile(KORVA_TEST_DATA "/golden-empty.kvb", c), FarFieldStatus::Ok);
    EXPECT_STREQ(c.Ant->Name, "golden");
    EXPECT_EQ(c.Env.AzEl, PackAzEl(120, 60));
    EXPECT_EQ(c.Comment, "golden file\r\n");  // as the antenna text gives it back
    EXPECT_EQ(c.Results->HasFarField, 0);
}

TEST(FarFieldImage, RecordsCommentAndFarFieldAddTheirSizes) {
    auto ant = NewAntenna();
    ModelEnvFields env;
    auto results = SampleResults();
    EXPECT_EQ(BuildFarFieldImage(*ant, env, "abc", CResult()).size(), EmptyFileSize + 3);
    EXPECT_EQ(BuildFarFieldImage(*ant, env, "", *results).size(), EmptyFileSize + 54148);

    ant->WireCount = 1;
    ant->Wires[0] = WireRec{1, 2, 3, 4, 5, 6, 0.001, PackSegPair(5, 3), 7, 8, 0};
    ant->SourceCount = 1;
    CopyText(ant->Sources[0].Pos, "w1c");
    ant->LoadCount = 1;
    ant->Loads[0].Type = LoadRX;
    std::vector<uint8_t> d = BuildFarFieldImage(*ant, env, "abc", CResult());
    ASSERT_EQ(d.size(), EmptyFileSize + 3 + 72 + 32 + 216);
    const std::size_t wire = OffWireCount + 4;
    EXPECT_EQ(At<double>(d, wire + 40), 6.0);
    EXPECT_EQ(At<double>(d, wire + 48), 0.001);
    EXPECT_EQ(At<uint32_t>(d, wire + 56), 0x80030005u);
    EXPECT_EQ(At<int32_t>(d, wire + 60), 7);
    const std::size_t source = wire + 72 + 8 + 8;
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&d[source])), "w1c");
    const std::size_t load = source + 32 + 8;
    EXPECT_EQ(At<int32_t>(d, load), LoadRX);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&d[d.size() - 7]), 3), "abc");
}

TEST(FarFieldImage, RoundTripIsByteIdentical) {
    auto ant = SampleAntenna();
    ant->Wires[0].FirstPulse = 1;
    ant->Wires[0].PulseCount = 11;
    ant->Sources[0].Pulse = 6;
    auto results = SampleResults();
    std::vector<uint8_t> first = BuildFarFieldImage(*ant, SampleEnv(), "line 1\r\nline 2\r\n", *results);

    FarFieldContents c = FreshContents();
    ASSERT_EQ(ParseFarFieldImage(first, c), FarFieldStatus::Ok);
    EXPECT_STREQ(c.Ant->Name, "3 el. Yagi 20m");
    EXPECT_EQ(c.Ant->Wires[0].Seg, PackSegPair(5, 3));
    EXPECT_EQ(c.Ant->Loads[2].N, 2);
    EXPECT_EQ(c.Ant->TaperSets[1].Type, TaperOneWayStar);
    EXPECT_EQ(c.Ant->nV, 3);
    EXPECT_EQ(c.Env.Material, 7);
    EXPECT_EQ(c.Comment, "line 1\r\nline 2\r\n");
    EXPECT_EQ(c.Results->HasFarField, 1);
    EXPECT_EQ(c.Results->Rows[0].R, 23.5f);

    std::vector<uint8_t> second = BuildFarFieldImage(*c.Ant, c.Env, c.Comment, *c.Results);
    EXPECT_EQ(first, second);
}

TEST(FarFieldImage, EmptyStoredCommentKeepsTheCurrentOneAndNoFarFieldKeepsTheResults) {
    std::vector<uint8_t> d = BuildFarFieldImage(*NewAntenna(), ModelEnvFields{}, "", CResult());
    FarFieldContents c = FreshContents();
    c.Comment = "kept";
    c.Results = SampleResults();
    ASSERT_EQ(ParseFarFieldImage(d, c), FarFieldStatus::Ok);
    EXPECT_EQ(c.Comment, "kept");
    EXPECT_EQ(c.Results->Row(0)->R, 23.5f);
}

TEST(FarFieldImage, DamagedFilesAreRefused) {
    std::vector<uint8_t> good = BuildFarFieldImage(*NewAntenna(), SampleEnv(), "", CResult());
    std::vector<std::vector<uint8_t>> bad = {
        Patched<char>(good, 12, '1'),                 // version 201
        Patched<char>(good, 0, 'k'),                  // name differs
        Patched<int32_t>(good, OffWireCount, 513),
        Patched<int32_t>(good, OffWireCount, -1),
        Patched<int32_t>(good, OffWireCount, 1),      // a wire the file does not hold
        Patched<int32_t>(good, OffSourceCount, 65),
        Patched<int32_t>(good, OffSourceCount + 4, 2),
        Patched<int32_t>(good, OffUseLoads + 4, 101),
        Patched<int32_t>(good, OffStackMode, 3),
        Patched<int32_t>(good, OffNV, 0),
        Patched<int32_t>(good, OffNH, -2),
        Patched<int32_t>(good, OffGround, 3),
        Patched<int32_t>(good, OffMaterial, 9),
        Patched<int32_t>(good, OffAzEl, PackAzEl(360, 60)),
        Patched<int32_t>(good, OffAzEl, PackAzEl(120, 180)),
        Patched<int32_t>(good, OffTaperCount, 11),
        Patched<int32_t>(good, OffTaperSets + 168, 4),                    // taper type
        Patched<double>(good, OffFreq, std::numeric_limits<double>::infinity()),
        Patched<int32_t>(good, OffCommentLength, -1),
        Patched<int32_t>(good, OffCommentLength, 5),  // longer than the rest of the file
        Patched<int32_t>(good, OffHasFarField, 1),    // a far field that is not there
    };
    std::vector<uint8_t> noNul = good;
    std::memset(&noNul[OffName], 'n', 129);
    bad.push_back(noNul);
    std::vector<uint8_t> trailing = good;
    trailing.push_back(0);
    bad.push_back(trailing);
    for (std::size_t k = 0; k < bad.size(); ++k) {
        FarFieldContents c = FreshContents();
        EXPECT_EQ(ParseFarFieldImage(bad[k], c), FarFieldStatus::InvalidFormat) << "case " << k;
    }
}

TEST(FarFieldImage, EveryTruncationIsRefused) {
    auto results = SampleResults();
    std::vector<uint8_t> good = BuildFarFieldImage(*SampleAntenna(), SampleEnv(), "note", *results);
    for (std::size_t n = 0; n < good.size(); n += (n < 4000 ? 1 : 97)) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        FarFieldContents c = FreshContents();
        ASSERT_EQ(ParseFarFieldImage(cut, c), FarFieldStatus::InvalidFormat) << n;
    }
}

TEST(FarFieldImage, ModelImageRefusesBadRecordFields) {
    auto ant = SampleAntenna();
    ByteWriter w;
    WriteModelImage(w, *ant, SampleEnv(), "");
    const std::size_t wire0 = 129 + 8 + 4;
    const std::size_t sources = wire0 + 3 * 72 + 8 + 8;
    const std::size_t loads = sources + 2 * 32 + 8;
    std::vector<std::vector<uint8_t>> bad = {
        Patched<int32_t>(w.Data(), wire0 + 60, -1),          // first pulse
        Patched<int32_t>(w.Data(), wire0 + 64, 8193),        // pulse count
        Patched<int32_t>(w.Data(), sources + 12, 9000),      // source pulse
        Patched<int32_t>(w.Data(), loads, 3),                // load type
        Patched<int32_t>(w.Data(), loads + 20, 13),          // pairs in use
    };
    std::vector<uint8_t> pos = w.Data();
    std::memset(&pos[sources], 'w', 12);
    bad.push_back(pos);
    for (std::size_t k = 0; k < bad.size(); ++k) {
        auto into = NewAntenna();
        ModelEnvFields env;
        std::string comment;
        ByteReader in(bad[k]);
        EXPECT_FALSE(ReadModelImage(in, *into, env, comment)) << "case " << k;
    }
}

class FarFieldFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("korva_kvb_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(FarFieldFileTest, SavedFileOpensToTheSameRecords) {
    auto ant = SampleAntenna();
    auto results = SampleResults();
    std::string path = (dir / "yagi.kvb").string();
    ASSERT_EQ(SaveFarFieldFile(path, *ant, SampleEnv(), "c", *results), FarFieldStatus::Ok);
    FarFieldContents c = FreshContents();
    ASSERT_EQ(OpenFarFieldFile(path, c), FarFieldStatus::Ok);
    EXPECT_EQ(std::memcmp(c.Ant->Wires, ant->Wires, sizeof ant->Wires), 0);
    EXPECT_EQ(c.Results->Sweep.Points[2].AzGain[PolTotal][10], results->Sweep.Points[2].AzGain[PolTotal][10]);
}

TEST_F(FarFieldFileTest, SaveThroughALinkReplacesTheLinkedFile) {
    fs::path real = dir / "real.kvb";
    ASSERT_TRUE(WriteFileReplacing(real.string(), std::string_view("old")));
    fs::create_symlink(real, dir / "link.kvb");
    ASSERT_EQ(SaveFarFieldFile((dir / "link.kvb").string(), *NewAntenna(), ModelEnvFields{}, "", CResult()),
              FarFieldStatus::Ok);
    EXPECT_TRUE(fs::is_symlink(dir / "link.kvb"));
    EXPECT_EQ(fs::file_size(real), EmptyFileSize);
}

TEST_F(FarFieldFileTest, OpenReportsMissingAndForeignFiles) {
    FarFieldContents c = FreshContents();
    EXPECT_EQ(OpenFarFieldFile((dir / "missing.kvb").string(), c), FarFieldStatus::CannotOpen);
    EXPECT_EQ(OpenFarFieldFile(dir.string(), c), FarFieldStatus::CannotOpen);
    std::ofstream((dir / "text.kvb").string()) << "KORVA Res2.00 but not really";
    EXPECT_EQ(OpenFarFieldFile((dir / "text.kvb").string(), c), FarFieldStatus::InvalidFormat);
}

TEST_F(FarFieldFileTest, FailedSaveKeepsTheOldFileAndLeavesNoTemporary) {
    std::string path = (dir / "old.kvb").string();
    ASSERT_TRUE(WriteFileReplacing(path, std::string_view("old contents")));
    fs::permissions(path, fs::perms(0640));
    auto results = SampleResults();
    ASSERT_EQ(SaveFarFieldFile(path, *NewAntenna(), ModelEnvFields{}, "", *results), FarFieldStatus::Ok);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));   // the file keeps its mode

    // A folder in the way: the rename fails, nothing is replaced or left behind.
    fs::create_directory(dir / "taken.kvb");
    fs::path inner = dir / "taken.kvb" / "x";
    std::ofstream(inner.string()) << "x";
    std::string error;
    EXPECT_EQ(SaveFarFieldFile((dir / "taken.kvb").string(), *NewAntenna(), ModelEnvFields{}, "", *results,
                               &error),
              FarFieldStatus::CannotSave);
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_regular_file(inner));
    EXPECT_EQ(SaveFarFieldFile((dir / "no" / "such" / "dir.kvb").string(), *NewAntenna(), ModelEnvFields{}, "",
                               *results),
              FarFieldStatus::CannotSave);
    int files = 0;
    for (const auto& e : fs::directory_iterator(dir)) files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1);   // only old.kvb
}

TEST_F(FarFieldFileTest, ASizeLimitIsReported) {
    const std::string path = (dir / "a.kva").string();
    ASSERT_TRUE(WriteFileReplacing(path, std::string_view("antenna")));

    // Beyond the file-size limit the save fails and says so; the old file and
    // the program stay.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool written = WriteFileReplacing(path, std::string(100000, 'x'), &error);
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(written);
    EXPECT_NE(error.find("write"), std::string::npos) << error;
    EXPECT_EQ(fs::file_size(path), 7u);
}

}  // namespace
