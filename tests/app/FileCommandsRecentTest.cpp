// The Reopen submenu: ten names newest first, kept through a restart, and
// reopening a listed file with the save question first.
#include "FileCommandsFixture.h"
#include "model/EnvDef.h"

#include <QMenu>

namespace {

QString Visible(const TMainWnd& w, int i) {
    const QAction* item = w.ReopenItems[i];
    return item->isVisible() ? item->data().toString() : QString();
}

} // namespace

class FileCommandsRecentTest : public FileCommandsTest {
protected:
    // Opens n copies of the dipole through File / Open, a0.kva first.
    QStringList OpenCopies(int n) {
        QStringList paths;
        for (int i = 0; i < n; ++i) paths << OpenDipole(QString("a%1.kva").arg(i));
        return paths;
    }
};

TEST_F(FileCommandsRecentTest, AnEmptyListDisablesReopen) {
    EXPECT_EQ(wnd->Recent.Count(), 0);
    EXPECT_FALSE(wnd->Reopen->menuAction()->isEnabled());
    for (QAction* item : wnd->ReopenItems) EXPECT_FALSE(item->isVisible());
}

TEST_F(FileCommandsRecentTest, KeepsTenNamesNewestFirstAndSurvivesARestart) {
    const QStringList paths = OpenCopies(11);
    ASSERT_EQ(wnd->Recent.Count(), 10);
    EXPECT_TRUE(wnd->Reopen->menuAction()->isEnabled());
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Visible(*wnd, i), paths[10 - i]) << i;

    ASSERT_TRUE(wnd->close());
    Open();
    ASSERT_EQ(wnd->Recent.Count(), 10);
    EXPECT_TRUE(wnd->Reopen->menuAction()->isEnabled());
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Visible(*wnd, i), paths[10 - i]) << i;
}

TEST_F(FileCommandsRecentTest, ReopenOpensTheFileAndMovesItToTheTop) {
    const QStringList paths = OpenCopies(3);
    wnd->K2->trigger();
    ASSERT_EQ(wnd->Ant.WireCount, 0);
    wnd->ReopenItems[2]->trigger();  // the oldest
    EXPECT_EQ(wnd->FileName, paths[0]);
    EXPECT_EQ(wnd->Ant.WireCount, 1);
    EXPECT_EQ(Visible(*wnd, 0), paths[0]);
    EXPECT_EQ(Visible(*wnd, 1), paths[2]);
    EXPECT_EQ(wnd->Recent.Count(), 3);
    EXPECT_TRUE(prompter.ShownBoxes().empty()) << Shown();
}

TEST_F(FileCommandsRecentTest, ReopenAsksTheSaveQuestionFirst) {
    const QStringList paths = OpenCopies(2);
    EditName("Unsaved");
    prompter.AnswerMessage(BoxCancel);
    wnd->ReopenItems[1]->trigger();
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u) << Shown();
    EXPECT_EQ(prompter.Last().text, "File modifyed. Save changes?");
    EXPECT_EQ(wnd->FileName, paths[1]);
    EXPECT_STREQ(wnd->Ant.Name, "Unsaved");

    prompter.AnswerMessage(BoxNo);
    wnd->ReopenItems[1]->trigger();
    EXPECT_EQ(wnd->FileName, paths[0]);
    EXPECT_STREQ(wnd->Ant.Name, "Half-wave dipole 14.15 MHz");
}

TEST_F(FileCommandsRecentTest, AVanishedFileIsReportedAndDropped) {
    const QStringList paths = OpenCopies(2);
    ASSERT_TRUE(QFile::remove(paths[0]));
    EditName("Edited");
    wnd->ReopenItems[1]->trigger();
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u) << Shown();
    EXPECT_EQ(prompter.Last().text, "File " + paths[0].toStdString() + " not found");
    EXPECT_EQ(prompter.Last().caption, "KORVA-TEZ");
    ASSERT_EQ(wnd->Recent.Count(), 1);
    EXPECT_EQ(Visible(*wnd, 0), paths[1]);
    EXPECT_FALSE(wnd->ReopenItems[1]->isVisible());
    EXPECT_STREQ(wnd->Ant.Name, "Edited");
    EXPECT_EQ(wnd->FileName, paths[1]);
}

TEST_F(FileCommandsRecentTest, AFileThatCannotBeReadStaysListed) {
    const QStringList paths = OpenCopies(2);
    WriteFile("a0.kva", "");
    wnd->ReopenItems[1]->trigger();
    EXPECT_EQ(LastText(), "File " + paths[0].toStdString() + " is empty");
    EXPECT_EQ(wnd->Recent.Count(), 2);
    EXPECT_EQ(wnd->FileName, paths[1]);
}

TEST_F(FileCommandsRecentTest, OnlyAntennaFilesKeepsFarFieldNamesOut) {
    JobDef.OnlyKVA = 1;
    wnd->AddRecentFile("/somewhere/far.kvb", true);
    EXPECT_EQ(wnd->Recent.Count(), 0);
    JobDef.OnlyKVA = 0;
    wnd->AddRecentFile("/somewhere/far.kvb", true);
    wnd->AddRecentFile("", true);
    ASSERT_EQ(wnd->Recent.Count(), 1);
    JobDef.OnlyKVA = 1;
    const QString path = OpenDipole();
    ASSERT_EQ(wnd->Recent.Count(), 1);
    EXPECT_EQ(Visible(*wnd, 0), path);
}
