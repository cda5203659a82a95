// Mutated language files, under AddressSanitizer and UBSan: every text is
// taken apart or refused without a crash, and what is applied always leaves
// the text buffers terminated.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "engine/EngineMessageLog.h"
#include "model/LanguageFile.h"
#include "model/Messages.h"

namespace {

constexpr int MutatedLanguageFiles = 15000;

std::string SeedLanguage() {
    std::string text = "204\r\nHelpFile help\r\nNews news.txt\r\n\r\n";
    auto section = [&text](const char* header, int count) {
        text += std::string(header) + "\r\n";
        for (int k = 1; k <= count; ++k) text += "k" + std::to_string(k) + " text %d %s " + std::to_string(k) + "\r\n";
        text += "\r\n";
    };
    section("MainWnd Main", MainWndSectionLines - 1);
    section("HintMain_Wnd", HintSectionLines - 1);
    // The engine's own texts, whose conversions fit: a widened field is used.
    text += "MININEC\r\n";
    for (int k = 0; k < EngineLanguageMessageCount; ++k) text += std::string(DefaultEngineMessages[k]) + "\r\n";
    text += "\r\n";
    section("FFStrings", PlotTextCount);
    section("OptDlgBox Options", 20);
    return text;
}

const char* const Pieces[] = {"\r\n", "\r\n\r\n", "\n", "MainWnd", "HintMain_Wnd", "MININEC", "FFStrings",
                              "%n%s%s", "%999999999d", "%.99999999f", "%99d", "%.99f", "%0100s", " ", "\x1A", "\xD0", "\xEF\xBB\xBF", "OptDlgBox", "HelpFile ../x"};

void Mutate(std::string& text, std::mt19937& rnd) {
    const int steps = 1 + static_cast<int>(rnd() % 4);
    for (int s = 0; s < steps; ++s) {
        const std::size_t at = text.empty() ? 0 : rnd() % (text.size() + 1);
        switch (rnd() % 7) {
        case 0: if (at < text.size()) text[at] = static_cast<char>(rnd() % 255 + 1); break;
        case 6: {   // a field width or precision after a '%'
            const std::size_t percent = text.find('%', at);
            if (percent != std::string::npos)
                text.insert(percent + 1, (rnd() % 2 ? "." : "") + std::to_string(rnd() % 2 ? rnd() % 200 : rnd()));
            break;
        }
        case 1: text.insert(at, Pieces[rnd() % (sizeof Pieces / sizeof *Pieces)]); break;
        case 2: text.erase(at, rnd() % 400); break;
        case 3: text.resize(at); break;
        case 4: text.insert(at, std::string(rnd() % 3000, static_cast<char>('a' + rnd() % 26))); break;
        default: {
            const std::size_t from = text.empty() ? 0 : rnd() % text.size();
            text.insert(at, text.substr(from, rnd() % 600));
        }
        }
    }
}

bool Terminated(const char* buffer, std::size_t width) { return std::memchr(buffer, 0, width) != nullptr; }

TEST(LanguageFileFuzz, MutatedLanguagesAreAppliedOrRefusedSafely) {
    InitMessageTables();
    ApplyDefaultMessages();
    const std::string seed = SeedLanguage();
    std::mt19937 rnd(20261207);
    int accepted = 0;
    for (int i = 0; i < MutatedLanguageFiles; ++i) {
        std::string text = seed;
        Mutate(text, rnd);
        MainLanguage language;
        std::string error;
        if (ParseMainLanguage(text, language, error)) {
            ++accepted;
            ApplyLanguageMessages(language);
            // No field of an applied text makes a message longer than its
            // text and a field as wide as the program's own.
            for (int m = 0; m < EngineMessageCount; ++m)
                for (const std::string& line : {EngineMessageText(m), EngineMessageText(m, 7), EngineMessageText(m, 7.5),
                                                EngineMessageText(m, 7, 7.5)})
                    ASSERT_LT(line.size(), sizeof EngineMessages[m] * 100) << EngineMessages[m];
        } else {
            ASSERT_FALSE(error.empty());
        }
        std::vector<std::string> lines;
        FindFormSection(text, "OptDlgBox", 21, lines, error);
        FindMessageSection(text, "MININEC", 17, lines, error);
    }
    EXPECT_GT(accepted, MutatedLanguageFiles / 10);
    for (const auto& t : EngineMessages) EXPECT_TRUE(Terminated(t, sizeof t));
    for (const auto& t : GroundNames) EXPECT_TRUE(Terminated(t, sizeof t));
    for (const auto& t : ResultColumnHints) EXPECT_TRUE(Terminated(t, sizeof t));
    EXPECT_TRUE(Terminated(EmptyRowText, sizeof EmptyRowText));
    ApplyDefaultMessages();
}

}  // namespace
