// Edits of the wires keep what sources and loads mean: the feed of a divided
// wire stays where it was in space.
#include "MainWndFixture.h"
#include "editing/WireCadDlg.h"

#include <QPushButton>

namespace {

class WireReferencesTest : public MainWndTest {
protected:
    // Start, and the feed impedance it shows.
    std::pair<double, double> Impedance() {
        wnd->CalTrgBtn->click();
        QApplication::processEvents();
        EXPECT_FALSE(wnd->LogFailed()) << wnd->LogLines().join("\n").toStdString();
        return {wnd->Grid1->Cells(2, 1).toDouble(), wnd->Grid1->Cells(3, 1).toDouble()};
    }
    // The wire editor run from its command, with wire `wire` divided into n.
    void DivideInWireEditor(int wire, int n) {
        ExecModalDialog = [wire, n](QDialog& dialog) {
            auto* editor = dynamic_cast<TWireCadDlg*>(&dialog);
            if (!editor) return int(QDialog::Rejected);
            editor->Model.Select(wire - 1);
            editor->KP[n]->trigger();
            return int(QDialog::Accepted);
        };
        wnd->KCAD->trigger();
        QApplication::processEvents();
    }
};

TEST_F(WireReferencesTest, DividingTheFedWireKeepsTheFeedAtItsPoint) {
    Open({"korva", QStringLiteral(KORVA_TEST_DATA "/../../examples/dipole.kva")});
    const auto [r, x] = Impedance();
    DivideInWireEditor(1, 2);
    ASSERT_EQ(wnd->Ant.WireCount, 2);
    // The centre is now the junction of the halves, the first pulse of the second.
    EXPECT_STREQ(wnd->Ant.Sources[0].Pos, "w2b");
    // The halves are segmented anew; fed at the centre they stay a dipole
    // (fed a quarter along, 137 - j10 ohm).
    const auto [rAuto, xAuto] = Impedance();
    EXPECT_NEAR(rAuto, r, 1.0);
    EXPECT_NEAR(xAuto, x, 5.0);
    // With the 22 segments of the whole wire shared out, the same model.
    Type(wnd->Grid2, 8, 1, "11");
    Type(wnd->Grid2, 8, 2, "11");
    const auto [r2, x2] = Impedance();
    EXPECT_NEAR(r2, 71.25, 0.006);
    EXPECT_NEAR(x2, -4.03, 0.006);
    EXPECT_NEAR(r2, r, 0.001);
    EXPECT_NEAR(x2, x, 0.001);
}

}  // namespace
