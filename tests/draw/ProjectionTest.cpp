// The parallel projection and the fit of an antenna into the view.
#include "DrawTestSupport.h"
#include "draw/Projection.h"

#include <gtest/gtest.h>

TEST(Projection, AzimuthZeroElevationZeroLooksFromPlusX) {
    const ViewTransform t = ViewTransform::FromAngles(100, 100, 0, 0, 10, false);
    int px = 0, py = 0;
    t.Map(0, 1, 0, px, py);
    EXPECT_EQ(px, 110);  // +Y right
    EXPECT_EQ(py, 100);
    t.Map(0, 0, 1, px, py);
    EXPECT_EQ(px, 100);  // +Z up
    EXPECT_EQ(py, 90);
    t.Map(3, 0, 0, px, py);
    EXPECT_EQ(px, 100);  // +X towards the viewer
    EXPECT_EQ(py, 100);
}

TEST(Projection, ElevationNinetyLooksFromAboveWithPlusXDown) {
    const ViewTransform t = ViewTransform::FromAngles(100, 100, 0, 90, 10, false);
    int px = 0, py = 0;
    t.Map(1, 0, 0, px, py);
    EXPECT_EQ(px, 100);
    EXPECT_EQ(py, 110);
    t.Map(0, 1, 0, px, py);
    EXPECT_EQ(px, 110);
    EXPECT_EQ(py, 100);
}

TEST(Projection, ViewCentreIsTakenOffOnlyWhenOn) {
    ViewCentre = {0, 2, 0};
    int px = 0, py = 0;
    ViewTransform::FromAngles(50, 50, 0, 0, 10, true).Map(0, 2, 0, px, py);
    EXPECT_EQ(px, 50);
    ViewTransform::FromAngles(50, 50, 0, 0, 10, false).Map(0, 2, 0, px, py);
    EXPECT_EQ(px, 70);
    ViewCentre = {};
}

TEST(Projection, FarPointsSaturateInsteadOfOverflowing) {
    int px = 0, py = 0;
    ViewTransform::FromAngles(0, 0, 0, 0, 1e12, false).Map(0, 1e6, -1e6, px, py);
    EXPECT_GT(px, 1000000);
    EXPECT_GT(py, 1000000);
}

TEST(ViewFit, AnAntennaWithoutWiresFitsAtTwentyAndKeepsTheCentre) {
    auto ant = EmptyAntenna();
    ViewCentre = {1, 2, 3};
    EXPECT_DOUBLE_EQ(CalcViewScale(*ant, 300, 200), 20.0);
    EXPECT_DOUBLE_EQ(ViewCentre.Z, 3.0);
    ViewCentre = {};
}

TEST(ViewFit, AVerticalWireFitsByHalfItsLength) {
    auto ant = EmptyAntenna();
    AddWire(*ant, 0, 0, 2, 0, 0, 12);
    EXPECT_DOUBLE_EQ(CalcViewScale(*ant, 300, 200), 200.0 / 5.0);
    EXPECT_DOUBLE_EQ(ViewCentre.Z, 7.0);
    double x = 0, y = 0, z = 0;
    CalcWireBounds(*ant, x, y, z);
    EXPECT_DOUBLE_EQ(z, 7.0);
    ViewCentre = {};
}

TEST(ViewFit, StackingWiderThanTheAntennaFitsBySpacing) {
    auto ant = EmptyAntenna();
    AddWire(*ant, 0, -1, 10, 0, 1, 10);
    ant->nH = 3;
    ant->nV = 1;
    ant->hSpacing = 4;
    EXPECT_DOUBLE_EQ(CalcViewScale(*ant, 400, 400), 400.0 / 8.0);
    ViewCentre = {};
}

TEST(ViewFit, AnEmptyViewDoesNotGiveAZeroScale) {
    auto ant = EmptyAntenna();
    AddWire(*ant, 0, -1, 10, 0, 1, 10);
    EXPECT_DOUBLE_EQ(CalcViewScale(*ant, 0, 100), 20.0);
    ViewCentre = {};
}
