// Saves onto targets made of symbolic links and long names: chains of links,
// relative and absolute, that end in a file, in a name not made yet, in a
// folder that does not exist or in a loop, with names up to the system's
// limit. A save writes the bytes where the links lead and leaves every link a
// link, or fails and leaves the folder as it was; no temporary is left.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <climits>
#include <unistd.h>

#include "model/SafeFile.h"

namespace {

namespace fs = std::filesystem;

// Each save syncs the disk.
constexpr int SaveTargets = 1500;

enum class End { File, NotMade, NoFolder, Loop };

struct Target {
    std::vector<std::string> names;  // names[0] is saved; each names the next
    std::vector<int> how;            // how link i names i + 1: 0 plain, 1 through sub/.., 2 absolute
    End end = End::NotMade;
};

// A name of the folder: short, or long up to the system's limit, now and
// then with two-byte characters.
std::string RandomName(std::mt19937& rnd, int index) {
    std::string name = std::to_string(index) + "-";
    const std::size_t length = rnd() % 3 == 0 ? NAME_MAX - rnd() % 40 : 5 + rnd() % 10;
    static const char plain[] = "abcxyzABC019._-";
    while (name.size() + 4 < length) {
        if (rnd() % 8 == 0 && name.size() + 6 <= length)
            name += "\xC3\xBC";
        else
            name += plain[rnd() % (sizeof plain - 1)];
    }
    return name + ".kva";
}

// The reproducers first: a link to a file not made yet, a name of 250 bytes.
Target MakeTarget(std::mt19937& rnd, int round) {
    Target t;
    if (round == 0) return {{"x.kva", "newfile.kva"}, {0}, End::NotMade};
    if (round == 1) return {{std::string(246, 'a') + ".kva"}, {}, End::NotMade};
    const int links = static_cast<int>(rnd() % 5);
    for (int i = 0; i <= links; ++i) t.names.push_back(RandomName(rnd, i));
    for (int i = 0; i < links; ++i) t.how.push_back(static_cast<int>(rnd() % 3));
    t.end = static_cast<End>(rnd() % 4);
    if (t.end == End::Loop && links == 0) t.end = End::NotMade;
    return t;
}

std::vector<std::string> Names(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Contents(const fs::path& file) {
    std::ifstream in(file);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

TEST(SaveTargetFuzz, ASaveWritesWhereTheLinksLeadOrFailsAndChangesNothing) {
    std::string base = (fs::temp_directory_path() / "korva-save-targets-XXXXXX").string();
    ASSERT_NE(::mkdtemp(base.data()), nullptr);
    const fs::path dir = base;
    std::mt19937 rnd(0x5A7E);
    int saved = 0;
    for (int round = 0; round < SaveTargets; ++round) {
        fs::remove_all(dir);
        fs::create_directories(dir / "sub");
        const Target t = MakeTarget(rnd, round);
        const std::size_t last = t.names.size() - 1;
        for (std::size_t i = 0; i < last; ++i) {
            const std::string& next = t.names[i + 1];
            const std::string to = t.how[i] == 0 ? next : t.how[i] == 1 ? "sub/../" + next : (dir / next).string();
            fs::create_symlink(to, dir / t.names[i]);
        }
        // The last name: a file, nothing yet, a link into no folder, or back to the first.
        if (t.end == End::File) std::ofstream(dir / t.names[last]) << "old";
        if (t.end == End::NoFolder) fs::create_symlink("nofolder/" + t.names[last], dir / t.names[last]);
        if (t.end == End::Loop) fs::create_symlink(t.names[0], dir / t.names[last]);
        const std::vector<std::string> before = Names(dir);
        const std::string what = std::to_string(round) + ": " + t.names[0] + " (" + std::to_string(last) +
                                 " links, end " + std::to_string(static_cast<int>(t.end)) + ")";

        std::string error;
        const bool ok = WriteFileReplacing((dir / t.names[0]).string(), std::string_view("antenna"), &error);
        const bool expected = t.end == End::File || t.end == End::NotMade;
        ASSERT_EQ(ok, expected) << what << ": " << error;
        for (std::size_t i = 0; i < last; ++i) ASSERT_TRUE(fs::is_symlink(dir / t.names[i])) << what;
        std::vector<std::string> after = before;
        if (ok) {
            ++saved;
            ASSERT_EQ(Contents(dir / t.names[last]), "antenna") << what;
            if (t.end == End::NotMade) after.push_back(t.names[last]);
            std::sort(after.begin(), after.end());
        } else {
            ASSERT_FALSE(error.empty()) << what;
        }
        ASSERT_EQ(Names(dir), after) << what;
    }
    fs::remove_all(dir);
    std::printf("save targets: %d saves, %d written\n", SaveTargets, saved);
    EXPECT_GT(saved, SaveTargets / 3);
}

}  // namespace
