// The save question before a command replaces the antenna: Cancel changes
// nothing, No drops the edits, Yes saves, and a save that does not happen
// never lets the edits go.
#include "FileCommandsFixture.h"

#include <QCloseEvent>

namespace {

bool IsSaveQuestion(const ScriptedPrompter::Shown& box) {
    return box.kind == "message" && box.caption == "Korva" && box.text == "File modifyed. Save changes?" &&
           box.icon == BoxIcon::Question && box.buttons == BoxButtons::YesNoCancel;
}

} // namespace

TEST_F(FileCommandsTest, NewAfterAnEditAsksAndCancelChangesNothing) {
    const QString path = OpenDipole();
    EditName("Edited");
    prompter.AnswerMessage(BoxCancel);
    wnd->K2->trigger();
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u) << Shown();
    EXPECT_TRUE(IsSaveQuestion(prompter.Last()));
    EXPECT_EQ(wnd->Ant.WireCount, 1);
    EXPECT_STREQ(wnd->Ant.Name, "Edited");
    EXPECT_EQ(wnd->Ant.Changed, 1);
    EXPECT_EQ(wnd->FileName, path);
    EXPECT_EQ(ReadFile(path), DipoleText());
}

TEST_F(FileCommandsTest, NoDropsTheEditsAndYesSavesThemFirst) {
    const QString path = OpenDipole();
    EditName("Dropped");
    prompter.AnswerMessage(BoxNo);
    wnd->ToolButton2->trigger();
    EXPECT_EQ(wnd->Ant.WireCount, 0);
    EXPECT_TRUE(wnd->FileName.isEmpty());
    EXPECT_EQ(wnd->Ant.Changed, 0);
    EXPECT_EQ(wnd->windowTitle(), "KORVA-TEZ");
    EXPECT_EQ(ReadFile(path), DipoleText());

    OpenDipole();
    EditName("Kept");
    prompter.AnswerMessage(BoxYes);
    wnd->K2->trigger();
    EXPECT_EQ(wnd->Ant.WireCount, 0);
    EXPECT_TRUE(ReadFile(path).startsWith("Kept\r\n")) << ReadFile(path).left(40).toStdString();
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST_F(FileCommandsTest, NoQuestionWithoutEditsOrWithoutWires) {
    OpenDipole();
    wnd->K2->trigger();  // unchanged: no question
    EXPECT_TRUE(prompter.ShownBoxes().empty()) << Shown();
    EditName("only a name");  // no wires: nothing worth a question
    wnd->K2->trigger();
    EXPECT_TRUE(prompter.ShownBoxes().empty()) << Shown();
}

TEST_F(FileCommandsTest, YesWithACancelledSaveAsKeepsTheEdits) {
    TypeOneWire();
    prompter.AnswerMessage(BoxYes);
    prompter.AnswerFile("");  // the Save as dialog is cancelled
    wnd->K2->trigger();
    EXPECT_EQ(wnd->Ant.WireCount, 1);
    EXPECT_EQ(wnd->Ant.Changed, 1);
    EXPECT_EQ(CountShown("save"), 1u) << Shown();
}

TEST_F(FileCommandsTest, YesWithAFailingSaveKeepsTheEditsAndTheWindow) {
    OpenDipole();
    const QString target = UnwritablePath("dipole.kva");
    wnd->FileName = target;
    EditName("Precious");
    prompter.AnswerMessage(BoxYes);
    wnd->K3->trigger();  // Open: the question, the failing save, and no dialog
    EXPECT_EQ(CountShown("open"), 0u) << Shown();
    EXPECT_NE(LastText().find("Can not save " + target.toStdString()), std::string::npos) << Shown();
    EXPECT_STREQ(wnd->Ant.Name, "Precious");
    EXPECT_EQ(wnd->Ant.Changed, 1);

    // Closing asks the same; the failed save keeps the window open.
    prompter.Clear();
    prompter.AnswerMessage(BoxYes);
    EXPECT_FALSE(wnd->close());
    EXPECT_TRUE(wnd->isVisible());
    EXPECT_EQ(wnd->Ant.Changed, 1);
}

TEST_F(FileCommandsTest, CloseAsksAndCancelKeepsTheProgramRunning) {
    OpenDipole();
    EditName("Unsaved");
    prompter.AnswerMessage(BoxCancel);
    EXPECT_FALSE(wnd->close());
    EXPECT_TRUE(wnd->isVisible());
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u) << Shown();
    EXPECT_TRUE(IsSaveQuestion(prompter.Last()));

    prompter.AnswerMessage(BoxNo);
    EXPECT_TRUE(wnd->close());
}

TEST_F(FileCommandsTest, OpenFarFieldAsksFirstAndCancelShowsNoDialog) {
    OpenDipole();
    EditName("Edited");
    prompter.AnswerMessage(BoxCancel);
    wnd->K12->trigger();
    EXPECT_EQ(prompter.ShownBoxes().size(), 1u) << Shown();
    EXPECT_STREQ(wnd->Ant.Name, "Edited");
}
