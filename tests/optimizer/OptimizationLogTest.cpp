// The ring of evaluated points and the optimization log file.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "OptimizerTestSupport.h"
#include "model/BinaryStream.h"
#include "model/ModelImage.h"
#include "model/TestFolder.h"
#include "optimizer/OptLogFile.h"

namespace {

std::size_t ModelImageSize(const AntDef& ant, const std::string& comment = "") {
    ByteWriter out;
    WriteModelImage(out, ant, ModelEnvFields{}, comment);
    return out.Data().size();
}

void PushPoint(CACal& cal, double value) {
    cal.Row(0).Value = value;
    cal.LastScore = value * 2;
    cal.PushLog(Results);
}

}  // namespace

TEST(OptimizationLogRing, KeepsTheLast128Points) {
    OptimizerFixture f;
    f.AddRow(KindHeight, 0, 0);
    Results.AngleStep = 1;
    Results.AzCut[PolTotal][4] = 3.5f;
    for (int k = 1; k <= 130; ++k) PushPoint(*f.Cal, k);
    EXPECT_EQ(f.Cal->LogCount, 128);
    EXPECT_EQ(f.Cal->LogHead, 2);
    ACalLogEntry e;
    f.Cal->GetLogEntry(e, 0);
    EXPECT_DOUBLE_EQ(e.Values[0], 130);
    EXPECT_EQ(e.AzPattern[2], 3 * 256 + 128);   // 4 degrees, sampled every 2
    f.Cal->GetLogEntry(e, 127);
    EXPECT_DOUBLE_EQ(e.Values[0], 3);
}

TEST(OptimizationLogRing, LookupIsExact) {
    OptimizerFixture f;
    f.AddRow(KindHeight, 0, 0);
    Results.AngleStep = 0;    // nothing calculated: no cuts to sample
    PushPoint(*f.Cal, 1.5);
    double score = 0;
    f.Cal->Row(0).Value = 1.5;
    EXPECT_TRUE(f.Cal->LookupLog(score));
    EXPECT_DOUBLE_EQ(score, 3);
    f.Cal->Row(0).Value = 1.5000000001;
    EXPECT_FALSE(f.Cal->LookupLog(score));
}

TEST(OptimizationLogFile, AnEmptyStateHasItsFixedSize) {
    OptimizerFixture f;
    const auto bytes = BuildOptLogImage(*f.Ant, ModelEnvFields{}, "", *f.Cal);
    EXPECT_EQ(bytes.size(), 16 + ModelImageSize(*f.Ant) + 2632);
    EXPECT_EQ(std::memcmp(bytes.data(), "KORVA Opt2.00\x1A\0\0", 16), 0);

    // A log of another antenna is marked in the last header byte, which
    // older files leave 0: they read as logs of their antenna.
    auto other = BuildOptLogImage(*f.Ant, ModelEnvFields{}, "", *f.Cal, LogAntenna::Other);
    EXPECT_EQ(std::memcmp(bytes.data() + 16, other.data() + 16, bytes.size() - 16), 0);
    for (const auto& [image, expected] : {std::pair{bytes, LogAntenna::Logged}, {other, LogAntenna::Other}}) {
        OptimizerFixture g;
        auto ant = NewAntenna();
        ModelEnvFields env;
        std::string comment;
        LogAntenna which{};
        ASSERT_EQ(ParseOptLogImage(image, *ant, env, comment, *g.Cal, nullptr, &which), OptLogStatus::Ok);
        EXPECT_EQ(which, expected);
    }
}

TEST(OptimizationLogFile, RowsAndRingGoBackAsTheyWere) {
    OptimizerFixture f;
    const int i = f.AddRow(KindWire, 3, 0);
    f.Cal->Row(i).Step = 0.25;
    f.Cal->Row(i).Link = LinkFree;
    f.AddRow(KindLoad, 0, 1);
    f.Cal->Row(1).Link = LinkMultiply | 0;
    f.Cal->BandCount = 2;
    f.Cal->Bands[1].Freq = 21;
    CopyText(f.Cal->Bands[1].Sources[0].Pos, "w3c");
    f.Cal->Bands[1].Sources[0].Voltage = 1;
    CopyText(f.Cal->CurrentPos, "w4b");
    Results.AngleStep = 2;
    PushPoint(*f.Cal, 4);
    PushPoint(*f.Cal, 5);
    const auto bytes = BuildOptLogImage(*f.Ant, ModelEnvFields{}, "note", *f.Cal);
    const std::size_t base = 16 + ModelImageSize(*f.Ant, "note") + 4;   // the first row after the row count
    double step;
    std::memcpy(&step, bytes.data() + base + 32, 8);
    EXPECT_EQ(step, 0.25);

    OptimizerFixture g;
    auto ant = NewAntenna();
    ModelEnvFields env;
    std::string comment;
    ASSERT_EQ(ParseOptLogImage(bytes, *ant, env, comment, *g.Cal), OptLogStatus::Ok);
    EXPECT_EQ(comment, "note\r\n");  // as the antenna text gives it back
    EXPECT_EQ(ant->WireCount, 4);
    EXPECT_EQ(g.Cal->RowCount(), 2);
    EXPECT_EQ(g.Cal->Row(1).Link, LinkMultiply | 0);
    EXPECT_EQ(g.Cal->Row(0).Step, 0.25);
    EXPECT_EQ(g.Cal->BandCount, 2);
    EXPECT_STREQ(g.Cal->Bands[1].Sources[0].Pos, "w3c");
    EXPECT_STREQ(g.Cal->CurrentPos, "w4b");
    EXPECT_EQ(g.Cal->LogCount, 2);
    EXPECT_EQ(g.Cal->LogHead, 2);
    ACalLogEntry e;
    g.Cal->GetLogEntry(e, 0);
    EXPECT_EQ(e.Values[0], 5);
    EXPECT_EQ(e.Score, 10);
}

TEST(OptimizationLogFile, DamagedFilesChangeNothing) {
    OptimizerFixture f;
    f.AddRow(KindHeight, 0, 0);
    Results.AngleStep = 2;
    PushPoint(*f.Cal, 4);
    const auto good = BuildOptLogImage(*f.Ant, ModelEnvFields{}, "", *f.Cal);
    const std::size_t rowCountAt = 16 + ModelImageSize(*f.Ant);
    const std::size_t logCountAt = rowCountAt + 4 + 10240 + 2616 + 8;

    OptimizerFixture g;
    g.AddRow(KindFreq, 0, 0);
    auto check = [&](std::vector<uint8_t> bytes) {
        auto ant = NewAntenna();
        ModelEnvFields env;
        std::string comment;
        EXPECT_EQ(ParseOptLogImage(bytes, *ant, env, comment, *g.Cal), OptLogStatus::InvalidFormat);
        EXPECT_EQ(g.Cal->RowCount(), 1);
        EXPECT_EQ(g.Cal->Row(0).Kind, KindFreq);
        EXPECT_EQ(g.Cal->LogCount, 0);
    };
    auto patch = [&](std::size_t at, int32_t v) {
        auto b = good;
        std::memcpy(b.data() + at, &v, 4);
        return b;
    };
    check(patch(rowCountAt, 129));
    check(patch(rowCountAt, -1));
    check(patch(logCountAt, 129));
    check(patch(logCountAt + 4, 128));    // the head
    check(patch(rowCountAt + 4, 9));      // the kind of row 1
    check(patch(rowCountAt + 8, 300));    // a link past the table
    for (std::size_t cut : {std::size_t(10), rowCountAt + 2, good.size() - 1}) {
        auto b = good;
        b.resize(cut);
        check(b);
    }
    auto extra = good;
    extra.push_back(0);
    check(extra);
    auto header = good;
    header[6] = 'R';
    check(header);
}

TEST(OptimizationLogFile, BandsAreReadThroughTheBandTableRules) {
    // Band 1 holds the antenna's own frequency (0: the design frequency) and
    // sources; the bands after it what the band table takes.
    OptimizerFixture f;
    f.Cal->BandCount = 2;
    for (ACalBandRec& band : f.Cal->Bands) {
        band.Freq = 14;
        CopyText(band.Sources[0].Pos, "w2e");
        band.Sources[0].Phase = 90;
        band.Sources[0].Voltage = 1;
    }
    f.Cal->Bands[0].Freq = 0;
    f.Cal->Bands[0].Sources[0].Phase = -90;
    f.Cal->Bands[0].Sources[0].Voltage = 0;
    CopyText(f.Cal->Bands[5].Sources[0].Pos, "xxxxxxxxxxx");  // beyond the bands in use
    const struct {
        std::function<void(ACalBandRec&)> change;  // of band `band` + 1
        const char* refusal;                       // nullptr: read, with `position`
        const char* position;
        int band = 1;
    } cases[] = {
        {[](ACalBandRec&) {}, nullptr, "w2e"},
        {[](ACalBandRec& b) { b.Freq = 0; }, "Band 2: the frequency must lie above 1.5 and below 999999.9 MHz.", ""},
        {[](ACalBandRec& b) { b.Freq = 1.5; }, "Band 2: the frequency must lie above 1.5 and below 999999.9 MHz.", ""},
        {[](ACalBandRec& b) { CopyText(b.Sources[0].Pos, "w1b+00010"); },
         "Band 2, source 1: a position holds at most 8 characters and no comma.", ""},
        {[](ACalBandRec& b) { CopyText(b.Sources[0].Pos, "w1,c"); },
         "Band 2, source 1: a position holds at most 8 characters and no comma.", ""},
        {[](ACalBandRec& b) { CopyText(b.Sources[0].Pos, " w\xEF\xBC\x91" "c"); }, nullptr, "w1c"},
        {[](ACalBandRec& b) { b.Sources[0].Phase = 360; }, "Band 2, source 1: the phase must lie from 0 up to 360 degrees.", ""},
        {[](ACalBandRec& b) { b.Sources[0].Phase = -1; }, "Band 2, source 1: the phase must lie from 0 up to 360 degrees.", ""},
        {[](ACalBandRec& b) { b.Sources[0].Voltage = 0; }, "Band 2, source 1: the voltage must be above 0.", ""},
        // Past the first empty position no source is used.
        {[](ACalBandRec& b) { b.Sources[2].Voltage = -5; }, nullptr, "w2e"},
        {[](ACalBandRec& b) { CopyText(b.Sources[0].Pos, "w1,c"); },
         "Band 1, source 1: a position holds at most 8 characters and no comma.", "", 0},
    };
    const ACalBandRec band1 = f.Cal->Bands[0], band2 = f.Cal->Bands[1];
    for (const auto& c : cases) {
        f.Cal->Bands[0] = band1;
        f.Cal->Bands[1] = band2;
        c.change(f.Cal->Bands[c.band]);
        const auto bytes = BuildOptLogImage(*f.Ant, ModelEnvFields{}, "", *f.Cal);
        OptimizerFixture g;
        auto ant = NewAntenna();
        ModelEnvFields env;
        std::string comment, refusal;
        const OptLogStatus status = ParseOptLogImage(bytes, *ant, env, comment, *g.Cal, &refusal);
        if (c.refusal) {
            EXPECT_EQ(status, OptLogStatus::InvalidFormat) << c.refusal;
            EXPECT_EQ(refusal, c.refusal);
            EXPECT_EQ(g.Cal->BandCount, 1);
        } else {
            ASSERT_EQ(status, OptLogStatus::Ok) << refusal;
            EXPECT_STREQ(g.Cal->Bands[1].Sources[0].Pos, c.position);
            EXPECT_EQ(g.Cal->Bands[0].Sources[0].Phase, -90);
        }
    }
}

TEST(OptimizationLogFile, SavedAndOpenedThroughTheDisk) {
    OptimizerFixture f;
    f.AddRow(KindHeight, 0, 0);
    const TestFolder folder("korva-optlog");  // its own: copies of this program run side by side
    ASSERT_FALSE(folder.Path().empty());
    const auto& dir = folder.Path();
    const std::string path = (dir / "run.kvo").string();
    ASSERT_EQ(SaveOptLog(path, *f.Ant, ModelEnvFields{}, "", *f.Cal), OptLogStatus::Ok);
    OptimizerFixture g;
    auto ant = NewAntenna();
    ModelEnvFields env;
    std::string comment;
    EXPECT_EQ(OpenOptLog(path, *ant, env, comment, *g.Cal), OptLogStatus::Ok);
    EXPECT_EQ(g.Cal->RowCount(), 1);
    EXPECT_EQ(OpenOptLog((dir / "missing.kvo").string(), *ant, env, comment, *g.Cal), OptLogStatus::CannotOpen);
    EXPECT_EQ(SaveOptLog((dir / "no" / "such" / "x.kvo").string(), *f.Ant, ModelEnvFields{}, "", *f.Cal),
              OptLogStatus::CannotSave);
}
