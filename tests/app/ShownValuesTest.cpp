// What a cell or field shows reads back as what the program computes with:
// its shown text entered again keeps the stored value, however rounded the
// text is, and a pasted decimal comma reads as a typed one; through the
// tables, the dialogs and the fields a user reaches them by.
#include "FileCommandsFixture.h"
#include "editing/GrpWireDlg.h"
#include "editing/MediaDlgBox.h"
#include "editing/StackDlgBox.h"
#include "editing/ValRepDlg.h"
#include "editing/WCombDlg.h"
#include "editing/WireEditDlg.h"
#include "editing/WireScaleDlg.h"
#include "model/NumberText.h"
#include "platform/RadioGroup.h"
#include "tools/OptDlgBox.h"
#include "views/FreqSetDlg.h"
#include "views/NWLForm.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

namespace {

// Two wires joined at R/8, more digits than any field shows; the second is
// cut by the pair 4,8 as a file gives it (typed anew, "4,8" is the count 4).
// A third slants, so its polar form needs sines and cosines.
// The feed sits at the joint; phase, load, taper section, frequency and
// reference resistance all have digits beyond their fields too.
constexpr const char* JointText =
    "Joint at R/8\r\n*\r\n14.15+1/3\r\n***Wires***\r\n3\r\n"
    "0,\t0,\t10,\t0,\tR/8,\t10,\t0.001,\t-1\r\n"
    "0,\tR/8,\t10,\t0,\tR/8+1,\t10,\t0.001,\t4,\t8\r\n"
    "1,\t1,\t10,\tR/7,\tR/9,\t10+1/3,\t0.001,\t5\r\n"
    "*** Source ***\r\n1,\t1\r\nw1e,\t1/3,\t1.0\r\n"
    "*** Load ***\r\n1,\t1\r\nw2c,\t0,\t1/3,\t1/7,\t0\r\n"
    "*** Segmentation ***\r\n800,\t80,\t2.0,\t1\r\n"
    "*** G/H/M/R/AzEl/X ***\r\n0,\t0.0,\t0,\t50+1/3,\t120,\t60,\t0.0\r\n"
    "$$$ Taper wire set $$$\r\n1\r\n-1,\t0,\tR/9,\t0.001,\tR/7,\t0.002,\t1,\t0.003\r\n";

class ShownValuesTest : public FileCommandsTest {
protected:
    void OpenJoint() {
        ExecModalDialog = [](QDialog&) { return int(QDialog::Rejected); };
        prompter.AnswerMessage(BoxNo);  // the edits of the row before
        prompter.AnswerFile(WriteFile("joint.kva", JointText).toStdString());
        wnd->K3->trigger();
        prompter.Clear();
        ASSERT_EQ(wnd->Ant.WireCount, 3);
        ASSERT_TRUE(IsSegPair(wnd->Ant.Wires[1].Seg));
    }

    // The antenna with its reference values, and the radials of the ground.
    std::vector<uint8_t> Kept() const {
        std::vector<uint8_t> kept = ExactAntenna();
        const auto* radius = reinterpret_cast<const uint8_t*>(&EnvDef.RadialRadius);
        kept.insert(kept.end(), radius, radius + sizeof EnvDef.RadialRadius);
        return kept;
    }

    // The next dialog of the given kind gets the fields filled and OK (or
    // Cancel); any other is cancelled.
    template <class Dialog>
    static void When(std::function<void(Dialog&)> fill, int result = QDialog::Accepted) {
        ExecModalDialog = [fill, result](QDialog& d) {
            auto* dialog = dynamic_cast<Dialog*>(&d);
            if (!dialog) return int(QDialog::Rejected);
            fill(*dialog);
            return result;
        };
    }
    // A command of the wire table's current cell.
    void Command(QAction* command, int col, int row) {
        wnd->Page->setCurrentIndex(0);
        wnd->Grid2->setFocus();
        wnd->Grid2->SetCurrentCell(col, row);
        wnd->UpdateMenuState();
        ASSERT_TRUE(command->isEnabled()) << command->objectName().toStdString();
        command->trigger();
    }
    std::function<void()> OnCell(QAction* command, int col, int row) {
        return [=, this] { Command(command, col, row); };
    }
    static std::function<void()> Trigger(QAction* command) {
        return [command] { command->trigger(); };
    }
    // Opens a dialog, which gets `fill` and OK (or Cancel).
    template <class Dialog>
    static std::function<void()> In(std::function<void(Dialog&)> fill, std::function<void()> open,
                                    int result = QDialog::Accepted) {
        return [=] {
            When<Dialog>(fill, result);
            open();
        };
    }
    void Calculate() {
        wnd->CalTrgBtn->click();
        QApplication::processEvents();
        ASSERT_FALSE(wnd->LogFailed()) << wnd->LogLines().join("\n").toStdString();
        wnd->UpdateMenuState();
    }

    // What a user types over a field's text: the text itself, key by key.
    static void TypeShown(QLineEdit* field) {
        const QString shown = field->text();
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, shown);
    }
    static void TypeShown(StringGrid* grid, int col, int row) { Type(grid, col, row, grid->Cells(col, row)); }

    // What a frequency list reads from its field, in the rows that check one.
    double read_ = 0;

    static void Paste(QLineEdit* field, const QString& text) {
        QApplication::clipboard()->setText(text);
        field->selectAll();
        field->paste();
    }
    static void Paste(StringGrid* grid, int col, int row, const QString& text) {
        const QModelIndex index = grid->model()->index(row - 1, col - 1);
        grid->setFocus();
        grid->setCurrentIndex(index);
        grid->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(index));
        ASSERT_NE(editor, nullptr) << "no editor at " << col << "," << row;
        Paste(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
    }
};

using Step = std::function<void()>;

}  // namespace

TEST_F(ShownValuesTest, TheShownTextEnteredAgainKeepsTheAntenna) {
    const struct {
        const char* entry;
        Step act;
        Step prepare = [] {};  // what the antenna holds before
    } rows[] = {
        {"wire table, Y2 at the joint", [&] { TypeShown(wnd->Grid2, 5, 1); }},
        {"wire table, the pair 4,8", [&] { TypeShown(wnd->Grid2, 8, 2); }},
        {"wire table in wavelengths",
         [&] {
             wnd->ChkRmd->click();
             TypeShown(wnd->Grid2, 5, 2);
             wnd->ChkRmd->click();
         }},
        {"source table, phase", [&] { TypeShown(wnd->Grid3, 2, 1); }},
        {"load table, L", [&] { TypeShown(wnd->Grid4, 3, 1); }},
        {"load table, resonance", [&] { TypeShown(wnd->Grid4, 6, 1); }},
        {"element table, width",
         In<TGrpWireDlg>([](TGrpWireDlg& d) { TypeShown(d.Grid, ColWidth, 1); }, Trigger(wnd->K18))},
        {"taper-set grid, section length",
         In<TWCombDlg>([](TWCombDlg& d) { TypeShown(d.Grid, 3, 1); }, Trigger(wnd->K45))},
        {"single-wire editor, untouched", In<TWireEditDlg>([](TWireEditDlg&) {}, OnCell(wnd->KT2, 1, 1))},
        {"single-wire editor, Y2",
         In<TWireEditDlg>([](TWireEditDlg& d) { TypeShown(d.EditY2); }, OnCell(wnd->KT2, 1, 1))},
        {"single-wire editor, length and azimuth",
         In<TWireEditDlg>(
             [](TWireEditDlg& d) {
                 TypeShown(d.EditLen);
                 TypeShown(d.EditHDeg);
             },
             OnCell(wnd->KT2, 1, 3))},
        {"single-wire editor, the pair 4,8",
         In<TWireEditDlg>([](TWireEditDlg& d) { TypeShown(d.EditSeg); }, OnCell(wnd->KT2, 1, 2))},
        {"scale dialog, frequency",
         In<TWireScaleDlg>([](TWireScaleDlg& d) { TypeShown(d.TFreq->lineEdit()); }, OnCell(wnd->KS4, 1, 1))},
        {"stack dialog, spacing", In<TStackDlgBox>([](TStackDlgBox& d) { TypeShown(d.HW); }, Trigger(wnd->K37)),
         [&] { wnd->Ant.hSpacing = wnd->Ant.vSpacing = JobDef.Wavelength / 3; }},
        {"ground dialog, radial radius", In<TMediaDlgBox>([](TMediaDlgBox&) {}, [&] { wnd->GndSetBtn->click(); }),
         [&] {
             EnvDef.RadialRadius = 0.001 / 3;
             wnd->CalcSel->Button(2)->click();
         }},
        {"setup page, reference resistance", In<TOptDlgBox>([](TOptDlgBox&) {}, Trigger(wnd->K21))},
        {"frequency field, Start", [&] { Calculate(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entry);
        OpenJoint();
        row.prepare();
        const std::vector<uint8_t> before = Kept();
        row.act();
        QApplication::processEvents();
        EXPECT_TRUE(Kept() == before);
    }
}

// Search and replace: a field left showing the selected value searches, or
// becomes, that value as stored; the pair shown searches the pair.
TEST_F(ShownValuesTest, SearchAndReplaceTakesTheShownValueAsStored) {
    OpenJoint();
    const double joint = wnd->Ant.Wires[0].Y2;
    When<TValRepDlg>([](TValRepDlg& d) { d.EditNew->setText("5"); });
    Command(wnd->K27, 8, 2);
    EXPECT_EQ(wnd->Ant.Wires[1].Seg, 5);

    When<TValRepDlg>([](TValRepDlg& d) {
        d.InvSel->setChecked(false);
        d.EditOld->setText("10");
    });
    Command(wnd->K27, 5, 1);  // the joint's Y replaces every coordinate 10
    EXPECT_EQ(wnd->Ant.Wires[0].Z1, joint);
    EXPECT_EQ(wnd->Ant.Wires[1].Z2, joint);
    EXPECT_EQ(wnd->Ant.Wires[1].Y1, joint);
}

TEST_F(ShownValuesTest, APastedDecimalCommaReadsAsATypedOne) {
    const struct {
        const char* entry;
        Step act;
        std::function<double()> value;
    } rows[] = {
        {"wire table", [&] { Paste(wnd->Grid2, 1, 1, "12,5"); }, [&] { return wnd->Ant.Wires[0].X1; }},
        {"source table", [&] { Paste(wnd->Grid3, 2, 1, "12,5"); }, [&] { return wnd->Ant.Sources[0].Phase; }},
        {"load table", [&] { Paste(wnd->Grid4, 3, 1, "12,5"); }, [&] { return wnd->Ant.Loads[0].A[0]; }},
        {"element table",
         In<TGrpWireDlg>([](TGrpWireDlg& d) { Paste(d.Grid, ColWidth, 1, "12,5"); }, Trigger(wnd->K18)),
         [&] { return wnd->Ant.Wires[1].Y2 - wnd->Ant.Wires[0].Y1; }},
        {"taper-set grid",
         In<TWCombDlg>([](TWCombDlg& d) { Paste(d.Grid, 3, 1, "12,5"); }, Trigger(wnd->K45)),
         [&] { return wnd->Ant.TaperSets[0].Len[0]; }},
        {"single-wire editor",
         In<TWireEditDlg>([](TWireEditDlg& d) { Paste(d.EditX1, "12,5"); }, OnCell(wnd->KT2, 1, 1)),
         [&] { return wnd->Ant.Wires[0].X1; }},
        {"search and replace",
         In<TValRepDlg>([](TValRepDlg& d) { Paste(d.EditNew, "12,5"); }, OnCell(wnd->K27, 1, 1)),
         [&] { return wnd->Ant.Wires[1].X2; }},
        {"design frequency field", [&] { Paste(wnd->Freq->lineEdit(), "12,5"); }, [&] { return wnd->Ant.Freq; }},
        {"ground dialog",
         [&] {
             wnd->CalcSel->Button(2)->click();
             In<TMediaDlgBox>([](TMediaDlgBox& d) { Paste(d.RadR, "12,5"); }, [&] { wnd->GndSetBtn->click(); })();
         },
         [&] { return EnvDef.RadialRadius * 1000; }},
        {"frequency table",
         [&] {
             Calculate();
             In<TFreqSetDlg>(
                 [this](TFreqSetDlg& d) {
                     Paste(d.BgnFreq, "12,5");
                     StrToDblExpr(read_, d.BgnFreq->text().toStdString());
                 },
                 Trigger(wnd->K49), QDialog::Rejected)();
         },
         [&] { return read_; }},
        {"multiband list",
         [&] {
             Calculate();
             In<TNWLForm>(
                 [this](TNWLForm& d) {
                     d.EditBand(10);
                     Paste(d.StEd, "12,5");
                     d.OKbBtnClick();
                     double end = 0;
                     ParseBandText(d.BandLB->item(10)->text().toStdString(), read_, end);
                 },
                 Trigger(wnd->NWLDat), QDialog::Rejected)();
         },
         [&] { return read_; }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entry);
        OpenJoint();
        row.act();
        QApplication::processEvents();
        // Within the rounding of a width laid out from the element's middle.
        EXPECT_NEAR(row.value(), 12.5, 1e-12);
    }
}
