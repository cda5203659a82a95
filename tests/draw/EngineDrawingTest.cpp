// The drawing of a calculated antenna: points and currents come from a real
// preparation and full calculation of a half-wave dipole.
#include "DrawTestSupport.h"
#include "model/FedDipole.h"
#include "engine/CalcRuns.h"
#include "engine/ModelPrep.h"
#include "model/EnvDef.h"
#include "model/EnvDefaults.h"
#include "model/Messages.h"
#include "model/ResultStore.h"
#include "draw/AntennaDrawing.h"
#include "app/RecordsReset.h"

#include <gtest/gtest.h>

namespace {

class CalculatedDipole : public ::testing::Test {
protected:
    void SetUp() override {
        ApplyDefaultMessages();
        InitEnvironmentDefaults(8ull << 30);
        InitJobDefaults(1024);
        EnvDef.Type = GroundFree;
        EnvDef.PMAX = AllocEngineArrays(512);
        JobDef.Interactive = 0;
        JobDef.CurDir = 0;
        Results = CResult{};
        Results.PushRow();
        ant = EmptyAntenna();
        ant->Freq = 14.15;
        SetDefaultSegmentation(*ant);
        ant->nH = ant->nV = 1;
        // 10 m along Y, fed in the middle.
        // 21 pulses, the middle one at the feed.
        MakeFedDipole(*ant, WireRec{0, -5, 0, 0, 5, 0, 0.001, 22, 0, 0, 0});
        ASSERT_EQ(PrepareModel(ant.get()), 1);
        ASSERT_TRUE(RunFullCalc());
    }
    void TearDown() override { ResetRecords(); }
    std::unique_ptr<AntDef> ant;
};

}  // namespace

TEST_F(CalculatedDipole, SegmentMarksAndTheSourceLieOnTheWire) {
    QImage img = WhiteImage(300, 200);
    {
        Canvas c(&img);
        const ViewTransform t = ViewTransform::FromAngles(150, 100, 0, 0, 25, false);
        DrawPulseMarks(*ant, c, t);
        c.SetPenColor(ClRed);
        c.SetBrushStyle(BrushStyle::Clear);
        DrawCircleMarks(*ant, c, t, 1);
    }
    EXPECT_EQ(CountColour(img, ClGreen, 0, 0, 299, 95), 0);
    EXPECT_EQ(CountColour(img, ClGreen, 0, 105, 299, 199), 0);
    EXPECT_GT(CountColour(img, ClGreen, 20, 96, 280, 104), 100);
    EXPECT_GT(CountColour(img, ClRed, 144, 94, 156, 106), 8);  // the source in the middle
}

TEST_F(CalculatedDipole, TheCurrentLineIsHighestAtTheFeed) {
    double peak = 0;
    for (int p = 0; p < GetPulseCount(); ++p) peak = std::max(peak, std::fabs(static_cast<double>(Results.PulseCurrent[p])));
    ASSERT_GT(peak, 0.0);
    QImage img = WhiteImage(300, 200);
    {
        Canvas c(&img);
        // The peak current stands 2 m (50 pixels) above the wire.
        DrawPulseLines(*ant, c, ViewTransform::FromAngles(150, 150, 0, 0, 25, false), 2.0 / peak);
    }
    int topY = -1;
    for (int y = 0; y < 200 && topY < 0; ++y)
        if (CountColour(img, ClBlue, 0, y, 299, y) > 0) topY = y;
    int left = 299, right = 0;
    for (int x = 0; x < 300; ++x)
        if (PixelAt(img, x, topY) == ClBlue) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
    EXPECT_NEAR(topY, 100, 2);
    EXPECT_NEAR((left + right) / 2.0, 150, 2);
    EXPECT_EQ(CountColour(img, ClBlue, 0, 151, 299, 199), 0);
    EXPECT_EQ(CountColour(img, ClRed, 0, 0, 299, 199), 0);
}
