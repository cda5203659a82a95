// The settings file: first start, the round trip through a close and a new
// start, clamping of damaged values, the recent-files keys and a file that
// cannot be written.
#include "MainWndFixture.h"
#include "model/EnvDef.h"
#include "draw/PolarPlot.h"
#include "platform/IniFile.h"
#include "platform/WindowBox.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include "platform/RadioGroup.h"
#include <QSlider>
#include <QTabWidget>
#include <QToolBar>

namespace {

void WriteIni(const QString& path, const char* text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

}  // namespace

TEST_F(MainWndTest, FirstStartOpensTheTimedAboutBoxOnce) {
    EXPECT_EQ(aboutShown, 1);
    EXPECT_EQ(aboutTimed, 1);
    EXPECT_DOUBLE_EQ(PatternHVScale, 1.0);
    EXPECT_EQ(PatternOrient, 0);
    EXPECT_TRUE(wnd->OrientCB->isChecked());
    EXPECT_TRUE(wnd->ToolBV->isChecked());
    EXPECT_EQ(wnd->font().family(), "Microsoft San Serif");
    EXPECT_DOUBLE_EQ(UserMaterialDef.Resistivity, 0.0);

    wnd->close();
    EXPECT_TRUE(QFileInfo::exists(SettingsPath()));
    Open();
    EXPECT_EQ(aboutShown, 1);
    // From the Help menu the box stays until the user closes it.
    wnd->K10->trigger();
    EXPECT_EQ(aboutShown, 2);
    EXPECT_EQ(aboutTimed, 1);
}

TEST_F(MainWndTest, SettingsAreWrittenOnCloseAndReadBack) {
    EnvDef.Type = GroundReal;
    EnvDef.AntHeight = 12.5;
    EnvDef.MediaMax = 3;
    EnvDef.Dieleciric[2] = 7.5;
    EnvDef.PMAX = 1024;
    EnvDef.FontSize = -2;
    UserMaterialDef.Resistivity = 1.7e-8;
    PatternOrient = 90;
    wnd->ToolBV->trigger();
    wnd->Tabposition1->trigger();
    wnd->Recent.Add("/home/ham/a.kva", true, true);
    wnd->Recent.Add("/home/ham/b.kva", true, true);
    wnd->close();

    IniFile ini(SettingsPath().toStdString());
    EXPECT_EQ(ini.ReadInteger("Env", "Type", -1), 2);
    EXPECT_EQ(ini.ReadString("UsMater", "UserLO", ""), "1.7");
    EXPECT_EQ(ini.ReadString("Recent File", "File1", ""), "/home/ham/b.kva");
    EXPECT_EQ(ini.ReadInteger("Position", "ToolBar", -1), 0);

    EnvDef.Type = 0;
    PatternOrient = 0;
    Open();
    EXPECT_EQ(EnvDef.Type, GroundReal);
    EXPECT_DOUBLE_EQ(EnvDef.AntHeight, 12.5);
    EXPECT_EQ(EnvDef.MediaMax, 3);
    EXPECT_DOUBLE_EQ(EnvDef.Dieleciric[2], 7.5);
    EXPECT_EQ(EnvDef.PMAX, 1024);
    EXPECT_EQ(EnvDef.FontSize, -2);
    EXPECT_NEAR(UserMaterialDef.Resistivity, 1.7e-8, 1e-20);
    EXPECT_EQ(PatternOrient, 90);
    EXPECT_FALSE(wnd->OrientCB->isChecked());
    EXPECT_FALSE(wnd->ToolBar1->isVisibleTo(wnd.get()));
    EXPECT_EQ(wnd->Page->tabPosition(), QTabWidget::South);
    ASSERT_EQ(wnd->Recent.Count(), 2);
    EXPECT_EQ(wnd->Recent.At(0), "/home/ham/b.kva");
    EXPECT_TRUE(wnd->Reopen->menuAction()->isEnabled());
    // The ground choice shows what the file said.
    EXPECT_EQ(wnd->CalcSel->ItemIndex(), 2);
    EXPECT_EQ(aboutShown, 1);
}

TEST_F(MainWndTest, DamagedValuesAreClampedOnReading) {
    WriteIni(SettingsPath(),
             "[Env]\r\nPMAX=99999\r\nMediaMax=50\r\nFontSize=9\r\nType=7\r\nRadialCount=-5\r\n"
             "[Position]\r\nLeft=-50000\r\nTop=-50000\r\nWidth=5\r\nHeight=3\r\nTab=3\r\nToolBar=2\r\n"
             "[Recent File]\r\nMax=99\r\nOnlyKVA=1\r\nFile1=/x/one.kva\r\nFile2=/x/one.kva\r\nFile3=/x/THREE.KVA\r\n"
             "File4=/x/four.kvb\r\n"
             "[View]\r\nMaxMast=abc\r\n");
    Open();
    EXPECT_EQ(EnvDef.PMAX, MaxPulseLimit);
    EXPECT_EQ(EnvDef.MediaMax, MaxMedia);
    EXPECT_EQ(EnvDef.FontSize, 3);
    EXPECT_EQ(EnvDef.Type, 2);
    EXPECT_EQ(EnvDef.RadialCount, 0);
    EXPECT_EQ(JobDef.RecentMax, 10);
    // A box off every screen leaves the window where it was placed.
    EXPECT_GT(wnd->x(), -1000);
    EXPECT_GE(FrameBox(*wnd).width(), 320);
    EXPECT_EQ(wnd->Page->tabPosition(), QTabWidget::North);
    EXPECT_FALSE(wnd->ToolBV->isChecked());
    EXPECT_EQ(wnd->TBarSC->maximum(), 170);
    ASSERT_EQ(wnd->Recent.Count(), 2);
    EXPECT_EQ(wnd->Recent.At(0), "/x/one.kva");
    EXPECT_EQ(wnd->Recent.At(1), "/x/THREE.KVA");
    EXPECT_EQ(aboutShown, 1);  // the fixture's own first start only
}

// Ground media as the media dialog takes them; a value no ground has keeps
// the default, and medium 1 lies at height 0 whatever the file says.
TEST_F(MainWndTest, GroundMediaOutOfRangeKeepTheirDefaults) {
    const struct {
        const char* line;
        const double* field;
        double expected;
    } cases[] = {
        {"Height1=1e10", &EnvDef.Height[0], 0.0},        {"Height1=5", &EnvDef.Height[0], 0.0},
        {"Height2=1e10", &EnvDef.Height[1], 0.0},        {"Height3=-3", &EnvDef.Height[2], -3.0},
        {"Dieleciric1=0", &EnvDef.Dieleciric[0], 13.0},  {"Dieleciric2=1e308", &EnvDef.Dieleciric[1], 13.0},
        {"Dieleciric3=80", &EnvDef.Dieleciric[2], 80.0}, {"Conductivity1=-1", &EnvDef.Conductivity[0], 0.005},
        {"Conductivity2=1e308", &EnvDef.Conductivity[1], 0.005},
        {"Conductivity3=5", &EnvDef.Conductivity[2], 5.0},
        {"Coord1=1e10", &EnvDef.Coord[0], 0.0},          {"Coord2=-40", &EnvDef.Coord[1], -40.0},
    };
    for (const auto& c : cases) {
        WriteIni(SettingsPath(), (std::string("[Env]\r\nType=2\r\nMediaMax=3\r\n") + c.line + "\r\n").c_str());
        Open();
        EXPECT_EQ(*c.field, c.expected) << c.line;
    }
}

TEST_F(MainWndTest, AnUnwritableSettingsFileIsReportedAndTheWindowCloses) {
    // A folder that is really a file cannot take the settings, even for root.
    const QString notAFolder = TempPath("plainfile");
    WriteIni(notAFolder, "x");
    SettingsPathOverride = (notAFolder + "/Korva.ini").toStdString();
    prompter.Clear();
    wnd->close();
    EXPECT_FALSE(wnd->isVisible());
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_NE(prompter.Last().text.find("Unable to write to"), std::string::npos);
}

TEST_F(MainWndTest, AMaximizedWindowKeepsItsStoredBox) {
    WriteIni(SettingsPath(), "[Position]\r\nLeft=40\r\nTop=30\r\nWidth=700\r\nHeight=500\r\n");
    Open();
    EXPECT_EQ(FrameBox(*wnd), QRect(40, 30, 700, 500));
    wnd->showMaximized();
    QApplication::processEvents();
    if (!wnd->isMaximized()) GTEST_SKIP() << "the platform does not maximize";
    wnd->close();
    IniFile ini(SettingsPath().toStdString());
    EXPECT_EQ(ini.ReadInteger("Position", "Width", 0), 700);
    EXPECT_EQ(ini.ReadInteger("Position", "Left", 0), 40);
    EXPECT_EQ(ini.ReadInteger("Job", "WindowState", 0), 2);
    Open();
    EXPECT_TRUE(wnd->isMaximized());
}
