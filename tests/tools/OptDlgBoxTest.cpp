// The options form driven as a user drives it: typing into fields, changing
// pages, the hairpin helper; the form is never shown modally.
#include "engine/EngineState.h"
#include "model/EnvDef.h"
#include "platform/FontChoice.h"
#include "platform/RadioGroup.h"
#include "platform/ScriptedPrompter.h"
#include "tools/OptDlgBox.h"
#include "TypedNumberLists.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class OptDlg : public ::testing::Test {
protected:
    void SetUp() override {
        savedEnv_ = EnvDef;
        savedJob_ = JobDef;
        EnvDef.Z0R = 50;
        EnvDef.Z0X = 0;
        EnvDef.AzEl = PackAzEl(120, 60);
        EnvDef.FontSize = 0;
    }
    void TearDown() override {
        EnvDef = savedEnv_;
        JobDef = savedJob_;
    }
    QLineEdit* Edit(int number) {
        QWidget* w = dlg.Field(number);
        if (auto* c = qobject_cast<QComboBox*>(w)) return c->lineEdit();
        return qobject_cast<QLineEdit*>(w);
    }
    QString Text(int number) { return Edit(number)->text(); }
    void Type(int number, const QString& text) {
        QLineEdit* e = Edit(number);
        e->selectAll();
        QTest::keyClicks(e, text);
    }
    EnvRec savedEnv_;
    JobRec savedJob_;
    ScriptedPrompter prompter;
    ScopedPrompter scope{prompter};
    TOptDlgBox dlg;
};

TEST_F(OptDlg, PresetWithLAndCComputesTheFrequency) {
    dlg.Preset(100, 1, 0, 50, 14);
    EXPECT_FALSE(dlg.TFixFreq->isChecked());
    EXPECT_NEAR(dlg.Res.F, 1 / (2 * M_PI * std::sqrt(1e-6 * 100e-12)), 1e-3);
    EXPECT_EQ(dlg.PageControl->currentWidget(), dlg.SetupPage);
    EXPECT_EQ(dlg.Editing, 1);
}

TEST_F(OptDlg, PresetWithReactanceOnly) {
    dlg.Preset(0, 0, -100, 50, 14);
    EXPECT_TRUE(dlg.TFixFreq->isChecked());
    EXPECT_EQ(dlg.Res.X, 100);
    EXPECT_NEAR(dlg.Res.L, 100 / (2 * M_PI * 14e6), 1e-15);
    EXPECT_EQ(Text(0), "14.0");
    EXPECT_EQ(dlg.TWaveLabel->text().left(15), "wl  = 21.414m\n1");
}

TEST_F(OptDlg, TypingUpdatesTheOtherFieldsButNotItself) {
    dlg.Preset(0, 0, 0, 50, 14);
    Type(3, "100,0");  // the comma is a point
    EXPECT_EQ(Text(3), "100.0");
    EXPECT_NEAR(dlg.Res.C, 100e-12, 1e-20);
    EXPECT_EQ(Text(1), "113.68");
    Type(1, "-50");
    EXPECT_EQ(Text(1), "-50");
    EXPECT_EQ(dlg.Res.X, 50);
    Edit(2)->setText("1e6");  // 1 H is refused; the state keeps its value
    EXPECT_NEAR(dlg.Res.L, 50 / (2 * M_PI * 14e6), 1e-15);
    Type(0, "abc");
    EXPECT_EQ(dlg.Res.F, 14e6);
}

// A typed "14" is 14 MHz, not the preset it begins: no list completes it.
TEST_F(OptDlg, EveryNumberListKeepsWhatIsTyped) {
    dlg.Preset(0, 0, 0, 50, 7);
    const QStringList faults = NumberListsChangingTypedText(dlg);
    EXPECT_TRUE(faults.isEmpty()) << faults.join("\n").toStdString();
    Type(0, "14");
    EXPECT_EQ(dlg.Res.F, 14e6);
    EXPECT_EQ(dlg.TWaveLabel->text().left(13), "wl  = 21.414m");
}

TEST_F(OptDlg, EnteringFieldsAndTypingTheSize) {
    dlg.Preset(0, 0, 0, 50, 14);
    // A frequency written while the form held its own edits is taken on entering the field.
    dlg.Editing = 0;
    Edit(0)->setText("7");
    dlg.Editing = 1;
    EXPECT_EQ(dlg.Res.F, 14e6);
    QFocusEvent enter(QEvent::FocusIn);
    QApplication::sendEvent(Edit(0), &enter);
    EXPECT_EQ(dlg.Res.F, 7e6);
    // Entering line match 2's R field searches the solutions again.
    dlg.StubMatch.Count = 0;
    dlg.FieldEntered(60);
    EXPECT_GT(dlg.StubMatch.Count, 0);
    EXPECT_NE(dlg.SMVar1->text(), "None");
    // The font size follows the size field while it is typed.
    dlg.EditFont->lineEdit()->selectAll();
    QTest::keyClicks(dlg.EditFont->lineEdit(), "+2");
    EXPECT_EQ(dlg.font().pointSize(), 12);
    // "Font" takes the chosen family at the size of the field.
    const auto saved = ChooseFont;
    ChooseFont = [](QFont& font, QWidget*) {
        font = QFont("DejaVu Serif", 30);
        return true;
    };
    dlg.FntSpBtClick();
    ChooseFont = saved;
    EXPECT_EQ(dlg.font().family(), "DejaVu Serif");
    EXPECT_EQ(dlg.font().pointSize(), 12);
}

TEST_F(OptDlg, CoilPageTakesTheResonanceInductance) {
    dlg.Preset(0, 15.291, 0, 50, 14);
    dlg.PageControl->setCurrentWidget(dlg.CoilPage);
    EXPECT_EQ(Text(10), "15.291");
    EXPECT_EQ(dlg.ACompSel->ItemIndex(), 2);  // the diameter is solved
    EXPECT_NEAR(dlg.Coil.D, 10, 0.01);
}

TEST_F(OptDlg, LMatchPageTakesFrequencyAndReference) {
    dlg.Preset(0, 0, 0, 25, 14);
    dlg.EditZ0R->setEditText("50");
    dlg.PageControl->setCurrentWidget(dlg.LMatchPage);
    EXPECT_EQ(dlg.LMatch.F, 14e6);
    EXPECT_NEAR(dlg.LMatch.V1, 227.4, 0.05);
    Type(22, "50");
    EXPECT_EQ(dlg.LMatch.V1, 0);
    EXPECT_EQ(dlg.LMatch.V2, 0);
}

TEST_F(OptDlg, LinePagesKeepTheirLoadsWithoutAResult) {
    dlg.Preset(0, 0, 0, 0, 14);
    EXPECT_EQ(dlg.Line.ZL2, Cplx(75, 0));
    EXPECT_EQ(dlg.StubMatch.R, 25);
    dlg.PageControl->setCurrentWidget(dlg.Line2Page);
    EXPECT_EQ(dlg.StubMatch.Count, 2);
    EXPECT_TRUE(dlg.SMVar1->text().startsWith("   L1 : 0.0066lw"));
    Type(63, "0.66");  // a velocity factor keeps the solutions
    EXPECT_EQ(dlg.StubMatch.Count, 2);
    Type(61, "5");
    EXPECT_EQ(dlg.SMVar1->text(), "None");
}

TEST_F(OptDlg, EqualQMatchLinesMoveApart) {
    dlg.Preset(0, 0, 0, 0, 14);
    dlg.PageControl->setCurrentWidget(dlg.Line1Page);
    Type(55, "50");
    EXPECT_EQ(dlg.Line.Zo1, Cplx(75, 0));
    Type(53, "50");
    Type(55, "75");
    Type(53, "75");
    EXPECT_EQ(dlg.Line.Zo2, Cplx(50, 0));
    dlg.QMBtnClick();
    EXPECT_LT(dlg.Line.SWRq, 1.01);
}

TEST_F(OptDlg, ComputeZLDecidesWhichEndFollowsTheLength) {
    dlg.Preset(0, 0, 0, 0, 14);
    dlg.PageControl->setCurrentWidget(dlg.Line1Page);
    Type(42, "100");
    Type(45, "0.25");
    EXPECT_NEAR(dlg.Line.Zi.real(), 25, 1e-6);
    dlg.QCompZL->setChecked(true);
    Type(45, "0.5");
    EXPECT_NEAR(dlg.Line.Zi.real(), 25, 1e-6);
    EXPECT_NEAR(dlg.Line.ZL.real(), 25, 1e-6);
}

TEST_F(OptDlg, StubPageCableChoice) {
    dlg.Preset(100, 0, 0, 50, 14);
    EXPECT_EQ(dlg.CStub->ItemIndex(), 0);
    EXPECT_NEAR(dlg.Stub.X, -113.68, 0.01);
    EXPECT_EQ(Text(34), "100.0");
    auto* type = qobject_cast<QComboBox*>(dlg.Field(31));
    EXPECT_EQ(type->currentText(), "RG 213");
    EXPECT_FALSE(dlg.Field(35)->isEnabled());
    type->setEditText("User");
    EXPECT_TRUE(dlg.Field(35)->isEnabled());
    EXPECT_EQ(dlg.Stub.Z0, 50);
    type->setEditText("Line 600 Ohm");
    EXPECT_EQ(dlg.Stub.Z0, 600);
    EXPECT_FALSE(dlg.Field(36)->isEnabled());
    EXPECT_EQ(dlg.CLCUnit->text(), "pF");
    // An open stub of no length.
    Type(32, "0");
    EXPECT_EQ(dlg.Stub.X, OpenStubReactance);
    EXPECT_EQ(Text(33), QString::fromUtf8("-\xE2\x88\x9E"));
}

TEST_F(OptDlg, HairpinMatchAsksForTheLine) {
    dlg.Preset(0, 0, 0, 50, 14);
    dlg.EditZ0R->setEditText("25");
    prompter.AnswerInput(true, "50");
    dlg.AutojXClick();
    EXPECT_EQ(prompter.Last().text, "R of using line");
    EXPECT_EQ(dlg.EditZ0X->text(), "-25.0");
    prompter.AnswerInput(false, "");
    dlg.EditZ0X->setText("7");
    dlg.AutojXClick();
    EXPECT_EQ(dlg.EditZ0X->text(), "7");
}

TEST_F(OptDlg, StoreWritesTheSetupPage) {
    dlg.Preset(0, 0, 0, 50, 14);
    dlg.EditAz->setText("90");
    dlg.EditZ0R->setEditText("75");
    EXPECT_EQ(dlg.Store(), 1);
    EXPECT_EQ(RearAzimuth(EnvDef.AzEl), 90);
    EXPECT_EQ(RearElevation(EnvDef.AzEl), 60);
    EXPECT_EQ(EnvDef.Z0R, 75);
}

}  // namespace
