// Start: the main road from the tables to the results table, the under-ground
// warning, refused fields and preparations, and how the table shows its rows.
#include "MainWndFixture.h"
#include "engine/ModelPrep.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "platform/RadioGroup.h"
#include "views/FreqSetDlg.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <stdexcept>
#include <utility>

class StartTest : public MainWndTest {
protected:
    void SetUp() override {
        MainWndTest::SetUp();
    }
    // A half-wave dipole 10 m up, typed as a user would.
    void TypeDipole() {
        TypeWire(1, {"0-R/4", "0", "10", "R/4", "0", "10", "1", "21"});
        Type(wnd->Grid3, 1, 1, "w1c");
    }
};

TEST_F(StartTest, ADipoleTypedIntoTheTablesGivesAResultRow) {
    TypeDipole();
    ASSERT_EQ(wnd->Ant.WireCount, 1);
    ASSERT_TRUE(wnd->CalTrgBtn->isEnabled());
    wnd->CalTrgBtn->click();

    ASSERT_EQ(Results.RowCount, 1);
    EXPECT_EQ(wnd->Grid1->Cells(0, 1), "1");
    EXPECT_EQ(wnd->Grid1->Cells(1, 1), "14.15");
    const double r = wnd->Grid1->Cells(2, 1).toDouble();
    EXPECT_GT(r, 50.0);
    EXPECT_LT(r, 100.0);
    EXPECT_NE(wnd->Grid1->Cells(6, 1), "  ---");
    EXPECT_EQ(wnd->Grid1->Cells(9, 1), "Free");
    EXPECT_EQ(wnd->Grid1->Cells(10, 1), "  ---");
    ASSERT_FALSE(wnd->LogLines().isEmpty());
    EXPECT_TRUE(wnd->LogLines().last().endsWith(" sec")) << wnd->LogLines().last().toStdString();
    EXPECT_FALSE(wnd->LogFailed());
    EXPECT_TRUE(wnd->ResultsBelongToAntenna());
    EXPECT_EQ(JobDef.Busy, 0);
    EXPECT_TRUE(wnd->CalTrgBtn->isEnabled());
    EXPECT_EQ(Results.HasFarField, 1);
    EXPECT_STREQ(Results.Title, wnd->Ant.Name);
    EXPECT_EQ(wnd->Ant.Edited, 0);
    // The calculation frequency was 14.15 from the field.
    EXPECT_DOUBLE_EQ(wnd->Ant.CalcFreq, 14.15);
}

TEST_F(StartTest, TwoStartsShowTheNewestFirst) {
    TypeDipole();
    wnd->CalTrgBtn->click();
    wnd->DoFreq->setEditText("14.3");
    wnd->CalTrgBtn->click();
    ASSERT_EQ(Results.RowCount, 2);
    EXPECT_EQ(wnd->Grid1->RowCount(), 3);
    EXPECT_EQ(wnd->Grid1->Cells(0, 1), "2");
    EXPECT_EQ(wnd->Grid1->Cells(1, 1), "14.3");
    EXPECT_EQ(wnd->Grid1->Cells(0, 2), "1");
    EXPECT_EQ(wnd->Grid1->Cells(1, 2), "14.15");
}

TEST_F(StartTest, AnAntennaUnderGroundIsWarnedAboutAndNotCalculated) {
    TypeWire(1, {"0", "0", "-1", "0", "0", "5", "1", "15"});
    Type(wnd->Grid3, 1, 1, "w1c");
    wnd->CalcSel->SetItemIndex(GroundPerfect);
    wnd->AntHeight->setEditText("0.5");
    wnd->CalTrgBtn->click();
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().caption, "KORVA-TEZ");
    EXPECT_EQ(prompter.Last().icon, BoxIcon::Warning);
    EXPECT_EQ(prompter.Last().text, "Antenna or part of antenna is under ground. Increase height?");
    EXPECT_EQ(Results.RowCount, 0);
    EXPECT_TRUE(wnd->CalTrgBtn->isEnabled());

    wnd->CalcSel->SetItemIndex(GroundFree);
    wnd->CalTrgBtn->click();
    EXPECT_EQ(Results.RowCount, 1);
    EXPECT_EQ(prompter.ShownBoxes().size(), 1u);
}

TEST_F(StartTest, BadFieldsStopStartBeforeAnythingChanges) {
    TypeDipole();
    wnd->EditDM2->setEditText("0");
    wnd->CalTrgBtn->click();
    EXPECT_EQ(Results.RowCount, 0);
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().caption, "Error!!!");
    EXPECT_EQ(JobDef.Busy, 0);
    EXPECT_TRUE(wnd->CalTrgBtn->isEnabled());
}

TEST_F(StartTest, ARefusedPreparationLeavesStartUsable) {
    // A wire of zero length cannot be cut into pulses.
    TypeWire(1, {"1", "1", "1", "1", "1", "1", "1", "5"});
    Type(wnd->Grid3, 1, 1, "w1c");
    wnd->CalTrgBtn->click();
    EXPECT_EQ(Results.RowCount, 0);
    EXPECT_EQ(JobDef.Busy, 0);
    EXPECT_TRUE(wnd->CalTrgBtn->isEnabled());
    EXPECT_FALSE(wnd->ResultsBelongToAntenna(ResultHolder::Row, ResultUse::Show));
    EXPECT_FALSE(wnd->LogLines().isEmpty());
}

TEST_F(StartTest, AWireTheEngineRefusesIsShownOncePerCalculation) {
    // A negative radius names a taper set; this antenna has none. The edit
    // itself only logs the reason; each Start shows it once.
    TypeWire(1, {"0-R/4", "0", "10", "R/4", "0", "10", "-5", "21"});
    Type(wnd->Grid3, 1, 1, "w1c");
    EXPECT_TRUE(prompter.ShownBoxes().empty());
    for (std::size_t start = 1; start <= 2; ++start) {
        wnd->CalTrgBtn->click();
        ASSERT_EQ(prompter.ShownBoxes().size(), start);
        EXPECT_EQ(prompter.Last().caption, "Info");
        EXPECT_EQ(prompter.Last().text, "R = -5.0  No description for this R(Taper wire set) ");
        EXPECT_EQ(Results.RowCount, 0);
        EXPECT_TRUE(wnd->CalTrgBtn->isEnabled());
    }
}

// Whatever a command throws is shown in the error box; the window goes on.
TEST_F(StartTest, ACommandThatThrowsShowsTheErrorAndTheWindowGoesOn) {
    // A box that fails once, the way a command's own step could.
    class FailingPrompter : public ScriptedPrompter {
    public:
        std::function<void()> Fail;
        int Message(const std::string& text, const std::string& caption, BoxIcon icon, BoxButtons buttons) override {
            if (auto fail = std::exchange(Fail, nullptr)) fail();
            return ScriptedPrompter::Message(text, caption, icon, buttons);
        }
    };
    const struct {
        const char* what;
        std::function<void()> fail;
        const char* shown;
    } cases[] = {
        {"a standard exception", [] { throw std::runtime_error("the disk is gone"); }, "the disk is gone"},
        {"anything else", [] { throw 42; }, "The command ended with an unexpected error."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FailingPrompter failing;
        const ScopedPrompter scope(failing);
        failing.Fail = c.fail;
        // The help item reports its missing file in a box.
        wnd->KORVAhelp1->trigger();
        ASSERT_EQ(failing.ShownBoxes().size(), 1u);
        EXPECT_EQ(failing.Last().caption, "Error!!!");
        EXPECT_EQ(failing.Last().text, c.shown);
        EXPECT_EQ(JobDef.Busy, 0);
    }
    TypeDipole();
    wnd->CalTrgBtn->click();
    EXPECT_EQ(Results.RowCount, 1);
}

TEST_F(StartTest, ZeroCalculationFrequencyMeansTheDesignFrequency) {
    TypeDipole();
    wnd->DoFreq->setEditText("0");
    wnd->CalTrgBtn->click();
    ASSERT_EQ(Results.RowCount, 1);
    EXPECT_DOUBLE_EQ(wnd->Ant.CalcFreq, 14.15);
    EXPECT_EQ(wnd->Grid1->Cells(1, 1), "14.15");
}

TEST_F(StartTest, OlderRowsFollowANewReferenceImpedance) {
    TypeDipole();
    wnd->CalTrgBtn->click();
    ASSERT_EQ(Results.RowCount, 1);
    const QString stored = wnd->Grid1->Cells(4, 1);
    EXPECT_EQ(wnd->Grid1->Cells(4, 0), "SWR 50.0");
    EnvDef.Z0R = 75.0;
    EnvDef.Z0X = 5.0;
    EXPECT_EQ(wnd->Grid1->Cells(4, 0), "SWR 75.0*");
    EXPECT_NE(wnd->Grid1->Cells(4, 1), stored);
    EnvDef.Z0R = 50.0;
    EnvDef.Z0X = 0.0;
    EXPECT_EQ(wnd->Grid1->Cells(4, 1), stored);
}

// Every copy of a stack is fed and loaded on its own wire, whether the
// position names the wire or is a plain pulse number, which each copy counts
// in its own pulses: both give one result.
TEST_F(StartTest, AStackedAntennaIsCalculatedWithAllItsCopies) {
    TypeDipole();  // 20 pulses: w1c is pulse 11, w1c+3 pulse 14
    const struct {
        int nH, nV;
    } stacks[] = {{2, 2}, {1, 2}, {2, 1}};
    const struct {
        const char *feed, *load;
    } positions[] = {{"w1c", "w1c+3"}, {"11", "14"}};
    for (const auto& stack : stacks) {
        ResultRow byWire{};
        for (const auto& at : positions) {
            AntDef& a = wnd->Ant;
            a.nH = stack.nH;
            a.nV = stack.nV;
            a.hSpacing = 8;
            a.vSpacing = 8;
            CopyText(a.Sources[0].Pos, at.feed);
            a.LoadCount = 1;
            a.Loads[0] = LoadRec{};
            a.Loads[0].Type = LoadRX;
            CopyText(a.Loads[0].Pos, at.load);
            a.Loads[0].A[0] = 50.0;
            a.UseLoads = 1;
            wnd->Positions.Forget();
            wnd->SetAntDef();
            wnd->CalTrgBtn->click();
            const std::string where = std::to_string(stack.nH) + " x " + std::to_string(stack.nV) + " at " + at.feed;
            ASSERT_NE(wnd->CalcAnt, &wnd->Ant) << where;
            const int copies = stack.nH * stack.nV;
            EXPECT_EQ(wnd->CalcAnt->WireCount, copies) << where;
            ASSERT_EQ(wnd->CalcAnt->SourceCount, copies) << where;
            ASSERT_EQ(wnd->CalcAnt->LoadCount, copies) << where;
            for (int c = 0; c < copies; ++c) {
                const int firstPulse = wnd->CalcAnt->Wires[c].FirstPulse;
                EXPECT_DOUBLE_EQ(wnd->CalcAnt->Sources[c].Voltage, 1.0 / copies) << where;
                EXPECT_EQ(wnd->CalcAnt->Sources[c].Pulse, firstPulse + 10) << where << ", copy " << c;
                EXPECT_EQ(wnd->CalcAnt->Loads[c].Pulse, firstPulse + 13) << where << ", copy " << c;
                // The source report names a plain pulse number by the pulse it feeds.
                const std::string named =
                    &at == &positions[0] ? "w" + std::to_string(c + 1) + "c" : std::to_string(firstPulse + 10);
                const QStringList lines = wnd->LogLines();
                EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& line) {
                    return line.startsWith(QString::fromStdString(named + "    \t"));
                })) << where << ", copy " << c << ": " << lines.join('|').toStdString();
            }
            ASSERT_EQ(Results.HasFarField, 1) << where;
            const ResultRow& row = *Results.Row(0);
            if (&at == &positions[0]) {
                byWire = row;
                continue;
            }
            // The same pulses fed and loaded: the same matrix and solution.
            EXPECT_NEAR(row.R, byWire.R, 1e-3) << where;
            EXPECT_NEAR(row.jX, byWire.jX, 1e-3) << where;
            EXPECT_NEAR(row.Ga, byWire.Ga, 1e-3) << where;
        }
    }
}

TEST_F(StartTest, GroundedWireEndsAreTurnedRoundInTheTables) {
    TypeWire(1, {"0", "0", "10", "0", "0", "0", "1", "15"});
    Type(wnd->Grid3, 1, 1, "w1b");
    wnd->CalcSel->SetItemIndex(GroundPerfect);
    wnd->AntHeight->setEditText("0");
    wnd->CalTrgBtn->click();
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].Z1, 0.0);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].Z2, 10.0);
    EXPECT_STREQ(wnd->Ant.Sources[0].Pos, "w1e");
    EXPECT_EQ(wnd->Grid2->Cells(3, 1), "0.0");
}

TEST_F(StartTest, ACloseDuringARunWaitsForItsEnd) {
    TypeDipole();
    JobDef.Busy = 1;
    wnd->close();
    EXPECT_TRUE(wnd->isVisible());
    EXPECT_EQ(JobDef.StopRequest, 1);
    JobDef.Busy = 0;
    wnd->MarkAntennaUnchanged();  // nothing to ask about when it closes
    wnd->CalTrgBtn->click();
    EXPECT_EQ(Results.RowCount, 1);
    QApplication::processEvents();
    EXPECT_FALSE(wnd->isVisible());
}

// A wire whose second end lies on the ground (here Z = 0 in free space) is
// turned round before the calculation; a source or load given as a plain
// pulse number on it stays on the same physical pulse.
TEST_F(StartTest, APulseNumberOnATurnedWireKeepsItsPulse) {
    struct Case {
        bool sourceByNumber;  // else a 50-ohm load by number, fed at w1c
    };
    wnd->AntHeight->setEditText("0");
    for (const Case c : {Case{true}, Case{false}}) {
        // Ground plane: a vertical quarter wave with two radials, all in free space.
        auto build = [&](bool turned, const char* bottom) {
            AntDef& a = wnd->Ant;
            a.WireCount = 3;
            a.Wires[0] = WireRec{0, 0, turned ? 5.3 : 0.0, 0, 0, turned ? 0.0 : 5.3, 0.001, 12, 0, 0, 0};
            a.Wires[1] = WireRec{0, 0, 0, 5.3, 0, 0, 0.001, 11, 0, 0, 0};
            a.Wires[2] = WireRec{0, 0, 0, -5.3, 0, 0, 0.001, 11, 0, 0, 0};
            a.SourceCount = 1;
            a.Sources[0] = SourceRec{};
            CopyText(a.Sources[0].Pos, c.sourceByNumber ? bottom : "w1c");
            a.Sources[0].Voltage = 1.0;
            a.LoadCount = c.sourceByNumber ? 0 : 1;
            a.Loads[0] = LoadRec{};
            a.Loads[0].Type = LoadRX;
            CopyText(a.Loads[0].Pos, bottom);
            a.Loads[0].A[0] = 50.0;
            a.UseLoads = 1;
            // Another antenna, as an open gives it: no position was placed on it.
            wnd->Positions.Forget();
            wnd->SetAntDef();
            wnd->UpdateMenuState();
        };
        // The reference: the wire already turned, the bottom pulse by its letter.
        build(false, "w1b");
        wnd->CalTrgBtn->click();
        ASSERT_EQ(Results.HasFarField, 1) << wnd->LogLines().join("\n").toStdString();
        const float r = Results.Row(0)->R, x = Results.Row(0)->jX;
        // The same pulse by its number while the wire still runs downwards.
        build(true, "w1e");
        ASSERT_EQ(PrepareModel(&wnd->Ant), 1);
        const std::string number = std::to_string(c.sourceByNumber ? wnd->Ant.Sources[0].Pulse : wnd->Ant.Loads[0].Pulse);
        build(true, number.c_str());
        const int rows = Results.RowCount;
        ASSERT_TRUE(wnd->CalTrgBtn->isEnabled());
        wnd->CalTrgBtn->click();
        ASSERT_EQ(Results.RowCount, rows + 1) << wnd->LogLines().join("\n").toStdString();
        EXPECT_EQ(wnd->Ant.Wires[0].Z1, 0.0);  // turned round
        EXPECT_NEAR(Results.Row(0)->R, r, 1e-3f * std::abs(r)) << (c.sourceByNumber ? "source" : "load");
        EXPECT_NEAR(Results.Row(0)->jX, x, 1e-3f * std::abs(r) + 0.01f) << (c.sourceByNumber ? "source" : "load");
    }
}

// The sweep laid out after a Start, and the frequency table's range taken
// from it, carry the typed frequency, not its single-precision image.
TEST_F(StartTest, TheSweepAfterAStartLiesOnTheTypedFrequency) {
    TypeDipole();
    const struct {
        const char *typed, *fmin, *fmax;
    } cases[] = {{"21.2", "21.0", "21.4"}, {"144.3", "142.3", "146.3"}, {"7.05", "6.99", "7.11"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        wnd->DoFreq->setEditText(c.typed);
        wnd->CalTrgBtn->click();
        ASSERT_EQ(Results.HasFarField, 1);
        QString shown[3];
        ExecModalDialog = [&](QDialog& d) {
            if (auto* dlg = dynamic_cast<TFreqSetDlg*>(&d))
                shown[0] = dlg->BgnFreq->text(), shown[1] = dlg->EndFreq->text(), shown[2] = dlg->MatchFreq->text();
            return int(QDialog::Rejected);
        };
        wnd->K49->trigger();
        EXPECT_EQ(shown[0].toStdString(), c.fmin);
        EXPECT_EQ(shown[1].toStdString(), c.fmax);
        EXPECT_EQ(shown[2].toStdString(), c.typed);
    }
}
