#pragma once
// Settings in the Windows profile (ini) format: "[Section]" lines followed by
// "Key=Value" lines. Section and key names compare without regard to letter
// case and are kept exactly as written ("H/V", "Recent File"); sections, keys,
// comments and blank lines the program does not know survive a rewrite.
// A missing key or a value that does not parse gives the caller's default.
// Numbers use '.' whatever the locale.
//
// The file is read when the object is made; writes change the object only
// until UpdateFile() stores them (through a temporary file and a rename, so a
// failed write leaves the old file whole).
#include <cstddef>
#include <string>
#include <vector>

// The largest settings file read; a larger one gives the defaults, like a
// missing one.
constexpr std::size_t IniFileMaxBytes = 1u << 20;

class IniFile {
public:
    explicit IniFile(std::string path);

    const std::string& FileName() const { return path_; }
    // True when the file existed and could be read when the object was made.
    bool Loaded() const { return loaded_; }

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    double ReadFloat(const std::string& section, const std::string& key, double def) const;
    // "1" or any non-zero integer is true.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    // Up to 15 significant digits (more only where 15 would not read back as
    // the value), exponent form for very small or large values.
    void WriteFloat(const std::string& section, const std::string& key, double value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    void DeleteKey(const std::string& section, const std::string& key);
    void EraseSection(const std::string& section);
    std::vector<std::string> ReadSection(const std::string& section) const;  // key names

    // Writes the whole file (CR LF lines), through a symbolic link to the file
    // it names and keeping its mode. Returns false, with the old file
    // unchanged, when it cannot be written or its owner made it read-only.
    bool UpdateFile();
    bool Modified() const { return modified_; }

    // Formats a float as the file stores it.
    static std::string FloatText(double value);

private:
    struct Line {
        std::string text;  // the line as read, for comments and unknown lines
        std::string key;   // empty for lines that are not key lines
        std::string value;
    };
    struct Section {
        std::string name;
        bool headed = true;  // false for lines before the first section line
        std::vector<Line> lines;
    };

    const Section* FindSection(const std::string& name) const;
    Section* FindSection(const std::string& name);
    const Line* FindKey(const std::string& section, const std::string& key) const;
    void Parse(const std::string& content);

    std::string path_;
    std::vector<Section> sections_;
    bool loaded_ = false;
    bool modified_ = false;
};
