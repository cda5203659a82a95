// The user material and user programs dialogs, driven without showing them.
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "platform/RadioGroup.h"
#include "platform/ScriptedPrompter.h"
#include "tools/UserMaterialDlg.h"
#include "tools/UserProgramsDlg.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class UserMaterial : public ::testing::Test {
protected:
    void SetUp() override { saved_ = UserMaterialDef; }
    void TearDown() override { UserMaterialDef = saved_; }
    UserMaterialRec saved_{};
};

TEST_F(UserMaterial, ShowsAndStoresInUnitsOfE8) {
    UserMaterialDef = {1.72e-8, 1};
    TUserMater dlg;
    EXPECT_EQ(dlg.LOEdit->text(), "1.72");
    EXPECT_EQ(dlg.USEdit->text(), "1");
    dlg.LOEdit->clear();
    QTest::keyClicks(dlg.LOEdit, "2,82");
    EXPECT_EQ(dlg.LOEdit->text(), "2.82");
    dlg.OKBtnClick();
    EXPECT_DOUBLE_EQ(UserMaterialDef.Resistivity, 2.82e-8);
    EXPECT_EQ(UserMaterialDef.Permeability, 1);
}

TEST_F(UserMaterial, OneBadTextClearsBoth) {
    UserMaterialDef = {1.72e-8, 1};
    StoreUserMaterial("2.82", "x");
    EXPECT_EQ(UserMaterialDef.Resistivity, 0);
    EXPECT_EQ(UserMaterialDef.Permeability, 0);
    StoreUserMaterial(" 3 ", "1e0");
    EXPECT_DOUBLE_EQ(UserMaterialDef.Resistivity, 3e-8);
    StoreUserMaterial("1+1", "1");  // no expressions here
    EXPECT_EQ(UserMaterialDef.Resistivity, 0);
    StoreUserMaterial("inf", "1");
    EXPECT_EQ(UserMaterialDef.Resistivity, 0);
}

TEST_F(UserMaterial, CancelChangesNothing) {
    UserMaterialDef = {1.72e-8, 1};
    TUserMater dlg;
    dlg.LOEdit->setText("9");
    dlg.reject();
    EXPECT_DOUBLE_EQ(UserMaterialDef.Resistivity, 1.72e-8);
}

class UserPrograms : public ::testing::Test {
protected:
    void SetUp() override {
        ApplyDefaultMessages();
        for (int i = 0; i < UserProgramCount; ++i) saved_[i] = UserProgramSlots[i];
        UserProgramSlots[0] = {"/usr/bin/first", true};
        UserProgramSlots[1] = {"", false};
        UserProgramSlots[2] = {"/opt/third", false};
    }
    void TearDown() override {
        for (int i = 0; i < UserProgramCount; ++i) UserProgramSlots[i] = saved_[i];
    }
    UserProgramSlot saved_[UserProgramCount];
    ScriptedPrompter prompter_;
    ScopedPrompter scope_{prompter_};
};

TEST_F(UserPrograms, EmptySlotOpensLockedOnItsItem) {
    TUsCase dlg(2);
    EXPECT_FALSE(dlg.UserRG->isEnabled());
    EXPECT_EQ(dlg.UserRG->ItemIndex(), 1);
    EXPECT_EQ(dlg.UserRG->Items().at(1), "Not defined2");
    EXPECT_EQ(dlg.UserRG->Items().at(0), "/usr/bin/first");
    QTest::keyClicks(dlg.Edit1, "/bin/prog");
    EXPECT_EQ(UserProgramSlots[1].Path, "/bin/prog");
    EXPECT_EQ(dlg.UserRG->Items().at(1), "/bin/prog");
}

TEST_F(UserPrograms, CancelRestoresEverySlot) {
    TUsCase dlg(3);
    dlg.Edit1->setText("/changed");
    dlg.USPlCB->setChecked(true);
    dlg.Button1Click(false);
    EXPECT_EQ(UserProgramSlots[2].Path, "/opt/third");
    EXPECT_EQ(UserProgramSlots[0].Path, "/usr/bin/first");
    EXPECT_TRUE(UserProgramSlots[0].PassAntenna);
    EXPECT_EQ(UserProgramSlots[1].Path, "");
}

TEST_F(UserPrograms, OkStoresPathAndFlag) {
    TUsCase dlg(1);
    EXPECT_TRUE(dlg.USPlCB->isChecked());
    dlg.Edit1->setText("");
    dlg.Button1Click(true);
    EXPECT_EQ(UserProgramSlots[0].Path, "");
    EXPECT_FALSE(UserProgramSlots[0].PassAntenna);
    TUsCase second(3);
    prompter_.AnswerFile("/opt/found");
    second.SrchBtnClick();
    second.USPlCB->setChecked(true);
    second.Button1Click(true);
    EXPECT_EQ(UserProgramSlots[2].Path, "/opt/found");
    EXPECT_TRUE(UserProgramSlots[2].PassAntenna);
}

TEST_F(UserPrograms, NoSlotChosenStoresNothing) {
    TUsCase dlg(0);
    EXPECT_TRUE(dlg.UserRG->isEnabled());
    dlg.Edit1->setText("/typed");
    dlg.Button1Click(true);
    EXPECT_EQ(dlg.SelectedSlot, 0);
    EXPECT_EQ(UserProgramSlots[1].Path, "");
    dlg.UserRGClick(2);
    EXPECT_EQ(dlg.Edit1->text(), "/opt/third");
    EXPECT_EQ(dlg.SelectedSlot, 3);
}

}  // namespace
