#include "platform/IniFile.h"

#include "model/NumberText.h"
#include "model/SafeFile.h"

#include <charconv>
#include <limits>

namespace {

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

// Values with outer blanks or outer quotes are stored in quotes so that they
// read back as written.
std::string StoredValue(const std::string& value) {
    bool needsQuotes = !value.empty() && (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' ||
                                          value.back() == '\t' || (value.front() == '"' && value.back() == '"'));
    return needsQuotes ? "\"" + value + "\"" : value;
}

std::string ReadValue(const std::string& raw) {
    std::string v = Trim(raw);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {
    // Only a regular file is read (a pipe or a device in its place would block
    // or never end), and none far larger than any settings the program
    // writes (it would hold the start for seconds and gigabytes).
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(path_, bytes, IniFileMaxBytes) != ReadFileStatus::Ok) return;
    Parse(std::string(bytes.begin(), bytes.end()));
    loaded_ = true;
}

void IniFile::Parse(const std::string& content) {
    std::string text = content;
    // Every byte order mark at the start: a second one would hide the first
    // section until the next rewrite.
    while (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    while (!text.empty() && (text.back() == '\x1A' || text.back() == '\0')) text.pop_back();
    sections_.clear();
    sections_.push_back(Section{"", false, {}});
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        std::string trimmed = Trim(line);
        if (!trimmed.empty() && trimmed.front() == '[') {
            std::size_t close = trimmed.rfind(']');
            std::string name = Trim(trimmed.substr(1, close == std::string::npos || close == 0 ? std::string::npos
                                                                                              : close - 1));
            sections_.push_back(Section{name, true, {}});
            continue;
        }
        Line l{line, "", ""};
        std::size_t eq = line.find('=');
        if (!trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '#' && eq != std::string::npos) {
            l.key = Trim(line.substr(0, eq));
            l.value = line.substr(eq + 1);
        }
        sections_.back().lines.push_back(l);
    }
}

const IniFile::Section* IniFile::FindSection(const std::string& name) const {
    for (const auto& s : sections_)
        if (s.headed && SameName(s.name, name)) return &s;
    return nullptr;
}

IniFile::Section* IniFile::FindSection(const std::string& name) {
    for (auto& s : sections_)
        if (s.headed && SameName(s.name, name)) return &s;
    return nullptr;
}

const IniFile::Line* IniFile::FindKey(const std::string& section, const std::string& key) const {
    const Section* s = FindSection(section);
    if (!s) return nullptr;
    for (const auto& l : s->lines)
        if (!l.key.empty() && SameName(l.key, key)) return &l;
    return nullptr;
}

bool IniFile::SectionExists(const std::string& section) const { return FindSection(section) != nullptr; }

bool IniFile::ValueExists(const std::string& section, const std::string& key) const {
    return FindKey(section, key) != nullptr;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    const Line* l = FindKey(section, key);
    return l ? ReadValue(l->value) : def;
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    const Line* l = FindKey(section, key);
    if (!l) return def;
    std::string v = ReadValue(l->value);
    if (v.empty()) return def;
    // Hexadecimal as "$1F" or "0x1F", as the settings of older versions may hold.
    std::size_t hexStart = 0;
    bool negative = false;
    std::string body = v;
    if (body[0] == '-') {
        negative = true;
        body.erase(0, 1);
    }
    if (body.size() > 1 && body[0] == '$') hexStart = 1;
    else if (body.size() > 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) hexStart = 2;
    if (hexStart) {
        unsigned long long u = 0;
        auto r = std::from_chars(body.data() + hexStart, body.data() + body.size(), u, 16);
        if (r.ec != std::errc() || r.ptr != body.data() + body.size() || u > 0xFFFFFFFFull) return def;
        // The digits are the 32 bits of an int ("$FFFFFFFF" is -1); the
        // negative of the lowest int is no int and takes the default.
        const auto bits = static_cast<int>(static_cast<unsigned>(u));
        if (!negative) return bits;
        return bits == std::numeric_limits<int>::min() ? def : -bits;
    }
    int value = 0;
    std::size_t used = 0;
    if (!ReadLeadingInt(v, value, &used) || used != v.size()) return def;
    return value;
}

double IniFile::ReadFloat(const std::string& section, const std::string& key, double def) const {
    const Line* l = FindKey(section, key);
    if (!l) return def;
    std::string v = ReadValue(l->value);
    double value = 0.0;
    std::size_t used = 0;
    if (!ReadLeadingDouble(v, value, &used) || used != v.size()) return def;
    return value;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    std::string k = Trim(key);
    if (k.empty()) return;
    // Line breaks would split the entry; the format has no escape for them.
    // They become blanks before the quoting, so outer ones are kept as blanks.
    std::string flat = value;
    for (char& c : flat)
        if (c == '\r' || c == '\n') c = ' ';
    const std::string stored = StoredValue(flat);
    Section* s = FindSection(section);
    if (!s) {
        if (!sections_.empty() && !(sections_.size() == 1 && sections_[0].lines.empty())) {
            Section& last = sections_.back();
            if (last.lines.empty() || !Trim(last.lines.back().text).empty() || !last.lines.back().key.empty())
                last.lines.push_back(Line{"", "", ""});
        }
        sections_.push_back(Section{Trim(section), true, {}});
        s = &sections_.back();
    }
    for (auto& l : s->lines) {
        if (!l.key.empty() && SameName(l.key, k)) {
            l.value = stored;
            l.text = l.key + "=" + stored;
            modified_ = true;
            return;
        }
    }
    // New keys go after the last key line, before trailing blank lines.
    std::size_t at = s->lines.size();
    while (at > 0 && s->lines[at - 1].key.empty() && Trim(s->lines[at - 1].text).empty()) --at;
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), Line{k + "=" + stored, k, stored});
    modified_ = true;
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

std::string IniFile::FloatText(double value) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    if (r.ec != std::errc()) return "0";
    // 15 digits keep the usual values short; where they do not read back as
    // the value (near the double limit they would overflow), the shortest
    // text that does.
    double back = 0.0;
    std::size_t used = 0;
    const std::string text(buf, r.ptr);
    if (ReadLeadingDouble(text, back, &used) && used == text.size() && back == value) return text;
    r = std::to_chars(buf, buf + sizeof buf, value);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : "0";
}

void IniFile::WriteFloat(const std::string& section, const std::string& key, double value) {
    WriteString(section, key, FloatText(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::DeleteKey(const std::string& section, const std::string& key) {
    Section* s = FindSection(section);
    if (!s) return;
    for (auto it = s->lines.begin(); it != s->lines.end(); ++it) {
        if (!it->key.empty() && SameName(it->key, key)) {
            s->lines.erase(it);
            modified_ = true;
            return;
        }
    }
}

void IniFile::EraseSection(const std::string& section) {
    for (auto it = sections_.begin(); it != sections_.end(); ++it) {
        if (it->headed && SameName(it->name, section)) {
            sections_.erase(it);
            modified_ = true;
            return;
        }
    }
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section))
        for (const auto& l : s->lines)
            if (!l.key.empty()) keys.push_back(l.key);
    return keys;
}

bool IniFile::UpdateFile() {
    std::string out;
    for (const auto& s : sections_) {
        if (s.headed) out += "[" + s.name + "]\r\n";
        for (const auto& l : s.lines) out += l.text + "\r\n";
    }
    // Through a link to the file it names, keeping the file's mode.
    if (!WriteFileReplacing(path_, out)) return false;
    modified_ = false;
    return true;
}
