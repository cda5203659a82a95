// The replacing write: what a save may remove beside its target, and a
// target the user protected.
#include "model/SafeFile.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class SafeFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/korva-safe-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        dir = name;
    }
    void TearDown() override { fs::remove_all(dir); }
    // A plain file whose last change lies `age` seconds back (negative: ahead).
    void Place(const std::string& name, long age) {
        std::ofstream((dir / name).string()) << "user data";
        const fs::file_time_type now = fs::last_write_time(dir / name);
        fs::last_write_time(dir / name, now - std::chrono::seconds(age));
    }
    fs::path dir;
};

TEST_F(SafeFileTest, ASaveRemovesOnlyItsOwnLongDeadTemporaries) {
    const std::string own = std::to_string(::getpid());
    const long hours = 3 * 3600;
    const struct {
        std::string name;
        long age;
        bool kept;
    } files[] = {
        {"a.kva.korva-999999999-Ab3dE9", hours, false},  // a save killed long ago
        {"a.kva.korva-999999999-Xy12zz", 60, true},      // on a shared folder: maybe another machine's save
        {"a.kva.korva-999999999-Qq9Qq9", -hours, true},  // a clock ahead of this one
        {"b.kvb.korva-999999999-xyzXYZ", hours, true},   // another file's
        {"trip.korva-4000001-summer", hours, true},      // the user's own file
        {"xa.kva.korva-999999999-Ab3dE9", hours, true},
        {"a.kva.korva-" + own + "-Ab3dE9", hours, true},  // this process
        {"a.kva.korva-999999999-short", hours, true},
        {"a.kva.korva-999999999-Ab3d.9", hours, true},
        {"a.kva.korva--Ab3dE9", hours, true},
        {"a.kva.backup", hours, true},
        {"korva-999999999-Ab3dE9", hours, true},
    };
    for (const auto& f : files) Place(f.name, f.age);
    // A link or a folder of the same name is no temporary.
    fs::create_directory(dir / "a.kva.korva-999999999-Folder");
    fs::create_symlink(dir / "a.kva.backup", dir / "a.kva.korva-999999999-LinkLn");
    // Another user's file is not this user's to remove.
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        Place("a.kva.korva-999999999-Other1", hours);
        ASSERT_EQ(::chown((dir / "a.kva.korva-999999999-Other1").c_str(), 12345, 12345), 0);
    }
    ASSERT_TRUE(WriteFileReplacing((dir / "a.kva").string(), std::string_view("antenna")));
    for (const auto& f : files) EXPECT_EQ(fs::exists(dir / f.name), f.kept) << f.name;
    EXPECT_TRUE(fs::is_directory(dir / "a.kva.korva-999999999-Folder"));
    EXPECT_TRUE(fs::is_symlink(dir / "a.kva.korva-999999999-LinkLn"));
    if (asRoot) {
        EXPECT_TRUE(fs::exists(dir / "a.kva.korva-999999999-Other1"));
    }
}

}  // namespace
