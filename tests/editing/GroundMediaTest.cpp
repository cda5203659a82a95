// The ground media list as the dialog's grid edits it, and the dialog's copy
// that reaches the environment only on OK.
#include "DialogScript.h"
#include "editing/GroundMedia.h"
#include "editing/MediaDlgBox.h"
#include "platform/StringGrid.h"

#include <QCheckBox>
#include <QLineEdit>

namespace {

EnvRec OneMedium() {
    EnvRec env{};
    env.MediaMax = 1;
    env.Dieleciric[0] = 13;
    env.Conductivity[0] = 0.005;
    env.Coord[0] = 0;
    env.Height[0] = 0;
    return env;
}

}  // namespace

TEST(GroundMedia, TypingIntoTheNextRowAddsAMediumWithTheFirstsGround) {
    EnvRec env = OneMedium();
    EXPECT_EQ(MediaCellText(env, 0, 2), "next");
    ASSERT_TRUE(SetMediaCell(env, 1, 2, "15"));
    EXPECT_EQ(env.MediaMax, 2);
    EXPECT_DOUBLE_EQ(env.Dieleciric[1], 15);
    EXPECT_DOUBLE_EQ(env.Conductivity[2], 0.005);
    EXPECT_EQ(MediaCellText(env, 0, 3), "next");
    EXPECT_EQ(MediaCellText(env, 1, 3), "");
    ASSERT_TRUE(SetMediaCell(env, 2, 2, "10"));
    EXPECT_DOUBLE_EQ(env.Conductivity[1], 0.01);
    EXPECT_EQ(MediaCellText(env, 2, 2), "10.0");
    EXPECT_FALSE(SetMediaCell(env, 1, 2, "abc"));
    EXPECT_DOUBLE_EQ(env.Dieleciric[1], 15);
    // Values no ground has change nothing either.
    for (const auto& [col, text] : {std::pair{1, "0"}, {1, "1e7"}, {2, "-1"}, {2, "1e12"}, {3, "1e7"}, {4, "-2e6"}})
        EXPECT_FALSE(SetMediaCell(env, col, 2, text)) << col << " " << text;
    EXPECT_DOUBLE_EQ(env.Dieleciric[1], 15);
    EXPECT_DOUBLE_EQ(env.Conductivity[1], 0.01);
    EXPECT_DOUBLE_EQ(env.Height[1], 0);
}

TEST(GroundMedia, EmptyBoundaryClearsOnlyTheLastMedium) {
    EnvRec env = OneMedium();
    SetMediaCell(env, 3, 1, "20");
    SetMediaCell(env, 3, 2, "40");
    ASSERT_EQ(env.MediaMax, 2);
    EXPECT_FALSE(SetMediaCell(env, 3, 1, ""));
    EXPECT_DOUBLE_EQ(env.Coord[0], 20);
    EXPECT_TRUE(SetMediaCell(env, 3, 2, ""));
    EXPECT_DOUBLE_EQ(env.Coord[1], 0);
}

TEST(GroundMedia, FirstMediumStaysAtHeightZero) {
    EnvRec env = OneMedium();
    env.Height[0] = 3;
    EXPECT_EQ(MediaCellText(env, 4, 1), "");
    EXPECT_DOUBLE_EQ(env.Height[0], 0);
    SetMediaCell(env, 4, 1, "5");
    EXPECT_DOUBLE_EQ(env.Height[0], 0);
}

TEST(GroundMedia, DeleteAndAddRespectTheLimits) {
    EnvRec env = OneMedium();
    ASSERT_TRUE(DeleteMedium(env, 1));
    EXPECT_EQ(env.MediaMax, 0);
    EXPECT_EQ(MediaCellText(env, 0, 1), "next");
    EXPECT_FALSE(DeleteMedium(env, 1));

    env = OneMedium();
    for (int i = 2; i <= 14; ++i) SetMediaCell(env, 1, i, "5");
    ASSERT_EQ(env.MediaMax, 14);
    EXPECT_FALSE(InsertMedium(env, 3));
    DeleteMedium(env, 14);
    ASSERT_TRUE(InsertMedium(env, 2));
    EXPECT_DOUBLE_EQ(env.Dieleciric[1], 0);
    EXPECT_DOUBLE_EQ(env.Dieleciric[2], 5);

    // Fifteen media fill the record: the "next" row after them takes nothing.
    SetMediaCell(env, 1, 15, "7");
    ASSERT_EQ(env.MediaMax, 15);
    EXPECT_FALSE(SetMediaCell(env, 1, 16, "7"));
    EXPECT_EQ(env.MediaMax, 15);
}

using MediaDialog = DialogScriptTest;

TEST_F(MediaDialog, EditsReachTheEnvironmentOnlyOnOk) {
    const EnvRec saved = EnvDef;
    EnvDef = OneMedium();
    EnvDef.RadialCount = 8;
    EnvDef.RadialRadius = 0.001;
    Then<TMediaDlgBox>([](TMediaDlgBox& d) {
        EXPECT_EQ(d.Grid->RowCount(), 3);
        EXPECT_EQ(d.RadR->text(), "1.0");
        EXPECT_FALSE(d.RadCnt->isEnabled());
        EXPECT_EQ(d.GetCellText(3, 0), "X (m)");
        d.GScrFlag->click();
        EXPECT_EQ(d.GetCellText(3, 0), "R (m)");
        EXPECT_TRUE(d.RadCnt->isEnabled());
        d.Grid->SetEditText(1, 2, "15");
        EXPECT_EQ(d.Grid->RowCount(), 4);
        d.RadCnt->setText("16");
        return QDialog::Rejected;
    });
    EXPECT_EQ(TMediaDlgBox(nullptr).Execute(), 0);
    EXPECT_EQ(EnvDef.MediaMax, 1);
    EXPECT_EQ(EnvDef.RadialCount, 8);

    Then<TMediaDlgBox>([](TMediaDlgBox& d) {
        d.GScrFlag->click();
        d.Grid->SetEditText(1, 2, "15");
        d.RadCnt->setText("16");
        d.RadR->setText("2");
        return QDialog::Accepted;
    });
    EXPECT_EQ(TMediaDlgBox(nullptr).Execute(), 1);
    EXPECT_EQ(EnvDef.MediaMax, 2);
    EXPECT_EQ(EnvDef.MediaType, 1);
    EXPECT_EQ(EnvDef.RadialCount, 16);
    EXPECT_DOUBLE_EQ(EnvDef.RadialRadius, 0.002);
    EnvDef = saved;
}
