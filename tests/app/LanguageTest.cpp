#include "LanguageFixture.h"
#include "platform/FilePaths.h"
#include "model/EnvDef.h"
#include "platform/StringGrid.h"

#include <cstring>

namespace {

// The English language file that ships beside the program.
std::string ShippedEnglish() {
    QFile f(QStringLiteral(KORVA_TEST_DATA "/../../Language/English.lng"));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

TEST_F(LanguageTest, TheChosenLanguageReplacesCaptionsHintsMessagesAndPlotTexts) {
    WriteList({"deutsch.lng"});
    WriteLanguageFile("deutsch.lng", BuildLanguage(GermanRecipe()));
    ShowAgain();

    EXPECT_EQ(prompter.ShownBoxes().size(), 0u);
    EXPECT_EQ(LanguageIndex, 0);
    EXPECT_EQ(wnd->Page->tabText(0), "de1");
    EXPECT_EQ(wnd->Label1->text(), "de2");
    EXPECT_EQ(wnd->WireCnt->text(), "de3 0");  // the count follows the new word
    EXPECT_EQ(wnd->ACalBtn->text(), "de35");
    EXPECT_EQ(wnd->WaveSel->title(), "de54");
    EXPECT_EQ(wnd->K1->title(), "de75");
    EXPECT_EQ(wnd->K2->text(), "de76");
    EXPECT_EQ(wnd->KH1->title(), "de129");
    EXPECT_EQ(wnd->CalcSel->title(), "de130");
    EXPECT_EQ(wnd->CalcSel->Items(), QStringList({"de131", "de132", "de133"}));
    ASSERT_EQ(wnd->MaterialSel->count(), 9);
    EXPECT_EQ(wnd->MaterialSel->itemText(0), "de40");
    EXPECT_EQ(wnd->MaterialSel->itemText(8), "de48");
    EXPECT_EQ(wnd->K23->text(), "2 Stellen");
    EXPECT_EQ(wnd->K26->text(), "5 Stellen");
    EXPECT_EQ(wnd->User1Menu->text(), "de125");
    EXPECT_EQ(wnd->User3Menu->text(), "3Nicht belegt");
    EXPECT_STREQ(NotDefinedText, "Nicht belegt");
    EXPECT_EQ(wnd->Freq->toolTip(), "dh7");
    EXPECT_EQ(wnd->ToolButton2->toolTip(), "dh18");
    EXPECT_EQ(wnd->Btn3D->toolTip(), "dh26");
    EXPECT_TRUE(wnd->WnewM->isVisible());
    EXPECT_EQ(wnd->WnewM->text(), "neu.txt");
    EXPECT_EQ(wnd->HelpFileName, "hilfe.chm");

    EXPECT_STREQ(OptButtonCaptions[1], "de36");
    EXPECT_STREQ(CommentCaption, "de134");
    EXPECT_STREQ(EmptyRowText, "de135");
    EXPECT_STREQ(ViewLabels[0], "de137");
    EXPECT_STREQ(ViewLabels[8], "de145");
    EXPECT_STREQ(ElevationPrompt, "dh27");
    EXPECT_STREQ(ResultColumnHints[0], "dh28");
    EXPECT_STREQ(GroundNames[0], "dh33");
    EXPECT_STREQ(ResultColumnHeads[11], "dh47");
    EXPECT_STREQ(PolarNames[1], "dh49");
    EXPECT_STREQ(MainMessages[MsgFileModified], "dh53");
    EXPECT_STREQ(OptWireMessages[9], "dh69");
    EXPECT_STREQ(CsvHeaders[CsvSaveCurrentsTitle], "dh74");
    EXPECT_STREQ(EngineMessages[EngFactorMatrix], "DE1");
    EXPECT_STREQ(EngineMessages[EngGroundConnect], "DE17");
    EXPECT_STREQ(PlotTexts[0], "dp1");
    EXPECT_STREQ(PlotTexts[14], "dp15");

    // The tables show the new texts.
    EXPECT_EQ(wnd->Grid1CellText(0, 0), "dh36");
    EXPECT_TRUE(wnd->LanguageMenu->menuAction()->isVisible());
    ASSERT_EQ(wnd->LanguageItems.size(), 1u);
    EXPECT_EQ(LanguageItem(0)->text(), "deutsch");
    EXPECT_TRUE(LanguageItem(0)->isChecked());
}

TEST_F(LanguageTest, SwitchingBackToTheShippedEnglishRestoresEveryText) {
    const std::vector<std::string> english = Snapshot();
    WriteList({"deutsch.lng", "English.lng"});
    WriteLanguageFile("deutsch.lng", BuildLanguage(GermanRecipe()));
    WriteLanguageFile("English.lng", ShippedEnglish());
    ShowAgain();
    ASSERT_EQ(wnd->LanguageItems.size(), 2u);
    EXPECT_EQ(LanguageItem(1)->text(), "English");
    ASSERT_EQ(LanguageIndex, 0);
    ASSERT_NE(Snapshot(), english);

    LanguageItem(1)->trigger();
    EXPECT_EQ(LanguageIndex, 1);
    EXPECT_TRUE(LanguageItem(1)->isChecked());
    EXPECT_FALSE(LanguageItem(0)->isChecked());
    std::vector<std::string> now = Snapshot();
    // A message of two lines cannot be one line of a language file, and a
    // language without a help file keeps the one named before.
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (english[i].find('\n') != std::string::npos || english[i].rfind("help:", 0) == 0) continue;
        EXPECT_EQ(now[i], english[i]) << "entry " << i;
    }
    EXPECT_EQ(prompter.ShownBoxes().size(), 0u);

    // A second click on the checked item loads it again.
    LanguageItem(1)->trigger();
    EXPECT_TRUE(LanguageItem(1)->isChecked());
    EXPECT_EQ(LanguageIndex, 1);
}

TEST_F(LanguageTest, ABrokenLanguageFileIsReportedAndChangesNothing) {
    LanguageRecipe truncated = GermanRecipe();
    std::string cut = BuildLanguage(truncated);
    cut.resize(cut.find("MININEC") + 60);
    WriteList({"deutsch.lng", "badcharset.lng", "truncated.lng", "missing.lng", "binary.lng", "empty.lng"});
    WriteLanguageFile("deutsch.lng", BuildLanguage(GermanRecipe()));
    LanguageRecipe bad = GermanRecipe();
    bad.Charset = "western";
    WriteLanguageFile("badcharset.lng", BuildLanguage(bad));
    WriteLanguageFile("truncated.lng", cut);
    WriteLanguageFile("binary.lng", std::string("0\r\nMainWnd\r\n\0\0\0\x01", 15));
    WriteLanguageFile("empty.lng", "");
    ShowAgain();
    ASSERT_EQ(LanguageIndex, 0);
    const std::vector<std::string> german = Snapshot();
    const std::string germanText = LanguageText;

    for (std::size_t item = 1; item < 6; ++item) {
        prompter.Clear();
        LanguageItem(item)->trigger();
        const std::string name = LanguageItem(item)->text().toStdString();
        ASSERT_EQ(prompter.ShownBoxes().size(), 1u) << name;
        EXPECT_NE(prompter.Last().text.find(name), std::string::npos) << prompter.Last().text;
        EXPECT_EQ(LanguageIndex, 0) << name;
        EXPECT_EQ(LanguageText, germanText) << name;
        EXPECT_EQ(Snapshot(), german) << name;
        EXPECT_TRUE(LanguageItem(0)->isChecked()) << name;
        EXPECT_FALSE(LanguageItem(item)->isChecked()) << name;
    }
}

TEST_F(LanguageTest, ABrokenLanguageAtStartIsReportedAndEnglishApplies) {
    const std::vector<std::string> english = Snapshot();
    WriteList({"broken.lng"});
    WriteLanguageFile("broken.lng", "?\r\nMainWnd\r\n");
    ShowAgain();
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_NE(prompter.Last().text.find("broken.lng"), std::string::npos);
    EXPECT_EQ(LanguageIndex, -1);
    EXPECT_TRUE(LanguageText.empty());
    EXPECT_EQ(Snapshot(), english);
    EXPECT_TRUE(wnd->LanguageMenu->menuAction()->isVisible());
    EXPECT_FALSE(LanguageItem(0)->isChecked());
}

TEST_F(LanguageTest, WithoutAListOrWithARemovedLanguageEnglishAppliesSilently) {
    const std::vector<std::string> english = Snapshot();
    ShowAgain();
    EXPECT_EQ(LanguageIndex, -1);
    EXPECT_FALSE(wnd->LanguageMenu->menuAction()->isVisible());

    WriteList({"deutsch.lng"});
    WriteLanguageFile("deutsch.lng", BuildLanguage(GermanRecipe()));
    LanguageIndex = 1;  // the list lost the language that was chosen
    ShowAgain();
    EXPECT_EQ(LanguageIndex, -1);
    EXPECT_EQ(Snapshot(), english);
    EXPECT_EQ(prompter.ShownBoxes().size(), 0u);
}

TEST_F(LanguageTest, FilesAreDecodedByTheirCharsetOrAsUtf8) {
    LanguageRecipe cyrillic = GermanRecipe();
    cyrillic.Charset = "204";
    cyrillic.Main = [](int k) { return k == 75 ? std::string("\xD4\xE0\xE9\xEB") : "ru" + std::to_string(k); };
    LanguageRecipe utf8 = cyrillic;
    utf8.Main = [](int k) { return k == 75 ? std::string("\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB") : "u" + std::to_string(k); };
    WriteList({"russian.lng", "utf8.lng"});
    WriteLanguageFile("russian.lng", BuildLanguage(cyrillic));
    WriteLanguageFile("utf8.lng", "\xEF\xBB\xBF" + BuildLanguage(utf8));
    ShowAgain();
    EXPECT_EQ(wnd->K1->title(), QString::fromUtf8("\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB"));
    EXPECT_EQ(wnd->K2->text(), "ru76");
    LanguageItem(1)->trigger();
    EXPECT_EQ(LanguageIndex, 1);
    EXPECT_EQ(wnd->K1->title(), QString::fromUtf8("\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB"));
    EXPECT_EQ(wnd->K2->text(), "u76");
}

TEST_F(LanguageTest, MenuItemsLoadTheirOwnLinesAndAnyLineLoadsByIndex) {
    QStringList list = {".lng", "deutsch.lng"};
    for (int i = 2; i < 45; ++i) list << QStringLiteral("extra%1.lng").arg(i);
    WriteList(list);
    WriteLanguageFile("deutsch.lng", BuildLanguage(GermanRecipe()));
    LanguageRecipe last = GermanRecipe();
    last.Main = [](int k) { return "last" + std::to_string(k); };
    WriteLanguageFile("extra44.lng", BuildLanguage(last));
    LanguageIndex = 44;
    ShowAgain();
    EXPECT_EQ(wnd->LanguageItems.size(), 39u);  // 40 lines, one without a name
    EXPECT_EQ(LanguageIndex, 44);
    EXPECT_EQ(wnd->K2->text(), "last76");

    ASSERT_EQ(LanguageItem(0)->text(), "deutsch");
    LanguageItem(0)->trigger();
    EXPECT_EQ(LanguageIndex, 1);
    EXPECT_EQ(wnd->K2->text(), "de76");
    EXPECT_TRUE(LanguageItem(0)->isChecked());
}

TEST_F(LanguageTest, RoundValueItemsKeepOneNumberOverRepeatedLanguages) {
    LanguageRecipe noMain = GermanRecipe();
    noMain.Main = nullptr;
    WriteList({"nomain.lng"});
    WriteLanguageFile("nomain.lng", BuildLanguage(noMain));
    ShowAgain();
    LanguageItem(0)->trigger();
    LanguageItem(0)->trigger();
    EXPECT_EQ(wnd->K23->text(), "2 digits");
    EXPECT_EQ(wnd->K26->text(), "5 digits");
    // Without the section the controls keep their texts, the other sections apply.
    EXPECT_EQ(wnd->K2->text(), "&New");
    EXPECT_STREQ(EngineMessages[0], "DE1");
}

TEST_F(LanguageTest, AStrayPercentInATranslatedMessageIsShownNotFormatted) {
    LanguageRecipe recipe = GermanRecipe();
    recipe.Hint = [](int k) { return k == 51 ? std::string("%n%x Kann %s nicht laden %s%n") : "dh" + std::to_string(k); };
    WriteList({"deutsch.lng"});
    WriteLanguageFile("deutsch.lng", BuildLanguage(recipe));
    ShowAgain();
    const QString missing = TempPath("no such antenna.kva");
    prompter.Clear();
    wnd->OpenAntFile(missing);
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().text, "%n%x Kann " + missing.toStdString() + " nicht laden %s%n");
}

TEST_F(LanguageTest, ALanguageIsNotSwitchedDuringACalculation) {
    WriteList({"deutsch.lng"});
    WriteLanguageFile("deutsch.lng", BuildLanguage(GermanRecipe()));
    ShowAgain();
    LanguageRecipe other = GermanRecipe();
    other.Main = [](int k) { return "x" + std::to_string(k); };
    WriteLanguageFile("deutsch.lng", BuildLanguage(other));
    JobDef.Busy = 1;
    wnd->English1Click(LanguageItem(0));
    JobDef.Busy = 0;
    EXPECT_EQ(wnd->K2->text(), "de76");
}

}  // namespace
