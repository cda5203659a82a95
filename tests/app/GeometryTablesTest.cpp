// The geometry tables as a user types into them: appending, expressions,
// wavelength units, connected ends, loads and sources, and full tables.
#include "MainWndFixture.h"
#include "model/EnvDef.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <cmath>

TEST_F(MainWndTest, TypingIntoTheEmptyRowAppendsAWire) {
    Type(wnd->Grid2, 1, 1, "1+2");
    ASSERT_EQ(wnd->Ant.WireCount, 1);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].X1, 3.0);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].R, 0.0008);
    EXPECT_EQ(wnd->Ant.Wires[0].Seg, -1);
    EXPECT_EQ(wnd->Grid2->RowCount(), 3);
    EXPECT_EQ(wnd->WireCnt->text(), "Wire 1");
    EXPECT_EQ(wnd->Grid2->Cells(1, 1), "3.0");

    Type(wnd->Grid2, 7, 1, "2");
    Type(wnd->Grid2, 8, 1, "21");
    Type(wnd->Grid2, 3, 2, "4");
    ASSERT_EQ(wnd->Ant.WireCount, 2);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[1].R, 0.002);
    EXPECT_EQ(wnd->Ant.Wires[1].Seg, 21);
    EXPECT_EQ(wnd->Ant.Changed, 1);
    EXPECT_EQ(wnd->Ant.Edited, 1);
}

TEST_F(MainWndTest, ABadNumberKeepsTheOldValue) {
    Type(wnd->Grid2, 1, 1, "5");
    Type(wnd->Grid2, 1, 1, "abc");
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].X1, 5.0);
    EXPECT_EQ(wnd->Grid2->Cells(1, 1), "5.0");
    Type(wnd->Grid2, 2, 2, "x");
    EXPECT_EQ(wnd->Ant.WireCount, 1);
}

TEST_F(MainWndTest, WavelengthUnitsConvertInputAndHeads) {
    wnd->Freq->setEditText(QString::number(299.792458 / 20.0, 'g', 15));
    ASSERT_NEAR(JobDef.Wavelength, 20.0, 1e-9);
    wnd->ChkRmd->click();
    EXPECT_EQ(JobDef.InWavelengths, 1);
    EXPECT_EQ(wnd->Grid2->Cells(4, 0), "X2(wl)");
    Type(wnd->Grid2, 4, 1, "0.5");
    EXPECT_NEAR(wnd->Ant.Wires[0].X2, 10.0, 1e-9);
    // The radius 0.8 mm is 4e-5 wavelengths.
    EXPECT_NEAR(wnd->Grid2->Cells(7, 1).toDouble(), 4e-5, 1e-9);
    wnd->ChkRmd->click();
    EXPECT_EQ(wnd->Grid2->Cells(4, 0), "X2(m)");
}

TEST_F(MainWndTest, KeepConnectMovesTouchingEnds) {
    wnd->Ant.Wires[0] = WireRec{0, 0, 0, 1, 0, 0, 0.001, 5, 0, 0, 0};
    wnd->Ant.Wires[1] = WireRec{1, 0, 0, 2, 0, 0, 0.001, 5, 0, 0, 0};
    wnd->Ant.WireCount = 2;
    wnd->SetAntDef();
    wnd->ChkWith->setChecked(true);
    Type(wnd->Grid2, 4, 1, "1.5");
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].X2, 1.5);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[1].X1, 1.5);
}

TEST_F(MainWndTest, SourcesAndAutomaticVoltage) {
    Type(wnd->Grid3, 1, 1, "w1c");
    Type(wnd->Grid3, 1, 2, "w2c");
    ASSERT_EQ(wnd->Ant.SourceCount, 2);
    EXPECT_DOUBLE_EQ(wnd->Ant.Sources[0].Voltage, 0.5);
    Type(wnd->Grid3, 3, 1, "7");
    EXPECT_DOUBLE_EQ(wnd->Ant.Sources[0].Voltage, 0.5);
    Type(wnd->Grid3, 2, 1, "90");
    EXPECT_DOUBLE_EQ(wnd->Ant.Sources[0].Phase, 90.0);
    wnd->AutoVol->click();
    Type(wnd->Grid3, 3, 1, "7");
    EXPECT_DOUBLE_EQ(wnd->Ant.Sources[0].Voltage, 7.0);
    // Positions keep at most eight characters.
    Type(wnd->Grid3, 1, 2, "w123456789");
    EXPECT_STREQ(wnd->Ant.Sources[1].Pos, "w1234567");
}

TEST_F(MainWndTest, LcLoadsKeepTheirResonance) {
    Type(wnd->Grid4, 1, 1, "w1c");
    ASSERT_EQ(wnd->Ant.LoadCount, 1);
    EXPECT_EQ(wnd->Grid4->Cells(2, 1), "LC");
    Type(wnd->Grid4, 3, 1, "1");
    Type(wnd->Grid4, 4, 1, "100");
    EXPECT_NEAR(wnd->Grid4->Cells(6, 1).toDouble(), 15.915, 0.001);
    Type(wnd->Grid4, 3, 1, "2");
    EXPECT_NEAR(wnd->Ant.Loads[0].B[0], 50.0, 1e-9);
    Type(wnd->Grid4, 6, 1, "10");
    EXPECT_NEAR(wnd->Ant.Loads[0].A[0], 5.066, 0.001);
    EXPECT_EQ(wnd->Grid4->Cells(3, 0), "L(uH)");
}

TEST_F(MainWndTest, TypeColumnOpensThePopupAndSClearsCoefficients) {
    Type(wnd->Grid4, 1, 1, "w1c");
    Type(wnd->Grid4, 3, 1, "4");
    EXPECT_FALSE(EditorOpens(wnd->Grid4, 2, 1));
    wnd->PopupLoad->hide();
    wnd->Grid4->SetCurrentCell(2, 1);
    wnd->KS3->trigger();
    EXPECT_EQ(wnd->Ant.Loads[0].Type, LoadS);
    EXPECT_DOUBLE_EQ(wnd->Ant.Loads[0].A[0], 0.0);
    EXPECT_EQ(wnd->Grid4->Cells(9, 0), "A3");
    EXPECT_EQ(wnd->Grid4->Cells(10, 0), "B3");
    Type(wnd->Grid4, 9, 1, "5");
    EXPECT_DOUBLE_EQ(wnd->Ant.Loads[0].A[3], 5.0);
    Type(wnd->Grid4, 9, 1, "nonsense");
    EXPECT_DOUBLE_EQ(wnd->Ant.Loads[0].A[3], 0.0);

    // The popup on the empty row appends a load of the chosen type.
    wnd->Grid4->SetCurrentCell(2, 2);
    wnd->KS2->trigger();
    ASSERT_EQ(wnd->Ant.LoadCount, 2);
    EXPECT_EQ(wnd->Ant.Loads[1].Type, LoadRX);
    EXPECT_EQ(wnd->Grid4->Cells(4, 0), "jX(Ohm)");
}

TEST_F(MainWndTest, FullTablesOpenNoEditorOnTheirEmptyRow) {
    for (int i = 0; i < MaxWires; ++i) wnd->Ant.Wires[i] = WireRec{0, 0, double(i), 1, 0, double(i), 0.001, 1, 0, 0, 0};
    wnd->Ant.WireCount = MaxWires;
    wnd->Ant.LoadCount = MaxLoads;
    wnd->Ant.SourceCount = MaxSources;
    wnd->SetAntDef();
    EXPECT_EQ(wnd->Grid2->RowCount(), MaxWires + 2);
    EXPECT_FALSE(EditorOpens(wnd->Grid2, 1, MaxWires + 1));
    EXPECT_TRUE(EditorOpens(wnd->Grid2, 1, MaxWires));
    EXPECT_FALSE(EditorOpens(wnd->Grid3, 1, MaxSources + 1));
    EXPECT_FALSE(EditorOpens(wnd->Grid4, 1, MaxLoads + 1));
    wnd->Grid4->SetCurrentCell(2, MaxLoads + 1);
    wnd->KS3->trigger();
    EXPECT_EQ(wnd->Ant.LoadCount, MaxLoads);
    EXPECT_EQ(wnd->Ant.WireCount, MaxWires);
}

TEST_F(MainWndTest, ATypedCommaBecomesAPoint) {
    Type(wnd->Grid2, 1, 1, "2,5");
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].X1, 2.5);
    wnd->Freq->lineEdit()->clear();
    QTest::keyClicks(wnd->Freq->lineEdit(), "7,1");
    EXPECT_EQ(wnd->Freq->currentText(), "7.1");
}
