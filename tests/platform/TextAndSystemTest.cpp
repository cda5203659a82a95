#include "platform/KeyFilter.h"
#include "platform/System.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(TextCodec, DecodesCodePagesOfLanguageFiles) {
    std::string out;
    ASSERT_TRUE(DecodeCodePage("\xCF\xF0\xE8\xE2\xE5\xF2", CodePageOfCharset(204), out));
    EXPECT_EQ(out, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");  // "Привет"
    ASSERT_TRUE(DecodeCodePage("\xB3\xF3\xEA", CodePageOfCharset(238), out));
    EXPECT_EQ(out, "\xC5\x82\xC3\xB3\xC4\x99");  // "łóę"
    EXPECT_STREQ(CodePageOfCharset(0), "CP1252");
    EXPECT_STREQ(CodePageOfCharset(12345), "CP1252");
    EXPECT_FALSE(DecodeCodePage("x", "NO-SUCH-CODEPAGE", out));
}

TEST(TextCodec, BadBytesBecomeReplacementCharacters) {
    std::string out;
    ASSERT_TRUE(DecodeCodePage("a\x81" "b", "CP1252", out));
    EXPECT_EQ(out, "a\xEF\xBF\xBD" "b");
}

TEST(TextCodec, DisplayTextFallsBackToWindows1252) {
    EXPECT_EQ(DisplayText("M\xC3\xBCller"), "M\xC3\xBCller");
    EXPECT_EQ(DisplayText("M\xFCller"), "M\xC3\xBCller");
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_EQ(DisplayQString("M\xFCller"), QString::fromUtf8("M\xC3\xBCller"));
}

// A numeric field reads a pasted comma as it reads a typed one; a field that
// takes a pair again keeps both.
TEST(KeyFilter, TypedAndPastedCommasBecomePoints) {
    EXPECT_EQ(CommaToPoint(','), '.');
    EXPECT_EQ(CommaToPoint('5'), '5');
    QLineEdit field;
    QComboBox list;
    list.setEditable(true);
    for (QWidget* w : {static_cast<QWidget*>(&field), static_cast<QWidget*>(&list)}) {
        InstallCommaToPoint(w);
        InstallCommaToPoint(w);  // a second install changes nothing
    }
    QTest::keyClicks(&field, "3,5");
    EXPECT_EQ(field.text(), QString("3.5"));
    QApplication::clipboard()->setText("12,5");
    for (QLineEdit* line : {&field, list.lineEdit()}) {
        line->selectAll();
        line->paste();
        EXPECT_EQ(line->text(), QString("12.5"));
    }
    RemoveCommaToPoint(&field);
    field.selectAll();
    field.paste();
    QTest::keyClicks(&field, ",3");
    EXPECT_EQ(field.text(), QString("12,5,3"));
}

TEST(System, VersionAndMachineFacts) {
    std::string product, version;
    GetVersionText(product, version);
    EXPECT_EQ(product, "KORVA-TEZ");
    EXPECT_EQ(version.rfind(" v. ", 0), 0u);
    EXPECT_GT(PhysicalMemoryBytes(), 0u);
    std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(SettingsFolder().back(), '/');
    uint32_t t0 = TickCount();
    EXPECT_GE(TickCount(), t0);
}

}  // namespace
