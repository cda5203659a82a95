// Far-field files: saved with the antenna, its comment and the results,
// shown again without a calculation, and refused whole when damaged.
#include "FileCommandsFixture.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "draw/PolarPlot.h"
#include "platform/RadioGroup.h"

#include <cstring>

class FileCommandsFarFieldTest : public FileCommandsTest {
protected:
    // Results as a calculation would leave them, with values no calculation
    // of the dipole gives, so that a recalculation would show.
    static void FakeResults(float gain) {
        Results.PushRow();
        Results.Row(0)->R = 73.5f;
        Results.HasFarField = 1;
        Results.AngleStep = 1;
        Results.GainMax = gain;
        for (int i = 0; i < AzCutSize; ++i) Results.AzCut[2][i] = gain - static_cast<float>(i % 30);
        std::strcpy(Results.Title, "dipole");
    }

    // The dipole with a comment and results, saved as a far-field file.
    QString SaveDipoleFarField(const QString& name = "dipole.kvb") {
        OpenDipole();
        wnd->Comment = "my notes\r\n";
        wnd->MarkAntennaUnchanged();  // as if the file held the comment
        FakeResults(7.25f);
        ShowResultsOfThisAntenna();
        wnd->UpdateMenuState();
        const QString path = TempPath(name);
        prompter.AnswerFile(path.toStdString());
        wnd->K11->trigger();
        EXPECT_TRUE(QFileInfo::exists(path)) << Shown();
        prompter.Clear();
        return path;
    }

    void ExpectDipoleResultsShown() {
        EXPECT_STREQ(wnd->Ant.Name, "Half-wave dipole 14.15 MHz");
        EXPECT_EQ(wnd->Ant.WireCount, 1);
        EXPECT_EQ(wnd->Comment, "my notes\r\n");
        EXPECT_EQ(Results.HasFarField, 1);
        EXPECT_FLOAT_EQ(Results.GainMax, 7.25f);
        EXPECT_FLOAT_EQ(Results.AzCut[2][31], 7.25f - 1.0f);
        EXPECT_FLOAT_EQ(Results.Row(0)->R, 73.5f);
        EXPECT_DOUBLE_EQ(PatternMaxGain, 7.25);
        // Shown as the file keeps them, never computed from.
        EXPECT_TRUE(wnd->ResultsBelongToAntenna(ResultHolder::Row, ResultUse::Show));
        EXPECT_FALSE(wnd->ResultsBelongToAntenna(ResultHolder::Row, ResultUse::ComputeFrom));
        EXPECT_EQ(wnd->WaveSel->ItemIndex(), 3);
        EXPECT_EQ(wnd->Ant.Changed, 0);
    }
};

TEST_F(FileCommandsFarFieldTest, SavingKeepsTheCommentAndListsTheAntennaName) {
    const QString kvb = SaveDipoleFarField();
    EXPECT_EQ(wnd->Comment, "my notes\r\n");
    // Only antenna files are listed by default: the far-field file is not.
    ASSERT_EQ(wnd->Recent.Count(), 1);
    EXPECT_EQ(wnd->Recent.At(0), TempPath("dipole.kva").toStdString());
    EXPECT_EQ(wnd->ResFolder, QFileInfo(kvb).absolutePath());
}

TEST_F(FileCommandsFarFieldTest, SaveProposesTheAntennaNameWithoutExtension) {
    OpenDipole();
    FakeResults(1.0f);
    ShowResultsOfThisAntenna();
    wnd->UpdateMenuState();
    ASSERT_TRUE(wnd->K11->isEnabled());
    wnd->K11->trigger();  // cancelled
    EXPECT_EQ(prompter.Last().kind, "save");
    EXPECT_EQ(prompter.Last().caption, "Save far field");
    EXPECT_EQ(prompter.Last().text, TempPath("dipole").toStdString());
}

TEST_F(FileCommandsFarFieldTest, OpeningShowsTheStoredResultsWithoutCalculating) {
    const QString kvb = SaveDipoleFarField();
    wnd->K2->trigger();
    ASSERT_EQ(Results.HasFarField, 0);
    Results.GainMax = 0;
    JobDef.OnlyKVA = 0;
    prompter.AnswerFile(kvb.toStdString());
    wnd->K12->trigger();
    EXPECT_EQ(prompter.Last().caption, "View far field");
    ExpectDipoleResultsShown();
    EXPECT_EQ(wnd->FileName, TempPath("dipole.kva"));
    EXPECT_EQ(wnd->Recent.At(0), kvb.toStdString());
}

TEST_F(FileCommandsFarFieldTest, TheCommandLineAndReopenOpenFarFieldFiles) {
    const QString kvb = SaveDipoleFarField("from cmd.kvb");
    Results.HasFarField = 0;
    Open({"korva", kvb});
    ExpectDipoleResultsShown();
    EXPECT_EQ(wnd->FileName, TempPath("from cmd.kva"));

    JobDef.OnlyKVA = 0;
    wnd->AddRecentFile(kvb, true);
    wnd->K2->trigger();
    Results.HasFarField = 0;
    wnd->ReopenItems[0]->trigger();
    ExpectDipoleResultsShown();
}

TEST_F(FileCommandsFarFieldTest, ADamagedFileIsRefusedAndNothingChanges) {
    const QString kvb = SaveDipoleFarField();
    const QByteArray good = ReadFile(kvb);
    // Another antenna with its own results is current while the bad files are tried.
    wnd->K2->trigger();
    TypeOneWire();
    wnd->Comment = "current";
    FakeResults(3.5f);
    const int wireCount = wnd->Ant.WireCount;

    auto patched = [&](int offset, QByteArray bytes) {
        QByteArray b = good;
        b.replace(offset, bytes.size(), bytes);
        return b;
    };
    int32_t hugeCount = 100000;
    const QByteArray damaged[] = {
        good.left(good.size() - 10),                                   // truncated results
        good.left(40),                                                 // truncated model image
        good + QByteArray(3, 'x'),                                     // bytes after the end
        patched(12, "1"),                                              // version 2.01
        patched(0, "Z"),                                               // another program's file
        patched(16 + 129 + 8, QByteArray(reinterpret_cast<const char*>(&hugeCount), 4)),  // wire count
        QByteArray(),                                                  // empty
    };
    for (const QByteArray& bytes : damaged) {
        const QString path = WriteFile("bad.kvb", bytes);
        prompter.Clear();
        prompter.AnswerFile(path.toStdString());
        wnd->MarkAntennaUnchanged();  // no save question in between
        wnd->K12->trigger();
        EXPECT_EQ(LastText(), "Invalid format of file " + path.toStdString() + ".") << Shown();
        EXPECT_EQ(prompter.Last().caption, "Error!!!");
        EXPECT_EQ(wnd->Ant.WireCount, wireCount);
        EXPECT_EQ(wnd->Comment, "current");
        EXPECT_TRUE(wnd->FileName.isEmpty());
        EXPECT_FLOAT_EQ(Results.GainMax, 3.5f);
    }

    const QString missing = TempPath("missing.kvb");
    prompter.AnswerFile(missing.toStdString());
    wnd->K12->trigger();
    EXPECT_EQ(LastText(), "Can not load " + missing.toStdString());
    EXPECT_EQ(wnd->Ant.WireCount, wireCount);
}
