#pragma once
// Line and field reading of the antenna text: lines end at LF, every CR and
// Ctrl-Z is dropped, fields are cut at commas with leading blanks and tabs
// skipped.
#include <cstddef>
#include <string>
#include <string_view>

// A record line keeps at most this many characters; the rest is dropped.
constexpr std::size_t TextLineMaxKept = 1022;

class TextLineReader {
public:
    explicit TextLineReader(std::string_view text) : rest_(text) {}

    // The next line, cut to maxKept characters; false at the end of the text.
    bool ReadLine(std::string& line, std::size_t maxKept = TextLineMaxKept);
    // The next line that does not begin with "*" (section titles).
    bool ReadLineSkipStars(std::string& line);
    // The number of the last line read, from 1; 0 before the first.
    int LineNumber() const { return lineNumber_; }

private:
    std::string_view rest_;
    bool ended_ = false;
    int lineNumber_ = 0;
};

class FieldSplitter {
public:
    explicit FieldSplitter(std::string_view line) : rest_(line) {}

    // The next field without its leading blanks and tabs; once the line has
    // no further comma every further field is empty.
    std::string_view Next();

private:
    std::string_view rest_;
    bool ended_ = false;
};

std::string_view SkipBlanks(std::string_view s);
