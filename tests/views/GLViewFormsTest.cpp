// The settings section of the 3D view and its step and colour forms, driven
// without showing the view.
#include "app/Settings.h"
#include "platform/IniFile.h"
#include "views/AVEZForm.h"
#include "views/GLColForm.h"
#include "views/GLViewSettings.h"
#include "views/OpenGLForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>

namespace {

class GLViewForms : public ::testing::Test {
protected:
    void SetUp() override {
        SettingsPathOverride = dir.filePath("Korva.ini").toStdString();
        GLElevStep = 3;
        GLAzimStep = 6;
    }
    void TearDown() override {
        delete OpenGL_Form;
        OpenGL_Form = nullptr;
        SettingsPathOverride.clear();
    }
    void WriteIni(const std::string& text) {
        std::ofstream(SettingsPathOverride, std::ios::binary) << text;
    }
    void OpenView() {
        OpenGL_Form = new TOpenGL_Form([] { return static_cast<const AntDef*>(nullptr); }, QString());
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(GLViewForms, MissingSectionGivesTheDefaults) {
    GLViewSettings s;
    s.Width = 600;
    IniFile ini(SettingsPathOverride);
    ReadGLViewSettings(ini, s);
    EXPECT_EQ(s.Width, 600);
    EXPECT_DOUBLE_EQ(s.Aspect, 0.965);
    EXPECT_EQ(s.LineWidth, 2);
    EXPECT_TRUE(s.AntennaVisible);
    EXPECT_TRUE(s.BlackFont);
    EXPECT_EQ(s.Antenna.g, 140);
    EXPECT_EQ(s.Slice.r, 150);
}

TEST_F(GLViewForms, GarbageValuesAreClampedOrIgnored) {
    WriteIni("[GLForm]\r\nthik=77\r\nH/V=0\r\nPCrd=999\r\nBGCgr=abc\r\nWidth=-5\r\n");
    GLViewSettings s;
    IniFile ini(SettingsPathOverride);
    ReadGLViewSettings(ini, s);
    EXPECT_EQ(s.LineWidth, 4);
    EXPECT_DOUBLE_EQ(s.Aspect, 0.965);
    EXPECT_EQ(s.Plot.r, 255);
    EXPECT_EQ(s.Background.g, 255);
    EXPECT_EQ(s.Width, 0);
}

TEST_F(GLViewForms, MaximizedWindowKeepsItsPreviousBox) {
    WriteIni("[GLForm]\r\nLeft=10\r\nTop=20\r\nWidth=700\r\nHeight=500\r\n");
    GLViewSettings s;
    s.Maximized = true;
    s.Width = 1920;
    {
        IniFile ini(SettingsPathOverride);
        WriteGLViewSettings(ini, s);
        ASSERT_TRUE(ini.UpdateFile());
    }
    IniFile ini(SettingsPathOverride);
    EXPECT_EQ(ini.ReadInteger("GLForm", "Width", 0), 700);
    EXPECT_EQ(ini.ReadInteger("GLForm", "WState", 0), 2);
    EXPECT_EQ(ini.ReadInteger("GLForm", "FontCl", 0), 1);
}

TEST_F(GLViewForms, SettingsSwitchTheMenuItems) {
    WriteIni("[GLForm]\r\nAntVis=0\r\nthik=3\r\nHCentr=1\r\n");
    OpenView();
    EXPECT_FALSE(OpenGL_Form->M3->isChecked());
    EXPECT_FALSE(OpenGL_Form->M4->isEnabled());
    EXPECT_FALSE(OpenGL_Form->M5->isEnabled());
    EXPECT_FALSE(OpenGL_Form->M6->menuAction()->isEnabled());
    EXPECT_TRUE(OpenGL_Form->M5->isChecked());
    EXPECT_TRUE(OpenGL_Form->WidthItems[2]->isChecked());
    OpenGL_Form->M3->trigger();
    EXPECT_TRUE(OpenGL_Form->Settings.AntennaVisible);
    EXPECT_TRUE(OpenGL_Form->M4->isEnabled());
    EXPECT_EQ(OpenGL_Form->windowTitle(), "3D Far field");
    EXPECT_EQ(OpenGL_Form->M1->text(), "Setup");
    EXPECT_EQ(OpenGL_Form->M5->text(), "H/2 = middle point");
}

TEST_F(GLViewForms, ClosingWritesTheSectionAndClearsThePointer) {
    OpenView();
    OpenGL_Form->x1Click(4);
    OpenGL_Form->Settings.Plot = GLColour{10, 20, 30};
    OpenGL_Form->close();
    EXPECT_EQ(OpenGL_Form, nullptr);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    IniFile ini(SettingsPathOverride);
    EXPECT_EQ(ini.ReadInteger("GLForm", "thik", 0), 4);
    EXPECT_EQ(ini.ReadInteger("GLForm", "PCgr", 0), 20);
    EXPECT_EQ(ini.ReadInteger("GLForm", "AtCbl", 0), 255);
}

TEST_F(GLViewForms, StepFormShowsPointCountsAndIgnoresTyping) {
    TAVEZForm form(nullptr);
    GLElevStep = 0;
    GLAzimStep = 36;
    form.FormShow();
    EXPECT_EQ(GLElevStep, 3);
    EXPECT_EQ(form.AzGB->title(), "Azim. points = 10");
    EXPECT_EQ(form.EvGB->title(), "Elev. points = 30");
    EXPECT_EQ(form.AzLabel->text(), "Azimuth step");
    form.EvEditCB->setCurrentIndex(form.EvEditCB->findText("9"));
    EXPECT_EQ(GLElevStep, 9);
    EXPECT_EQ(form.EvGB->title(), "Elev. points = 10");
    QTest::keyClicks(form.AzEditCB, "7");
    EXPECT_EQ(GLAzimStep, 36);
    EXPECT_EQ(form.AzEditCB->currentText(), "36");
}

TEST_F(GLViewForms, ColourFormEditsTheViewColoursLive) {
    OpenView();
    TGLColForm form(OpenGL_Form);
    form.FormShow();
    EXPECT_TRUE(form.FontCb->isChecked());
    EXPECT_EQ(form.RColV->value(), 40);  // plot 200
    form.RColV->setValue(51);
    EXPECT_EQ(OpenGL_Form->Settings.Plot.r, 255);
    EXPECT_EQ(form.RLabel->text(), "Red 255");
    form.RBAN->click();
    EXPECT_EQ(form.Target, 4);
    EXPECT_EQ(form.GColV->value(), 28);  // antenna 140
    form.BColV->setValue(0);
    EXPECT_EQ(OpenGL_Form->Settings.Antenna.b, 0);
    EXPECT_EQ(OpenGL_Form->Settings.Plot.b, 200);
    form.FontCb->click();
    EXPECT_FALSE(OpenGL_Form->Settings.BlackFont);
}
