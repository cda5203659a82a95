#include "model/LanguageFile.h"

#include "engine/EngineMessageLog.h"
#include "model/LanguageState.h"
#include "model/Messages.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace {

std::string DataFile(const char* name) { return std::string(KORVA_TEST_DATA) + "/lang/" + name; }

std::string ReadText(const char* name) {
    std::string bytes, error;
    EXPECT_TRUE(ReadLanguageBytes(DataFile(name), bytes, error)) << error;
    return bytes;
}

bool ValidUtf8Prefix(const char* s) {
    // Every lead byte is followed by the continuation bytes it announces.
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p;) {
        const int len = *p < 0x80 ? 1 : *p >= 0xF0 ? 4 : *p >= 0xE0 ? 3 : 2;
        for (int k = 1; k < len; ++k)
            if ((p[k] & 0xC0) != 0x80) return false;
        p += len;
    }
    return true;
}

TEST(LanguageLines, SplitAtCrLfAndLfWithoutCtrlZAndCutLongLines) {
    const auto lines = SplitLanguageLines("a\r\nb\nc\r\n\x1A");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[1], "b");
    EXPECT_EQ(lines[2], "c");
    EXPECT_EQ(JoinLanguageLines(lines), "a\r\nb\r\nc\r\n");
    // Empty lines at the end survive the round trip a language text takes.
    for (const std::vector<std::string>& list : std::vector<std::vector<std::string>>{
             {"a", ""}, {"", ""}, {"a", "", "b", ""}, {""}, {}})
        EXPECT_EQ(SplitLanguageLines(JoinLanguageLines(list)), list) << list.size();
    EXPECT_EQ(SplitLanguageLines("\xEF\xBB\xBF" "deutsch.lng\r\n")[0], "deutsch.lng");

    // A huge line of two-byte characters is cut between two characters.
    std::string huge;
    for (int i = 0; i < 5000; ++i) huge += "\xD0\x96";
    const auto cut = SplitLanguageLines("x" + huge + "\nnext");
    ASSERT_EQ(cut.size(), 2u);
    EXPECT_LE(cut[0].size(), LanguageLineMaxBytes);
    EXPECT_TRUE(ValidUtf8Prefix(cut[0].c_str()));
    EXPECT_EQ(cut[1], "next");
}

TEST(LanguageLines, KeyWordsAndCharacters) {
    EXPECT_EQ(DropFirstWord("key  text here"), " text here");
    EXPECT_EQ(DropFirstWord("alone"), "alone");
    EXPECT_EQ(DropFirstWord(""), "");
    EXPECT_EQ(WithoutLeadingBlanks("   x y"), "x y");
    EXPECT_EQ(WithoutFirstCharacter("3Not defined"), "Not defined");
    EXPECT_EQ(WithoutFirstCharacter("\xD0\x96rest"), "rest");
}

TEST(LanguageLines, CharsetLineIsADecimalNumberWithBlanksIgnored) {
    int cs = -5;
    EXPECT_TRUE(ParseCharsetLine(" 2 04 ", cs));
    EXPECT_EQ(cs, 204);
    EXPECT_TRUE(ParseCharsetLine("\xEF\xBB\xBF" "0", cs));
    EXPECT_EQ(cs, 0);
    cs = 7;
    for (const char* bad : {"", "   ", "x204", "20 4a", "1e3", "99999999999999"}) {
        EXPECT_FALSE(ParseCharsetLine(bad, cs)) << bad;
        EXPECT_EQ(cs, 7);
    }
}

TEST(LanguageLines, BufferCopyNeverSplitsACharacterNorOverruns) {
    char buffer[10];
    std::memset(buffer, 'Z', sizeof buffer);
    CopyLanguageText(buffer, "\xD0\x97\xD0\x95\xD0\x9C\xD0\x9B\xD0\xAF!");  // 11 bytes
    EXPECT_STREQ(buffer, "\xD0\x97\xD0\x95\xD0\x9C\xD0\x9B");
    CopyLanguageText(buffer, "abcdefghijkl");
    EXPECT_STREQ(buffer, "abcdefghi");
}

TEST(LanguageMenu, ItemsFromTheFirstFortyLinesBeforeAnEmptyLine) {
    std::vector<std::string> many;
    for (int i = 0; i < 45; ++i) many.push_back("lang" + std::to_string(i) + ".lng");
    EXPECT_EQ(LanguageMenuEntries(many).size(), 40u);

    const auto two = LanguageMenuEntries({"deutsch.lng", "russian.lng", "", "polski.lng"});
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].Caption, "deutsch");
    EXPECT_EQ(two[1].Caption, "russian");

    const auto names = LanguageMenuEntries({"plain", "long.lang", ".lng", "after.lng"});
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[0].Caption, "plain");
    EXPECT_EQ(names[1].Caption, "longg");
    // The line after one that makes no item still loads its own line.
    EXPECT_EQ(names[2].Caption, "after");
    EXPECT_EQ(names[2].ListLine, 3);
}

TEST(LanguageSections, MainScanRules) {
    std::vector<std::string> lines = {"0", "MainWnd head", "k1 one", "k2  two", "", "x after"};
    EXPECT_EQ(ScanMainSection(lines, "MainWnd", SectionTrim::KeyWord), 1);
    EXPECT_EQ(lines[2], "one");
    EXPECT_EQ(lines[3], " two");
    EXPECT_EQ(lines[5], "x after");  // past the empty line: not scanned

    std::vector<std::string> atZero = {"MainWnd", "a b"};
    EXPECT_EQ(ScanMainSection(atZero, "MainWnd", SectionTrim::KeyWord), 0);

    // A later line of the section with the name moves the start.
    std::vector<std::string> moved = {"0", "MainWnd", "k1 MainWnd again", "k2 x"};
    EXPECT_EQ(ScanMainSection(moved, "MainWnd", SectionTrim::KeyWordAndBlanks), 2);
}

TEST(LanguageSections, EngineAndPlotSectionsFromAFile) {
    MainLanguage lang;
    std::string error;
    ASSERT_TRUE(ParseMainLanguage(ReadText("engine_plot.lng"), lang, error)) << error;
    EXPECT_EQ(lang.Charset, 0);
    EXPECT_TRUE(lang.HasHelpFile);
    EXPECT_EQ(lang.HelpFile, "xhelp.chm");
    EXPECT_TRUE(lang.MainWnd.empty());
    EXPECT_TRUE(lang.Hints.empty());
    ASSERT_EQ(lang.Engine.size(), 17u);
    EXPECT_EQ(lang.Engine[0], "MATRIX ZERLEGEN...");
    EXPECT_EQ(lang.Engine[16], "MIT ERDE VERBUNDEN");
    ASSERT_EQ(lang.Plot.size(), 15u);
    EXPECT_EQ(lang.Plot[0], "Freiraum");
    EXPECT_EQ(lang.Plot[14], "(Fuer Elevation %.1f Grad Spitze:%.1f dBi)");
}

class LanguageMessages : public ::testing::Test {
protected:
    void SetUp() override {
        InitMessageTables();
        ApplyDefaultMessages();
    }
    void TearDown() override { ApplyDefaultMessages(); }
};

TEST_F(LanguageMessages, PresentSectionsReplaceTheirBuffersAndAbsentOnesKeepTheirs) {
    MainLanguage lang;
    std::string error;
    ASSERT_TRUE(ParseMainLanguage(ReadText("engine_plot.lng"), lang, error)) << error;
    ApplyLanguageMessages(lang);
    EXPECT_STREQ(EngineMessages[EngFactorMatrix], "MATRIX ZERLEGEN...");
    EXPECT_STREQ(PlotTexts[0], "Freiraum");
    EXPECT_STREQ(PlotTexts[8], "Frequenz: %.3f MHz");
    EXPECT_STREQ(MainMessages[MsgFileModified], "File modifyed. Save changes?");
    EXPECT_STREQ(ViewLabels[LabelWire], "Wire");
    EXPECT_EQ(EngineMessageText(EngTotalPulse, 12), "PULSE GESAMT = 12");
}

TEST_F(LanguageMessages, AStrayPercentInATranslationIsNeverUsedAsAFormat) {
    MainLanguage lang;
    lang.Engine.assign(17, "%s%s%s%n%n");
    lang.Engine[EngWaveLength] = "WELLE %s %n";
    ApplyLanguageMessages(lang);
    EXPECT_EQ(EngineMessageText(EngWaveLength, 20.0), "WAVE LENGTH = 20.000(m)");
    EXPECT_EQ(EngineMessageText(EngFactorMatrix), "FACTOR MATRIX...");
}

TEST(LanguageSections, BrokenFilesAreRefusedWithAReasonAndLeaveTheResultAlone) {
    MainLanguage lang;
    lang.Charset = 99;
    std::string error;
    EXPECT_FALSE(ParseMainLanguage(ReadText("truncated.lng"), lang, error));
    EXPECT_NE(error.find("MININEC"), std::string::npos) << error;
    EXPECT_EQ(lang.Charset, 99);
    error.clear();
    EXPECT_FALSE(ParseMainLanguage(ReadText("badcharset.lng"), lang, error));
    EXPECT_NE(error.find("charset"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(ParseMainLanguage("", lang, error));
    EXPECT_FALSE(error.empty());
    // Garbage without sections is a language that translates nothing.
    EXPECT_TRUE(ParseMainLanguage("1\n\x01\x02\xFF garbage\n\n\n", lang, error));
    EXPECT_TRUE(lang.MainWnd.empty() && lang.Engine.empty() && lang.Plot.empty());
}

TEST(LanguageSections, FilesThatAreNoTextOrTooLargeAreNotRead) {
    // Names of this process only: the decimal-comma run and other checkouts run at the same time.
    const std::string dir = ::testing::TempDir() + "/korva_lang_" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    const std::string binary = dir + "/korva_lang_binary.lng";
    {
        std::ofstream f(binary, std::ios::binary);
        f.write("0\r\n\0\0MainWnd", 12);
    }
    const std::string big = dir + "/korva_lang_big.lng";
    {
        std::ofstream f(big, std::ios::binary);
        f << std::string(LanguageFileMaxBytes + 1, 'a');
    }
    std::string bytes = "kept", error;
    EXPECT_FALSE(ReadLanguageBytes(binary, bytes, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ReadLanguageBytes(big, bytes, error));
    EXPECT_FALSE(ReadLanguageBytes(dir + "/korva_no_such.lng", bytes, error));
    EXPECT_EQ(bytes, "kept");
    std::filesystem::remove_all(dir);
}

TEST(LanguageSections, FormAndMessageSectionsOfOtherForms) {
    const std::string text =
        "0\r\nOptDlgBox Options\r\nc1 First\r\nc2 Second\r\n\r\nMessagX_Dlg\r\nm1 Eins\r\nm2 Zwei\r\n\r\n"
        "MessagX_Dlg too late\r\n";
    std::vector<std::string> lines;
    std::string error;
    ASSERT_TRUE(FindFormSection(text, "OptDlgBox", 3, lines, error)) << error;
    EXPECT_EQ(lines[0], "Options");
    EXPECT_EQ(lines[2], "Second");
    // The message section's first start wins: the search ends at its empty line.
    ASSERT_TRUE(FindMessageSection(text, "MessagX_Dlg", 2, lines, error)) << error;
    EXPECT_EQ(lines[0], "Eins");
    EXPECT_EQ(lines[1], "Zwei");
    EXPECT_FALSE(FindFormSection(text, "Absent", 2, lines, error));
    EXPECT_TRUE(error.empty());
    EXPECT_FALSE(FindFormSection(text, "OptDlgBox", 50, lines, error));
    EXPECT_FALSE(error.empty());

    // Forms take a language only while one is active.
    LanguageIndex = 0;
    LanguageText.clear();
    EXPECT_FALSE(LanguageIsActive());
    LanguageText = text;
    EXPECT_TRUE(LanguageIsActive());
    LanguageIndex = -1;
    EXPECT_FALSE(LanguageIsActive());
    LanguageText.clear();
}

}  // namespace
