#include "ExpansionFixture.h"
#include "engine/Segmentation.h"

using Segmentation = Expansion;
using V = std::vector<int>;

TEST_F(Segmentation, AutomaticModeCountsWithA20mWavelength) {
    AddWireAlongX(10.0, 0);
    AddWireAlongX(0.6, 0);
    AddWireAlongX(0.4, 0);
    AddWireAlongX(1.0, 0, 0.07);  // 4 reduced to 2 by the four-radii rule, raised again
    ASSERT_EQ(ExpandWires(*ant), 1);
    EXPECT_EQ(PieceSegs(), (V{40, 4, 4, 4}));
    EXPECT_EQ(ant->ExpWires[3].R, 0.07);
}

TEST_F(Segmentation, GradedBothEndsOnA10mWire) {
    const int w = AddWireAlongX(10.0, -1);
    ASSERT_EQ(ExpandWires(*ant), 1);
    EXPECT_EQ(PieceSegs(), (V{1, 1, 1, 1, 36, 1, 1, 1, 1}));
    ExpectCoversWire(w);
    // Steps of a wavelength over 800, 400, 200 and 100 from each end.
    EXPECT_DOUBLE_EQ(ant->ExpWires[0].X2, 0.025);
    EXPECT_DOUBLE_EQ(ant->ExpWires[3].X2 - ant->ExpWires[3].X1, 0.2);
}

TEST_F(Segmentation, GradedAtOneEndOnA10mWire) {
    AddWireAlongX(10.0, -2);
    ASSERT_EQ(ExpandWires(*ant), 1);
    EXPECT_EQ(PieceSegs(), (V{1, 1, 1, 1, 38}));
    ExpectCoversWire(0);

    ant->Wires[0].Seg = -3;
    ASSERT_EQ(ExpandWires(*ant), 1);
    EXPECT_EQ(PieceSegs(), (V{38, 1, 1, 1, 1}));
    ExpectCoversWire(0);
}

TEST_F(Segmentation, ShortWiresEnlargeTheMiddleDensityOrTakeOneSegment) {
    AddWireAlongX(0.5, -1);   // middle density doubled twice, to 320
    AddWireAlongX(0.02, -1);  // shorter than a wavelength over 800
    ASSERT_EQ(ExpandWires(*ant), 1);
    EXPECT_EQ(PieceSegs(), (V{1, 1, 6, 1, 1, 1}));
    ExpectCoversWire(0);
    ExpectCoversWire(1);
}

TEST_F(Segmentation, StartDensityAtOrBelowTheMiddleGivesTheAutomaticMode) {
    AddWireAlongX(10.0, PackSegPair(40, 80));
    ASSERT_EQ(ExpandWires(*ant), 1);
    EXPECT_EQ(PieceSegs(), (V{20}));  // 10 m at 20 m / 40
}

TEST_F(Segmentation, PackedPairGradesWithItsOwnDensitiesAndKeepsDM2) {
    AddWireAlongX(10.0, PackSegPair(400, 40));
    ASSERT_EQ(ExpandWires(*ant), 1);
    const V packed = PieceSegs();
    EXPECT_EQ(ant->DM2, 80);
    ant->Wires[0].Seg = -400;
    ant->DM2 = 40;
    ASSERT_EQ(ExpandWires(*ant), 1);
    EXPECT_EQ(packed, PieceSegs());
    EXPECT_EQ(packed, (V{1, 1, 1, 1, 16, 1, 1, 1, 1}));
}

TEST_F(Segmentation, EveryModeCoversTheWireExactly) {
    const int codes[] = {0, -1, -2, -3, -7, -300, PackSegPair(600, 30), 5};
    const double lengths[] = {0.013, 0.3, 1.7, 10.0, 33.3};
    for (int code : codes) {
        for (double len : lengths) {
            SCOPED_TRACE(testing::Message() << "code " << code << " length " << len);
            ant->WireCount = 0;
            // A slanted wire, so the joints are not exact by accident.
            AddWire({1.1, -2.3, 3.7}, {1.1 + 0.6 * len, -2.3 + 0.48 * len, 3.7 + 0.64 * len}, 0.001, code);
            ASSERT_EQ(ExpandWires(*ant), 1);
            ExpectCoversWire(0);
        }
    }
}

TEST_F(Segmentation, GrowthFactorOfOneIsRefusedWithALogLine) {
    AddWireAlongX(10.0, -1);
    ant->SC = 1.0;
    EXPECT_EQ(ExpandWires(*ant), 0);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("SC = 1.0"), std::string::npos);
    EXPECT_TRUE(notices.empty());
}

TEST_F(Segmentation, DensityOfZeroOrBelowIsRefused) {
    AddWireAlongX(10.0, 0);
    AddWireAlongX(10.0, -1);
    ant->DM2 = 0;
    EXPECT_EQ(ExpandWires(*ant), 0);
    ASSERT_EQ(log.size(), 1u);  // reported once, not once per wire
    EXPECT_NE(log[0].find("WIRE 1"), std::string::npos);

    log.clear();
    ant->DM2 = 80;
    ant->DM1 = -5;
    EXPECT_EQ(ExpandWires(*ant), 0);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("WIRE 2"), std::string::npos);

    ant->DM1 = 800;
    ant->Wires[1].Seg = static_cast<int32_t>(0x80000000u | 5u);  // packed middle density 0
    EXPECT_EQ(ExpandWires(*ant), 0);
    EXPECT_EQ(ant->DM2, 80);
}

TEST_F(Segmentation, UnusableStartCountOrWavelengthIsRefused) {
    AddWireAlongX(10.0, -1);
    ant->EC = 0;
    EXPECT_EQ(ExpandWires(*ant), 0);
    ant->EC = 1;
    ant->Wavelength = 0;
    EXPECT_EQ(ExpandWires(*ant), 0);
    ant->Wavelength = -20;
    EXPECT_EQ(ExpandWires(*ant), 0);
}

TEST_F(Segmentation, ExplicitCountsNeedNoSegmentationSettings) {
    AddWireAlongX(10.0, 7);
    ant->DM2 = 0;
    ant->SC = 0.5;
    EXPECT_EQ(ExpandWires(*ant), 1);
    EXPECT_EQ(PieceSegs(), (V{7}));
}

TEST_F(Segmentation, HugeLengthRatiosAreClamped) {
    AddWireAlongX(1e12, 0);
    ASSERT_EQ(ExpandWires(*ant), 1);
    EXPECT_EQ(PieceSegs(), (V{MaxSegmentsPerPiece}));
    EXPECT_EQ(SegmentCount(1e300), MaxSegmentsPerPiece);
    EXPECT_EQ(SegmentCount(std::nan("")), 0);
    EXPECT_EQ(SegmentCount(-3.5), 0);
    EXPECT_EQ(SegmentCount(3.99), 3);
}

TEST_F(Segmentation, GrowthBarelyAboveOneEndsAndRefusesWhatDoesNotFit) {
    AddWireAlongX(10.0, -1);
    ant->SC = 1.0000001;
    ant->DM1 = 2000000000;
    // Countless tiny steps cannot fit into the piece table: refused, not hung.
    EXPECT_EQ(ExpandWires(*ant), 0);
    EXPECT_EQ(ant->ExpWireCount, MaxExpWires);
}
