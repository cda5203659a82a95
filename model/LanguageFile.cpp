#include "model/LanguageFile.h"

#include "model/LanguageState.h"
#include "model/Messages.h"
#include "model/SafeFile.h"

#include <cstdint>
#include <cstring>

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The largest length up to `limit` that ends between two UTF-8 characters.
// Text that is not UTF-8 loses at most three more bytes.
std::size_t CharacterBoundary(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return text.size();
    std::size_t n = limit;
    for (int back = 0; back < 3 && n > 0 && IsContinuationByte(text[n]); ++back) --n;
    return IsContinuationByte(text[n]) ? limit : n;
}

// Lines `first` to `first + count - 1` of a scanned section, or a reason when
// the file ends before them.
bool TakeLines(const std::vector<std::string>& lines, int first, int count, const char* name,
               std::vector<std::string>& out, std::string& error) {
    if (static_cast<std::size_t>(first) + static_cast<std::size_t>(count) > lines.size()) {
        error = std::string("the section \"") + name + "\" needs " + std::to_string(count) +
                " lines, but the file ends after " + std::to_string(lines.size() - static_cast<std::size_t>(first));
        return false;
    }
    out.assign(lines.begin() + first, lines.begin() + first + count);
    return true;
}

void NoteLookup(const char* name, int linesAfterHeader) {
    if (LanguageSectionLookup) LanguageSectionLookup(name, linesAfterHeader);
}

bool FindSection(const std::string& text, const char* name, int first, int count, SectionTrim trim,
                 std::vector<std::string>& out, std::string& error) {
    NoteLookup(name, first + count - 1);
    out.clear();
    std::vector<std::string> lines = SplitLanguageLines(text);
    const int start = ScanMainSection(lines, name, trim);
    if (start == 0) return true;
    return TakeLines(lines, start + first, count, name, out, error);
}

template <std::size_t Rows, std::size_t Width>
void FillFromLines(char (&buffer)[Rows][Width], const std::vector<std::string>& lines, std::size_t first) {
    for (std::size_t i = 0; i < Rows; ++i) CopyLanguageText(buffer[i], Width, lines[first + i]);
}

}  // namespace

void (*LanguageSectionLookup)(const char* name, int linesAfterHeader) = nullptr;

bool ReadLanguageBytes(const std::string& path, std::string& bytes, std::string& error) {
    std::vector<uint8_t> data;
    switch (ReadWholeFile(path, data, LanguageFileMaxBytes, &error)) {
    case ReadFileStatus::Ok: break;
    case ReadFileStatus::TooLarge:
        error = "the file is larger than " + std::to_string(LanguageFileMaxBytes >> 20) + " MB";
        return false;
    case ReadFileStatus::Failed: return false;
    }
    // An empty file has no buffer at all; memchr must not see its null pointer.
    if (!data.empty() && std::memchr(data.data(), 0, data.size())) {
        error = "the file is not text in a single-byte code or UTF-8";
        return false;
    }
    bytes.assign(data.begin(), data.end());
    return true;
}

std::vector<std::string> SplitLanguageLines(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (!text.empty() && text.back() == '\x1A') text.remove_suffix(1);
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line.substr(0, CharacterBoundary(line, LanguageLineMaxBytes)));
    }
    return lines;
}

std::string JoinLanguageLines(const std::vector<std::string>& lines) {
    // Every line ends with its line break, as in the whole text of a string
    // list: a last empty line is kept when the text is split again.
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

std::string DropFirstWord(const std::string& line) {
    const std::size_t blank = line.find(' ');
    return blank == std::string::npos ? line : line.substr(blank + 1);
}

std::string WithoutLeadingBlanks(const std::string& line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : line.substr(first);
}

std::string WithoutFirstCharacter(const std::string& text) {
    if (text.empty()) return text;
    std::size_t n = 1;
    while (n < text.size() && n < 4 && IsContinuationByte(text[n])) ++n;
    return text.substr(n);
}

bool ParseCharsetLine(const std::string& line, int& charset) {
    std::string digits;
    for (char c : line)
        if (c != ' ') digits += c;
    if (digits.compare(0, 3, "\xEF\xBB\xBF") == 0) digits.erase(0, 3);
    std::size_t i = digits[0] == '-' || digits[0] == '+' ? 1 : 0;
    if (i >= digits.size() || digits.size() > i + 9) return false;
    long value = 0;
    for (; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9') return false;
        value = value * 10 + (digits[i] - '0');
    }
    charset = static_cast<int>(digits[0] == '-' ? -value : value);
    return true;
}

void CopyLanguageText(char* buffer, std::size_t width, const std::string& text) {
    if (width == 0) return;
    const std::size_t n = CharacterBoundary(text, width - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

std::vector<LanguageMenuEntry> LanguageMenuEntries(const std::vector<std::string>& listLines) {
    std::vector<LanguageMenuEntry> entries;
    for (int i = 0; i < LanguageMenuMaxItems && i < static_cast<int>(listLines.size()); ++i) {
        std::string name = listLines[static_cast<std::size_t>(i)];
        if (name.empty()) break;
        // The dot and the three letters of the extension go; a longer
        // extension keeps what follows them.
        if (const std::size_t dot = name.find('.'); dot != std::string::npos) name.erase(dot, 4);
        if (name.empty()) continue;
        entries.push_back({name, i});
    }
    return entries;
}

int ScanMainSection(std::vector<std::string>& lines, const char* name, SectionTrim trim) {
    int start = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string& line = lines[i];
        if (start != 0 && line.empty()) break;
        if (line.find(name) != std::string::npos) start = static_cast<int>(i);
        line = DropFirstWord(line);
        if (trim == SectionTrim::KeyWordAndBlanks || (trim == SectionTrim::BlanksFromHeader && start != 0))
            line = WithoutLeadingBlanks(line);
    }
    return start;
}

bool ParseMainLanguage(const std::string& text, MainLanguage& out, std::string& error) {
    MainLanguage result;
    const std::vector<std::string> lines = SplitLanguageLines(text);
    if (lines.empty()) {
        error = "the file is empty";
        return false;
    }
    if (!ParseCharsetLine(lines[0], result.Charset)) {
        error = "the first line \"" + lines[0].substr(0, 40) + "\" is not a charset number";
        return false;
    }
    for (std::size_t i = 0; i < 10 && i < lines.size(); ++i) {
        if (lines[i].find("HelpFile") == std::string::npos) continue;
        result.HasHelpFile = true;
        result.HelpFile = WithoutLeadingBlanks(DropFirstWord(lines[i])) + ".chm";
        break;
    }
    if (!FindSection(text, "MainWnd", 0, MainWndSectionLines, SectionTrim::KeyWord, result.MainWnd, error))
        return false;

    std::vector<std::string> hintLines = lines;
    NoteLookup("HintMain_Wnd", HintSectionLines - 1);
    if (const int start = ScanMainSection(hintLines, "HintMain_Wnd", SectionTrim::KeyWord); start != 0) {
        if (!TakeLines(hintLines, start, HintSectionLines, "HintMain_Wnd", result.Hints, error)) return false;
        // The news line, its key word dropped by the scan and once more here.
        const std::string news = hintLines.size() > 2 ? hintLines[2] : std::string();
        result.NewsName = news.empty() ? news : WithoutLeadingBlanks(DropFirstWord(news));
    }
    if (!FindSection(text, "MININEC", 1, EngineLanguageMessageCount, SectionTrim::KeyWordAndBlanks, result.Engine,
                     error))
        return false;
    if (!FindSection(text, "FFStrings", 1, PlotTextCount, SectionTrim::BlanksFromHeader, result.Plot, error))
        return false;
    out = std::move(result);
    return true;
}

void ApplyLanguageMessages(const MainLanguage& language) {
    if (!language.MainWnd.empty()) {
        const std::vector<std::string>& m = language.MainWnd;
        CopyLanguageText(OptButtonCaptions[0], m[35]);
        CopyLanguageText(OptButtonCaptions[1], m[36]);
        CopyLanguageText(NotDefinedText, WithoutFirstCharacter(m[127]));
        CopyLanguageText(CommentCaption, m[134]);
        CopyLanguageText(EmptyRowText, m[135]);
        FillFromLines(ViewLabels, m, 137);
    }
    if (!language.Hints.empty()) {
        const std::vector<std::string>& h = language.Hints;
        CopyLanguageText(ElevationPrompt, h[27]);
        FillFromLines(ResultColumnHints, h, 28);
        FillFromLines(GroundNames, h, 33);
        FillFromLines(ResultColumnHeads, h, 36);
        FillFromLines(PolarNames, h, 48);
        FillFromLines(MainMessages, h, 50);
        FillFromLines(OptWireMessages, h, 60);
        FillFromLines(CsvHeaders, h, 70);
    }
    for (std::size_t i = 0; i < language.Engine.size() && i < std::size_t{EngineLanguageMessageCount}; ++i)
        CopyLanguageText(EngineMessages[i], MessageWidth, language.Engine[i]);
    if (!language.Plot.empty()) FillFromLines(PlotTexts, language.Plot, 0);
}

bool LanguageIsActive() { return LanguageIndex >= 0 && !LanguageText.empty(); }

bool FindFormSection(const std::string& text, const char* name, int count, std::vector<std::string>& lines,
                     std::string& error) {
    NoteLookup(name, count - 1);
    lines.clear();
    std::vector<std::string> all = SplitLanguageLines(text);
    int start = 0;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].find(name) != std::string::npos) start = static_cast<int>(i);
        all[i] = DropFirstWord(all[i]);
    }
    if (start == 0) return false;
    return TakeLines(all, start, count, name, lines, error);
}

bool FindMessageSection(const std::string& text, const char* name, int count, std::vector<std::string>& lines,
                        std::string& error) {
    if (!FindSection(text, name, 1, count, SectionTrim::KeyWord, lines, error)) return false;
    if (lines.empty()) return false;
    return true;
}
