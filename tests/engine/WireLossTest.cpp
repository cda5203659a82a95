#include "engine/TaperWires.h"
#include "engine/WireLoss.h"
#include "model/EnvDef.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class WireLoss : public ::testing::Test {
protected:
    void TearDown() override {
        EnvDef.Material = 0;
        UserMaterialDef = {};
    }
    WireRec wire{0, 0, 0, 10, 0, 0, 0.001, 5, 0, 0, 0};
};

constexpr double CopperRdc = 10 * 1.8e-8 / (3.14159265358979 * 1e-6);  // 0.0573 ohm

}  // namespace

TEST_F(WireLoss, SolidCopperAcrossTheThreeRegimes) {
    EnvDef.Material = 1;
    EXPECT_NEAR(CopperRdc, 0.0573, 5e-5);
    EXPECT_NEAR(PieceLossResistance(14.0, wire), 1.60, 0.005);
    EXPECT_NEAR(PieceLossResistance(14.0, wire) / CopperRdc, 27.96, 0.01);
    EXPECT_NEAR(PieceLossResistance(1000.0, wire), 13.5, 0.05);
    EXPECT_NEAR(PieceLossResistance(0.001, wire), CopperRdc, 1e-12);
}

TEST_F(WireLoss, PipeHasAThinnerCrossSection) {
    EnvDef.Material = 2;
    EXPECT_NEAR(PieceLossResistance(0.0001, wire), CopperRdc / 0.19, 1e-9);
    EXPECT_GT(PieceLossResistance(14.0, wire), PieceLossResistance(0.0001, wire));
}

TEST_F(WireLoss, UserMaterialWithoutResistivityGivesNoLoss) {
    EnvDef.Material = 7;
    UserMaterialDef = {0.0, 0.0};
    EXPECT_FALSE(MaterialHasLoss(7));
    EXPECT_EQ(PieceLossResistance(14.0, wire), 0.0);
    EXPECT_EQ(MaterialText(7), "");
    UserMaterialDef = {-1e-8, 1.0};
    EXPECT_EQ(PieceLossResistance(14.0, wire), 0.0);
    UserMaterialDef = {1.8e-8, 1.0};
    EXPECT_TRUE(MaterialHasLoss(8));
    EXPECT_NEAR(PieceLossResistance(0.001, wire), CopperRdc, 1e-12);
}

TEST_F(WireLoss, MaterialTexts) {
    EXPECT_EQ(MaterialText(0), "");
    EXPECT_EQ(MaterialText(1), "Resistivity = 1.80e-08(sim), permeability = 1.0");
    EXPECT_EQ(MaterialText(6), "Resistivity = 9.40e-08(sim), permeability = 150.0");
    EXPECT_EQ(MaterialText(9), "");
    EXPECT_FALSE(MaterialHasLoss(0));
}

TEST_F(WireLoss, TaperedWireSumsItsSections) {
    EnvDef.Material = 3;
    auto ant = std::make_unique<AntDef>();
    ant->CalcFreq = 14.0;
    ant->Wavelength = 299.792458 / 14.0;
    ant->DM2 = 80;
    ant->TaperSetCount = 1;
    TaperSet& set = ant->TaperSets[0];
    set.Key = -1;
    set.Type = TaperOneWay;
    set.Len[0] = 4.0;
    set.Rad[0] = 0.002;
    set.Len[1] = 99999.9;
    set.Rad[1] = 0.001;
    WireRec tapered = wire;
    tapered.R = -1;
    WireRec first = wire, second = wire;
    first.X2 = 4.0;
    first.R = 0.002;
    second.X1 = 4.0;
    second.R = 0.001;
    EXPECT_NEAR(WireLossResistance(*ant, tapered),
                PieceLossResistance(14.0, first) + PieceLossResistance(14.0, second), 1e-12);
    EXPECT_NEAR(WireLossResistance(*ant, wire), PieceLossResistance(14.0, wire), 1e-15);
}

TEST(PolyValue, SumsThePowers) {
    const double c[] = {1, 2, 3};
    EXPECT_DOUBLE_EQ(PolyValue(2.0, c, 3), 17.0);
    EXPECT_DOUBLE_EQ(PolyValue(2.0, c, 0), 0.0);
}
