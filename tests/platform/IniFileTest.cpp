#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <utility>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    std::string Path() const { return dir_.filePath("Korva.ini").toStdString(); }
    void Write(const std::string& content) const {
        std::ofstream out(Path(), std::ios::binary);
        out << content;
    }
    std::string Content() const {
        std::ifstream in(Path(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    QTemporaryDir dir_;
};

TEST_F(IniFileTest, MissingFileGivesDefaults) {
    IniFile ini(Path());
    EXPECT_FALSE(ini.Loaded());
    EXPECT_EQ(ini.ReadInteger("Env", "Type", 7), 7);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("H/V", "KHScr", 1.0), 1.0);
    EXPECT_EQ(ini.ReadString("Font", "Name", "Microsoft San Serif"), "Microsoft San Serif");
    EXPECT_TRUE(ini.ReadBool("Position", "ToolBar", true));

    // A file far larger than any settings reads as a missing one.
    Write("[Env]\r\nType=2\r\n" + std::string(IniFileMaxBytes, '\n'));
    IniFile huge(Path());
    EXPECT_FALSE(huge.Loaded());
    EXPECT_EQ(huge.ReadInteger("Env", "Type", 7), 7);
}

TEST_F(IniFileTest, NamesIgnoreCaseAndKeepSlashesAndBlanks) {
    Write("[H/V]\r\nKHScr=1.25\r\n[Recent File]\r\nFile1=C:\\ant\\yagi.kva\r\n[env]\r\n  type = 2 \r\n");
    IniFile ini(Path());
    ASSERT_TRUE(ini.Loaded());
    EXPECT_DOUBLE_EQ(ini.ReadFloat("h/v", "khscr", 1.0), 1.25);
    EXPECT_EQ(ini.ReadString("RECENT FILE", "file1", ""), "C:\\ant\\yagi.kva");
    EXPECT_EQ(ini.ReadInteger("Env", "Type", 0), 2);
    EXPECT_TRUE(ini.SectionExists("Recent File"));
    EXPECT_FALSE(ini.SectionExists("Recent"));
}

TEST_F(IniFileTest, BadValuesGiveTheDefault) {
    Write("[Env]\nPMAX=abc\nAntHeight=1,5\nMediaMax=3x\nRadialRadius=inf\nCoord1=nan\nHeight1=0x10\nType=\n"
          "FontSize=99999999999\nMin1=-$80000000\nMin2=-0x80000000\n");
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("Env", "PMAX", 2048), 2048);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Env", "AntHeight", 20.0), 20.0);
    EXPECT_EQ(ini.ReadInteger("Env", "MediaMax", 1), 1);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Env", "RadialRadius", 0.0008), 0.0008);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Env", "Coord1", 0.0), 0.0);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Env", "Height1", 0.0), 0.0);
    EXPECT_EQ(ini.ReadInteger("Env", "Type", 0), 0);
    EXPECT_EQ(ini.ReadInteger("Env", "FontSize", 0), 0);
    // The negative of the lowest int is out of range.
    EXPECT_EQ(ini.ReadInteger("Env", "Min1", 3), 3);
    EXPECT_EQ(ini.ReadInteger("Env", "Min2", 3), 3);
}

TEST_F(IniFileTest, ReadsIntegersBooleansAndHexadecimal) {
    Write("[A]\nneg=-12\nhex=$1F\nhex2=0x20\ntrue=2\nfalse=0\nquoted=\" padded \"\n");
    IniFile ini(Path());
    EXPECT_EQ(ini.ReadInteger("A", "neg", 0), -12);
    EXPECT_EQ(ini.ReadInteger("A", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("A", "hex2", 0), 32);
    EXPECT_TRUE(ini.ReadBool("A", "true", false));
    EXPECT_FALSE(ini.ReadBool("A", "false", true));
    EXPECT_EQ(ini.ReadString("A", "quoted", ""), " padded ");
}

TEST_F(IniFileTest, RewriteKeepsUnknownSectionsAndComments) {
    Write("; my settings\n[Optim]\nSteps=12\n\n[Env]\nType=1\n[Other]\nx=y\n\x1A");
    {
        IniFile ini(Path());
        ini.WriteInteger("ENV", "type", 2);
        ini.WriteFloat("Env", "AntHeight", 12.5);
        ini.WriteString("Recent File", "File1", "a.kva");
        ASSERT_TRUE(ini.UpdateFile());
    }
    std::string c = Content();
    EXPECT_NE(c.find("; my settings\r\n"), std::string::npos);
    EXPECT_NE(c.find("[Optim]\r\nSteps=12\r\n"), std::string::npos);
    EXPECT_NE(c.find("[Env]\r\nType=2\r\nAntHeight=12.5\r\n"), std::string::npos);
    EXPECT_NE(c.find("[Other]\r\nx=y\r\n"), std::string::npos);
    EXPECT_NE(c.find("[Recent File]\r\nFile1=a.kva\r\n"), std::string::npos);
    EXPECT_EQ(c.find('\x1A'), std::string::npos);
    IniFile again(Path());
    EXPECT_EQ(again.ReadInteger("Env", "Type", 0), 2);
    EXPECT_EQ(again.ReadString("Optim", "Steps", ""), "12");
}

TEST_F(IniFileTest, FloatsRoundTripWithPointWhateverTheLocale) {
    IniFile ini(Path());
    ini.WriteFloat("UsMater", "UserLO", 1.7);
    ini.WriteFloat("Env", "RadialRadius", 0.0008);
    ini.WriteFloat("Env", "Tiny", 1e-12);
    ini.WriteBool("GrSetUp", "LnThick", true);
    ASSERT_TRUE(ini.UpdateFile());
    std::string c = Content();
    EXPECT_NE(c.find("UserLO=1.7\r\n"), std::string::npos);
    EXPECT_NE(c.find("RadialRadius=0.0008\r\n"), std::string::npos);
    EXPECT_NE(c.find("LnThick=1\r\n"), std::string::npos);
    IniFile back(Path());
    EXPECT_DOUBLE_EQ(back.ReadFloat("Env", "Tiny", 0), 1e-12);
    EXPECT_DOUBLE_EQ(back.ReadFloat("UsMater", "UserLO", 0), 1.7);
    EXPECT_EQ(IniFile::FloatText(20.0), "20");
}

TEST_F(IniFileTest, DeleteAndEraseRemoveEntries) {
    IniFile ini(Path());
    ini.WriteString("A", "k1", "1");
    ini.WriteString("A", "k2", "2");
    ini.WriteString("B", "k", "3");
    ini.DeleteKey("a", "K1");
    ini.EraseSection("b");
    EXPECT_FALSE(ini.ValueExists("A", "k1"));
    EXPECT_EQ(ini.ReadSection("A"), std::vector<std::string>{"k2"});
    EXPECT_FALSE(ini.SectionExists("B"));
}

TEST_F(IniFileTest, FailedWriteIsReportedAndLeavesNoDebris) {
    IniFile missingFolder(dir_.filePath("no/such/folder/Korva.ini").toStdString());
    missingFolder.WriteInteger("Env", "Type", 2);
    EXPECT_FALSE(missingFolder.UpdateFile());
    EXPECT_TRUE(missingFolder.Modified());

    // A target that cannot be replaced (a folder) fails even for root.
    QDir(dir_.path()).mkpath("Blocked.ini/inner");
    IniFile blocked(dir_.filePath("Blocked.ini").toStdString());
    blocked.WriteInteger("Env", "Type", 2);
    EXPECT_FALSE(blocked.UpdateFile());
    EXPECT_TRUE(QFileInfo(dir_.filePath("Blocked.ini")).isDir());
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 0);
}

TEST_F(IniFileTest, ValuesCannotBreakTheLineStructure) {
    IniFile ini(Path());
    ini.WriteString("A", "k", "one\r\n[B]\r\nx=1");
    ASSERT_TRUE(ini.UpdateFile());
    IniFile back(Path());
    EXPECT_FALSE(back.SectionExists("B"));
}

TEST_F(IniFileTest, HostileContentAndProtectedFilesKeepWhatTheyHold) {
    // Two byte order marks: the first section is still found.
    Write("\xEF\xBB\xBF\xEF\xBB\xBF[Env]\r\nPMAX=4096\r\n");
    EXPECT_EQ(IniFile(Path()).ReadInteger("Env", "PMAX", 100), 4096);

    // Values at the edges of the double range and texts with outer line
    // breaks read back as written (a break as a blank).
    const double reals[] = {1.7976931348623157e308, -1.7976931348623157e308, 4.9e-324, 0.1 + 0.2, 14.15};
    const std::pair<const char*, const char*> texts[] = {{"\nlead", " lead"}, {"trail\r\n", "trail  "}, {"\n", " "}};
    {
        IniFile ini(Path());
        for (std::size_t i = 0; i < std::size(reals); ++i) ini.WriteFloat("R", "k" + std::to_string(i), reals[i]);
        for (std::size_t i = 0; i < std::size(texts); ++i) ini.WriteString("T", "k" + std::to_string(i), texts[i].first);
        ASSERT_TRUE(ini.UpdateFile());
    }
    IniFile back(Path());
    for (std::size_t i = 0; i < std::size(reals); ++i) EXPECT_EQ(back.ReadFloat("R", "k" + std::to_string(i), 0), reals[i]);
    for (std::size_t i = 0; i < std::size(texts); ++i)
        EXPECT_EQ(back.ReadString("T", "k" + std::to_string(i), "?"), texts[i].second) << i;
    EXPECT_EQ(IniFile::FloatText(14.15), "14.15");

    // A link is written through, the mode kept; a read-only file is refused.
    const std::string real = dir_.filePath("real.ini").toStdString();
    ASSERT_TRUE(QFile::rename(QString::fromStdString(Path()), QString::fromStdString(real)));
    ASSERT_TRUE(QFile::link(QString::fromStdString(real), QString::fromStdString(Path())));
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    IniFile linked(Path());
    linked.WriteInteger("Env", "PMAX", 512);
    ASSERT_TRUE(linked.UpdateFile());
    EXPECT_TRUE(QFileInfo(QString::fromStdString(Path())).isSymLink());
    EXPECT_EQ(IniFile(real).ReadInteger("Env", "PMAX", 0), 512);
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_EQ(::chmod(real.c_str(), 0444), 0);
    linked.WriteInteger("Env", "PMAX", 64);
    EXPECT_FALSE(linked.UpdateFile());
    EXPECT_EQ(IniFile(real).ReadInteger("Env", "PMAX", 0), 512);
}

}  // namespace
