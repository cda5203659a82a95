// The optimizer's band table follows a deleted wire as the source table does:
// examples/yagi3.kva with two bands fed at "w2c", wire 1 deleted, and the
// band table shown again. The screenshot of it goes beside the test program.
#include "ScreenshotPath.h"
#include "app/MainWndFixture.h"
#include "model/ResultStore.h"
#include "optimizer/ACalDlg.h"
#include "optimizer/ACalMultDlg.h"
#include "optimizer/OptimizerState.h"

#include <QDir>
#include <QPixmap>
#include <QPushButton>

namespace {

class OptimizerBandsScreenshot : public MainWndTest {
protected:
    // Optimization, Band setting: `edit` runs on the band table, which then
    // closes; the optimizer dialog is cancelled.
    void EditBands(const std::function<void(TACalMultDlg&)>& edit) {
        ExecModalDialog = [edit](QDialog& dialog) {
            if (auto* optimizer = dynamic_cast<TACalDlg*>(&dialog)) {
                optimizer->show();
                optimizer->BandBtn->click();
            } else if (auto* bands = dynamic_cast<TACalMultDlg*>(&dialog)) {
                bands->resize(bands->size());
                bands->show();
                QApplication::processEvents();
                edit(*bands);
            }
            return int(QDialog::Rejected);
        };
        wnd->ACalBtn->click();
        QApplication::processEvents();
    }
};

}  // namespace

TEST_F(OptimizerBandsScreenshot, YagiBandsAfterDeletingWire1) {
    Open({"korva", QString(KORVA_TEST_DATA) + "/../../examples/yagi3.kva"});
    wnd->resize(1024, 768);
    QTest::qWait(400);
    ASSERT_EQ(wnd->Ant.WireCount, 3);
    ASSERT_STREQ(wnd->Ant.Sources[0].Pos, "w2c");
    EditBands([](TACalMultDlg& bands) {
        bands.GridSetEditText(1, 1, "14.1");
        bands.GridSetEditText(1, 2, "14.3");
    });
    ASSERT_NE(wnd->ACal, nullptr);
    CACal& cal = *wnd->ACal;
    ASSERT_EQ(cal.BandCount, 2);
    // A variable row on the driven element, one on the director's wire.
    cal.SetRowCount(2);
    cal.Row(0).Kind = KindElement;
    cal.Row(0).Item = 1;
    cal.Row(0).Field = 1;
    cal.Row(1).Kind = KindWire;
    cal.Row(1).Item = 2;

    wnd->Page->setCurrentWidget(wnd->TabSheet1);
    wnd->activateWindow();
    // Delete works on the focused table, which needs the window active.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&*wnd));
    wnd->Grid2->setFocus();
    wnd->Grid2->SetCurrentCell(1, 1);
    QApplication::processEvents();
    wnd->K13->trigger();
    ASSERT_EQ(wnd->Ant.WireCount, 2);
    EXPECT_STREQ(wnd->Ant.Sources[0].Pos, "w1c");
    for (int b = 0; b < 2; ++b) EXPECT_STREQ(cal.Bands[b].Sources[0].Pos, "w1c") << "band " << b + 1;
    EXPECT_EQ(cal.Row(0).Item, 0) << "the driven element is now the first";
    EXPECT_EQ(cal.Row(1).Item, 1) << "the director is now wire 2";
    // The current goal's position, by default on wire 1, went with it.
    EXPECT_STREQ(cal.CurrentPos, "");
    EXPECT_TRUE(wnd->LogLines().contains("The current goal (w1c) was on the deleted wire 1 and is removed."))
        << wnd->LogLines().join("\n").toStdString();
    // The next band calculation feeds the driven element.
    cal.SetBand(wnd->Ant, 1);
    EXPECT_STREQ(wnd->Ant.Sources[0].Pos, "w1c");
    EXPECT_DOUBLE_EQ(wnd->Ant.CalcFreq, 14.3);

    QPixmap shot;
    EditBands([&shot](TACalMultDlg& bands) {
        EXPECT_EQ(bands.GetCellText(2, 1), "w1c");
        EXPECT_EQ(bands.GetCellText(2, 2), "w1c");
        shot = bands.grab();
    });
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(shot.save(ShotPath("yagi3_band_table_after_deleting_wire_1.png")));
}
