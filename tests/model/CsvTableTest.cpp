// CSV result tables as files: line ends, the currents lines, default names
// and paths, and writes that fail without harming the old file.
#include "model/CsvTable.h"
#include "model/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

PulseCurrentRec Row(int wire, float x, float y, float z, float re, float im, float mag, float phase) {
    return PulseCurrentRec{1, wire, x, y, z, re, im, mag, phase};
}

}  // namespace

TEST(CsvTableText, EveryEntryEndsWithCrLfAndMultiLineEntriesGetNoEmptyLine) {
    EXPECT_EQ(CsvTableText({}), "");
    EXPECT_EQ(CsvTableText({"HEAD", "1,2"}), "HEAD\r\n1,2\r\n");
    // The angle/gain table comes as one text that already holds its line ends.
    EXPECT_EQ(CsvTableText({"HEAD", "0.0,0.0,1.00,2.00,3.00,\r\n0.0,10.0,1.00,2.00,3.00,\r\n"}),
              "HEAD\r\n0.0,0.0,1.00,2.00,3.00,\r\n0.0,10.0,1.00,2.00,3.00,\r\n");
    EXPECT_EQ(CsvTableText({"", "x"}), "\r\nx\r\n");
}

TEST(CurrentsTableLines, OneLinePerValidRowWithItsPulseNumber) {
    std::vector<PulseCurrentRec> rows(6, PulseCurrentRec{});
    rows[0] = Row(1, -5.3f, 0.0f, 10.0f, 0.012345f, -0.00098765f, 0.0123836f, -4.57f);
    rows[3] = Row(2, 1.0f, 2.5f, 3.25f, -1.5f, 0.0f, 1.5f, 180.0f);  // pulses 2, 3 never stored
    rows[5] = Row(2, 0.0005f, -0.0005f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
    std::vector<std::string> list{"HEAD"};
    AddCurrentsTableLines(rows.data(), static_cast<int>(rows.size()), list);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[1], "1,1,-5.300,0.000,10.000,1.23e-02,-9.88e-04,1.24e-02,-4.6");
    EXPECT_EQ(list[2], "2,4,1.000,2.500,3.250,-1.50e+00,0.00e+00,1.50e+00,180.0");
    EXPECT_EQ(list[3].substr(0, 4), "2,6,");

    // Only as many rows as the table has are read; no table adds nothing.
    list.resize(1);
    AddCurrentsTableLines(rows.data(), 3, list);
    EXPECT_EQ(list.size(), 2u);
    AddCurrentsTableLines(nullptr, 8192, list);
    EXPECT_EQ(list.size(), 2u);
}

TEST(DefaultTableNames, TheAntennaFileWithoutItsExtensionOrNoname) {
    EXPECT_EQ(DefaultTablePath("/home/ham/yagi.kva", "/other"), "/home/ham/yagi.csv");
    EXPECT_EQ(DefaultTablePath("", "/other"), "/other/noname.csv");
    EXPECT_EQ(DefaultTablePath("", "/other/"), "/other/noname.csv");
    // Only the file name's last dot starts an extension.
    EXPECT_EQ(DefaultTablePath("/a.b/ant", "/x"), "/a.b/ant.csv");
    EXPECT_EQ(DefaultTablePath("/a/ant.v2.kva", "/x"), "/a/ant.v2.csv");
    EXPECT_EQ(DefaultTableName(""), "noname");
    EXPECT_EQ(DefaultTableName("/home/ham/yagi.kva"), "/home/ham/yagi");
}

TEST(SaveCsvTable, WritesTheListAndReplacesAnOldFile) {
    TestFolder dir("korva-csv");
    ASSERT_FALSE(dir.Path().empty());
    const std::string path = dir.File("t.csv");
    ASSERT_TRUE(SaveCsvTable(path, {"A", "B"}));
    ASSERT_TRUE(SaveCsvTable(path, {"HEAD", "1"}));
    EXPECT_EQ(ReadAll(path), "HEAD\r\n1\r\n");
}

TEST(SaveCsvTable, AFailedWriteIsReportedAndKeepsTheOldFile) {
    TestFolder dir("korva-csv");
    ASSERT_FALSE(dir.Path().empty());
    // A folder that is a plain file takes no file.
    const std::string plain = dir.File("plain");
    std::ofstream(plain) << "x";
    std::string error;
    EXPECT_FALSE(SaveCsvTable(plain + "/t.csv", {"HEAD"}, &error));
    EXPECT_FALSE(error.empty());

    // A file its owner protected is refused, not replaced.
    const std::string old = dir.File("old.csv");
    std::ofstream(old) << "old contents";
    ASSERT_EQ(::chmod(old.c_str(), 0444), 0);
    error.clear();
    EXPECT_FALSE(SaveCsvTable(old, {"HEAD"}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadAll(old), "old contents");
}
