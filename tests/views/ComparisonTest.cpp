// The comparison of results: the grid's texts per column, the slots filled
// from the latest calculation and far-field files (refusals, repeats, the
// limit of ten), the colour button, and the curves drawn in the slots'
// colours against one 0 dB level.
#include "../model/AntennaSamples.h"
#include "app/Settings.h"
#include "model/EnvDefaults.h"
#include "model/FarFieldFile.h"
#include "model/LanguageState.h"
#include "model/Messages.h"
#include "draw/PolarPlot.h"
#include "platform/Canvas.h"
#include "platform/FormPattern.h"
#include "platform/ScriptedPrompter.h"
#include "platform/StringGrid.h"
#include "views/ComparisonCells.h"
#include "platform/ColourChoice.h"
#include "views/ResCmpDlg.h"
#include "app/RecordsReset.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstring>

namespace {

// A result with a far field: total gain `ga` everywhere on the cuts.
std::unique_ptr<CResult> FarFieldResult(const char* title, float ga, int ground = 0) {
    auto r = std::make_unique<CResult>();
    std::strncpy(r->Title, title, sizeof r->Title - 1);
    r->PushRow();
    ResultRow& row = *r->Row(0);
    row = ResultRow{};
    row.Ground = ground;
    row.Height = 10.5f;
    row.F = 14.15f;
    row.R = 50.0f;
    row.jX = 0.0f;
    row.SWR = 1.0f;
    row.Ga = ga;
    row.FB = 20.0f;
    row.Elev = 12.5f;
    row.Z0R = 50.0f;
    row.GhMax = ga;
    row.GvMax = ga - 10;
    r->HasFarField = 1;
    r->AngleStep = 1;
    for (int p = 0; p < 3; ++p) {
        for (float& g : r->AzCut[p]) g = ga;
        for (float& g : r->ElevCut[p]) g = ga;
    }
    r->AzMax = r->ElevMax = r->GainMax = ga;
    return r;
}

class ComparisonTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetRecords();
        ApplyDefaultMessages();
        InitEnvironmentDefaults(1ull << 30);
        EnvDef.Z0R = 50.0;
        EnvDef.Z0X = 0.0;
        SettingsPathOverride = dir.filePath("Korva.ini").toStdString();
        savedExec_ = ExecModalDialog;
        ExecModalDialog = [](QDialog&) { return int(QDialog::Accepted); };
        for (int i = 0; i < 10; ++i) palette[i] = 0x000001u * (i + 1);
    }
    void TearDown() override {
        ExecModalDialog = savedExec_;
        SettingsPathOverride.clear();
        ResetRecords();
    }
    std::string SaveResult(const char* name, const CResult& r) {
        const std::string path = dir.filePath(name).toStdString();
        EXPECT_EQ(SaveFarFieldFile(path, *NewAntenna(), ModelEnvFields{}, "", r), FarFieldStatus::Ok);
        return path;
    }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    ScopedPrompter scope{prompter};
    uint32_t palette[10] = {};

private:
    std::function<int(QDialog&)> savedExec_;
};

}  // namespace

TEST_F(ComparisonTest, FreeSpaceShowsGhAndNoHeightGroundShowsDashesAndHeight) {
    const ComparisonWords words = DefaultComparisonWords();
    auto freeSpace = FarFieldResult("yagi", 7.15f, 0);
    EXPECT_EQ(ComparisonCellText(*freeSpace, "this", 1, 0, words), "1");
    EXPECT_EQ(ComparisonCellText(*freeSpace, "this", 1, 5, words), "5.0");
    EXPECT_EQ(ComparisonCellText(*freeSpace, "this", 1, 6, words), "7.15");
    EXPECT_EQ(ComparisonCellText(*freeSpace, "this", 1, 9, words), "Free");
    EXPECT_EQ(ComparisonCellText(*freeSpace, "this", 1, 10, words), "");
    EXPECT_EQ(ComparisonCellText(*freeSpace, "this", 1, 11, words), "H");
    EXPECT_EQ(ComparisonCellText(*freeSpace, "this", 1, 12, words), "this");
    EXPECT_EQ(ComparisonCellText(*freeSpace, "this", 1, 13, words), "yagi");

    auto real = FarFieldResult("yagi", 7.15f, 2);
    real->Row(0)->GvMax = 9.0f;
    EXPECT_EQ(ComparisonCellText(*real, "a.kvb", 2, 5, words), "---");
    EXPECT_EQ(ComparisonCellText(*real, "a.kvb", 2, 9, words), "Real");
    EXPECT_EQ(ComparisonCellText(*real, "a.kvb", 2, 10, words), "10.5");
    EXPECT_EQ(ComparisonCellText(*real, "a.kvb", 2, 11, words), "V");

    auto silent = FarFieldResult("none", 0.0f, 0);
    EXPECT_EQ(ComparisonCellText(*silent, "", 1, 5, words), "");  // no gain: no Gh
    silent->Row(0)->Ga = -5000.0f;
    EXPECT_EQ(ComparisonCellText(*silent, "", 1, 6, words), "-999.0");
}

TEST_F(ComparisonTest, SwrIsRecomputedAgainstAChangedReference) {
    const ComparisonWords words = DefaultComparisonWords();
    auto r = FarFieldResult("yagi", 7.0f);
    EXPECT_EQ(ComparisonCellText(*r, "", 1, 4, words), "1.0");
    EnvDef.Z0R = 75.0;
    EXPECT_EQ(ComparisonCellText(*r, "", 1, 4, words), "1.5");
}

TEST_F(ComparisonTest, LanguageWordsAreCutToFifteenCharacters) {
    ComparisonWords words = DefaultComparisonWords();
    SetComparisonWord(words, CwThis, "diese Berechnung hier");
    SetComparisonWord(words, 20, "ignored");
    EXPECT_EQ(words[CwThis], "diese Berechnun");
}

TEST_F(ComparisonTest, WithoutAFarFieldTheDialogOpensEmpty) {
    TResCmpDlg dlg(nullptr);
    EXPECT_TRUE(dlg.Execute(palette, true));
    EXPECT_EQ(dlg.Count(), 0);
    EXPECT_FALSE(dlg.DelBtn->isEnabled());
    EXPECT_TRUE(dlg.LoadBtn->isEnabled());
    EXPECT_EQ(dlg.Grid->RowCount(), 2);
    EXPECT_EQ(dlg.CellText(1, 1), "");
    EXPECT_EQ(dlg.CellText(12, 0), "File");
}

TEST_F(ComparisonTest, LatestResultFilesRepeatsAndRefusals) {
    Results = *FarFieldResult("latest", 6.0f);
    const double z0 = EnvDef.Z0R;
    const int type = EnvDef.Type = 0;
    const std::string a = SaveResult("a.kvb", *FarFieldResult("from a", 9.0f, 2));
    QFile bad(dir.filePath("bad.kvb"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a far field file");
    bad.close();

    TResCmpDlg dlg(nullptr);
    ASSERT_TRUE(dlg.Execute(palette, true));
    ASSERT_EQ(dlg.Count(), 1);
    EXPECT_EQ(dlg.SlotFileName(0), "this");
    EXPECT_DOUBLE_EQ(dlg.ReferenceGain(), 6.0);

    prompter.AnswerFile(a);
    dlg.LoadBtn->click();
    prompter.AnswerFile(a);  // the same file again: ignored
    dlg.LoadBtn->click();
    prompter.AnswerFile(dir.filePath("bad.kvb").toStdString());
    prompter.AnswerMessage(0);
    dlg.LoadBtn->click();
    prompter.AnswerFile(dir.filePath("missing.kvb").toStdString());
    prompter.AnswerMessage(0);
    dlg.LoadBtn->click();

    EXPECT_EQ(dlg.Count(), 2);
    EXPECT_EQ(dlg.Grid->RowCount(), 3);
    EXPECT_EQ(dlg.CellText(13, 2), "from a");
    EXPECT_EQ(dlg.CellText(9, 2), "Real");
    EXPECT_DOUBLE_EQ(dlg.ReferenceGain(), 9.0);
    EXPECT_EQ(dlg.ResultFolder, dir.path());
    ASSERT_EQ(prompter.ShownBoxes().size(), 6u);
    EXPECT_EQ(prompter.ShownBoxes()[0].caption, "View far fild");
    EXPECT_NE(prompter.ShownBoxes()[3].text.find("Invalid format of file"), std::string::npos);
    EXPECT_NE(prompter.ShownBoxes()[5].text.find("not found"), std::string::npos);
    // The file's environment stayed in the dialog.
    EXPECT_EQ(EnvDef.Z0R, z0);
    EXPECT_EQ(EnvDef.Type, type);
}

TEST_F(ComparisonTest, ClearEmptiesAllSlotsAndTenFillTheDialog) {
    Results = *FarFieldResult("latest", 6.0f);
    TResCmpDlg dlg(nullptr);
    dlg.Execute(palette, true);
    dlg.DelBtn->click();
    EXPECT_EQ(dlg.Count(), 0);
    EXPECT_EQ(dlg.Grid->RowCount(), 2);
    EXPECT_FALSE(dlg.DelBtn->isEnabled());
    EXPECT_DOUBLE_EQ(dlg.ReferenceGain(), 6.0);  // kept until something is loaded

    for (int i = 0; i < 10; ++i) {
        prompter.AnswerFile(SaveResult(("r" + std::to_string(i) + ".kvb").c_str(), *FarFieldResult("r", float(i))));
        dlg.LoadBtn->click();
    }
    EXPECT_EQ(dlg.Count(), 10);
    EXPECT_EQ(dlg.Grid->RowCount(), 11);
    EXPECT_FALSE(dlg.LoadBtn->isEnabled());
    EXPECT_TRUE(prompter.AllAnswersUsed());
}

TEST_F(ComparisonTest, ColourOfTheCurrentRowGoesIntoThePalette) {
    Results = *FarFieldResult("latest", 6.0f);
    TResCmpDlg dlg(nullptr);
    dlg.Execute(palette, true);
    dlg.Grid->SetRow(1);
    dlg.EnableButtons();
    ASSERT_TRUE(dlg.ColBtn->isEnabled());
    const auto saved = ChooseColour;
    ChooseColour = [](QWidget*, const QColor&) { return QColor(0, 255, 0); };
    dlg.ColBtn->click();
    ChooseColour = saved;
    EXPECT_EQ(palette[0], 0x00FF00u);
    EXPECT_EQ(palette[1], 0x000002u);
}

TEST_F(ComparisonTest, CurvesAreDrawnInTheSlotColoursAtTheCommonLevel) {
    Results = *FarFieldResult("latest", 6.0f);
    palette[0] = 0x00FF00;  // green
    TResCmpDlg dlg(nullptr);
    dlg.Execute(palette, true);
    const double plotMax = PatternMaxGain = 3.0;
    QImage image(400, 200, QImage::Format_RGB32);
    {
        Canvas c(&image);
        dlg.PaintPlots(c);
    }
    EXPECT_EQ(PatternMaxGain, plotMax);  // the window's plots keep their level
    // The curve at the reference gain is the outer ring: R = min(100, 100) - 20 = 80
    // above the azimuth centre (100, 100).
    bool green = false;
    for (int y = 16; y <= 24; ++y) green = green || image.pixelColor(100, y) == QColor(0, 255, 0);
    EXPECT_TRUE(green);
}
