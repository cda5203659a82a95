// The frequency table and the multiband list on a real dipole.
#include "SweepFixture.h"

#include <sstream>

#include "views/FreqTable.h"
#include "views/MultibandList.h"
#include "views/SweepSession.h"

namespace {
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) end = text.size();
        out.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return out;
}
}  // namespace

TEST_F(SweepFixture, FreqTableWritesEveryFrequencyAndReusesTheSweep) {
    StartAt(14.2);
    ant->CalcFreq = 14.2;
    FreqTableRequest req;
    req.Fmin = 14.0;
    req.Fmax = 14.35;
    req.Step = 0.05;
    int before = prepares;
    std::vector<std::string> lines = Lines(BuildFreqTable(Host(), req));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "Freq(MHz),R(Ohm),jX(Ohm),SWR(50.0Ohm),Ga(dBi),F/B(dB)");
    EXPECT_EQ(lines[1].substr(0, 5), "14.0,");
    EXPECT_EQ(lines[8].substr(0, 6), "14.35,");
    EXPECT_EQ(prepares - before, 8);   // seven runs (14.2 is the Start's) and the restoring preparation
    EXPECT_EQ(ant->CalcFreq, 14.2);
    // The rows that are sweep points stay in the sweep table.
    for (const SweepPoint& p : Results.Sweep.Points) {
        if (p.F <= req.Fmax) {
            EXPECT_NE(p.State, SweepNotComputed) << p.F;
        }
    }
}

TEST_F(SweepFixture, FreqTableReusesWhatTheSweepHolds) {
    StartAt(14.2);
    ant->CalcFreq = 14.2;
    SweepSession sweep(Host());
    sweep.Open();
    ASSERT_TRUE(sweep.SetWidth("200"));   // 14.1 .. 14.3 in 50 kHz steps
    sweep.AllPoints();
    ant->CalcFreq = 14.2;
    FreqTableRequest req;
    req.Fmin = 14.1;
    req.Fmax = 14.3;
    req.Step = 0.05;
    int before = prepares;
    std::vector<std::string> lines = Lines(BuildFreqTable(Host(), req));
    EXPECT_EQ(lines.size(), 6u);
    // Every line is a point of the sweep: no run, and nothing to put back.
    EXPECT_EQ(prepares - before, 0);
}

TEST_F(SweepFixture, FreqTableMatchedAtTheMiddleShowsSwrOneThere) {
    StartAt(14.2);
    FreqTableRequest req;
    req.Fmin = 14.1;
    req.Fmax = 14.3;
    req.Step = 0.05;
    req.MatchFreq = 14.2;
    std::vector<std::string> lines = Lines(BuildFreqTable(Host(), req));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Freq(MHz),R(Ohm),jX(Ohm),SWR(14.2MHz),Ga(dBi),F/B(dB)");
    std::stringstream mid(lines[3]);
    std::string f, r, x, swr;
    std::getline(mid, f, ',');
    std::getline(mid, r, ',');
    std::getline(mid, x, ',');
    std::getline(mid, swr, ',');
    EXPECT_EQ(f, "14.2");
    EXPECT_EQ(swr, "1.0");
}

TEST_F(SweepFixture, FreqTableEndsAtAFrequencyThatCannotBePrepared) {
    StartAt(14.2);
    refuseAbove = true;
    refuseFreq = 14.22;
    FreqTableRequest req;
    req.Fmin = 14.1;
    req.Fmax = 14.3;
    req.Step = 0.05;
    EXPECT_EQ(Lines(BuildFreqTable(Host(), req)).size(), 4u);   // head, 14.1, 14.15, 14.2
}

TEST_F(SweepFixture, MultibandListsBandsAndSinglePoint) {
    StartAt(14.2);
    ant->CalcFreq = 14.2;
    bool running = true;
    MultibandList list(Host(), [] {});
    list.Running = running;
    std::vector<std::string> lines;
    list.ComputeBands({{"7.0 - 7.1", false}, {"14.0 - 14.2", true}}, 3, lines);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "\\*  14.0 - 14.2   *\\");
    EXPECT_EQ(lines[1].substr(0, 7), "14.0   ");
    EXPECT_EQ(lines[2].substr(0, 7), "14.1   ");
    EXPECT_EQ(lines[3].substr(0, 7), "14.2   ");
    EXPECT_EQ(ant->CalcFreq, 14.2);

    lines.clear();
    list.ComputeBands({{"7.0 - 7.1", false}}, 3, lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "\\******************");
    EXPECT_EQ(lines[1].substr(0, 7), "14.2   ");
}

TEST_F(SweepFixture, MultibandStopEndsAtTheLastFinishedPoint) {
    StartAt(14.2);
    ant->CalcFreq = 14.2;
    MultibandList* self = nullptr;
    int pumped = 0;
    MultibandList list(Host(), [&] {
        if (++pumped == 2) self->Running = false;
    });
    self = &list;
    list.Running = true;
    std::vector<std::string> lines;
    list.ComputeBands({{"7.0 - 7.1", true}, {"21.0 - 21.45", true}}, 11, lines);
    // Head, first point; the second run is thrown away when Stop arrives.
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_EQ(ant->CalcFreq, 14.2);
}

TEST(MultibandBands, BandTextsNeedTwoOrderedNumbers) {
    double a = 0, b = 0;
    EXPECT_TRUE(ParseBandText("10.1 - 10.15", a, b));
    EXPECT_DOUBLE_EQ(a, 10.1);
    EXPECT_DOUBLE_EQ(b, 10.15);
    EXPECT_FALSE(ParseBandText("7.0", a, b));
    EXPECT_FALSE(ParseBandText("abc - 7", a, b));
    EXPECT_FALSE(ParseBandText("7.1 - 7.0", a, b));
}
