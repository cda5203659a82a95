// The antenna projection drawn on an image: axes, wires, marks and currents.
#include "DrawTestSupport.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "draw/AntennaDrawing.h"
#include "app/RecordsReset.h"

#include <gtest/gtest.h>

namespace {

class AntennaDrawing : public ::testing::Test {
protected:
    void SetUp() override { ResetRecords(); }
    void TearDown() override { ResetRecords(); }
    // A wire along Y or Z with nine pulses of current m each, drawn at 10 pixels
    // per metre around (100, 150) with a current scale of 2.
    static QImage CurrentsOfWire(bool vertical, float m, int zeroSlot = -1) {
        auto ant = EmptyAntenna();
        if (vertical)
            AddWire(*ant, 0, 0, 0, 0, 0, 10);
        else
            AddWire(*ant, 0, -5, 0, 0, 5, 0);
        PrepareEvenPulses(*ant, 9);
        for (int p = 0; p < 9; ++p) Results.PulseCurrent[p] = p == zeroSlot ? 0.0f : (p % 2 ? m : -m);
        QImage img = WhiteImage(200, 200);
        Canvas c(&img);
        DrawPulseLines(*ant, c, ViewTransform::FromAngles(100, 150, 0, 0, 10, false), 2.0);
        c.End();
        return img;
    }
};

}  // namespace

TEST_F(AntennaDrawing, AxesPointTheirWayAtAzimuthAndElevationZero) {
    QImage img = WhiteImage(400, 300);
    {
        Canvas c(&img);
        c.FillRect(0, 0, 400, 300, ClBlack);
        DrawAntennaView(c, ViewTransform::FromAngles(200, 150, 0, 0, 10, false));
    }
    EXPECT_EQ(PixelAt(img, 5, 5), ClWhite);  // cleared first
    EXPECT_EQ(PixelAt(img, 300, 150), ClBlue);  // Y to the right, 0.4 W - 50 = 110 long
    EXPECT_NE(PixelAt(img, 100, 150), ClBlue);
    EXPECT_EQ(PixelAt(img, 200, 20), ClGreen);  // Z up, 5/11 H = 136 long
    EXPECT_NE(PixelAt(img, 200, 280), ClGreen);
    EXPECT_EQ(CountColour(img, ClMagenta, 210, 0, 399, 299), 0);  // X points at the viewer
}

TEST_F(AntennaDrawing, FromAboveTheXAxisPointsDown) {
    QImage img = WhiteImage(400, 300);
    {
        Canvas c(&img);
        DrawAntennaView(c, ViewTransform::FromAngles(200, 150, 0, 90, 10, false));
    }
    EXPECT_EQ(PixelAt(img, 200, 250), ClMagenta);
    EXPECT_EQ(PixelAt(img, 300, 150), ClBlue);
}

TEST_F(AntennaDrawing, TheSelectedWireIsDrawnWider) {
    auto ant = EmptyAntenna();
    AddWire(*ant, 0, -5, 0, 0, 5, 0);
    AddWire(*ant, 0, -5, 5, 0, 5, 5);
    QImage img = WhiteImage(200, 200);
    {
        Canvas c(&img);
        DrawWireThickness(*ant, c, ViewTransform::FromAngles(100, 150, 0, 0, 10, false), 1, 2);
    }
    const int thin = CountColour(img, ClBlack, 100, 140, 100, 160);
    const int wide = CountColour(img, ClBlack, 100, 90, 100, 110);
    EXPECT_EQ(thin, 2);
    EXPECT_EQ(wide, 3);
}

TEST_F(AntennaDrawing, AVerticalWireCarriesARedCurrentLineBesideIt) {
    const QImage img = CurrentsOfWire(true, 1.0f);
    // 2 m along +Y, on the positive side whatever the sign.
    EXPECT_EQ(PixelAt(img, 120, 100), ClRed);
    EXPECT_EQ(CountColour(img, ClRed, 0, 0, 110, 199), 0);
    EXPECT_EQ(CountColour(img, ClBlue, 0, 0, 199, 199), 0);
}

TEST_F(AntennaDrawing, AHorizontalWireCarriesABlueCurrentLineAboveIt) {
    const QImage img = CurrentsOfWire(false, 1.0f);
    EXPECT_EQ(PixelAt(img, 100, 130), ClBlue);
    EXPECT_EQ(CountColour(img, ClBlue, 0, 135, 199, 199), 0);
    EXPECT_EQ(CountColour(img, ClRed, 0, 0, 199, 199), 0);
}

TEST_F(AntennaDrawing, WithCurrentDirectionNegativeValuesStandOnTheOtherSide) {
    JobDef.CurDir = 1;
    const QImage img = CurrentsOfWire(false, 1.0f);
    EXPECT_EQ(PixelAt(img, 110, 130), ClBlue);  // odd slots positive
    EXPECT_EQ(PixelAt(img, 100, 170), ClBlue);  // even slots negative
}

TEST_F(AntennaDrawing, ZeroCurrentsAreSkippedAndTheLineBridgesThem) {
    JobDef.CurDir = 1;
    const QImage img = CurrentsOfWire(false, 1.0f, 4);
    // Slot 4 (y = 0) is skipped: its neighbours at y = -1 and 1 stand at +2 m and join directly.
    EXPECT_EQ(PixelAt(img, 100, 130), ClBlue);
    EXPECT_EQ(PixelAt(img, 100, 170), ClWhite);
}

TEST_F(AntennaDrawing, SourcesAndLoadsAreMarkedAtTheirPulses) {
    auto ant = EmptyAntenna();
    AddWire(*ant, 0, -5, 0, 0, 5, 0);
    PrepareEvenPulses(*ant, 9);
    ant->SourceCount = 1;
    ant->Sources[0].Pulse = 5;  // the middle, y = 0
    ant->LoadCount = 1;
    ant->Loads[0].Pulse = 1;    // y = -4
    QImage img = WhiteImage(200, 200);
    {
        Canvas c(&img);
        const ViewTransform t = ViewTransform::FromAngles(100, 100, 0, 0, 10, false);
        c.SetPenColor(ClRed);
        c.SetBrushStyle(BrushStyle::Clear);
        DrawCircleMarks(*ant, c, t, 1);
        DrawCrossMarks(*ant, c, t, 1);
    }
    EXPECT_GT(CountColour(img, ClRed, 95, 95, 105, 105), 8);
    EXPECT_EQ(PixelAt(img, 100, 100), ClWhite);  // a circle, hollow
    EXPECT_EQ(PixelAt(img, 60, 100), ClRed);     // the cross centre
    EXPECT_EQ(PixelAt(img, 57, 97), ClRed);
}

TEST_F(AntennaDrawing, UnresolvedOrForeignPulsesAreNotMarked) {
    auto ant = EmptyAntenna();
    AddWire(*ant, 0, -5, 0, 0, 5, 0);
    PrepareEvenPulses(*ant, 9);
    ant->SourceCount = 2;
    ant->Sources[0].Pulse = 0;
    ant->Sources[1].Pulse = 10;
    ant->LoadCount = 1;
    ant->Loads[0].Pulse = -3;
    QImage img = WhiteImage(200, 200);
    {
        Canvas c(&img);
        const ViewTransform t = ViewTransform::FromAngles(100, 100, 0, 0, 10, false);
        c.SetPenColor(ClRed);
        DrawCircleMarks(*ant, c, t, 1);
        DrawCrossMarks(*ant, c, t, 1);
    }
    EXPECT_EQ(CountColour(img, ClRed, 0, 0, 199, 199), 0);
}

TEST_F(AntennaDrawing, PulseMarksCoverThePointTable) {
    auto ant = EmptyAntenna();
    AddWire(*ant, 0, -5, 0, 0, 5, 0);
    PrepareEvenPulses(*ant, 9);
    QImage img = WhiteImage(200, 200);
    {
        Canvas c(&img);
        DrawPulseMarks(*ant, c, ViewTransform::FromAngles(100, 100, 0, 0, 10, false));
    }
    EXPECT_EQ(PixelAt(img, 100 - 40 + 3, 103), ClGreen);  // corner of the mark at y = -4
    EXPECT_EQ(PixelAt(img, 100 + 40, 100), ClGreen);
}

TEST_F(AntennaDrawing, PieceOfPulseStepsBackOverPiecesWithoutPulses) {
    auto ant = EmptyAntenna();
    ant->ExpWireCount = 3;
    ant->ExpWires[0].FirstPulse = 1;
    ant->ExpWires[0].FirstPoint = 1;
    ant->ExpWires[1].FirstPulse = 0;  // a single free segment
    ant->ExpWires[1].FirstPoint = 20;
    ant->ExpWires[2].FirstPulse = 6;
    ant->ExpWires[2].FirstPoint = 30;
    EXPECT_EQ(PieceOfPulse(*ant, 3), 3);
    EXPECT_EQ(PieceOfPulse(*ant, 5), 5);
    EXPECT_EQ(PieceOfPulse(*ant, 7), 31);
}

TEST_F(AntennaDrawing, ATaperedWireOfThreeSectionsShowsTwoJoints) {
    auto ant = EmptyAntenna();
    AddWire(*ant, 0, -3.5, 0, 0, 3.5, 0, -1.0);
    ant->TaperSetCount = 1;
    TaperSet& set = ant->TaperSets[0];
    set.Key = -1.0;
    set.Type = TaperSym;
    set.Len[0] = 3.0;  // middle 3 m; the rest of the wire on both sides
    set.Rad[0] = 0.01;
    set.Len[1] = 99999.9;
    set.Rad[1] = 0.005;
    ant->Wavelength = 20;
    ant->DM2 = 40;
    QImage img = WhiteImage(200, 200);
    {
        Canvas c(&img);
        DrawWireThickness(*ant, c, ViewTransform::FromAngles(100, 100, 0, 0, 10, false), -1, 1);
    }
    // Joints at y = -1.5 and 1.5 m: squares around x = 85 and 115.
    EXPECT_GT(CountColour(img, ClBlue, 82, 97, 88, 103), 6);
    EXPECT_GT(CountColour(img, ClBlue, 112, 97, 118, 103), 6);
    EXPECT_EQ(CountColour(img, ClBlue, 0, 0, 80, 199), 0);
    EXPECT_EQ(CountColour(img, ClBlue, 90, 0, 110, 199), 0);
    EXPECT_EQ(PixelAt(img, 100, 100), ClBlack);
}
