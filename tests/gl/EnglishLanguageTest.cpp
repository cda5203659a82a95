// The English language file that ships is the built-in texts written out:
// it must equal what the code shows, and loading it must change nothing.
#include "BuiltInLanguage.h"
#include "PreparedMainWnd.h"
#include "ScreenshotPath.h"

#include "model/LanguageState.h"
#include "model/ScopedValue.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <cstdlib>
#include <sstream>

namespace {

const QString ShippedFile = QStringLiteral(KORVA_TEST_DATA "/../../Language/English.lng");

std::string ReadShipped() {
    QFile f(ShippedFile);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

// The first line where the two texts differ, both sides shown.
std::string FirstDifference(const std::string& file, const std::string& builtIn) {
    std::istringstream a(file), b(builtIn);
    std::string x, y;
    for (int line = 1;; ++line) {
        const bool moreA = static_cast<bool>(std::getline(a, x)), moreB = static_cast<bool>(std::getline(b, y));
        if (!moreA && !moreB) return "none";
        if (x != y || moreA != moreB)
            return "line " + std::to_string(line) + ": file \"" + (moreA ? x : "(end)") + "\", built-in \"" +
                   (moreB ? y : "(end)") + "\"";
    }
}

class EnglishLanguage : public PreparedMainWndTest {
protected:
    void SetUp() override {
        PreparedMainWndTest::SetUp();
        MakeDipole();
    }
    std::function<void()> Prepare() {
        return [this] { Calculated(); };
    }
};

TEST_F(EnglishLanguage, TheShippedFileIsTheBuiltInTexts) {
    const BuiltInLanguage english = WriteBuiltInLanguage(*wnd, Prepare());
    for (const std::string& problem : english.Problems) ADD_FAILURE() << problem;
    if (const char* target = std::getenv("KORVA_WRITE_LANGUAGE")) {
        QFile f(QString::fromLocal8Bit(target));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << target;
        f.write(english.Text.data(), static_cast<qint64>(english.Text.size()));
        return;
    }
    const std::string shipped = ReadShipped();
    EXPECT_TRUE(shipped == english.Text)
        << "Language/English.lng differs from the texts built into the program (first difference: "
        << FirstDifference(shipped, english.Text)
        << "). After adding or changing a text, write the file again with "
           "`cmake --build build --target english-language` and commit it.";
}

TEST_F(EnglishLanguage, LoadingItChangesNoTextOfAnyForm) {
    const std::string shipped = ReadShipped();
    ASSERT_FALSE(shipped.empty()) << ShippedFile.toStdString();
    std::string changes;
    for (const std::string& change : ChangesUnderLanguage(*wnd, Prepare(), shipped)) changes += "\n  " + change;
    EXPECT_TRUE(changes.empty()) << "texts that the English language file changes:" << changes;
    EXPECT_TRUE(prompter.ShownBoxes().empty()) << prompter.ShownBoxes().front().text;
}

// The segmentation fields' hints as a user meets them: the mouse rests on
// each field, first with the built-in texts, then under the shipped file. The
// six hints, each cut from the screen with its field, go one below the other
// into screenshots/segmentation_hints.png.
TEST_F(EnglishLanguage, TheSegmentationFieldsShowTheirHintsUnderTheMouse) {
    const struct {
        QComboBox* field;
        QString hint;
    } fields[] = {
        {wnd->EditDM1, "DM1: the interval of tapering start (= lambda/DM1)"},
        {wnd->EditEC, "EC: the number of segments at tapering-end point"},
        {wnd->EditSC, "SC: the easing parameter (multiplier), 1 < SC <= 3"},
    };
    const ScopedValue<int> index(LanguageIndex, LanguageIndex);
    const ScopedValue<std::string> text(LanguageText, LanguageText);
    QList<QPair<QString, QImage>> shots;
    for (const bool shipped : {false, true}) {
        if (shipped) {
            LanguageIndex = 0;
            LanguageText = ReadShipped();
            ASSERT_FALSE(LanguageText.empty()) << ShippedFile.toStdString();
            wnd->ApplyLanguage();
        }
        for (const auto& f : fields) {
            const QString what = (shipped ? "English.lng: " : "built-in: ") + f.field->objectName();
            SCOPED_TRACE(what.toStdString());
            // The hint before goes first (it fades out on a timer).
            QToolTip::hideText();
            ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000));
            QTest::mouseMove(f.field, f.field->rect().center());
            const bool shown = QTest::qWaitFor([] { return QToolTip::isVisible(); }, 5000);
            EXPECT_TRUE(shown) << "no hint shows under the mouse";
            EXPECT_EQ(QToolTip::text().toStdString(), f.hint.toStdString());
            if (!shown) continue;
            QTest::qWait(100);  // painted
            QRect area(f.field->mapToGlobal(QPoint(0, 0)), f.field->size());
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->inherits("QTipLabel") && w->isVisible()) area |= w->frameGeometry();
            // The field's label goes into the picture too.
            shots.append({what, wnd->screen()->grabWindow(0).copy(area.adjusted(-40, -8, 8, 8)).toImage()});
        }
    }
    QToolTip::hideText();
    if (shots.isEmpty()) return;
    const int caption = 18;
    int width = 0, height = 0;
    for (const auto& [what, image] : shots) {
        width = std::max(width, image.width());
        height += caption + image.height();
    }
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int y = 0;
    for (const auto& [what, image] : shots) {
        painter.drawText(QRect(4, y, width - 8, caption), Qt::AlignLeft | Qt::AlignVCenter, what);
        painter.drawImage(0, y + caption, image);
        y += caption + image.height();
    }
    painter.end();
    EXPECT_TRUE(sheet.save(ShotPath("segmentation_hints.png")));
}

}  // namespace
