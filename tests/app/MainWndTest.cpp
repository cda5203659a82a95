// The main window: its components, a new antenna's defaults, the field
// transfer and the after-edit routines.
#include "MainWndFixture.h"
#include "model/FedDipole.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/LanguageState.h"
#include "editing/ElementView.h"
#include "editing/StackDlgBox.h"
#include "editing/WireCadDlg.h"
#include "views/OpenGLForm.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <cstring>

TEST_F(MainWndTest, HasTheComponentsByName) {
    for (const char* name : {"Page", "TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4", "Grid1", "Grid2", "Grid3",
                             "Grid4", "AntName", "Freq", "DoFreq", "EditDM1", "EditDM2", "EditEC", "EditSC",
                             "CalcSel", "AntHeight", "MaterialSel", "CalTrgBtn", "ACalBtn", "WireCnt", "CurCnt",
                             "LoadCnt", "ViewImage", "DNImage", "WaveSel", "ToolBar1", "EditPop", "PopupLoad",
                             "PopupAnt"})
        EXPECT_NE(wnd->findChild<QObject*>(name), nullptr) << name;
    EXPECT_EQ(wnd->Page->count(), 4);
    EXPECT_EQ(wnd->Freq->count(), 30);
    EXPECT_EQ(wnd->Freq->itemText(0), "1.825");
    EXPECT_EQ(wnd->Freq->itemText(29), "1295.000");
    EXPECT_EQ(wnd->DoFreq->count(), 30);
    EXPECT_EQ(wnd->MaterialSel->count(), 9);
}

TEST_F(MainWndTest, MenuItemsKeepTheirTagsAndLaterCommandsAreDisabled) {
    struct { const char* name; int tag; } items[] = {
        {"K13", 21}, {"K7", 21}, {"K14", 22}, {"K9", 22}, {"K27", 23}, {"KR1", 23}, {"K28", 24}, {"KM2", 24},
        {"KT2", 25}, {"KT3", 25}, {"K33", 26}, {"KS4", 27}, {"K45", 28}, {"KC3", 28}, {"K23", 2}, {"K26", 5},
        {"KXY1", 1}, {"KXZ1", 2}, {"KYZ1", 3}, {"User3Menu", 3}, {"K42", 1}, {"K44", 3}, {"KWeb5", 5}};
    for (const auto& it : items) {
        auto* a = wnd->findChild<QAction*>(it.name);
        ASSERT_NE(a, nullptr) << it.name;
        EXPECT_EQ(a->property("tag").toInt(), it.tag) << it.name;
    }
    EXPECT_EQ(wnd->KT2->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    EXPECT_EQ(wnd->K13->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    EXPECT_FALSE(wnd->K15->isEnabled());
    EXPECT_TRUE(wnd->K21->isEnabled());
    EXPECT_TRUE(wnd->K10->isEnabled());
    EXPECT_TRUE(wnd->KS1->isEnabled());
    EXPECT_FALSE(wnd->Reopen->menuAction()->isEnabled());
}

TEST_F(MainWndTest, NewAntennaShowsTheDefaults) {
    EXPECT_EQ(wnd->AntName->text(), "");
    EXPECT_EQ(wnd->Freq->currentText(), "14.15");
    EXPECT_EQ(wnd->DoFreq->currentText(), "14.15");
    EXPECT_EQ(wnd->EditDM1->currentText(), "800");
    EXPECT_EQ(wnd->EditDM2->currentText(), "80");
    EXPECT_EQ(wnd->EditEC->currentText(), "1");
    EXPECT_EQ(wnd->EditSC->currentText(), "2");
    EXPECT_TRUE(wnd->AutoVol->isChecked());
    EXPECT_TRUE(wnd->EnbLoad->isChecked());
    EXPECT_EQ(wnd->Grid2->RowCount(), 2);
    EXPECT_EQ(wnd->Grid3->RowCount(), 2);
    EXPECT_EQ(wnd->Grid4->RowCount(), 2);
    EXPECT_EQ(wnd->windowTitle(), "KORVA-TEZ");
    EXPECT_EQ(wnd->WireCnt->text(), "Wire 0");
    EXPECT_EQ(wnd->Ant.nH, 1);
    EXPECT_EQ(RearAzimuth(EnvDef.AzEl), 120);
    EXPECT_EQ(RearElevation(EnvDef.AzEl), 60);
    EXPECT_DOUBLE_EQ(EnvDef.Z0R, 50.0);
    EXPECT_NEAR(wnd->Ant.hSpacing, 299.792458 / 14.15, 1e-9);
    EXPECT_EQ(wnd->CalcAnt, &wnd->Ant);
    // Without wires and sources nothing can be calculated or saved.
    EXPECT_FALSE(wnd->CalTrgBtn->isEnabled());
    EXPECT_FALSE(wnd->K4->isEnabled());
}

TEST_F(MainWndTest, ResetRecordsBringsBackEveryRecordOfTheStart) {
    wnd.reset();
    UserProgramSlots[0].Path = "viewer";
    LanguageIndex = 2;
    LanguageText = "deutsch";
    CopyText(MainMessages[0], "Hallo");
    WireCadZoomPosition = 10;
    ScreenSlot[1].Valid = true;
    ElementViewState.A = 5;
    CopyText(StackMessages[0], "Zu viele Drähte!");
    GLElevStep = 10;
    GLAzimStep = 10;
    FirstStart = true;
    TempMemoryText = PreOptimizationText = "antenna";

    ResetRecords();
    EXPECT_TRUE(UserProgramSlots[0].Path.empty());
    EXPECT_EQ(LanguageIndex, -1);
    EXPECT_TRUE(LanguageText.empty());
    EXPECT_STREQ(MainMessages[0], DefaultMainMessages[0]);
    EXPECT_EQ(WireCadZoomPosition, WireCadZoomStart);
    EXPECT_FALSE(ScreenSlot[1].Valid);
    EXPECT_EQ(ElementViewState.A, ElementViewAngles{}.A);
    EXPECT_STREQ(StackMessages[0], "");
    EXPECT_EQ(GLElevStep, GLElevStepStart);
    EXPECT_EQ(GLAzimStep, GLAzimStepStart);
    EXPECT_FALSE(FirstStart);
    EXPECT_TRUE(TempMemoryText.empty() && PreOptimizationText.empty());
    Open();
}

TEST_F(MainWndTest, FieldsAreTakenOnlyWhenAllRead) {
    wnd->Freq->setEditText("7.05");
    wnd->EditDM1->setEditText("0");
    const int dm1 = wnd->Ant.DM1;
    EXPECT_FALSE(wnd->GetAntDef());
    EXPECT_EQ(wnd->Ant.DM1, dm1);
    ASSERT_FALSE(prompter.ShownBoxes().empty());
    EXPECT_EQ(prompter.Last().caption, "Error!!!");

    wnd->EditDM1->setEditText("400");
    wnd->EditSC->setEditText("3.5");
    EXPECT_FALSE(wnd->GetAntDef());
    EXPECT_DOUBLE_EQ(wnd->Ant.SC, 2.0);

    wnd->EditSC->setEditText("1.6");
    wnd->DoFreq->setEditText("abc");
    EXPECT_FALSE(wnd->GetAntDef());

    wnd->DoFreq->setEditText("0");
    wnd->AntHeight->setEditText("x");
    wnd->AntName->setText("Dipole");
    ASSERT_TRUE(wnd->GetAntDef());
    EXPECT_DOUBLE_EQ(wnd->Ant.Freq, 7.05);
    EXPECT_EQ(wnd->Ant.DM1, 400);
    EXPECT_DOUBLE_EQ(wnd->Ant.SC, 1.6);
    EXPECT_STREQ(wnd->Ant.Name, "Dipole");
    // A bad added height becomes 0 without a message.
    EXPECT_DOUBLE_EQ(EnvDef.AntHeight, 0.0);
    EXPECT_EQ(wnd->AntHeight->currentText(), "0");

    wnd->Freq->setEditText("0");
    ASSERT_TRUE(wnd->GetAntDef());
    EXPECT_DOUBLE_EQ(wnd->Ant.Freq, 299.792458);
}

TEST_F(MainWndTest, DesignFrequencyFollowsIntoWavelengthAndSpacings) {
    wnd->Freq->setEditText("7.05");
    EXPECT_EQ(wnd->DoFreq->currentText(), "7.05");
    EXPECT_NEAR(JobDef.Wavelength, 42.52, 0.01);
    EXPECT_NEAR(wnd->Ant.hSpacing, JobDef.Wavelength, 1e-12);
    wnd->EditEC->setEditText("0");
    EXPECT_EQ(wnd->Ant.EC, 1);
}

TEST_F(MainWndTest, SpecialLoadsCountTheirPairsWhenTaken) {
    wnd->Ant.LoadCount = 1;
    LoadRec& l = wnd->Ant.Loads[0];
    l.Type = LoadS;
    l.A[0] = 1;
    l.B[2] = 2.5;
    ASSERT_TRUE(wnd->GetAntDef());
    EXPECT_EQ(l.N, 3);
}

TEST_F(MainWndTest, SourcesMoveBetweenWireEnds) {
    for (int i = 0; i < 3; ++i) wnd->Ant.Wires[i] = WireRec{0, 0, double(i), 1, 0, double(i), 0.001, 5, 0, 0, 0};
    wnd->Ant.WireCount = 3;
    wnd->Ant.SourceCount = 1;
    CopyText(wnd->Ant.Sources[0].Pos, "w3c");
    wnd->SetAntDef();
    char letter = 0;
    EXPECT_EQ(wnd->FindWireSource(&letter, 2), 0);
    EXPECT_EQ(letter, 'C');
    EXPECT_EQ(wnd->FindWireSource(nullptr, 1), -1);

    wnd->Grid2->SetCurrentCell(1, 3);
    wnd->AddWireSource('b');
    ASSERT_EQ(wnd->Ant.SourceCount, 1);
    EXPECT_STREQ(wnd->Ant.Sources[0].Pos, "w3b");
    EXPECT_DOUBLE_EQ(wnd->Ant.Sources[0].Voltage, 1.0);
    EXPECT_EQ(wnd->CurCnt->text(), "Source 1");

    wnd->DeleteSource(0);
    wnd->DeleteSource(2);
    EXPECT_EQ(wnd->Ant.SourceCount, 1);
    wnd->DeleteSource(1);
    EXPECT_EQ(wnd->Ant.SourceCount, 0);
}

TEST_F(MainWndTest, StackingBuildsAHeapCopyAndFreesIt) {
    MakeFedDipole(wnd->Ant, WireRec{-5, 0, 10, 5, 0, 10, 0.001, 11, 0, 0, 0});
    wnd->Ant.nH = 2;
    wnd->Ant.nV = 2;
    wnd->PrepareCalcAnt();
    ASSERT_NE(wnd->CalcAnt, &wnd->Ant);
    EXPECT_EQ(wnd->CalcAnt->WireCount, 4);
    EXPECT_EQ(wnd->CalcAnt->SourceCount, 4);
    EXPECT_DOUBLE_EQ(wnd->CalcAnt->Sources[3].Voltage, 0.25);
    EXPECT_STREQ(wnd->CalcAnt->Sources[3].Pos, "w4c");

    wnd->Ant.nH = 1;
    wnd->Ant.nV = 1;
    wnd->PrepareCalcAnt();
    EXPECT_EQ(wnd->CalcAnt, &wnd->Ant);
}

TEST_F(MainWndTest, StackBeyondTheRecordIsRefusedInRed) {
    for (int i = 0; i < 300; ++i) wnd->Ant.Wires[i] = WireRec{0, double(i), 1, 1, double(i), 1, 0.001, 3, 0, 0, 0};
    wnd->Ant.WireCount = 300;
    wnd->Ant.nH = 2;
    EXPECT_EQ(wnd->PrepareCalcAnt(), 0);
    EXPECT_EQ(wnd->CalcAnt, &wnd->Ant);
    EXPECT_TRUE(wnd->LogFailed());
    ASSERT_FALSE(wnd->LogLines().isEmpty());
    EXPECT_TRUE(wnd->LogLines().last().contains("512"));
}

TEST_F(MainWndTest, ResizeScalesControlsAndFonts) {
    EnvDef.FontSize = 1;
    const QRect before = wnd->Grid2->geometry();
    wnd->resize(1170, 816);
    QApplication::processEvents();
    QTest::qWait(150);
    EXPECT_EQ(wnd->font().pointSize(), 17);  // round(11 x 1.5)
    EXPECT_GT(wnd->Grid2->width(), before.width());
    EXPECT_GT(wnd->Grid2->ColWidth(1), 82);
    EnvDef.FontSize = 0;
}

TEST_F(MainWndTest, NamesKeepTheirLettersAndFitTheRecord) {
    wnd->AntName->setText(QString::fromUtf8("Antenne für 20 m"));
    ASSERT_TRUE(wnd->GetAntDef());
    wnd->SetAntDef();
    EXPECT_EQ(wnd->AntName->text(), QString::fromUtf8("Antenne für 20 m"));
    EXPECT_EQ(wnd->AntName3->text(), QString::fromUtf8("Antenne für 20 m"));

    // 100 two-byte letters do not fit 128 bytes; the cut falls between letters.
    wnd->AntName->setText(QString(100, QChar(0x00FC)));
    ASSERT_TRUE(wnd->GetAntDef());
    EXPECT_EQ(std::strlen(wnd->Ant.Name), 128u);
    wnd->SetAntDef();
    EXPECT_EQ(wnd->AntName->text(), QString(64, QChar(0x00FC)));
}
