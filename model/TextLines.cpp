#include "model/TextLines.h"

bool TextLineReader::ReadLine(std::string& line, std::size_t maxKept) {
    if (ended_) return false;
    std::size_t end = rest_.find('\n');
    std::string_view raw = rest_.substr(0, end);
    bool last = end == std::string_view::npos;
    if (last) {
        ended_ = true;
        rest_ = {};
    } else {
        rest_.remove_prefix(end + 1);
    }
    line.clear();
    for (char c : raw) {
        if (c == '\r' || c == '\x1a') continue;
        if (line.size() < maxKept) line.push_back(c);
    }
    // What follows the last line end is a line only when it holds more than
    // CRs and Ctrl-Z (a file may end with Ctrl-Z).
    if (last && line.empty()) return false;
    ++lineNumber_;
    return true;
}

bool TextLineReader::ReadLineSkipStars(std::string& line) {
    while (ReadLine(line))
        if (line.empty() || line[0] != '*') return true;
    return false;
}

std::string_view SkipBlanks(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    return s.substr(i);
}

std::string_view FieldSplitter::Next() {
    if (ended_) return {};
    std::size_t comma = rest_.find(',');
    std::string_view field = rest_.substr(0, comma);
    if (comma == std::string_view::npos) {
        ended_ = true;
        rest_ = {};
    } else {
        rest_.remove_prefix(comma + 1);
    }
    return SkipBlanks(field);
}
