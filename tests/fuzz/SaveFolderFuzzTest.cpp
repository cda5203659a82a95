// Saves into folders full of names that look like the program's temporaries:
// a save replaces its target and removes nothing but that target's own
// temporaries of a save long dead; every other file stays as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "model/SafeFile.h"
#include "model/TestFolder.h"

namespace {

namespace fs = std::filesystem;

// Each save syncs the disk: a few hundred folders of many names each.
constexpr int SaveFolders = 300;

bool IsOwnTemporaryName(const std::string& name) {
    const std::string prefix = "a.kva.korva-";
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    const std::size_t dash = name.find('-', prefix.size());
    if (dash == std::string::npos || dash == prefix.size() || dash - prefix.size() > 9) return false;
    for (std::size_t i = prefix.size(); i < dash; ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    if (name.size() != dash + 7) return false;
    for (std::size_t i = dash + 1; i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

// A temporary of "a.kva" and its neighbours: one to three edits of a real one.
std::string LookAlike(std::mt19937& rnd) {
    std::string name = "a.kva.korva-" + std::to_string(5000000 + rnd() % 994999999) + "-Ab3dE9";
    static const std::string pieces[] = {"a", "b.kvb", ".", "-", "korva", "0", "999999999999", "~", " ", "\xC3\xA9",
                                         "Zz", ".korva-1-AAAAAA"};
    const int edits = static_cast<int>(rnd() % 4);
    for (int e = 0; e < edits; ++e) {
        const std::size_t at = rnd() % (name.size() + 1);
        switch (rnd() % 4) {
        case 0: name.insert(at, pieces[rnd() % std::size(pieces)]); break;
        case 1: name.erase(at, 1 + rnd() % 3); break;
        case 2: if (at < name.size()) name[at] = static_cast<char>(' ' + rnd() % 95); break;
        default: name = pieces[rnd() % std::size(pieces)] + name;
        }
    }
    for (char& c : name)
        if (c == '/') c = '_';
    return name == "." || name == ".." || name.empty() ? "x" : name;
}

TEST(SaveFolderFuzz, ASaveAmongLookAlikesRemovesOnlyItsOwnDeadTemporaries) {
    const TestFolder folder("korva-fuzz");
    ASSERT_FALSE(folder.Path().empty());
    const fs::path dir = folder.Path();
    const fs::path target = dir / "a.kva";
    std::mt19937 rnd(0x5AFE);
    int removed = 0;
    for (int round = 0; round < SaveFolders; ++round) {
        fs::remove_all(dir);
        fs::create_directory(dir);
        struct Placed {
            std::string name;
            bool old;
        };
        std::vector<Placed> placed;
        const int count = 1 + static_cast<int>(rnd() % 40);
        for (int i = 0; i < count; ++i) {
            const std::string name = LookAlike(rnd);
            if (name == "a.kva" || fs::exists(dir / name)) continue;
            std::ofstream(dir / name) << name;
            const bool old = rnd() % 2;
            if (old) fs::last_write_time(dir / name, fs::last_write_time(dir / name) - std::chrono::hours(2));
            placed.push_back({name, old});
        }
        ASSERT_TRUE(WriteFileReplacing(target.string(), std::string_view("antenna")));
        std::ifstream saved(target);
        std::string text((std::istreambuf_iterator<char>(saved)), {});
        ASSERT_EQ(text, "antenna");
        for (const Placed& p : placed) {
            bool mayGo = p.old && IsOwnTemporaryName(p.name);
            if (mayGo) {
                // Below the system's highest process id a process may start
                // or end between the save's look and this one: either is right.
                const long pid = std::stol(p.name.substr(12));
                if (pid <= 4194304 && pid != ::getpid()) continue;
                mayGo = pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0;
            }
            if (!fs::exists(dir / p.name)) {
                ASSERT_TRUE(mayGo) << "removed: " << p.name;
                ++removed;
                continue;
            }
            std::ifstream kept(dir / p.name);
            std::string contents((std::istreambuf_iterator<char>(kept)), {});
            ASSERT_EQ(contents, p.name);
        }
        // Nothing of this save is left beside the target: every other name was placed.
        for (const auto& e : fs::directory_iterator(dir)) {
            const std::string name = e.path().filename().string();
            ASSERT_TRUE(name == "a.kva" || std::any_of(placed.begin(), placed.end(),
                                                       [&](const Placed& p) { return p.name == name; }))
                << name;
        }
    }
    std::printf("save folders: %d saves, %d stale temporaries removed\n", SaveFolders, removed);
    EXPECT_GT(removed, 0);
}

}  // namespace
