#include "model/RecentFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// A list whose case-variant names always name the same file, as on a
// case-insensitive file system.
RecentFiles CaseInsensitiveList() {
    return RecentFiles([](const std::string&, const std::string&) { return true; });
}

std::string Numbered(int i) { return "/ant/a" + std::to_string(i) + ".kva"; }

} // namespace

TEST(RecentFileExtension, TakesThePartAfterTheLastDotOfTheFileName) {
    EXPECT_EQ(LowerExtension("/home/x/Beam.KVA"), ".kva");
    EXPECT_EQ(LowerExtension("C:\\ant\\yagi.kvb"), ".kvb");
    EXPECT_EQ(LowerExtension("/home/x.y/noext"), "");
    EXPECT_EQ(LowerExtension("C:\\dir.d\\noext"), "");
    EXPECT_EQ(LowerExtension("d:file.Kvo"), ".kvo");
    EXPECT_EQ(LowerExtension(""), "");
    EXPECT_TRUE(IsAntennaFileName("/x/DIPOLE.Kva"));
    EXPECT_FALSE(IsAntennaFileName("/x/dipole.kva.bak"));
}

TEST(RecentFilesAdd, KeepsTenNamesNewestFirst) {
    RecentFiles list = CaseInsensitiveList();
    for (int i = 1; i <= 11; ++i)
        list.Add(Numbered(i), true, true);
    ASSERT_EQ(list.Count(), 10);
    EXPECT_EQ(list.At(0), Numbered(11));
    EXPECT_EQ(list.At(9), Numbered(2));  // the first one was pushed out
}

TEST(RecentFilesAdd, ReopeningMovesTheEntryToTheTopSpelledAsOpened) {
    RecentFiles list = CaseInsensitiveList();
    list.Add("/ant/One.kva", true, true);
    list.Add("/ant/two.kva", true, true);
    list.Add("/ant/ONE.KVA", true, true);
    EXPECT_EQ(list.Names(), (Names{"/ant/ONE.KVA", "/ant/two.kva"}));
}

TEST(RecentFilesAdd, ANameInTheLastSlotIsNotDuplicatedWhenRecordedAgain) {
    RecentFiles list = CaseInsensitiveList();
    for (int i = 1; i <= 10; ++i)
        list.Add(Numbered(i), true, true);
    list.Add(Numbered(1), true, true);  // the oldest entry, slot 10
    ASSERT_EQ(list.Count(), 10);
    EXPECT_EQ(list.At(0), Numbered(1));
    EXPECT_EQ(std::count(list.Names().begin(), list.Names().end(), Numbered(1)), 1);
}

TEST(RecentFilesAdd, NeverRecordsAnEmptyName) {
    RecentFiles list = CaseInsensitiveList();
    list.Add("/ant/a.kva", true, false);
    list.Add("", true, false);
    list.Add("", false, false);
    EXPECT_EQ(list.Names(), (Names{"/ant/a.kva"}));
    EXPECT_FALSE(list.Append("", false));
}

TEST(RecentFilesAdd, FailureRemovesTheNameInAnyCase) {
    RecentFiles list = CaseInsensitiveList();
    list.Add("/ant/a.kva", true, true);
    list.Add("/ant/b.kva", true, true);
    list.Add("/ant/c.kva", true, true);
    list.Add("/ANT/B.kva", false, true);
    EXPECT_EQ(list.Names(), (Names{"/ant/c.kva", "/ant/a.kva"}));
    list.Add("/ant/unknown.kva", false, true);
    EXPECT_EQ(list.Count(), 2);
}

TEST(RecentFilesOnlyAntennaFiles, OtherKindsChangeNothingNotEvenARemoval) {
    RecentFiles list = CaseInsensitiveList();
    list.Add("/res/far.kvb", true, false);
    list.Add("/ant/a.kva", true, false);
    list.Add("/res/far.kvb", false, true);
    list.Add("/res/log.kvo", true, true);
    EXPECT_EQ(list.Names(), (Names{"/ant/a.kva", "/res/far.kvb"}));
}

TEST(RecentFilesOnlyAntennaFiles, RecordingAnAntennaFileDropsTheOtherKinds) {
    RecentFiles list = CaseInsensitiveList();
    list.Add("/res/far.kvb", true, false);
    list.Add("/ant/a.kva", true, false);
    list.Add("/res/log.kvo", true, false);
    list.Add("/ant/B.KVA", true, true);
    EXPECT_EQ(list.Names(), (Names{"/ant/B.KVA", "/ant/a.kva"}));
}

TEST(RecentFilesAppend, PlacesStoredNamesInOrderWithoutRepeatsOrRefusedKinds) {
    RecentFiles list = CaseInsensitiveList();
    EXPECT_TRUE(list.Append("/ant/first.kva", true));
    EXPECT_FALSE(list.Append("/ant/FIRST.kva", true));
    EXPECT_TRUE(list.Append("/ant/third.KVA", true));
    EXPECT_FALSE(list.Append("/res/far.kvb", true));
    EXPECT_EQ(list.Names(), (Names{"/ant/first.kva", "/ant/third.KVA"}));
    for (int i = 0; i < 20; ++i)
        list.Append(Numbered(i), false);
    EXPECT_EQ(list.Count(), RecentFiles::MaxEntries);
}

// Two spellings of one name that are two real files on a case-sensitive
// file system must both stay listed.
TEST(RecentFilesFileSystem, KeepsTwoExistingFilesThatDifferOnlyInCase) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("korva_recent_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string lower = (dir / "beam.kva").string();
    const std::string upper = (dir / "BEAM.kva").string();
    std::ofstream(lower) << "x";
    std::ofstream(upper) << "y";
    const bool caseSensitive = fs::file_size(lower) == 1 && !fs::equivalent(lower, upper);

    RecentFiles list;
    list.Add(lower, true, true);
    list.Add(upper, true, true);
    if (caseSensitive) {
        EXPECT_EQ(list.Names(), (Names{upper, lower}));
        // A failure of one spelling does not remove the other file.
        list.Add(upper, false, true);
        EXPECT_EQ(list.Names(), (Names{lower}));
        // A vanished spelling no longer shadows an existing file.
        fs::remove(lower);
        list.Add(upper, true, true);
        EXPECT_EQ(list.Names(), (Names{upper, lower}));
    } else {
        EXPECT_EQ(list.Names(), (Names{upper}));
    }
    fs::remove_all(dir);
}

TEST(RecentFilesFileSystem, NamesOfMissingFilesMatchIgnoringCase) {
    RecentFiles list;
    list.Add("/nonexistent/korva/Gone.kva", true, true);
    list.Add("/nonexistent/korva/GONE.kva", true, true);
    EXPECT_EQ(list.Names(), (Names{"/nonexistent/korva/GONE.kva"}));
}
