// The English language file that ships is the built-in texts written out:
// it must equal what the code shows, and loading it must change nothing.
#include "BuiltInLanguage.h"
#include "PreparedMainWnd.h"

#include <QFile>
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

}  // namespace
