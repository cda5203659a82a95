// The text editor: only a user edit counts, CR LF survive the round trip,
// and the window box and the font are kept for the next opening.
#include "DialogScript.h"
#include "editing/TextEditDlg.h"
#include "platform/FontChoice.h"
#include "platform/IniFile.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <vector>

class TextEditor : public DialogScriptTest {
protected:
    std::string Ini() const { return dir_.filePath("Korva.ini").toStdString(); }

private:
    QTemporaryDir dir_;
};

TEST_F(TextEditor, OkWithoutTypingIsNoChangeAndTheFormHasTheOwnersFont) {
    std::string text = "Dipole\r\n14.15 MHz\r\n";
    Then<TTextEditDlg>([](TTextEditDlg& d) {
        EXPECT_EQ(d.Memo->toPlainText(), "Dipole\n14.15 MHz\n");
        EXPECT_EQ(d.font().family(), "DejaVu Serif");
        return QDialog::Accepted;
    });
    QWidget owner;
    owner.setFont(QFont("DejaVu Serif", 10));
    EXPECT_EQ(TTextEditDlg(&owner, Ini()).Execute(text), 0);
    EXPECT_EQ(text, "Dipole\r\n14.15 MHz\r\n");
}

TEST_F(TextEditor, TypedTextIsReturnedWithItsLineEnds) {
    std::string text = "a\r\nb\r\n";
    Then<TTextEditDlg>([](TTextEditDlg& d) {
        d.Memo->moveCursor(QTextCursor::End);
        d.Memo->insertPlainText("c\n");
        return QDialog::Accepted;
    });
    EXPECT_EQ(TTextEditDlg(nullptr, Ini()).Execute(text, "Edit Comments"), 1);
    EXPECT_EQ(text, "a\r\nb\r\nc\r\n");

    std::string comment;
    Then<TTextEditDlg>([](TTextEditDlg& d) {
        EXPECT_EQ(d.windowTitle(), "Edit Comments");
        d.Memo->insertPlainText("new");
        return QDialog::Rejected;
    });
    EXPECT_EQ(TTextEditDlg(nullptr, Ini()).Execute(comment, "Edit Comments"), 0);
    EXPECT_EQ(comment, "");
}

TEST_F(TextEditor, FontAndBoxAreKeptButNotAMaximizedBox) {
    std::string text = "x";
    const auto savedPicker = ChooseFont;
    ChooseFont = [](QFont& font, QWidget*) {
        font.setPointSize(17);
        return true;
    };
    Then<TTextEditDlg>([](TTextEditDlg& d) {
        d.resize(640, 480);
        d.FontBtnClick();
        return QDialog::Rejected;
    });
    TTextEditDlg(nullptr, Ini()).Execute(text);
    Then<TTextEditDlg>([](TTextEditDlg& d) {
        EXPECT_EQ(d.Memo->font().pointSize(), 17);
        EXPECT_EQ(d.width(), 640);
        d.resize(1000, 900);
        d.setWindowState(Qt::WindowMaximized);
        return QDialog::Rejected;
    });
    TTextEditDlg(nullptr, Ini()).Execute(text);
    ChooseFont = savedPicker;
    const IniFile ini(Ini());
    EXPECT_EQ(ini.ReadInteger("Textf", "Width", 0), 640);
    EXPECT_EQ(ini.ReadInteger("Textf", "Height", 0), 480);
    EXPECT_EQ(ini.ReadInteger("Textf", "FSize", 0), 17);
}

// Escape and the close box drop a changed text only when the user says so;
// Cancel is that choice made; an unchanged text closes at once.
TEST_F(TextEditor, ATypedTextIsDroppedOnlyWhenTheUserSaysSo) {
    enum class Close { Escape, CloseBox, Cancel };
    const struct {
        bool typed;
        Close close;
        std::vector<int> answers;  // to "Discard the changes?", in turn
        int questions;
    } cases[] = {
        {true, Close::Escape, {BoxNo, BoxYes}, 2},
        {true, Close::CloseBox, {BoxNo, BoxYes}, 2},
        {true, Close::Cancel, {}, 0},
        {false, Close::Escape, {}, 0},
    };
    for (const auto& c : cases) {
        prompter.Clear();
        for (const int answer : c.answers) prompter.AnswerMessage(answer);
        std::string text = "a";
        Then<TTextEditDlg>([&c](TTextEditDlg& d) {
            d.show();
            d.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&d));
            d.Memo->setFocus();
            if (c.typed) QTest::keyClicks(d.Memo, "bc");
            for (std::size_t attempt = 0; attempt < std::max<std::size_t>(1, c.answers.size()); ++attempt) {
                EXPECT_TRUE(d.isVisible());
                if (c.close == Close::Escape) QTest::keyClick(d.windowHandle(), Qt::Key_Escape);
                if (c.close == Close::CloseBox) d.close();
                if (c.close == Close::Cancel) d.CancelBtn->click();
            }
            EXPECT_FALSE(d.isVisible());
            return d.result();
        });
        EXPECT_EQ(TTextEditDlg(nullptr, Ini()).Execute(text), 0);
        EXPECT_EQ(text, "a");
        EXPECT_EQ(static_cast<int>(prompter.ShownBoxes().size()), c.questions);
        EXPECT_TRUE(prompter.AllAnswersUsed());
    }
}
