// The text blocks of the drawings: the wire information block and the
// summary lines of the latest result.
#include "DrawTestSupport.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/ResultStore.h"
#include "draw/PatternHeader.h"
#include "draw/WireInfoBlock.h"
#include "app/RecordsReset.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

class TextBlocks : public ::testing::Test {
protected:
    void SetUp() override {
        ApplyDefaultMessages();
        ResetRecords();
    }
    void TearDown() override {
        ApplyDefaultMessages();
        ResetRecords();
    }
    static ResultRow& NewRow() {
        Results.PushRow();
        return *Results.Row(0);
    }
};

WireRec Wire(double x2, double y2, double z2, double r) {
    WireRec w{};
    w.X2 = x2;
    w.Y2 = y2;
    w.Z2 = z2;
    w.R = r;
    return w;
}

}  // namespace

TEST_F(TextBlocks, WireBlockShowsValuesWithTheBuiltInLabels) {
    const auto lines = WireInfoLines(Wire(0, 3, 4, 0.0025), 6);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "Wire 7");
    EXPECT_EQ(lines[5], "Y2   :  3.0 m");
    EXPECT_EQ(lines[7], "R    :  2.5 mm");
    EXPECT_EQ(lines[8], "Length = 5.0 m");
    EXPECT_EQ(lines[9], "Azim. = 90.0 deg");
    EXPECT_EQ(lines[10], "Zenith = 36.9 deg");
}

TEST_F(TextBlocks, TaperAndInsulatorRadiiAreNamed) {
    EXPECT_EQ(WireInfoLines(Wire(1, 0, 0, -0.002), 0)[7], "R    :  -2 taper");
    EXPECT_EQ(WireInfoLines(Wire(1, 0, 0, 0.0), 0)[7], "R    :  0 insulator");
}

TEST_F(TextBlocks, TranslatedLabelsAreUsedAsFormatsOnlyWhenTheyFit) {
    std::strcpy(ViewLabels[0], "Draht Nr. %d");
    std::strcpy(ViewLabels[3], " Laenge = %s m");
    std::strcpy(ViewLabels[4], "Azimut %d %s %n");
    const auto lines = WireInfoLines(Wire(0, 3, 4, 0.001), 1);
    EXPECT_EQ(lines[0], "Draht Nr. 2");
    EXPECT_EQ(lines[8], " Laenge = 5.0 m");
    EXPECT_EQ(lines[9], "Azimut %d %s %n = 90.0 deg");
}

TEST_F(TextBlocks, WireBlockIsDrawnInTheLowerRightCorner) {
    auto ant = EmptyAntenna();
    AddWire(*ant, 0, 0, 0, 0, 0, 10);
    QImage img = WhiteImage(600, 400);
    {
        Canvas c(&img);
        c.SetFontColor(ClGray);
        DrawDimension(c, *ant, 0);
        DrawDimension(c, *ant, 1);  // no such wire: nothing
        DrawDimension(c, *ant, -1);
    }
    EXPECT_EQ(CountColour(img, ClWhite, 0, 0, 299, 399), 300 * 400);
    EXPECT_GT(CountColour(img, ClGray, 300, 100, 599, 399), 300);
}

TEST_F(TextBlocks, SummaryOverRealGround) {
    ResultRow& row = NewRow();
    row.Ground = GroundReal;
    row.Height = 12.5f;
    row.F = 14.15f;
    row.R = 25.5f;
    row.jX = -3.25f;
    row.SWR = 1.96f;
    row.Ga = 12.345f;
    row.FB = 20.127f;
    row.Elev = 15.0f;
    row.AzEl = PackAzEl(120, 60);
    row.Z0R = 50.0f;
    row.Z0X = 0.0f;
    row.GvMax = 1.0f;
    row.GhMax = 12.0f;
    Results.CutElevation = 15.0f;
    const auto lines = PatternHeaderLines(Results);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Ga : 12.35 dBi = 0 dB  (Horizontal polarization)");
    EXPECT_EQ(lines[1].rfind("F/B: 20.13 dB; Rear:", 0), 0u);
    EXPECT_NE(lines[1].find("Azim. 120 dg,  Elev. 60 dg"), std::string::npos);
    EXPECT_EQ(lines[2], "Freq: 14.150 MHz");
    EXPECT_EQ(lines[3], "Z: 25.500 - j3.250 Ohm");
    EXPECT_EQ(lines[4].rfind("SWR: 2.0 (50.0 Ohm),", 0), 0u);
    EXPECT_NE(lines[4].find("(600 Ohm)"), std::string::npos);
    EXPECT_EQ(lines[5], "Elev: 15.0 dg (Real GND with 12.50 m added height)");
}

TEST_F(TextBlocks, SummaryInFreeSpaceWithAnotherCutElevation) {
    ResultRow& row = NewRow();
    row.Ground = GroundFree;
    row.Ga = -1200.0f;
    row.GvMax = 3.0f;
    row.GhMax = 2.0f;
    row.Elev = 30.0f;
    row.AzEl = PackAzEl(0, 0);
    Results.CutElevation = 10.0f;
    const auto lines = PatternHeaderLines(Results);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], "Ga : -999.0 dBi = 0 dB  (Vertical polarization)");
    EXPECT_EQ(lines[1], "Gh : -999.0 dBd");
    EXPECT_NE(lines[2].find("0 dg."), std::string::npos);
    EXPECT_EQ(lines[6], "Elev: 30.0 dg (Free space)");
    EXPECT_EQ(lines[7], "(For elev.angle 10.0 dg Peak:3.0 dBi)");
}

TEST_F(TextBlocks, NoRowsNoSummary) { EXPECT_TRUE(PatternHeaderLines(Results).empty()); }

TEST_F(TextBlocks, AMisfittingTranslationFallsBackToTheBuiltInText) {
    ResultRow& row = NewRow();
    row.F = 7.1f;
    std::strcpy(PlotTexts[8], "Freq: %s MHz");
    const auto lines = PatternHeaderLines(Results);
    EXPECT_EQ(lines[3], "Freq: 7.100 MHz");
}
