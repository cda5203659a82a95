#include "LanguageFixture.h"
#include "platform/FilePaths.h"
#include "model/EnvDef.h"
#include "platform/FormPattern.h"

#include <QDialog>
#include <QFile>

namespace {

void Touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

TEST_F(LanguageTest, HelpOpensTheLanguagesHelpFileAsADocumentOrNamesItMissing) {
    // The built-in language names no help file: no folder is named as one.
    wnd->KORVAhelp1->trigger();
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().text, "No help file is installed.");

    WriteList({"deutsch.lng"});
    WriteLanguageFile("deutsch.lng", BuildLanguage(GermanRecipe()));
    ShowAgain();
    const QString help = QDir(folder).filePath("hilfe.chm");
    wnd->KORVAhelp1->trigger();
    ASSERT_EQ(prompter.ShownBoxes().size(), 2u);
    EXPECT_EQ(prompter.Last().text, "File " + help.toStdString() + " not found");
    EXPECT_TRUE(opened.empty());

    Touch(help);
    wnd->KORVAhelp1->trigger();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].Kind, OpenKind::Document);
    EXPECT_EQ(opened[0].Target, LocalPath(help));
}

TEST_F(LanguageTest, TheNewsItemOpensOnlyAFileOfTheLanguageFolder) {
    LanguageRecipe recipe = GermanRecipe();
    recipe.News = "News ../outside.txt";
    WriteList({"deutsch.lng", "nonews.lng"});
    WriteLanguageFile("deutsch.lng", BuildLanguage(recipe));
    Touch(QDir(folder).filePath("outside.txt"));
    ShowAgain();
    ASSERT_TRUE(wnd->WnewM->isVisible());
    wnd->WnewM->trigger();
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().text, "File " + QDir(folder).filePath("Language/outside.txt").toStdString() + " not found");

    Touch(QDir(folder).filePath("Language/outside.txt"));
    wnd->WnewM->trigger();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].Kind, OpenKind::Document);
    EXPECT_EQ(opened[0].Target, LocalPath(QDir(folder).filePath("Language/outside.txt")));

    // An empty news line hides the item.
    recipe.News = "";
    WriteLanguageFile("nonews.lng", BuildLanguage(recipe));
    LanguageItem(1)->trigger();
    EXPECT_FALSE(wnd->WnewM->isVisible());
}

// The Calculator command starts the first calculator program on the PATH, and
// says so when there is none or it cannot be started.
TEST_F(LanguageTest, TheCalculatorStartsAProgramOrSaysWhyNot) {
    const QByteArray savedPath = qgetenv("PATH");
    const QString bin = QDir(folder).filePath("bin");
    QDir().mkpath(bin);
    const QString calculator = QDir(bin).filePath("xcalc");
    struct Case {
        bool installed, starts;
        const char* message;  // the start of the box shown, or "" for none
    };
    const Case cases[] = {{false, true, "No calculator program was found"},
                          {true, true, ""},
                          {true, false, "The calculator "}};
    for (const Case& c : cases) {
        QFile::remove(calculator);
        if (c.installed) {
            Touch(calculator);
            QFile::setPermissions(calculator, QFile::ReadOwner | QFile::ExeOwner);
        }
        qputenv("PATH", bin.toLocal8Bit());
        ExternalOpen = [this, &c](OpenKind kind, const std::string& target, const std::string& argument) {
            opened.push_back({kind, target, argument});
            return c.starts;
        };
        opened.clear();
        const std::size_t boxes = prompter.ShownBoxes().size();
        wnd->K17->trigger();
        qputenv("PATH", savedPath);
        EXPECT_EQ(opened.size(), c.installed ? 1u : 0u) << c.message;
        if (c.installed && !opened.empty()) {
            EXPECT_EQ(opened[0].Target, LocalPath(calculator));
        }
        if (*c.message) {
            ASSERT_EQ(prompter.ShownBoxes().size(), boxes + 1) << c.message;
            EXPECT_EQ(prompter.Last().text.rfind(c.message, 0), 0u) << prompter.Last().text;
        } else {
            EXPECT_EQ(prompter.ShownBoxes().size(), boxes);
        }
    }
}

class UserProgramsTest : public LanguageTest {
protected:
    void TearDown() override {
        for (UserProgramSlot& slot : UserProgramSlots) slot = UserProgramSlot();
        LanguageTest::TearDown();
    }
};

TEST_F(UserProgramsTest, AnEmptySlotsItemOpensTheSetupAndStartsNothing) {
    UserProgramSlots[0].Path = "/opt/tools/viewer";
    wnd->UpdateMenuState();
    EXPECT_TRUE(wnd->User1Menu->isEnabled());
    EXPECT_TRUE(wnd->User2Menu->isEnabled());
    EXPECT_TRUE(wnd->EditUsProg->isEnabled());
    int shown = 0;
    ExecModalDialog = [&shown](QDialog& dialog) {
        ++shown;
        EXPECT_EQ(dialog.objectName(), "UsCase");
        return 0;
    };
    wnd->nec2fmClick(wnd->User2Menu);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(wnd->User2Menu->text(), "2Not defined");

    wnd->User1Menu->trigger();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].Kind, OpenKind::Program);
    EXPECT_EQ(opened[0].Target, "/opt/tools/viewer");
    EXPECT_EQ(opened[0].Argument, "");
}

TEST_F(UserProgramsTest, ThePassedAntennaIsSavedAsTempKvaInAFolderWithABlank) {
    SettingsPathOverride = QDir(folder).filePath("Korva.ini").toStdString();
    ASSERT_EQ(wnd->OpenAntFile(QString(KORVA_TEST_DATA) + "/dipole.kva"), 1);
    UserProgramSlots[0] = {"/opt/tools/my viewer", true};
    wnd->UpdateMenuState();
    wnd->User1Menu->trigger();

    const QString temp = QDir(folder).filePath("temp.kva");
    ASSERT_TRUE(QFile::exists(temp));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].Target, "/opt/tools/my viewer");
    EXPECT_EQ(opened[0].Argument, LocalPath(temp));
    QFile f(temp);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_GT(f.size(), 20);
    EXPECT_EQ(wnd->Ant.Changed, 0);
}

TEST_F(UserProgramsTest, AFailedSaveOfTheAntennaStartsNoProgram) {
    SettingsPathOverride = QDir(folder).filePath("no such folder/Korva.ini").toStdString();
    ASSERT_EQ(wnd->OpenAntFile(QString(KORVA_TEST_DATA) + "/dipole.kva"), 1);
    UserProgramSlots[1] = {"/opt/tools/viewer", true};
    wnd->nec2fmClick(wnd->User2Menu);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(prompter.ShownBoxes().size(), 1u);
}

}  // namespace
