#pragma once
// Language files. The list file "krvlanguage.txt" in the "Language" folder
// names one language file per line. A language file is text: line 0 the font
// charset number, one of lines 0-9 "HelpFile <name>", line 2 the news line,
// then sections: a header line that contains the section's name, followed by
// its lines up to an empty line. Every line begins with a key word that only
// documents the file; lines are taken by position. Nothing here applies a
// language: the text is taken apart first, so a broken file changes nothing.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A language or list file larger than this is refused; longer lines are cut.
constexpr std::size_t LanguageFileMaxBytes = 2u << 20;
constexpr std::size_t LanguageLineMaxBytes = 1024;
// The language menu shows at most this many entries of the list.
constexpr int LanguageMenuMaxItems = 40;

// Reads a whole file; false with the reason when it cannot be read, is too
// large or holds a zero byte (not a text of a single-byte code or UTF-8).
bool ReadLanguageBytes(const std::string& path, std::string& bytes, std::string& error);

// Lines split at LF (a CR before it dropped), a leading UTF-8 byte order mark
// and a trailing Ctrl-Z dropped, each cut to LanguageLineMaxBytes without
// splitting a UTF-8 character.
std::vector<std::string> SplitLanguageLines(std::string_view text);
// The lines, each ended by CR LF: splitting the text gives them back.
std::string JoinLanguageLines(const std::vector<std::string>& lines);

// Everything up to and including the first blank removed; a line without a
// blank stays whole.
std::string DropFirstWord(const std::string& line);
std::string WithoutLeadingBlanks(const std::string& line);
// The text without its first character (a whole UTF-8 character).
std::string WithoutFirstCharacter(const std::string& text);

// Line 0: every blank removed, a decimal number (a UTF-8 byte order mark
// before it is allowed). False when it is none.
bool ParseCharsetLine(const std::string& line, int& charset);

// Copies text into a fixed buffer, cut to fit without splitting a UTF-8
// character, always terminated.
void CopyLanguageText(char* buffer, std::size_t width, const std::string& text);
template <std::size_t N>
void CopyLanguageText(char (&buffer)[N], const std::string& text) {
    CopyLanguageText(buffer, N, text);
}

// One item of the language menu: its caption (the list line without the dot
// and the three letters after it) and the list line it loads.
struct LanguageMenuEntry {
    std::string Caption;
    int ListLine = 0;
};
// The entries of the first 40 list lines before the first empty line; a line
// whose caption would be empty gets no entry.
std::vector<LanguageMenuEntry> LanguageMenuEntries(const std::vector<std::string>& listLines);

// How the lines of a scanned section lose their key words.
enum class SectionTrim {
    KeyWord,            // the key word only; leading blanks stay
    KeyWordAndBlanks,   // the key word and then the leading blanks
    BlanksFromHeader,   // the key word; leading blanks too from the header on
};
// The main window's scan of a section: lines from 0 upwards, a line that
// contains the name sets the start (0 counts as not found), an empty line
// after a start ends the scan; every scanned line loses its key word. Returns
// the start, 0 when not found.
int ScanMainSection(std::vector<std::string>& lines, const char* name, SectionTrim trim);

// The main window's part of a language file.
constexpr int MainWndSectionLines = 146;   // header and lines 1-145
constexpr int HintSectionLines = 75;       // header and lines 1-74
struct MainLanguage {
    int Charset = 0;
    bool HasHelpFile = false;
    std::string HelpFile;                 // the "HelpFile" line's name with ".chm"
    std::vector<std::string> MainWnd;     // section "MainWnd", empty when absent
    std::vector<std::string> Hints;       // section "HintMain_Wnd", empty when absent
    std::string NewsName;                 // with "HintMain_Wnd" only; empty hides the news item
    std::vector<std::string> Engine;      // "MININEC" lines 1-17, empty when absent
    std::vector<std::string> Plot;        // "FFStrings" lines 1-15, empty when absent
};
// Takes the text (UTF-8) apart. False with a reason, and nothing to apply,
// when the charset line is no number or a section runs past the end of the
// file.
bool ParseMainLanguage(const std::string& text, MainLanguage& out, std::string& error);

// Fills the shared text buffers from the sections that are present; the
// buffers of an absent section keep their texts.
void ApplyLanguageMessages(const MainLanguage& language);

// True while a language is active (LanguageIndex at least 0 and its text
// loaded): the forms then take their texts from LanguageText, which holds the
// file decoded to UTF-8 with its lines joined by CR LF.
bool LanguageIsActive();

// The rule of every other form: the last line that contains the name is the
// header (line 0 does not count); `count` lines from the header on, key words
// dropped. False when the section is absent; a section that runs past the end
// of the file is refused with a reason.
bool FindFormSection(const std::string& text, const char* name, int count, std::vector<std::string>& lines,
                     std::string& error);
// A form's message section: the first section start wins, searching ends at
// an empty line after it; `count` lines after the header.
bool FindMessageSection(const std::string& text, const char* name, int count, std::vector<std::string>& lines,
                        std::string& error);

// Told the name of every section looked for and the number of lines it takes
// after its header, whether the section is present or not. The writer of the
// English language file learns the sections and their lengths from it; the
// program leaves it empty.
extern void (*LanguageSectionLookup)(const char* name, int linesAfterHeader);
