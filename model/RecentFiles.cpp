#include "model/RecentFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

// Two spellings name the same file unless the file system can tell them
// apart: when only one exists, or both exist as different files. When neither
// exists nothing speaks against treating them as one.
bool FileSystemSameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const bool aExists = fs::exists(fs::path(a), ec);
    const bool bExists = fs::exists(fs::path(b), ec);
    if (!aExists && !bExists)
        return true;
    if (aExists != bExists)
        return false;
    const bool same = fs::equivalent(fs::path(a), fs::path(b), ec);
    return !ec && same;
}

} // namespace

std::string LowerExtension(const std::string& path) {
    const size_t sep = path.find_last_of("/\\:");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep))
        return {};
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(), LowerAscii);
    return ext;
}

bool IsAntennaFileName(const std::string& path) {
    return LowerExtension(path) == ".kva";
}

RecentFiles::RecentFiles() : sameFile_(FileSystemSameFile) {}

RecentFiles::RecentFiles(SameFileTest sameFile)
    : sameFile_(sameFile ? std::move(sameFile) : SameFileTest(FileSystemSameFile)) {}

bool RecentFiles::Matches(const std::string& a, const std::string& b) const {
    if (a == b)
        return true;
    return EqualIgnoringCase(a, b) && sameFile_(a, b);
}

void RecentFiles::RemoveMatching(const std::string& name) {
    std::erase_if(names_, [&](const std::string& entry) { return Matches(entry, name); });
}

void RecentFiles::Add(const std::string& name, bool ok, bool onlyAntennaFiles) {
    if (name.empty())
        return;
    if (onlyAntennaFiles && !IsAntennaFileName(name))
        return;
    RemoveMatching(name);
    if (!ok)
        return;
    if (onlyAntennaFiles)
        std::erase_if(names_, [](const std::string& entry) { return !IsAntennaFileName(entry); });
    names_.insert(names_.begin(), name);
    if (names_.size() > static_cast<size_t>(MaxEntries))
        names_.resize(MaxEntries);
}

bool RecentFiles::Append(const std::string& name, bool onlyAntennaFiles) {
    if (name.empty() || Count() >= MaxEntries)
        return false;
    if (onlyAntennaFiles && !IsAntennaFileName(name))
        return false;
    for (const std::string& entry : names_)
        if (Matches(entry, name))
            return false;
    names_.push_back(name);
    return true;
}
