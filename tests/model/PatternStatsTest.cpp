#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "model/EnvDef.h"
#include "model/GainTie.h"
#include "model/ResultStore.h"

namespace {

class PatternStatsTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnvDef = EnvRec{};
        EnvDef.AzEl = PackAzEl(120, 60);
        JobDef = JobRec{};
        JobDef.FixFreeAngle = 1;
        s->AngleStep = 1;
        s->PushRow();
        for (auto& cut : s->ElevCut)
            for (float& g : cut) g = -20;
        for (auto& cut : s->AzCut)
            for (float& g : cut) g = -20;
    }
    std::unique_ptr<CResult> s = std::make_unique<CResult>();
};

TEST_F(PatternStatsTest, StorePatternPointFilesByPassAndAdvances) {
    s->PassMode = PassAzimuth;
    s->PointIndex = 10;
    s->StorePatternPoint(1, 2, 3);
    EXPECT_EQ(s->AzCut[PolV][10], 1.0f);
    EXPECT_EQ(s->AzCut[PolH][10], 2.0f);
    EXPECT_EQ(s->AzCut[PolTotal][10], 3.0f);
    EXPECT_EQ(s->PointIndex, 11);

    s->PassMode = PassElevation;
    s->PointIndex = 180;
    s->StorePatternPoint(4, 5, 6);
    EXPECT_EQ(s->ElevCut[PolTotal][180], 6.0f);

    // Past the end of a cut nothing is written, but the index still advances.
    s->PointIndex = ElevCutSize;
    s->StorePatternPoint(9, 9, 9);
    EXPECT_EQ(s->PointIndex, ElevCutSize + 1);
}

TEST_F(PatternStatsTest, FineSearchReplacesTheCoarseMaximumOnlyWhenGreater) {
    s->ElevCut[PolTotal][30] = 5;
    s->ElevMaxIndex = 30;
    s->FineMax = 5;
    s->PassMode = PassFineSearch;
    s->PointIndex = 295;
    s->StorePatternPoint(0, 0, 5);   // equal: kept
    s->StorePatternPoint(0, 0, 5 + GainTieDb / 2);   // higher by less than single precision tells: kept
    EXPECT_EQ(s->ElevCut[PolTotal][30], 5.0f);
    EXPECT_EQ(s->ElevOfMax, 0.0f);
    s->StorePatternPoint(4, 1, 5.5f);
    EXPECT_EQ(s->ElevCut[PolTotal][30], 5.5f);
    EXPECT_EQ(s->ElevCut[PolV][30], 4.0f);
    EXPECT_EQ(s->FineMax, 5.5f);
    EXPECT_FLOAT_EQ(s->ElevOfMax, 29.7f);
}

TEST_F(PatternStatsTest, OfTwoEqualElevationLobesTheFrontOneWins) {
    s->ElevCut[PolTotal][30] = 6;    // 30 degrees above the back horizon
    s->ElevCut[PolTotal][150] = 6;   // 30 degrees above the front horizon
    EXPECT_EQ(s->PatternMaxElev(), 150);
    EXPECT_EQ(s->ElevMaxIndex, 150);
    EXPECT_EQ(s->ElevMax, 6.0f);
    // The same lobes as far as single precision tells, and a higher one.
    s->ElevCut[PolTotal][30] = 6 + GainTieDb / 2;
    EXPECT_EQ(s->PatternMaxElev(), 150);
    s->ElevCut[PolTotal][30] = 6 + 2 * GainTieDb;
    EXPECT_EQ(s->PatternMaxElev(), 30);

    s->AngleStep = 2;
    for (float& g : s->ElevCut[PolTotal]) g = -20;
    s->ElevCut[PolTotal][10] = 6;
    s->ElevCut[PolTotal][20] = 6;   // both on the back half: the first wins
    EXPECT_EQ(s->PatternMaxElev(), 20);
}

TEST_F(PatternStatsTest, ElevationAngleFoldsTheBackSideAndCapsSteepBeams) {
    EnvDef.Type = GroundPerfect;
    s->ElevOfMax = 100;
    EXPECT_DOUBLE_EQ(s->PatternElevAngle(), 80);
    EXPECT_EQ(s->ElevOfMax, 80.0f);
    EXPECT_EQ(s->CutElevation, 80.0f);

    s->ElevOfMax = 88;
    EXPECT_DOUBLE_EQ(s->PatternElevAngle(), 45);

    EnvDef.Type = GroundFree;
    s->ElevOfMax = 30;
    EXPECT_DOUBLE_EQ(s->PatternElevAngle(), 0);
    EXPECT_EQ(s->CutElevation, 0.0f);
    JobDef.FixFreeAngle = 0;
    EXPECT_DOUBLE_EQ(s->PatternElevAngle(), 30);
}

TEST_F(PatternStatsTest, MaxAzimuthFillsTheNewestRow) {
    s->AzCut[PolTotal][90] = 7;
    s->AzCut[PolV][90] = 6;
    s->AzCut[PolH][200] = 1;
    s->ElevMax = 6.5f;
    s->FineMax = 7.25f;
    s->ElevOfMax = 120;
    s->PatternMaxAzimuth();
    const ResultRow& r = *s->Row(0);
    EXPECT_EQ(s->AzMaxIndex, 90);
    EXPECT_EQ(s->AzMax, 7.0f);
    EXPECT_EQ(s->GainMax, 7.25f);
    EXPECT_EQ(r.Ga, 7.25f);
    EXPECT_EQ(r.Elev, 60.0f);
    EXPECT_EQ(r.GvMax, 6.0f);
    EXPECT_EQ(r.GhMax, 1.0f);

    s->Row(0)->Elev = 12;
    s->AzCut[PolTotal][3] = 9;
    s->PatternMaxAzimuth2();
    EXPECT_EQ(s->Row(0)->Elev, 12.0f);
    EXPECT_EQ(s->Row(0)->Ga, 9.0f);
    s->AzCut[PolTotal][200] = 9 + GainTieDb / 2;  // ties with azimuth 3, the first
    s->PatternMaxAzimuth2();
    EXPECT_EQ(s->AzMaxIndex, 3);
}

TEST_F(PatternStatsTest, FrontToBackWithoutSectorComparesTheSingleDirectionBehind) {
    EnvDef.AzEl = 0;
    s->AzCut[PolTotal][0] = 8;
    s->AzCut[PolTotal][180] = -12;
    s->AzCut[PolTotal][170] = 0;    // outside the single rear direction
    s->CalcFB();
    EXPECT_EQ(s->Row(0)->FB, 20.0f);
    s->AzCut[PolTotal][180] = 8 + GainTieDb / 2;  // the same gain as far as single precision tells
    s->CalcFB();
    EXPECT_EQ(s->Row(0)->FB, 0.0f);
}

TEST_F(PatternStatsTest, FrontToBackTakesTheWorstOfTheRearSector) {
    s->AzCut[PolTotal][0] = 8;
    s->AzCut[PolTotal][120] = -2;   // edge of a 120-degree sector: inside
    s->AzCut[PolTotal][119] = 3;    // just outside
    s->CalcFB();
    EXPECT_EQ(s->Row(0)->FB, 10.0f);

    s->ElevCut[PolTotal][60] = 1;   // the elevation extent 60 reaches index 60
    s->ElevCut[PolTotal][61] = 5;
    s->CalcFB();
    EXPECT_EQ(s->Row(0)->FB, 7.0f);
}

TEST_F(PatternStatsTest, FrontToBackOfAQuickRunUsesTwoDegreeIndices) {
    s->AngleStep = 2;
    s->AzCut[PolTotal][0] = 8;
    s->AzCut[PolTotal][60] = -1;    // azimuth 120
    s->AzCut[PolTotal][121] = 5;    // azimuth 242: outside
    s->CalcFB();
    EXPECT_EQ(s->Row(0)->FB, 9.0f);
}

TEST_F(PatternStatsTest, FullRearSectorReadsNoIndexOutsideTheCut) {
    EnvDef.AzEl = PackAzEl(359, 179);
    s->AzCut[PolTotal][0] = 8;
    s->CalcFB();
    EXPECT_EQ(s->Row(0)->FB, 28.0f);   // every rear value is -20
    s->AngleStep = 0;   // a store without a run derives nothing
    s->Row(0)->FB = 1;
    s->CalcFB();
    EXPECT_EQ(s->Row(0)->FB, 1.0f);
    EXPECT_EQ(s->PatternMaxElev(), 0);
}

}  // namespace

TEST(PolarizationShown, EqualGainsReadAsHorizontalWhateverTheLastBits) {
    ResultRow row;
    for (const auto& [gv, gh, vertical] : {std::tuple{3.0f, 3.0f, false}, std::tuple{3 + GainTieDb / 2, 3.0f, false},
                                           std::tuple{3.0f, 3 + GainTieDb / 2, false},
                                           std::tuple{3 + 2 * GainTieDb, 3.0f, true}, std::tuple{-5.0f, 2.0f, false}}) {
        row.GvMax = gv;
        row.GhMax = gh;
        EXPECT_EQ(row.Vertical(), vertical) << gv << " " << gh;
    }
}
