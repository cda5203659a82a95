#include "platform/FormPattern.h"
#include "platform/KeyFilter.h"
#include "platform/System.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
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

// Every text field of a form takes what is pasted as one line; a field with
// a byte limit keeps what fits of what came in and the text around it.
TEST(KeyFilter, TextFieldsTakeOneLineWithinTheirBytes) {
    QDialog form;
    auto* text = new QLineEdit(&form);
    auto* number = new QLineEdit(&form);
    auto* count = new QSpinBox(&form);
    InstallCommaToPoint(number);
    ApplyFormPattern(&form, QString(), 1.0);
    InstallCommaToPoint(text);  // a form may make a text field a number after the pattern
    RemoveCommaToPoint(text);
    const QValidator* spinRule = count->findChild<QLineEdit*>()->validator();
    EXPECT_FALSE(qobject_cast<const SingleLineValidator*>(spinRule));
    for (QLineEdit* field : {text, number}) {
        QApplication::clipboard()->setText(QString("1,5\r\n2\t3") + QChar(0x1A));
        field->clear();
        field->paste();
        EXPECT_EQ(field->text(), field == number ? "1.5 2 3" : "1,5 2 3");
    }

    const QString zhe(QChar(0x0416));  // two bytes in UTF-8
    QLineEdit name;
    InstallSingleLine(&name, 8);
    name.setText("ab");
    name.setCursorPosition(1);
    QApplication::clipboard()->setText(zhe.repeated(5));
    name.paste();
    EXPECT_EQ(name.text(), "a" + zhe.repeated(3) + "b");
    QTest::keyClicks(&name, "c");
    EXPECT_EQ(name.text(), "a" + zhe.repeated(3) + "b") << "a letter typed at the limit is not taken";
    // A stored text shows as stored, and is kept: an edit may shorten it,
    // not lengthen it, whether its signals are blocked or not.
    for (const bool blocked : {true, false}) {
        {
            const QSignalBlocker block(blocked ? &name : nullptr);
            ShowStoredText(&name, zhe.repeated(6));
        }
        EXPECT_EQ(name.text(), zhe.repeated(6));
        name.end(false);
        QTest::keyClicks(&name, "c");
        EXPECT_EQ(name.text(), zhe.repeated(6)) << blocked;
        QTest::keyClick(&name, Qt::Key_Backspace);
        EXPECT_EQ(name.text(), zhe.repeated(5)) << blocked;
        name.home(false);
        QTest::keyClicks(&name, "c");
        EXPECT_EQ(name.text(), zhe.repeated(5)) << blocked;
        // Replaced by a letter and undone: the text comes back whole.
        name.selectAll();
        QTest::keyClicks(&name, "c");
        EXPECT_EQ(name.text(), "c") << blocked;
        QTest::keyClick(&name, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(name.text(), zhe.repeated(5)) << blocked;
    }
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
