// The temporary memory of the Edit menu and the antenna kept before an
// optimization: what is kept, what comes back, and what the menu offers.
#include "MainWndFixture.h"
#include "model/FedDipole.h"
#include "model/AntennaText.h"
#include "model/EnvDef.h"
#include "model/Messages.h"

#include <QAction>
#include <QComboBox>

namespace {

class MemoryCommandsTest : public MainWndTest {
protected:
    void SetUp() override {
        MainWndTest::SetUp();
        ApplyDefaultMessages();
        TempMemoryText.clear();
        PreOptimizationText.clear();
        MakeFedDipole(wnd->Ant, WireRec{-2.5, 0, 10, 2.5, 0, 10, 0.001, 11, 0, 0, 0});
        wnd->SetAntDef();
        wnd->Comment = "kept comment\r\n";
        wnd->UpdateMenuState();
    }
    void TearDown() override {
        TempMemoryText.clear();
        PreOptimizationText.clear();
        MainWndTest::TearDown();
    }
    std::string Text() const { return WriteAntennaText(wnd->Ant, EnvDef, wnd->Comment); }
};

}  // namespace

TEST_F(MemoryCommandsTest, RestoreGivesBackExactlyWhatWasKept) {
    wnd->UpdateMenuState();
    EXPECT_FALSE(wnd->K39->isEnabled());
    wnd->K38->trigger();
    const std::string kept = Text();
    EXPECT_EQ(TempMemoryText, kept);
    EXPECT_TRUE(wnd->K39->isEnabled());

    Type(wnd->Grid2, 1, 2, "7");  // a second wire
    Type(wnd->Grid4, 1, 1, "w2c");
    wnd->Comment = "another\r\n";
    ASSERT_EQ(wnd->Ant.WireCount, 2);

    prompter.AnswerMessage(BoxYes);
    wnd->K39->trigger();
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().text, MainMessages[MsgRestoreTemp]);
    EXPECT_EQ(Text(), kept);
    EXPECT_EQ(wnd->Comment, "kept comment\r\n");
    EXPECT_EQ(wnd->Grid2->RowCount(), 3);
    EXPECT_EQ(wnd->Grid4->RowCount(), 2);
    EXPECT_EQ(wnd->Ant.Changed, 1);
    // The memory keeps its text for another restore.
    EXPECT_EQ(TempMemoryText, kept);
}

TEST_F(MemoryCommandsTest, NoKeepsTheAntennaAsItIs) {
    wnd->K38->trigger();
    Type(wnd->Grid2, 1, 1, "-3");
    prompter.AnswerMessage(BoxNo);
    wnd->K39->trigger();
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].X1, -3.0);
}

TEST_F(MemoryCommandsTest, RestoringFromMemoryForgetsTheTextBeforeOptimization) {
    wnd->K38->trigger();
    PreOptimizationText = Text();
    wnd->UpdateMenuState();
    EXPECT_TRUE(wnd->K36->isEnabled());
    prompter.AnswerMessage(BoxYes);
    wnd->K39->trigger();
    EXPECT_TRUE(PreOptimizationText.empty());
    EXPECT_FALSE(wnd->K36->isEnabled());
}

TEST_F(MemoryCommandsTest, RestoringTheAntennaBeforeOptimizationEmptiesIt) {
    const std::string before = Text();
    PreOptimizationText = before;
    Type(wnd->Grid2, 4, 1, "9");
    wnd->UpdateMenuState();
    prompter.AnswerMessage(BoxYes);
    wnd->K36->trigger();
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().text, MainMessages[MsgRestoreOptimized]);
    EXPECT_EQ(Text(), before);
    EXPECT_TRUE(PreOptimizationText.empty());
    EXPECT_FALSE(wnd->K36->isEnabled());
}

TEST_F(MemoryCommandsTest, AFieldThatDoesNotReadKeepsTheOldMemory) {
    wnd->K38->trigger();
    const std::string kept = TempMemoryText;
    Type(wnd->Grid2, 1, 1, "-4");
    wnd->EditDM1->setEditText("abc");
    prompter.AnswerMessage(BoxOk);
    wnd->K38->trigger();
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().caption, "Error!!!");
    EXPECT_EQ(TempMemoryText, kept);
}

TEST_F(MemoryCommandsTest, EmptyAntennasAndEmptyMemoriesDoNothing) {
    prompter.AnswerMessage(BoxYes);
    wnd->K39->trigger();
    wnd->K36->trigger();
    EXPECT_TRUE(prompter.ShownBoxes().empty());
    wnd->Ant.WireCount = 0;
    wnd->K38->trigger();
    EXPECT_TRUE(TempMemoryText.empty());
    prompter.Clear();
}
