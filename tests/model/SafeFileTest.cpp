// The replacing write: what a save may remove beside its target, and a
// target the user protected.
#include "model/SafeFile.h"

#include <gtest/gtest.h>

#include <functional>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "model/AntennaSamples.h"
#include "model/CsvTable.h"
#include "model/FarFieldFile.h"
#include "model/TestFolder.h"

namespace {

namespace fs = std::filesystem;

class SafeFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.Path().empty());
        dir = folder.Path();
    }
    // A plain file whose last change lies `age` seconds back (negative: ahead).
    void Place(const std::string& name, long age) {
        std::ofstream((dir / name).string()) << "user data";
        const fs::file_time_type now = fs::last_write_time(dir / name);
        fs::last_write_time(dir / name, now - std::chrono::seconds(age));
    }
    TestFolder folder{"korva-safe"};
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

// Every writer goes through the replacing write, which would succeed over a
// file its owner protected: the protection wins, with the program's message.
TEST_F(SafeFileTest, EveryWriterRefusesAProtectedTarget) {
    using Writer = std::function<bool(const std::string&, std::string*)>;
    const std::pair<const char*, Writer> writers[] = {
        {"plain", [](const std::string& p, std::string* e) { return WriteFileReplacing(p, std::string_view("new"), e); }},
        {"csv", [](const std::string& p, std::string* e) { return SaveCsvTable(p, {"HEAD", "1"}, e); }},
        {"far field",
         [](const std::string& p, std::string* e) {
             return SaveFarFieldFile(p, *NewAntenna(), ModelEnvFields{}, "", CResult(), e) == FarFieldStatus::Ok;
         }},
    };
    for (const auto& [what, write] : writers) {
        for (const mode_t mode : {0444, 0400, 0544}) {
            const fs::path real = dir / "table.csv";
            fs::remove(real);
            std::ofstream(real.string()) << "old contents";
            ASSERT_EQ(::chmod(real.c_str(), mode), 0);
            fs::remove(dir / "link.csv");
            fs::create_symlink(real, dir / "link.csv");
            for (const fs::path& target : {real, dir / "link.csv"}) {
                std::string error;
                EXPECT_FALSE(write(target.string(), &error)) << what << " " << target;
                EXPECT_EQ(error, "Unable to write to " + target.string()) << what;
                std::ifstream in(real.string());
                EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old contents") << what;
                struct stat st {};
                ASSERT_EQ(::stat(real.c_str(), &st), 0);
                EXPECT_EQ(st.st_mode & 07777, mode) << what;
            }
        }
    }
    // A long computation asks first: a protected file or a missing folder.
    std::string error;
    EXPECT_FALSE(CanReplaceFile((dir / "table.csv").string(), &error));
    EXPECT_EQ(error, "Unable to write to " + (dir / "table.csv").string());
    EXPECT_FALSE(CanReplaceFile((dir / "no" / "t.csv").string()));
    EXPECT_TRUE(CanReplaceFile((dir / "new.csv").string()));
    ::chmod((dir / "table.csv").c_str(), 0644);
    EXPECT_TRUE(CanReplaceFile((dir / "link.csv").string()));
}

}  // namespace
