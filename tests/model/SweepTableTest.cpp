#include "model/SweepTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "model/BinaryStream.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"

namespace {

TEST(GainToShort, ScalesRoundsAndClamps) {
    EXPECT_EQ(GainToShort(10.0f), 2560);
    EXPECT_EQ(GainToShort(-999.0f), NoGainShort);
    EXPECT_EQ(GainToShort(-127.99f), -32765);
    EXPECT_EQ(GainToShort(std::nanf("")), NoGainShort);
    EXPECT_EQ(GainToShort(200.0f), 32767);
    EXPECT_EQ(GainToShort(0.001f), 0);
    EXPECT_EQ(GainToShort(0.003f), 1);    // 0.768 rounds to 1
}

class SweepTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnvDef = EnvRec{};
        s->AngleStep = 1;
        s->PushRow();
        ResultRow& r = *s->Row(0);
        r.F = 14.15f;
        r.R = 50;
        r.jX = -5;
        r.Ga = 6;
        r.FB = 20;
        s->Sweep.F0 = 14.15;
        s->Sweep.Step = 0.1;
        s->Sweep.BW = 0.4;
    }
    std::unique_ptr<CResult> s = std::make_unique<CResult>();
};

TEST_F(SweepTest, InitSweepCentresFivePointsOnTheNewestResult) {
    s->Sweep.Points[0].State = SweepComputed;
    s->Sweep.Match.State = SweepComputed;
    s->AzCut[PolTotal][0] = 3;
    // A frequency that is not the row's leaves the row's own.
    s->InitSweep(14.3);
    EXPECT_EQ(s->Sweep.F0, static_cast<double>(14.15f));
    s->InitSweep(14.15);
    const SweepTable& t = s->Sweep;
    EXPECT_EQ(t.F0, 14.15);
    EXPECT_DOUBLE_EQ(t.Step, 0.1);    // NiceStep(0.07075): leading digit 7 becomes 10
    EXPECT_DOUBLE_EQ(t.BW, 0.4);
    EXPECT_NEAR(t.Points[0].F, 13.95, 1e-6);
    EXPECT_NEAR(t.Points[4].F, 14.35, 1e-6);
    EXPECT_EQ(t.Points[0].State, SweepNotComputed);
    EXPECT_EQ(t.Points[2].State, SweepComputed);
    EXPECT_EQ(t.Points[2].AzGain[PolTotal][0], 768);
    EXPECT_EQ(t.Count, 1);
    EXPECT_EQ(t.CentreIndex, 2);
    EXPECT_EQ(t.DotsPerGap, 1);
    EXPECT_EQ(t.MatchAtCentre, 1);
    EXPECT_EQ(t.Match.State, SweepNotComputed);
    EXPECT_EQ(t.Match.F, t.F0);
    // The centre point is found by the exact frequency it was stored under.
    EXPECT_EQ(s->FindSweepPoint(t.Points[2].F), &t.Points[2]);
}

TEST_F(SweepTest, DivisionsPlaceDotsEvenlyAndRejectOutOfRange) {
    s->SetSweepDivisions(3);
    EXPECT_EQ(s->Sweep.DotsPerGap, 3);
    EXPECT_NEAR(s->Sweep.Dots[0][0].F, 13.975, 1e-12);
    EXPECT_NEAR(s->Sweep.Dots[3][2].F, 14.325, 1e-12);
    s->SetSweepDivisions(5);
    s->SetSweepDivisions(0);
    EXPECT_EQ(s->Sweep.DotsPerGap, 3);
}

TEST_F(SweepTest, StoreSweepPointSamplesCutsEveryTwoDegrees) {
    s->AzCut[PolTotal][4] = 1;      // azimuth 4 degrees -> sample 2
    s->ElevCut[PolV][180] = -999;   // front horizon -> sample 90
    s->StoreSweepPoint(2);
    const SweepPoint& p = s->Sweep.Points[2];
    EXPECT_EQ(p.State, SweepComputed);
    EXPECT_EQ(p.Shown, 1);
    EXPECT_EQ(p.R, 50.0);
    EXPECT_EQ(p.X, -5.0);
    EXPECT_EQ(p.AzGain[PolTotal][2], 256);
    EXPECT_EQ(p.ElGain[PolV][90], NoGainShort);
    EXPECT_EQ(s->Sweep.Count, 1);

    s->AngleStep = 2;
    s->AzCut[PolTotal][2] = 2;      // a quick run's index 2 is azimuth 4
    s->StoreSweepPoint(0);
    EXPECT_EQ(s->Sweep.Points[0].AzGain[PolTotal][2], 512);
    s->StoreSweepPoint(5);          // out of range: ignored
    EXPECT_EQ(s->Sweep.Count, 2);
}

TEST_F(SweepTest, LookupIsExactAndNeedsACount) {
    s->Sweep.Points[1].F = 14.05;
    s->StoreSweepPoint(1);
    s->SetSweepDivisions(1);
    s->StoreSweepSubPoint(1, 0);
    double dotF = s->Sweep.Dots[1][0].F;
    EXPECT_EQ(s->FindSweepPoint(14.05), &s->Sweep.Points[1]);
    EXPECT_EQ(s->FindSweepPoint(dotF), &s->Sweep.Dots[1][0]);
    EXPECT_EQ(s->FindSweepPoint(std::nextafter(14.05, 20.0)), nullptr);

    s->Sweep.Match.F = 14.2;
    s->Sweep.Match.State = SweepComputed;
    EXPECT_EQ(s->FindSweepPoint(14.2), &s->Sweep.Match);

    s->ClearSweep();
    EXPECT_EQ(s->FindSweepPoint(14.05), nullptr);
    EXPECT_EQ(s->Sweep.Points[1].State, SweepComputed);  // main points keep their data
    EXPECT_EQ(s->Sweep.Dots[1][0].F, 0.0);
    EXPECT_EQ(s->Sweep.Match.State, SweepNotComputed);
}

TEST_F(SweepTest, CountSweepCountsMainPointsAndDotCompleteness) {
    s->SetSweepDivisions(2);
    s->Sweep.Points[0].State = SweepComputed;
    s->Sweep.Points[4].State = SweepCopied;   // copied values are not counted
    s->CountSweep();
    EXPECT_EQ(s->Sweep.Count, 1);
    EXPECT_EQ(s->Sweep.DotsComplete, 0);
    for (int g = 0; g < SweepGaps; ++g)
        for (int j = 0; j < 2; ++j) s->StoreSweepSubPoint(g, j);
    s->CountSweep();
    EXPECT_EQ(s->Sweep.DotsComplete, 1);
}

TEST(SweepImage, HasTheFixedSizeAndOffsets) {
    auto t = std::make_unique<SweepTable>();
    t->Count = 5;
    t->Points[1].State = SweepComputed;
    t->Points[1].ElGain[2][90] = 77;
    t->DotsPerGap = 4;
    t->MatchAtCentre = 1;
    t->Match.F = 3.5;
    ByteWriter w;
    WriteSweepTable(w, *t);
    const auto& d = w.Data();
    ASSERT_EQ(d.size(), SweepTableImageSize);
    auto i32 = [&](std::size_t at) { int32_t v; std::memcpy(&v, &d[at], 4); return v; };
    EXPECT_EQ(i32(0), 5);
    EXPECT_EQ(i32(32 + 2760), SweepComputed);
    int16_t el;
    std::memcpy(&el, &d[32 + 2760 + 2212 + 2 * (2 * 91 + 90)], 2);
    EXPECT_EQ(el, 77);
    EXPECT_EQ(i32(13832), 4);
    EXPECT_EQ(i32(14608), 1);
    double f;
    std::memcpy(&f, &d[14616 + 8], 8);
    EXPECT_EQ(f, 3.5);

    auto back = std::make_unique<SweepTable>();
    ByteReader r(d);
    ASSERT_TRUE(ReadSweepTable(r, *back));
    ByteWriter w2;
    WriteSweepTable(w2, *back);
    EXPECT_EQ(w2.Data(), d);
}

TEST(SweepImage, RefusesCountsAndDivisionsOutOfRange) {
    auto t = std::make_unique<SweepTable>();
    ByteWriter w;
    WriteSweepTable(w, *t);
    for (auto [offset, value] : {std::pair<std::size_t, int32_t>{0, 6}, {4, 5}, {13832, 5}, {13832, -1},
                                 {32, 3}, {13840, 7}}) {
        std::vector<uint8_t> d = w.Data();
        std::memcpy(&d[offset], &value, 4);
        auto back = std::make_unique<SweepTable>();
        ByteReader r(d);
        EXPECT_FALSE(ReadSweepTable(r, *back)) << offset;
    }
}

}  // namespace
