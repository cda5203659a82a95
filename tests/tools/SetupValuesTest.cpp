// The setup page's store into the environment and job records.
#include "engine/EngineState.h"
#include "model/EnvDef.h"
#include "platform/ScriptedPrompter.h"
#include "tools/OptDlgBox.h"
#include "tools/SetupValues.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace {

class SetupStore : public ::testing::Test {
protected:
    void SetUp() override {
        savedEnv_ = EnvDef;
        savedJob_ = JobDef;
        EnvDef.AzEl = PackAzEl(120, 60);
        EnvDef.Z0R = 50;
        EnvDef.Z0X = 0;
        EnvDef.PMAX = AllocEngineArrays(512);
        EnvDef.FontSize = 0;
        JobDef.RecentMax = 10;
    }
    void TearDown() override {
        SetEngineAllocationLimit(0);
        EnvDef = savedEnv_;
        JobDef = savedJob_;
        AllocEngineArrays(EnvDef.PMAX > 0 ? EnvDef.PMAX : 512);
    }
    ScriptedPrompter prompter_;
    ScopedPrompter scope_{prompter_};
    EnvRec savedEnv_;
    JobRec savedJob_;
};

TEST_F(SetupStore, RoundTripKeepsEverythingAndReturnsOne) {
    const SetupValues v = LoadSetupValues();
    EXPECT_EQ(v.Azimuth, "120");
    EXPECT_EQ(v.Vertical, "60");
    const SetupStored stored = StoreSetupValues(v);
    EXPECT_EQ(stored.Code, 1);
    EXPECT_EQ(EnvDef.AzEl, 60 * 65536 + 120);
    EXPECT_EQ(EnvDef.PMAX, 512);
    EXPECT_EQ(stored.Notice(), "");
}

TEST_F(SetupStore, RearRangeHalvesOutOfRangeBecomeZero) {
    SetupValues v = LoadSetupValues();
    v.Azimuth = "360";
    v.Vertical = "x";
    StoreSetupValues(v);
    EXPECT_EQ(EnvDef.AzEl, 0);
    v.Azimuth = "-90";
    v.Vertical = "179";
    StoreSetupValues(v);
    EXPECT_EQ(EnvDef.AzEl, 179 * 65536 + 90);
}

TEST_F(SetupStore, BadNumbersKeepTheOldValues) {
    SetupValues v = LoadSetupValues();
    v.Z0R = "-75";
    v.Z0X = "abc";
    v.RecentMax = "11";
    v.FontSize = "";
    StoreSetupValues(v);
    EXPECT_EQ(EnvDef.Z0R, 50);
    EXPECT_EQ(EnvDef.Z0X, 0);
    EXPECT_EQ(JobDef.RecentMax, 10);
    EXPECT_EQ(EnvDef.FontSize, 0);
    v.Z0R = "75";
    v.Z0X = "-12.5";
    v.RecentMax = "4";
    v.FontSize = "+1.6";
    StoreSetupValues(v);
    EXPECT_EQ(EnvDef.Z0R, 75);
    EXPECT_EQ(EnvDef.Z0X, -12.5);
    EXPECT_EQ(JobDef.RecentMax, 4);
    EXPECT_EQ(EnvDef.FontSize, 2);
}

TEST_F(SetupStore, NewPulseMaximumReallocatesAndReturnsTwo) {
    SetupValues v = LoadSetupValues();
    v.MaxPulses = "-1024";
    EXPECT_EQ(StoreSetupValues(v).Code, 2);
    EXPECT_EQ(EnvDef.PMAX, 1024);
    v.MaxPulses = "9000";
    EXPECT_EQ(StoreSetupValues(v).Code, 1);
    EXPECT_EQ(EnvDef.PMAX, 1024);
}

TEST_F(SetupStore, ReducedPulseMaximumIsReported) {
    SetEngineAllocationLimit(EngineArrayBytes(700));
    SetupValues v = LoadSetupValues();
    v.MaxPulses = "1024";
    const SetupStored stored = StoreSetupValues(v);
    EXPECT_EQ(stored.Code, 2);
    EXPECT_EQ(EnvDef.PMAX, 512);
    const std::string notice = "Not enough memory for 1024 pulses.\r\n\r\nThe maximum pulse count is now 512.";
    EXPECT_EQ(stored.Notice(), notice);
    // The options form shows it.
    EnvDef.PMAX = AllocEngineArrays(256);
    prompter_.AnswerMessage(BoxOk);
    TOptDlgBox form;
    form.Preset(0, 0, 0, 50, 14);
    form.PMaxCB->setEditText("1024");
    EXPECT_EQ(form.Store(), 2);
    ASSERT_EQ(prompter_.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter_.Last().text, notice);
}

TEST(Hairpin, ProposalAndReactance) {
    EXPECT_EQ(HairpinProposal(25), "50");
    EXPECT_EQ(HairpinProposal(100), "200.0");
    EXPECT_EQ(HairpinReactance(25, "50"), "-25.0");
    EXPECT_EQ(HairpinReactance(100, "200.0"), "-100.0");
    EXPECT_EQ(HairpinReactance(100, "100"), "0");
    EXPECT_EQ(HairpinReactance(100, "60"), "");
    EXPECT_EQ(HairpinReactance(100, "zz"), "");
}

}  // namespace
