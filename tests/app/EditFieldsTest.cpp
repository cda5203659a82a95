// The edit fields of the Geometry and Calculate tabs, typed as a user types:
// each change is taken at once into the antenna or the environment.
#include "MainWndFixture.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "platform/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class EditFields : public MainWndTest {
protected:
    void TearDown() override {
        MainWndTest::TearDown();
        JobDef.InWavelengths = 0;
        EnvDef.Type = 0;
        EnvDef.AntHeight = 0;
        EnvDef.Material = 0;
    }
    static void TypeInto(QComboBox* box, const QString& text) {
        QLineEdit* edit = box->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void OneWire() {
        wnd->Ant.Wires[0] = WireRec{0, -5, 10, 0, 5, 10, 0.001, 11, 0, 0, 0};
        wnd->Ant.WireCount = 1;
        wnd->SetAntDef();
        wnd->Ant.Changed = wnd->Ant.Edited = 0;
    }
    void ChooseGround(int index) { wnd->CalcSel->Button(index)->click(); }
};

}  // namespace

TEST_F(EditFields, TheDesignFrequencyCarriesTheCalculationFrequencyWavelengthAndSpacings) {
    TypeInto(wnd->Freq, "7.05");
    EXPECT_DOUBLE_EQ(wnd->Ant.Freq, 7.05);
    EXPECT_EQ(wnd->DoFreq->currentText(), wnd->Freq->currentText());
    EXPECT_NEAR(JobDef.Wavelength, 42.52, 0.01);
    EXPECT_DOUBLE_EQ(wnd->Ant.hSpacing, JobDef.Wavelength);
    EXPECT_DOUBLE_EQ(wnd->Ant.vSpacing, JobDef.Wavelength);
    EXPECT_EQ(wnd->Ant.Changed, 1);
    EXPECT_EQ(wnd->Ant.Edited, 1);

    // A stacked antenna keeps the spacings the user chose.
    wnd->Ant.nH = 2;
    wnd->Ant.hSpacing = 3.0;
    TypeInto(wnd->Freq, "14.12");
    EXPECT_DOUBLE_EQ(wnd->Ant.hSpacing, 3.0);
    EXPECT_NEAR(JobDef.Wavelength, 299.792458 / 14.12, 1e-9);
}

TEST_F(EditFields, ACommaTypedInANumberIsAPoint) {
    TypeInto(wnd->Freq, "7,07");
    EXPECT_DOUBLE_EQ(wnd->Ant.Freq, 7.07);
    ChooseGround(1);
    TypeInto(wnd->AntHeight, "2,5");
    EXPECT_DOUBLE_EQ(EnvDef.AntHeight, 2.5);
}

TEST_F(EditFields, TextThatIsNoFrequencyWaitsInTheFieldWithoutABox) {
    TypeInto(wnd->Freq, "7.05");
    TypeInto(wnd->Freq, "abc");
    TypeInto(wnd->Freq, "0");
    TypeInto(wnd->Freq, "-3");
    EXPECT_DOUBLE_EQ(wnd->Ant.Freq, 7.05);
    EXPECT_DOUBLE_EQ(wnd->DoFreq->currentText().toDouble(), 7.05);
    // Typing is never interrupted by a box; the text is refused when it is taken.
    EXPECT_TRUE(prompter.ShownBoxes().empty());
}

TEST_F(EditFields, APrefixOfAPresetIsTakenAsTypedNotCompleted) {
    // "14.1" begins the preset "14.150", "8" begins the DM2 preset "80".
    TypeInto(wnd->Freq, "14.1");
    EXPECT_EQ(wnd->Freq->currentText(), "14.1");
    EXPECT_DOUBLE_EQ(wnd->Ant.Freq, 14.1);
    TypeInto(wnd->DoFreq, "14.1");
    EXPECT_EQ(wnd->DoFreq->currentText(), "14.1");
    TypeInto(wnd->EditDM2, "8");
    EXPECT_EQ(wnd->EditDM2->currentText(), "8");
}

TEST_F(EditFields, TheNameIsMirroredOnTheCalculateTab) {
    wnd->AntName->setFocus();
    QTest::keyClicks(wnd->AntName, "Moxon");
    EXPECT_STREQ(wnd->Ant.Name, "Moxon");
    EXPECT_EQ(wnd->AntName3->text(), "Moxon");
    EXPECT_EQ(wnd->Ant.Changed, 1);
}

TEST_F(EditFields, SegmentationFieldsMarkTheAntennaOnlyWhenItHasWires) {
    TypeInto(wnd->EditDM1, "400");
    EXPECT_EQ(wnd->Ant.DM1, 400);
    EXPECT_EQ(wnd->Ant.Changed, 0);

    OneWire();
    TypeInto(wnd->EditDM2, "120");
    EXPECT_EQ(wnd->Ant.DM2, 120);
    EXPECT_EQ(wnd->Ant.Changed, 1);
    EXPECT_EQ(wnd->Ant.Edited, 1);

    TypeInto(wnd->EditEC, "0");
    EXPECT_EQ(wnd->Ant.EC, 1);
    TypeInto(wnd->EditEC, "8");
    EXPECT_EQ(wnd->Ant.EC, 8);
    TypeInto(wnd->EditSC, "1.6");
    EXPECT_DOUBLE_EQ(wnd->Ant.SC, 1.6);
    // Values that would never finish cutting a wire are not taken.
    TypeInto(wnd->EditSC, "5");
    EXPECT_DOUBLE_EQ(wnd->Ant.SC, 1.6);
    TypeInto(wnd->EditDM1, "0");
    EXPECT_EQ(wnd->Ant.DM1, 400);
}

TEST_F(EditFields, UseLoadsMarksTheAntennaOnlyWithLoads) {
    OneWire();
    wnd->EnbLoad->click();
    EXPECT_EQ(wnd->Ant.UseLoads, 0);
    EXPECT_EQ(wnd->Ant.Changed, 0);
    wnd->EnbLoad->click();
    wnd->Ant.LoadCount = 1;
    CopyText(wnd->Ant.Loads[0].Pos, "w1c");
    wnd->EnbLoad->click();
    EXPECT_EQ(wnd->Ant.UseLoads, 0);
    EXPECT_EQ(wnd->Ant.Changed, 1);
}

TEST_F(EditFields, TheGroundChoiceShowsItsControls) {
    ChooseGround(2);
    EXPECT_EQ(EnvDef.Type, 2);
    EXPECT_FALSE(wnd->GndSetBtn->isHidden());
    EXPECT_TRUE(wnd->AntHeight->isEnabled());
    EXPECT_EQ(wnd->Ant.Edited, 1);

    ChooseGround(0);
    EXPECT_EQ(EnvDef.Type, 0);
    EXPECT_TRUE(wnd->GndSetBtn->isHidden());
    EXPECT_FALSE(wnd->AntHeight->isEnabled());
    EXPECT_FALSE(wnd->Label11->isEnabled());

    ChooseGround(1);
    EXPECT_EQ(EnvDef.Type, 1);
    EXPECT_TRUE(wnd->GndSetBtn->isHidden());
    EXPECT_TRUE(wnd->AntHeight->isEnabled());
}

TEST_F(EditFields, ACalculationSettingHidesTheShownResults) {
    OneWire();
    ShowResultsOfThisAntenna();
    Results.Sweep.Count = 3;
    Results.AngleStep = 1;
    TypeInto(wnd->DoFreq, "7.1");
    UntilIdle();
    const double before = wnd->Ant.CalcFreq;
    EXPECT_FALSE(wnd->ResultsBelongToAntenna(ResultHolder::Row, ResultUse::Show));
    EXPECT_FALSE(wnd->ResultsBelongToAntenna(ResultHolder::Sweep, ResultUse::Show));
    EXPECT_FALSE(wnd->BwBtn->isEnabled());
    EXPECT_FALSE(wnd->PrintBtn->isEnabled());
    EXPECT_EQ(wnd->Ant.Edited, 1);
    // The calculation frequency is read only when the fields are taken.
    EXPECT_NE(before, 7.1);
}

TEST_F(EditFields, AnAddedHeightThatIsNoNumberBecomesZeroAndChangesNothingElse) {
    ChooseGround(1);
    TypeInto(wnd->AntHeight, "12");
    EXPECT_DOUBLE_EQ(EnvDef.AntHeight, 12.0);

    TypeInto(wnd->AntHeight, "x");
    EXPECT_DOUBLE_EQ(EnvDef.AntHeight, 0.0);
    EXPECT_TRUE(prompter.ShownBoxes().empty());
}

TEST_F(EditFields, TheMaterialIsOnlyChosenFromItsList) {
    wnd->MaterialSel->setFocus();
    QTest::keyClicks(wnd->MaterialSel, "Fe");
    EXPECT_EQ(wnd->MaterialSel->currentIndex(), 0);
    QTest::keyClick(wnd->MaterialSel, Qt::Key_Down);
    EXPECT_EQ(wnd->MaterialSel->currentIndex(), 1);
    EXPECT_EQ(EnvDef.Material, 1);
    EXPECT_EQ(wnd->Ant.Edited, 1);
}
