// A settings file of garbage, of absurd values or in the way of itself: the
// window starts, calculates over real ground, draws and closes all the same.
#include "MonkeyFixture.h"

#include <QDir>
#include <QFile>
#include <QRadioButton>

#include <sys/stat.h>

class BrokenSettingsTest : public MonkeyTest {
protected:
    void WriteSettingsFile(const QByteArray& bytes) {
        QFile f(SettingsPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    // Starts the program, calculates the dipole over real ground, visits
    // every tab and closes.
    void StartUseAndClose(const std::string& what) {
        Open();
        EnvDef.PMAX = std::min(EnvDef.PMAX, 160);
        ASSERT_TRUE(CheckInvariants(what + ": start"));
        OpenDipole();
        wnd->CalcSel->Button(GroundReal)->click();
        TypeField(wnd->AntHeight, "10");
        ASSERT_TRUE(PressStart(what));
        for (int tab = 0; tab < 4; ++tab) wnd->Page->setCurrentIndex(tab);
        wnd->resize(900, 700);
        QApplication::processEvents();
        ASSERT_TRUE(CheckInvariants(what + ": tabs"));
        prompter.Clear();
        prompter.AnswerMessage(BoxNo);  // the ground chosen is not kept
        EXPECT_TRUE(wnd->close()) << what << ": " << Shown();
    }
};

TEST_F(BrokenSettingsTest, GarbageAndAbsurdValuesAreSurvived) {
    std::mt19937 rng(5);
    QByteArray noise;
    for (int i = 0; i < 4000; ++i) noise.append(static_cast<char>(rng() % 256));
    WriteSettingsFile(noise);
    StartUseAndClose("noise");

    WriteSettingsFile(
        "[Language]\r\nlangua=2147483647\r\n[Position]\r\nLeft=-99999999\r\nTop=99999999\r\nWidth=0\r\n"
        "Height=-5\r\nTab=7\r\nToolBar=x\r\n[H/V]\r\nKHScr=1e308\r\n[View]\r\nMaxMast=-1\r\n"
        "[Directory]\r\nANT=/nonexistent/\xff\xfe\r\nRES=\r\nUser1Prog=/bin/false\r\n"
        "[Env]\r\nType=-3\r\nAntHeight=nan\r\nMediaMax=99\r\nMediaType=5\r\nRadialCount=-7\r\n"
        "RadialRadius=-1\r\nPMAX=0\r\nFontSize=99\r\n"
        "[Job]\r\nAnt3D=-1\r\nIntPos=99\r\nCurDir=-5\r\nFixFreeAngle=7\r\nWindowState=9\r\n"
        "[Recent File]\r\nMax=-3\r\nOnlyKVA=2\r\nFile1=\r\nFile2=/\r\nFile3=\xff\xfe.kva\r\n"
        "[Font]\r\nName=\r\n[GrSetUp]\r\nLnThick=maybe\r\n[UsMater]\r\nUserLO=1e308\r\nUserUS=-1\r\n"
        "[Plot]\r\nOrient=45\r\n");
    StartUseAndClose("absurd values");

    // Ground media no ground has, with room for the calculation to run.
    WriteSettingsFile(
        "[Env]\r\nType=2\r\nMediaMax=3\r\nMediaType=1\r\nRadialCount=10000\r\nRadialRadius=1e300\r\n"
        "PMAX=200\r\nDieleciric1=0\r\nConductivity1=0\r\nCoord1=-1e308\r\nHeight1=1e308\r\n"
        "Dieleciric2=-5\r\nConductivity2=1e308\r\nCoord2=0\r\nHeight2=-1e308\r\n");
    StartUseAndClose("absurd ground");
}

TEST_F(BrokenSettingsTest, ASettingsPathThatIsAFolderIsReportedAtTheClose) {
    ASSERT_TRUE(QDir().mkpath(SettingsPath()));
    Open();
    ASSERT_TRUE(CheckInvariants("folder in the way"));
    prompter.Clear();
    EXPECT_TRUE(wnd->close());
    ASSERT_FALSE(prompter.ShownBoxes().empty());
    EXPECT_NE(prompter.Last().text.find("Unable to write"), std::string::npos) << Shown();
}

TEST_F(BrokenSettingsTest, ASettingsPathThatIsAPipeDoesNotStopTheStart) {
    ASSERT_EQ(::mkfifo(SettingsPath().toLocal8Bit().constData(), 0600), 0);
    StartUseAndClose("pipe");
}
