// The close query: the stop request, the save question and the settings
// file written only when the window really closes.
#include "FileCommandsFixture.h"
#include "model/EnvDef.h"

#include <QFile>

namespace {

class CloseQuery : public FileCommandsTest {
protected:
    void TearDown() override {
        FileCommandsTest::TearDown();
        JobDef.StopRequest = 0;
    }
    bool SettingsWritten() const { return QFile::exists(SettingsPath()); }
};

}  // namespace

TEST_F(CloseQuery, AnUnchangedAntennaClosesWithoutAQuestion) {
    OpenDipole();
    EXPECT_TRUE(wnd->close());
    EXPECT_TRUE(prompter.ShownBoxes().empty()) << Shown();
    EXPECT_TRUE(SettingsWritten());
}

TEST_F(CloseQuery, CancelKeepsTheProgramButTheStopRequestStays) {
    OpenDipole();
    EditName("Unsaved");
    JobDef.StopRequest = 0;
    prompter.AnswerMessage(BoxCancel);
    EXPECT_FALSE(wnd->close());
    EXPECT_TRUE(wnd->isVisible());
    EXPECT_EQ(JobDef.StopRequest, 1);
    EXPECT_STREQ(wnd->Ant.Name, "Unsaved");
    EXPECT_FALSE(SettingsWritten());
}

TEST_F(CloseQuery, NoClosesWithoutSavingAndWritesTheSettings) {
    const QString path = OpenDipole();
    const QByteArray before = ReadFile(path);
    EditName("Unsaved");
    prompter.AnswerMessage(BoxNo);
    EXPECT_TRUE(wnd->close());
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_TRUE(SettingsWritten());
}

TEST_F(CloseQuery, YesSavesTheAntennaBeforeClosing) {
    const QString path = OpenDipole();
    EditName("Kept");
    prompter.AnswerMessage(BoxYes);
    EXPECT_TRUE(wnd->close());
    EXPECT_TRUE(ReadFile(path).contains("Kept"));
    EXPECT_TRUE(SettingsWritten());
}

TEST_F(CloseQuery, ACloseDuringACalculationWaitsForItsEnd) {
    OpenDipole();
    JobDef.Busy = 1;
    EXPECT_FALSE(wnd->close());
    EXPECT_EQ(JobDef.StopRequest, 1);
    EXPECT_TRUE(wnd->CloseAfterRun);
    EXPECT_TRUE(prompter.ShownBoxes().empty());
    JobDef.Busy = 0;
}
