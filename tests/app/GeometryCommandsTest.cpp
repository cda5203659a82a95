// The Edit menu's exchange of axes and rounding, the exchange of a wire's
// ends, and the source commands of the antenna view's popup.
#include "MainWndFixture.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "optimizer/OptimizerState.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QSpinBox>

namespace {

class GeometryCommandsTest : public MainWndTest {
protected:
    void SetUp() override {
        MainWndTest::SetUp();
        ApplyDefaultMessages();
        wnd->Ant.Wires[0] = WireRec{-2.5, 0, 10, 2.5, 0, 10, 0.00123456, 11, 0, 0, 0};
        wnd->Ant.Wires[1] = WireRec{-2.25, 1.234, 10, 2.25, 1.234, 10, 0.001, 11, 0, 0, 0};
        wnd->Ant.WireCount = 2;
        wnd->SetAntDef();
        wnd->UpdateCount();
        wnd->UpdateMenuState();
    }
    void TearDown() override {
        JobDef.InWavelengths = 0;
        MainWndTest::TearDown();
    }
    void SelectWire(int wire) {
        wnd->Grid2->SetCurrentCell(1, wire);
        wnd->SelWirSpEd->setMaximum(wnd->Ant.WireCount);
        wnd->SelWirSpEd->setValue(wire);
    }
    void AddSources(int count) {
        for (int i = 0; i < count; ++i) {
            CopyText(wnd->Ant.Sources[i].Pos, "w2c");
            wnd->Ant.Sources[i].Voltage = 1;
        }
        wnd->Ant.SourceCount = count;
    }
};

}  // namespace

TEST_F(GeometryCommandsTest, AxisZMakesTheDipoleVerticalOnlyAfterYes) {
    prompter.AnswerMessage(BoxNo);
    wnd->KXZ1->trigger();
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].X1, -2.5);
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().text, MainMessages[MsgAllCoordsChange]);
    EXPECT_EQ(prompter.Last().caption, "KORVA-TEZ");

    prompter.AnswerMessage(BoxYes);
    wnd->KXZ1->trigger();
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].Z1, -2.5);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].X1, 10.0);
    EXPECT_EQ(wnd->Ant.Changed, 1);
    EXPECT_EQ(wnd->Grid2->Cells(3, 1), "-2.5");

    prompter.AnswerMessage(BoxYes);
    wnd->KXZ1->trigger();
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].X1, -2.5);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].Z2, 10.0);
}

TEST_F(GeometryCommandsTest, RoundingAsksForRadiiFirstAndCutsOnlyAfterYes) {
    prompter.AnswerMessage(BoxNo);   // radii
    prompter.AnswerMessage(BoxYes);  // cut digits
    wnd->K23->trigger();
    ASSERT_GE(prompter.ShownBoxes().size(), 2u);
    const auto& radius = prompter.ShownBoxes()[prompter.ShownBoxes().size() - 2];
    EXPECT_EQ(radius.text, MainMessages[MsgChangeRadius]);
    EXPECT_EQ(radius.caption, "Korva");
    EXPECT_EQ(prompter.Last().text, MainMessages[MsgCutDigits]);
    EXPECT_NEAR(wnd->Ant.Wires[1].Y1, 1.23, 1e-12);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].R, 0.00123456);

    prompter.AnswerMessage(BoxYes);
    prompter.AnswerMessage(BoxNo);
    wnd->K24->trigger();
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].R, 0.00123456);

    prompter.AnswerMessage(BoxYes);
    prompter.AnswerMessage(BoxYes);
    wnd->K24->trigger();  // 3 digits of a millimetre
    EXPECT_NEAR(wnd->Ant.Wires[0].R, 0.001235, 1e-12);
}

TEST_F(GeometryCommandsTest, RoundingInWavelengthsRoundsToHundredthsOfAWavelength) {
    wnd->Freq->setEditText(QString::number(299.792458 / 20.0, 'g', 15));
    wnd->ChkRmd->click();
    ASSERT_EQ(JobDef.InWavelengths, 1);
    prompter.AnswerMessage(BoxNo);
    prompter.AnswerMessage(BoxYes);
    wnd->K23->trigger();
    EXPECT_NEAR(wnd->Ant.Wires[1].Y1, 1.2, 1e-9);  // 0.0617 wl to 0.06 wl
    EXPECT_NEAR(wnd->Ant.Wires[0].Z1, 10.0, 1e-9);  // 0.5 wl stays
}

TEST_F(GeometryCommandsTest, ExchangingEndsOfTheCurrentWire) {
    SelectWire(2);
    wnd->activateWindow();
    wnd->Grid2->setFocus();
    QApplication::processEvents();
    wnd->UpdateMenuState();
    wnd->K35->trigger();
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[1].X1, 2.25);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[1].X2, -2.25);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].X1, -2.5);
    // The empty row names no wire.
    wnd->Grid2->SetCurrentCell(1, 3);
    wnd->K35->setEnabled(true);  // a stale menu state
    wnd->K35->trigger();
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[1].X1, 2.25);
}

TEST_F(GeometryCommandsTest, MovingASourceKeepsItsOffsetAndVoltage) {
    AddSources(1);
    CopyText(wnd->Ant.Sources[0].Pos, "w2b2");
    wnd->Ant.Sources[0].Voltage = 0.7;
    wnd->AutoVol->setChecked(false);
    SelectWire(2);
    wnd->K44->trigger();
    EXPECT_STREQ(wnd->Ant.Sources[0].Pos, "w2e2");
    EXPECT_DOUBLE_EQ(wnd->Ant.Sources[0].Voltage, 0.7);
    EXPECT_EQ(wnd->Ant.SourceCount, 1);
    EXPECT_EQ(wnd->SelWirSpEd->value(), 2);
}

TEST_F(GeometryCommandsTest, MovingToAWireWithoutSourceAddsOneUnlessTheTableIsFull) {
    SelectWire(1);
    wnd->K44->trigger();
    ASSERT_EQ(wnd->Ant.SourceCount, 1);
    EXPECT_STREQ(wnd->Ant.Sources[0].Pos, "w1e");
    EXPECT_DOUBLE_EQ(wnd->Ant.Sources[0].Voltage, 1.0);
    EXPECT_DOUBLE_EQ(wnd->Ant.Sources[0].Phase, 0.0);

    AddSources(MaxSources);
    wnd->K43->trigger();
    EXPECT_EQ(wnd->Ant.SourceCount, MaxSources);
    for (int i = 0; i < MaxSources; ++i) ASSERT_STREQ(wnd->Ant.Sources[i].Pos, "w2c");
}

TEST_F(GeometryCommandsTest, ThePopupOffersWhatTheCurrentWireAllows) {
    SelectWire(2);
    AddSources(1);
    CopyText(wnd->Ant.Sources[0].Pos, "w2b");
    wnd->PopupAntPopup();
    EXPECT_TRUE(wnd->K41->isEnabled());
    EXPECT_TRUE(wnd->K43->isChecked());
    EXPECT_FALSE(wnd->K42->isChecked());
    EXPECT_TRUE(wnd->K40->menuAction()->isEnabled());

    SelectWire(1);
    wnd->PopupAntPopup();
    EXPECT_FALSE(wnd->K41->isEnabled());
    EXPECT_FALSE(wnd->K43->isChecked());
    wnd->Ant.Wires[0].R = 0;  // takes no part in the calculation
    wnd->PopupAntPopup();
    EXPECT_FALSE(wnd->K40->menuAction()->isEnabled());

    wnd->Grid2->SetCurrentCell(1, 3);
    wnd->PopupAntPopup();
    EXPECT_FALSE(wnd->K41->isEnabled());
    EXPECT_FALSE(wnd->K40->menuAction()->isEnabled());
}

// The optimizer's row on the second source follows it to number 1, and goes
// with it when it goes.
TEST_F(GeometryCommandsTest, DeleteSourceRemovesTheCurrentWiresSource) {
    AddSources(1);
    wnd->SetAntDef();
    SelectWire(1);
    wnd->K41->trigger();
    EXPECT_EQ(wnd->Ant.SourceCount, 1);

    AddSources(2);
    CopyText(wnd->Ant.Sources[0].Pos, "w1c");
    wnd->SetAntDef();
    CACal& cal = wnd->OptimizerState();
    cal.SetRowCount(1);
    cal.Row(0).Kind = KindSource;
    cal.Row(0).Item = 1;
    wnd->K41->trigger();
    EXPECT_EQ(wnd->Ant.SourceCount, 1);
    EXPECT_EQ(cal.RowCount(), 1);
    EXPECT_EQ(cal.Row(0).Item, 0);

    SelectWire(2);
    wnd->K41->trigger();
    EXPECT_EQ(wnd->Ant.SourceCount, 0);
    EXPECT_EQ(wnd->Grid3->RowCount(), 2);
    EXPECT_EQ(wnd->SelWirSpEd->value(), 2);
    EXPECT_EQ(cal.RowCount(), 0);
    EXPECT_TRUE(wnd->LogLines().join('|').contains("Optimization line 1 (source 1): it was deleted"))
        << wnd->LogLines().join('|').toStdString();
}

TEST_F(GeometryCommandsTest, NoCommandRunsWhileACalculationRuns) {
    SelectWire(1);
    JobDef.Busy = 1;
    wnd->K35->setEnabled(true);
    wnd->KXY1->trigger();
    wnd->K35->trigger();
    wnd->K44->trigger();
    JobDef.Busy = 0;
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].X1, -2.5);
    EXPECT_EQ(wnd->Ant.SourceCount, 0);
    EXPECT_TRUE(prompter.ShownBoxes().empty());
}
