// The change of tab and the commands of the View and far-field tabs: fields
// taken on a tab change, the selected wire and rotation centre, the units
// switch, the field choice and orientation of the plots, tab position and
// toolbar.
#include "MainWndFixture.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "draw/PolarPlot.h"
#include "draw/Projection.h"
#include "platform/RadioGroup.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolBar>
#include <cmath>

namespace {

class Tabs : public MainWndTest {
protected:
    void ShowTab(QWidget* tab) {
        wnd->Page->setCurrentWidget(tab);
        QApplication::processEvents();
    }
    static void TypeInto(QComboBox* box, const QString& text) {
        box->lineEdit()->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), text);
    }
    // Three parallel horizontal wires at heights 0, 2 and 4 m.
    void ThreeWires() {
        for (int i = 0; i < 3; ++i)
            wnd->Ant.Wires[i] = WireRec{0, -5, 2.0 * i, 0, 5, 2.0 * i, 0.001, 11, 0, 0, 0};
        wnd->Ant.WireCount = 3;
        wnd->SetAntDef();
        wnd->PrepareCalcAnt();
    }
    // A pattern that is not symmetric, so that turning or switching it shows.
    static void LopsidedPattern() {
        Results.AngleStep = 1;
        Results.HasFarField = 1;
        for (int p = 0; p < 3; ++p) {
            for (int i = 0; i < 360; ++i)
                Results.AzCut[p][i] = static_cast<float>(-3.0 * p + 5.0 * std::cos(i * M_PI / 180.0));
            for (int i = 0; i < 181; ++i)
                Results.ElevCut[p][i] = static_cast<float>(-3.0 * p + 5.0 * std::sin(i * M_PI / 180.0));
        }
        PatternMaxGain = 5.0;
    }
};

}  // namespace

TEST_F(Tabs, AChangeOfTabTakesTheEditedFields) {
    Results.HasFarField = 1;
    JobDef.Interactive = 0;
    TypeInto(wnd->DoFreq, "7.1");
    ASSERT_EQ(wnd->Ant.Edited, 1);
    ShowTab(wnd->TabSheet3);
    EXPECT_DOUBLE_EQ(wnd->Ant.CalcFreq, 7.1);
    EXPECT_EQ(wnd->Ant.Edited, 0);
    EXPECT_EQ(Results.HasFarField, 0);
    EXPECT_EQ(JobDef.Interactive, 1);
    EXPECT_TRUE(prompter.ShownBoxes().empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(Tabs, NoFieldsAreTakenWhileACalculationRuns) {
    TypeInto(wnd->DoFreq, "7.1");
    // Typing does not take the text; the value before is the design frequency.
    const double before = wnd->Ant.CalcFreq;
    ASSERT_NE(before, 7.1);
    JobDef.Busy = 1;
    ShowTab(wnd->TabSheet3);
    EXPECT_DOUBLE_EQ(wnd->Ant.CalcFreq, before);
    EXPECT_EQ(wnd->Ant.Edited, 1);

    JobDef.Busy = 0;
    ShowTab(wnd->TabSheet1);
    EXPECT_DOUBLE_EQ(wnd->Ant.CalcFreq, 7.1);
}

TEST_F(Tabs, AFieldThatDoesNotReadIsReportedAndKeptPending) {
    TypeInto(wnd->DoFreq, "7.1");
    // Typing does not take the text; the value before is the design frequency.
    const double before = wnd->Ant.CalcFreq;
    ASSERT_NE(before, 7.1);
    TypeInto(wnd->EditSC, "5");
    ShowTab(wnd->TabSheet3);
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().caption, "Error!!!");
    EXPECT_DOUBLE_EQ(wnd->Ant.CalcFreq, before);
    EXPECT_EQ(wnd->Ant.Edited, 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    TypeInto(wnd->EditSC, "2.5");
    ShowTab(wnd->TabSheet1);
    EXPECT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_DOUBLE_EQ(wnd->Ant.CalcFreq, 7.1);
    EXPECT_DOUBLE_EQ(wnd->Ant.SC, 2.5);
    EXPECT_EQ(wnd->Ant.Edited, 0);
}

TEST_F(Tabs, TheViewTabOfAnEmptyAntennaSelectsNoWire) {
    wnd->SelWirSpEd->setValue(0);
    ShowTab(wnd->TabSheet2);
    EXPECT_EQ(wnd->SelWirSpEd->value(), 0);
    EXPECT_EQ(wnd->SelWirSpEd->maximum(), 0);
    EXPECT_DOUBLE_EQ(ViewZoom, 0.7 * 20.0);  // the fit of no wires
}

TEST_F(Tabs, TheViewTabSelectsTheWireOfTheTableAndFitsTheAntenna) {
    ThreeWires();
    ViewZoom = 1000.0;
    ShowTab(wnd->TabSheet2);
    // No wire selected before: the first one.
    EXPECT_EQ(wnd->SelWirSpEd->value(), 1);
    EXPECT_LT(ViewZoom, 1000.0);
    EXPECT_EQ(ViewZoomRef, std::min(wnd->ViewBitmap.width(), wnd->ViewBitmap.height()) / 2);

    ShowTab(wnd->TabSheet1);
    wnd->Grid2->SetRow(3);
    ShowTab(wnd->TabSheet2);
    EXPECT_EQ(wnd->SelWirSpEd->value(), 3);
}

TEST_F(Tabs, TheSelectedWireCentresTheViewOrTheAntennaWhenNone) {
    ThreeWires();
    ShowTab(wnd->TabSheet2);
    wnd->WireCenterRB->click();
    wnd->SelWirSpEd->setValue(3);
    EXPECT_TRUE(ViewCentreOn);
    EXPECT_DOUBLE_EQ(ViewCentre.Z, 4.0);
    EXPECT_EQ(wnd->Grid2->Row(), 3);

    wnd->SelWirSpEd->setValue(0);
    EXPECT_DOUBLE_EQ(ViewCentre.Z, 2.0);  // the middle of the antenna
    EXPECT_DOUBLE_EQ(ViewCentre.Y, 0.0);

    wnd->CenterRb->click();
    EXPECT_FALSE(ViewCentreOn);
    JobDef.PanX = 7;
    wnd->FullWRb->click();
    EXPECT_TRUE(ViewCentreOn);
    EXPECT_DOUBLE_EQ(JobDef.PanX, 0.0);
    EXPECT_EQ(wnd->TBarSC->value(), wnd->TBarSC->maximum() / 2);
}

TEST_F(Tabs, TheRotationCentreComesBackAfterAnEdit) {
    ThreeWires();
    ShowTab(wnd->TabSheet2);
    wnd->WireCenterRB->click();
    wnd->SelWirSpEd->setValue(3);
    const int wire = wnd->SelWirSpEd->value();
    const int code = wnd->RotationCentreCode();
    EXPECT_EQ(code, 1);

    // The edit keeps the wire: it stays selected and centred.
    wnd->Ant.Wires[2].Z1 = wnd->Ant.Wires[2].Z2 = 6.0;
    wnd->PrepareCalcAnt();
    wnd->ReapplyRotationCentre(wire, code);
    EXPECT_EQ(wnd->SelWirSpEd->value(), 3);
    EXPECT_TRUE(wnd->WireCenterRB->isChecked());
    EXPECT_DOUBLE_EQ(ViewCentre.Z, 6.0);

    // The edit removed it: the view turns about the middle of the antenna.
    wnd->Ant.WireCount = 2;
    wnd->PrepareCalcAnt();
    wnd->ReapplyRotationCentre(wire, code);
    EXPECT_EQ(wnd->SelWirSpEd->value(), 0);
    EXPECT_TRUE(wnd->FullWRb->isChecked());
    EXPECT_EQ(wnd->RotationCentreCode(), 2);
    EXPECT_DOUBLE_EQ(ViewCentre.Z, 1.0);

    wnd->CenterRb->setChecked(true);
    EXPECT_EQ(wnd->RotationCentreCode(), 0);
    wnd->ReapplyRotationCentre(1, 0);
    EXPECT_FALSE(ViewCentreOn);
}

TEST_F(Tabs, TheWavelengthSwitchConvertsTheWireTableBothWays) {
    TypeInto(wnd->Freq, QString::number(299.792458 / 20.0, 'g', 15));
    ASSERT_NEAR(JobDef.Wavelength, 20.0, 1e-9);
    wnd->Ant.Wires[0] = WireRec{0, 0, 0, 10, 0, 0, 0.0008, 11, 0, 0, 0};
    wnd->Ant.WireCount = 1;
    wnd->SetAntDef();

    wnd->ChkRmd->click();
    ASSERT_EQ(JobDef.InWavelengths, 1);
    EXPECT_EQ(wnd->Grid2->Cells(4, 0), "X2(wl)");
    EXPECT_NEAR(wnd->Grid2->Cells(4, 1).toDouble(), 0.5, 1e-9);
    EXPECT_NEAR(wnd->Grid2->Cells(7, 1).toDouble(), 4e-5, 1e-12);
    Type(wnd->Grid2, 5, 1, "0.25");
    EXPECT_NEAR(wnd->Ant.Wires[0].Y2, 5.0, 1e-9);

    wnd->ChkRmd->click();
    EXPECT_EQ(JobDef.InWavelengths, 0);
    EXPECT_EQ(wnd->Grid2->Cells(4, 0), "X2(m)");
    EXPECT_NEAR(wnd->Grid2->Cells(4, 1).toDouble(), 10.0, 1e-9);
    EXPECT_NEAR(wnd->Grid2->Cells(5, 1).toDouble(), 5.0, 1e-9);
    EXPECT_NEAR(wnd->Grid2->Cells(7, 1).toDouble(), 0.8, 1e-9);
    Type(wnd->Grid2, 5, 1, "2");
    EXPECT_NEAR(wnd->Ant.Wires[0].Y2, 2.0, 1e-12);

    // A switch set elsewhere is shown by the box at the next menu update.
    JobDef.InWavelengths = 1;
    wnd->UpdateMenuState();
    EXPECT_TRUE(wnd->ChkRmd->isChecked());
    EXPECT_EQ(wnd->Grid2->Cells(4, 0), "X2(wl)");
}

TEST_F(Tabs, TheFieldChoiceRedrawsThePlotsAndSetsTheCursor) {
    LopsidedPattern();
    ShowResultsOfThisAntenna();
    ShowTab(wnd->TabSheet4);
    const QImage total = wnd->DNBitmap.copy();

    wnd->WaveSel->Button(1)->click();
    EXPECT_EQ(JobDef.WaveSel, 1);
    EXPECT_NE(wnd->DNBitmap, total);
    EXPECT_EQ(wnd->DNImage->cursor().shape(), Qt::CrossCursor);

    wnd->WaveSel->Button(3)->click();
    EXPECT_EQ(JobDef.WaveSel, 3);
    EXPECT_EQ(wnd->DNImage->cursor().shape(), Qt::ArrowCursor);

    wnd->Origin.Forget();
    wnd->WaveSel->Button(0)->click();
    EXPECT_EQ(wnd->DNImage->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Tabs, WithoutAPatternTheFieldChoiceIsOnlyStored) {
    ShowTab(wnd->TabSheet4);
    wnd->DNBitmap.fill(Qt::red);
    wnd->WaveSel->Button(1)->click();
    EXPECT_EQ(JobDef.WaveSel, 1);
    EXPECT_EQ(wnd->DNBitmap.pixelColor(3, 3), QColor(Qt::red));
}

TEST_F(Tabs, TheOrientationBoxTurnsThePlots) {
    LopsidedPattern();
    ShowResultsOfThisAntenna();
    ShowTab(wnd->TabSheet4);
    ASSERT_TRUE(wnd->OrientCB->isChecked());
    const QImage upright = wnd->DNBitmap.copy();

    wnd->OrientCB->click();
    EXPECT_EQ(PatternOrient, 90);
    const QImage turned = wnd->DNBitmap.copy();
    EXPECT_NE(turned, upright);

    wnd->OrientCB->click();
    EXPECT_EQ(PatternOrient, 0);
    EXPECT_EQ(wnd->DNBitmap, upright);
}

TEST_F(Tabs, TabPositionAndToolbarCommands) {
    wnd->Tabposition1->trigger();
    EXPECT_EQ(wnd->Page->tabPosition(), QTabWidget::South);
    wnd->Tabposition1->trigger();
    EXPECT_EQ(wnd->Page->tabPosition(), QTabWidget::North);

    Settle();
    const int gridHeight = wnd->Grid2->height();
    wnd->ToolBV->trigger();
    EXPECT_FALSE(wnd->ToolBV->isChecked());
    EXPECT_TRUE(wnd->ToolBar1->isHidden());
    // The page took the toolbar's room and its controls grew with it.
    EXPECT_GT(wnd->Grid2->height(), gridHeight + 10);
    Settle();
    wnd->ToolBV->trigger();
    EXPECT_FALSE(wnd->ToolBar1->isHidden());
    Settle();
    EXPECT_NEAR(wnd->Grid2->height(), gridHeight, 2);
}

TEST_F(Tabs, ActivationRedrawsTheViewTab) {
    ShowTab(wnd->TabSheet2);
    wnd->ViewBitmap.fill(Qt::red);
    wnd->FormActivate();
    EXPECT_NE(wnd->ViewBitmap.pixelColor(wnd->ViewBitmap.width() - 3, wnd->ViewBitmap.height() - 3),
              QColor(Qt::red));
}
