// Optimization log files from the File menu: the antenna and the optimizer
// state saved together, read back whole, and refused whole when damaged.
#include "FileCommandsFixture.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "optimizer/OptLogFile.h"
#include "optimizer/OptimizerState.h"

class OptLogCommandsTest : public FileCommandsTest {
protected:
    // The dipole with an optimizer state of one height row, saved as a log.
    QString SaveDipoleLog(const QString& name = "run.kvo") {
        OpenDipole();
        CACal& cal = wnd->OptimizerState();
        (void)cal.Attach(wnd->Ant, EnvDef);
        cal.SetRowCount(1);
        cal.Row(0).Kind = KindHeight;
        cal.Row(0).Value = 12.5;
        cal.GainGoal = 9;
        wnd->UpdateMenuState();
        EXPECT_TRUE(wnd->K20->isEnabled());
        const QString path = TempPath(name);
        prompter.AnswerFile(path.toStdString());
        wnd->K20->trigger();
        EXPECT_TRUE(QFileInfo::exists(path)) << Shown();
        prompter.Clear();
        return path;
    }
};

TEST_F(OptLogCommandsTest, SavingNeedsAnOptimizerState) {
    wnd->UpdateMenuState();
    EXPECT_FALSE(wnd->K20->isEnabled());
    wnd->K20Click();
    EXPECT_EQ(CountShown("save"), 0u);
}

TEST_F(OptLogCommandsTest, OpeningRestoresTheAntennaAndTheState) {
    const QString log = SaveDipoleLog();
    wnd->K2->trigger();   // a new antenna drops the state
    EXPECT_EQ(wnd->ACal, nullptr);
    prompter.AnswerFile(log.toStdString());
    wnd->K19->trigger();
    ASSERT_NE(wnd->ACal, nullptr) << Shown();
    EXPECT_STREQ(wnd->Ant.Name, "Half-wave dipole 14.15 MHz");
    EXPECT_EQ(wnd->FileName, TempPath("run.kva"));
    EXPECT_EQ(wnd->ACal->RowCount(), 1);
    EXPECT_EQ(wnd->ACal->Row(0).Value, 12.5);
    EXPECT_EQ(wnd->ACal->GainGoal, 9);
    EXPECT_EQ(wnd->ACal->Ant, &wnd->Ant);
    EXPECT_EQ(Results.HasFarField, 0);
    EXPECT_EQ(Results.AngleStep, 0);
    EXPECT_EQ(wnd->Ant.Changed, 0);
    // Only antenna files are listed by default: the name derived from the log is.
    ASSERT_GE(wnd->Recent.Count(), 1);
    EXPECT_EQ(wnd->Recent.At(0), TempPath("run.kva").toStdString());
}

TEST_F(OptLogCommandsTest, ADamagedOrMissingLogChangesNothing) {
    const QString log = SaveDipoleLog();
    QByteArray bytes = ReadFile(log);
    bytes.chop(10);
    const QString broken = WriteFile("broken.kvo", bytes);
    const QString missing = TempPath("missing.kvo");
    // Band 2 at 0 MHz, which the band table refuses: it names the reason.
    // The save refuses to write it; such a file comes from elsewhere.
    wnd->ACal->BandCount = 2;
    wnd->ACal->Bands[1].Freq = 0;
    const QString zeroBand = TempPath("band.kvo");
    prompter.AnswerFile(zeroBand.toStdString());
    wnd->K20->trigger();
    EXPECT_FALSE(QFileInfo::exists(zeroBand));
    EXPECT_NE(LastText().find("Band 2: the frequency must lie above 1.5"), std::string::npos) << Shown();
    const std::vector<uint8_t> image =
        BuildOptLogImage(wnd->Ant, TakeModelEnvFields(EnvDef), wnd->Comment, *wnd->ACal);
    WriteFile("band.kvo", QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size())));
    wnd->ACal->BandCount = 1;
    const struct {
        QString path;
        std::string message;
    } cases[] = {
        {broken, "Invalid format of file " + broken.toStdString() + "."},
        {missing, "Can not open " + missing.toStdString()},
        {zeroBand, "Invalid format of file " + zeroBand.toStdString() +
                       ".\nBand 2: the frequency must lie above 1.5 and below 999999.9 MHz."},
    };
    CACal* before = wnd->ACal;
    for (const auto& c : cases) {
        prompter.AnswerFile(c.path.toStdString());
        wnd->K19->trigger();
        EXPECT_EQ(LastText(), c.message);
        EXPECT_EQ(wnd->ACal, before);
        EXPECT_EQ(wnd->ACal->Row(0).Value, 12.5);
        EXPECT_STREQ(wnd->Ant.Name, "Half-wave dipole 14.15 MHz");
        EXPECT_EQ(wnd->FileName, TempPath("dipole.kva"));
    }
}

TEST_F(OptLogCommandsTest, LogsAreReopenedAndOpenedByExtension) {
    const int onlyKva = JobDef.OnlyKVA;
    JobDef.OnlyKVA = 0;
    const QString log = SaveDipoleLog();
    wnd->K2->trigger();
    wnd->OpenFileByExt(log);
    ASSERT_NE(wnd->ACal, nullptr);
    EXPECT_EQ(wnd->FileName, TempPath("run.kva"));
    wnd->K2->trigger();
    int slot = 0;
    for (int i = 0; i < wnd->Recent.Count(); ++i)
        if (wnd->Recent.At(i) == log.toStdString()) slot = i + 1;
    ASSERT_GT(slot, 0);
    wnd->ReopenClick(slot);
    ASSERT_NE(wnd->ACal, nullptr);
    EXPECT_EQ(wnd->ACal->RowCount(), 1);
    JobDef.OnlyKVA = onlyKva;
}
