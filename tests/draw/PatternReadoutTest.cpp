// The cursor readout of the far-field plots: angle, gain and marker position.
#include "DrawTestSupport.h"
#include "model/ResultStore.h"
#include "draw/PatternPanel.h"
#include "draw/PolarPlot.h"
#include "app/RecordsReset.h"

#include <gtest/gtest.h>

namespace {

class PatternReadoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ScreenAspect = 1.0;
        PatternHVScale = 1.0;
        PatternMaxGain = 10.0;
        PatternOrient = 0;
        Results = CResult{};
        Results.AngleStep = 1;
        // Gains that name their own index.
        for (int i = 0; i < 360; ++i) Results.AzCut[2][i] = 10.0f - static_cast<float>(i) / 10.0f;
        for (int i = 0; i < 181; ++i) Results.ElevCut[2][i] = 10.0f - static_cast<float>(i) / 10.0f;
        QImage img = WhiteImage(800, 400);
        Canvas c(&img);
        DrawPatternImage(c, false);  // azimuth centre (200, 200), elevation (600, 200), R 180
    }
    void TearDown() override { ResetRecords(); }
    static PatternReadoutRec At(int x, int y) { return PatternReadout(2, x, y, 200, 200, 600, 800); }
};

}  // namespace

TEST_F(PatternReadoutTest, TopOfTheAzimuthPlotReadsAzimuthZero) {
    const PatternReadoutRec r = At(200, 50);
    ASSERT_TRUE(r.Valid);
    EXPECT_EQ(r.Lines[0], "Azimuth angle = 0 dg");
    EXPECT_EQ(r.Lines[1], "Ga = 10.0 dBi");
    EXPECT_EQ(r.Lines[2], "Gmax-Ga = 0.0 dB");
    // The maximum lies on the outer ring, straight up.
    EXPECT_EQ(r.MarkX, 200);
    EXPECT_EQ(r.MarkY, 20);
    const PatternReadoutRec below = At(20, 200);  // azimuth 90, 9 dB down: 0.596 R to the left
    EXPECT_EQ(below.Lines[2], "Gmax-Ga = 9.0 dB");
    EXPECT_EQ(below.MarkX, 200 - 107);
}

TEST_F(PatternReadoutTest, LeftOfTheAzimuthPlotReadsPlusY) {
    const PatternReadoutRec r = At(50, 200);
    EXPECT_EQ(r.Lines[0], "Azimuth angle = 90 dg");
    EXPECT_DOUBLE_EQ(r.Gain, Results.AzCut[2][90]);
    EXPECT_LT(r.MarkX, 200);
}

TEST_F(PatternReadoutTest, AnglesBeyond180AreShownNegative) {
    EXPECT_EQ(At(350, 200).Lines[0], "Azimuth angle = -90 dg");
}

TEST_F(PatternReadoutTest, OrientationNinetyPutsAzimuthZeroRight) {
    PatternOrient = 90;
    EXPECT_EQ(At(200, 50).Lines[0], "Azimuth angle = 90 dg");
    const PatternReadoutRec r = At(350, 200);
    EXPECT_EQ(r.Lines[0], "Azimuth angle = 0 dg");
    EXPECT_GT(r.MarkX, 200);
    EXPECT_EQ(r.MarkY, 200);
}

TEST_F(PatternReadoutTest, ElevationReadsFromTheFrontHorizon) {
    PatternReadoutRec r = At(600, 50);
    EXPECT_EQ(r.Lines[0], "Elevation angle =  90dg");
    EXPECT_DOUBLE_EQ(r.Gain, Results.ElevCut[2][90]);
    r = At(700, 100);
    EXPECT_EQ(r.Lines[0], "Elevation angle =  45dg");
    EXPECT_DOUBLE_EQ(r.Gain, Results.ElevCut[2][135]);
    EXPECT_GT(r.MarkX, 600);
    EXPECT_LT(r.MarkY, 200);
}

TEST_F(PatternReadoutTest, BelowTheCentreLineReadsTheHorizon) {
    EXPECT_EQ(At(700, 300).Lines[0], "Elevation angle =   0dg");
    EXPECT_EQ(At(500, 300).Lines[0], "Elevation angle = 180dg");
}

TEST_F(PatternReadoutTest, ATwoDegreeStepReadsTheRightValue) {
    Results.AngleStep = 2;
    const PatternReadoutRec az = At(50, 200);  // azimuth 90 is index 45
    EXPECT_DOUBLE_EQ(az.Gain, Results.AzCut[2][45]);
    const PatternReadoutRec el = At(600, 50);  // zenith is index 45
    EXPECT_DOUBLE_EQ(el.Gain, Results.ElevCut[2][45]);
}

TEST_F(PatternReadoutTest, NothingWithoutCutsOrPlot) {
    Results.AngleStep = 0;
    EXPECT_FALSE(At(200, 50).Valid);
    Results.AngleStep = 1;
    PatternGeometry.Radius = 0;
    EXPECT_FALSE(At(200, 50).Valid);
}

TEST_F(PatternReadoutTest, TheMarkerIsDrawnOnTheCurve) {
    QImage img = WhiteImage(800, 400);
    {
        Canvas c(&img);
        PatternCursorText(c, 2, 200, 50, 200, 200, 600, 800);
    }
    EXPECT_GT(CountColour(img, ClRed, 195, 15, 205, 25), 6);
    EXPECT_EQ(PixelAt(img, 200, 150), ClGray);
    EXPECT_GT(CountColour(img, ClBlack, 300, 0, 500, 60), 20);  // the three text lines
}
