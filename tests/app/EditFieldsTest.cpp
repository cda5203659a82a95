// The edit fields of the Geometry and Calculate tabs, typed as a user types:
// each change is taken at once into the antenna or the environment.
#include "MainWndFixture.h"
#include "model/AntDef.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "platform/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
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

    TypeInto(wnd->EditEC, "8");
    EXPECT_EQ(wnd->Ant.EC, 8);
    TypeInto(wnd->EditSC, "1.6");
    EXPECT_DOUBLE_EQ(wnd->Ant.SC, 1.6);
    // Values that would never finish cutting a wire are not taken.
    TypeInto(wnd->EditSC, "5");
    EXPECT_DOUBLE_EQ(wnd->Ant.SC, 1.6);
    TypeInto(wnd->EditDM1, "0");
    EXPECT_EQ(wnd->Ant.DM1, 400);
    TypeInto(wnd->EditEC, "0");
    EXPECT_EQ(wnd->Ant.EC, 8);
}

// A name read from a file that takes more UTF-8 bytes than the field holds
// (Windows-1252 letters) is kept whole: a letter typed at its end is not
// taken, Backspace takes one letter, and the name stays in the file's bytes.
TEST_F(EditFields, ANameReadLongerThanTheFieldIsKeptAndOnlyTypingIsHeldToTheLimit) {
    std::string name;
    for (int i = 0; i < 20; ++i) name += "\xE9tage";  // "é" is one byte in Windows-1252
    name += std::string(AntNameLength - name.size(), 'z');
    ASSERT_EQ(name.size(), 128u);
    QFile dipole(QString(KORVA_TEST_DATA) + "/dipole.kva");
    ASSERT_TRUE(dipole.open(QIODevice::ReadOnly));
    QByteArray text = dipole.readAll();
    text.replace(0, text.indexOf('\r'), QByteArray::fromStdString(name));
    const QString path = TempPath("accents.kva");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    wnd->OpenFileByExt(path);
    ASSERT_TRUE(prompter.ShownBoxes().empty());
    const QString shown = wnd->AntName->text();
    ASSERT_EQ(shown.size(), 128);
    ASSERT_EQ(shown.toUtf8().size(), 148);
    ASSERT_TRUE(wnd->GetAntDef());
    EXPECT_EQ(std::string(wnd->Ant.Name), name) << "an unedited name is kept as read";

    wnd->AntName->setFocus();
    QTest::keyClick(wnd->AntName, Qt::Key_End);
    QTest::keyClicks(wnd->AntName, "x");
    EXPECT_EQ(wnd->AntName->text(), shown);
    QTest::keyClick(wnd->AntName, Qt::Key_Backspace);
    EXPECT_EQ(wnd->AntName->text(), shown.chopped(1));
    QTest::keyClicks(wnd->AntName, "x");
    EXPECT_EQ(wnd->AntName->text(), shown.chopped(1)) << "what is typed is held to the limit";
    // A letter Windows-1252 has no byte for would turn the name into UTF-8,
    // which does not hold all its letters: it is not taken.
    wnd->AntName->insert(QString(QChar(0x0416)));
    EXPECT_EQ(wnd->AntName->text(), shown.chopped(1));
    EXPECT_EQ(std::string(wnd->Ant.Name), name.substr(0, 127));
    EXPECT_EQ(wnd->AntName3->text(), shown.chopped(1));
    ASSERT_TRUE(wnd->GetAntDef());
    wnd->SetAntDef();
    EXPECT_EQ(wnd->AntName->text(), shown.chopped(1));
}

// A segmentation value the wire expansion cannot use is refused at Start with
// a message, and the field shows again the value that is kept and used.
TEST_F(EditFields, StartRefusesSegmentationValuesOutOfRangeAndShowsTheKeptOne) {
    const struct {
        QComboBox* TMainWnd::*field;
        const char* typed;
        const char* message;
    } rows[] = {
        {&TMainWnd::EditDM1, "0", "DM1 must be at least 1."},
        {&TMainWnd::EditDM2, "0", "DM2 must be at least 1."},
        {&TMainWnd::EditSC, "5", "SC must lie above 1 and at most 3."},
        {&TMainWnd::EditEC, "0", "EC must be at least 1."},
        {&TMainWnd::EditEC, "-3", "EC must be at least 1."},
    };
    OneWire();
    wnd->Ant.SourceCount = 1;
    CopyText(wnd->Ant.Sources[0].Pos, "w1c");
    wnd->Ant.Sources[0].Voltage = 1;
    TypeInto(wnd->EditEC, "3");
    ASSERT_EQ(wnd->Ant.EC, 3);
    wnd->UpdateMenuState();
    ASSERT_TRUE(wnd->CalTrgBtn->isEnabled());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message + std::string(" for ") + row.typed);
        QComboBox* field = wnd.get()->*row.field;
        const QString kept = field->currentText();
        prompter.Clear();
        TypeInto(field, row.typed);
        wnd->CalTrgBtn->click();
        ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
        EXPECT_EQ(prompter.Last().caption, "Error!!!");
        EXPECT_EQ(prompter.Last().text, row.message);
        EXPECT_EQ(field->currentText(), kept);
        EXPECT_EQ(wnd->Ant.EC, 3);
        EXPECT_FALSE(wnd->ResultsBelongToAntenna(ResultHolder::Row, ResultUse::Show));
    }
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
