#include "platform/Prompter.h"
#include "model/EnvDef.h"
#include "platform/SaveName.h"
#include "platform/ScriptedPrompter.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(Prompter, BoxesCarryTheirCaptionsIconsAndButtons) {
    ScriptedPrompter script;
    ScopedPrompter use(script);
    EXPECT_EQ(ErrorBox("Invalid format of file %s.", "a.kvb"), BoxOk);
    EXPECT_EQ(script.Last().caption, "Error!!!");
    EXPECT_EQ(script.Last().text, "Invalid format of file a.kvb.");
    EXPECT_EQ(script.Last().icon, BoxIcon::Error);
    EXPECT_EQ(script.Last().buttons, BoxButtons::Ok);

    EXPECT_EQ(InfoBox("%d pulses", 2048), BoxOk);
    EXPECT_EQ(script.Last().caption, "Info");
    EXPECT_EQ(script.Last().icon, BoxIcon::Warning);
    EXPECT_EQ(script.Last().text, "2048 pulses");

    script.AnswerMessage(BoxYes);
    EXPECT_EQ(YesNoBox("Save?"), BoxYes);
    EXPECT_EQ(script.Last().caption, "KORVA-TEZ");
    EXPECT_EQ(script.Last().icon, BoxIcon::Question);
    EXPECT_EQ(script.Last().buttons, BoxButtons::YesNo);
    EXPECT_EQ(script.Unscripted(), 0);
}

TEST(Prompter, PlainMessageHasNoIcon) {
    ScriptedPrompter script;
    ScopedPrompter use(script);
    ShowMessage("Can not open a.kva");
    EXPECT_EQ(script.Last().caption, "KORVA-TEZ");
    EXPECT_EQ(script.Last().icon, BoxIcon::None);
    EXPECT_EQ(script.Last().text, "Can not open a.kva");
}

TEST(Prompter, UnscriptedQuestionsTakeTheSafeAnswer) {
    ScriptedPrompter script;
    ScopedPrompter use(script);
    EXPECT_EQ(YesNoBox("Overwrite?"), BoxNo);
    EXPECT_EQ(CurrentPrompter().Message("x", "c", BoxIcon::None, BoxButtons::YesNoCancel), BoxCancel);
    std::string value = "keep";
    EXPECT_FALSE(CurrentPrompter().InputQuery("c", "p", value));
    EXPECT_EQ(value, "keep");
    EXPECT_EQ(CurrentPrompter().SaveFileName({}), "");
    EXPECT_EQ(script.Unscripted(), 4);
}

TEST(Prompter, ScriptedDialogsAnswerInOrder) {
    ScriptedPrompter script;
    ScopedPrompter use(script);
    script.AnswerInput(true, "12.5");
    script.AnswerFile("/home/ham/a.kva");
    std::string value = "0";
    EXPECT_TRUE(CurrentPrompter().InputQuery("Elevation", "Azimut far field for elevation angle", value));
    EXPECT_EQ(value, "12.5");
    FileDialogRequest r;
    r.caption = "Open";
    EXPECT_EQ(CurrentPrompter().OpenFileName(r), "/home/ham/a.kva");
    EXPECT_TRUE(script.AllAnswersUsed());
    EXPECT_EQ(script.ShownBoxes().size(), 2u);
}

// An answer asked for as a number is one, or nothing changes: an answer of
// which only a part reads is said so, not cut to that part.
TEST(Prompter, ANumberQueryTakesOnlyAnAnswerThatReadsAsOneNumber) {
    const struct {
        const char* answer;
        bool taken;
        double value;
        const char* said;  // the message shown, "" for none
    } rows[] = {{"150.5", true, 150.5, ""},
                {"2*R", true, 40, ""},
                {"150,5", false, 0, "'150,5' is not a number."},
                {"1.5.2", false, 0, "'1.5.2' is not a number."},
                {"abc", false, 0, ""}};
    const double wavelength = JobDef.Wavelength;
    JobDef.Wavelength = 20;
    for (const auto& r : rows) {
        ScriptedPrompter script;
        ScopedPrompter use(script);
        script.AnswerInput(true, r.answer);
        std::string text = "100";
        double value = -1;
        EXPECT_EQ(CurrentPrompter().NumberQuery("KORVA-TEZ", "Z using line (Ohm)", text, value), r.taken) << r.answer;
        if (r.taken) {
            EXPECT_DOUBLE_EQ(value, r.value) << r.answer;
        }
        EXPECT_EQ(script.Last().kind == "message" ? script.Last().text : std::string(), r.said) << r.answer;
    }
    JobDef.Wavelength = wavelength;
}

TEST(Prompter, ASaveIsCompletedWithItsOwnExtension) {
    const struct {
        const char* chosen;
        const char* extension;
        const char* written;
    } cases[] = {
        {"/p/yagi 14.2", "kva", "/p/yagi 14.2.kva"},  // a dot of its own is no extension
        {"/p/yagi.kva.old", ".kva", "/p/yagi.kva.old.kva"},
        {"/p/Yagi.KVA", "kva", "/p/Yagi.KVA"},
        {"/p/yagi.", "kvb", "/p/yagi.kvb"},
        {"/p/pics.csv/table", "csv", "/p/pics.csv/table.csv"},  // a folder's name is no file name
        {"/p/.kvo", "kvo", "/p/.kvo.kvo"},
        {"/p/yagi", "", "/p/yagi"},
        {"", "kva", ""},  // cancelled
    };
    for (const auto& c : cases) EXPECT_EQ(WithOwnExtension(c.chosen, c.extension), c.written) << c.chosen;

    ScriptedPrompter script;
    ScopedPrompter use(script);
    script.AnswerFile("/p/yagi 14.2");
    FileDialogRequest r;
    r.defaultSuffix = "kvb";
    EXPECT_EQ(CurrentPrompter().SaveFileName(r), "/p/yagi 14.2.kvb");
}

TEST(Prompter, LongTextIsCutAndTheGuardRestores) {
    Prompter* before = &CurrentPrompter();
    {
        ScriptedPrompter script;
        ScopedPrompter use(script);
        std::string big(5000, 'x');
        ErrorBox("%s", big.c_str());
        EXPECT_EQ(script.Last().text.size(), 2047u);
    }
    EXPECT_EQ(&CurrentPrompter(), before);
}

}  // namespace
