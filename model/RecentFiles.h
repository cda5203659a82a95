#pragma once
// The list of files opened or saved last, newest first, at most ten names.
// Names are matched without regard to letter case, except that two spellings
// that name two different existing files (possible on case-sensitive file
// systems) are kept apart.
#include <functional>
#include <string>
#include <vector>

// Lower-cased extension of a path: the part from the last '.' that follows
// the last '/', '\' or ':'; empty when there is none.
std::string LowerExtension(const std::string& path);

// True for a name with the antenna-file extension ".kva" in any letter case.
bool IsAntennaFileName(const std::string& path);

class RecentFiles {
public:
    static constexpr int MaxEntries = 10;

    // Tells whether two names that differ only in letter case name the same
    // file. The default asks the file system; tests may replace it.
    using SameFileTest = std::function<bool(const std::string&, const std::string&)>;

    RecentFiles();
    explicit RecentFiles(SameFileTest sameFile);

    // Records a file that was opened or saved (ok) or removes one that could
    // not be opened (!ok). With onlyAntennaFiles set, a name that is not an
    // antenna file changes nothing, and recording an antenna file drops every
    // entry that is not one. An empty name changes nothing.
    void Add(const std::string& name, bool ok, bool onlyAntennaFiles);

    // Reading the settings: appends a stored name at the end unless it is
    // empty, already listed, refused by onlyAntennaFiles, or the list is full.
    // Returns true when the name was placed.
    bool Append(const std::string& name, bool onlyAntennaFiles);

    void Clear() { names_.clear(); }
    int Count() const { return static_cast<int>(names_.size()); }
    bool Empty() const { return names_.empty(); }
    // 0-based; index 0 is the newest entry.
    const std::string& At(int index) const { return names_.at(static_cast<size_t>(index)); }
    const std::vector<std::string>& Names() const { return names_; }

    // True when both names denote the same list entry.
    bool Matches(const std::string& a, const std::string& b) const;

private:
    void RemoveMatching(const std::string& name);

    std::vector<std::string> names_;
    SameFileTest sameFile_;
};
