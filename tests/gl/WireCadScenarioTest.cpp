// The graphical wire editor as a user drives it from the main window: on a
// dipole, draw a second wire in "2D X-Z" snapped to the grid, connect it to
// the dipole's end, divide the dipole, undo the division, then OK; and the
// same gestures ended with Cancel. A screenshot of each page is saved into
// the build folder for review.
#include "ScreenshotPath.h"
#include "app/MainWndFixture.h"
#include "model/FedDipole.h"
#include "editing/WireCadDlg.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <cmath>
#include <functional>

namespace {

bool SameGeometry(const WireRec& a, const WireRec& b) {
    return a.X1 == b.X1 && a.Y1 == b.Y1 && a.Z1 == b.Z1 && a.X2 == b.X2 && a.Y2 == b.Y2 && a.Z2 == b.Z2 && a.R == b.R;
}

class WireCadScenario : public MainWndTest {
protected:
    void SetUp() override {
        MainWndTest::SetUp();
        MakeFedDipole(wnd->Ant, WireRec{-5, 0, 10, 5, 0, 10, 0.001, 21, 0, 0, 0});
        wnd->SetAntDef();
        dipole = wnd->Ant.Wires[0];
        QApplication::processEvents();
    }
    // Runs "Wire edit" from the Edit menu with the user's steps in the editor.
    void RunEditor(const std::function<int(TWireCadDlg&)>& user) {
        ExecModalDialog = [&](QDialog& d) {
            auto& dlg = static_cast<TWireCadDlg&>(d);
            dlg.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&dlg));
            QApplication::processEvents();
            const int result = user(dlg);
            dlg.hide();
            return result;
        };
        wnd->KCAD->trigger();
        ExecModalDialog = [](QDialog&) { return int(QDialog::Rejected); };
    }
    static QPoint At(TWireCadDlg& dlg, double a, double b) {
        int x = 0, y = 0;
        dlg.View.ToScreen(Point2D{a, b}, x, y);
        return {x, y};
    }
    // A gesture with the left button from one page point to another.
    static void Drag(TWireCadDlg& dlg, QPoint from, QPoint to) {
        QWidget* box = dlg.ActiveBox();
        QTest::mousePress(box, Qt::LeftButton, {}, from);
        QTest::mouseMove(box, (from + to) / 2);
        QTest::mouseMove(box, to);
        QTest::mouseRelease(box, Qt::LeftButton, {}, to);
        QApplication::processEvents();
    }
    // The popup opened at a point, then one of its items chosen.
    static void Popup(TWireCadDlg& dlg, QPoint at, QAction* item) {
        dlg.PopupMenuPopup(at);
        ASSERT_TRUE(item->isEnabled()) << item->objectName().toStdString();
        item->trigger();
        QApplication::processEvents();
    }
    // Draws the new wire (6, 10)-(6, 15) in "2D X-Z", a little off the grid.
    void DrawSecondWire(TWireCadDlg& dlg) {
        dlg.Page->setCurrentIndex(PageXZ);
        QApplication::processEvents();
        const double step = dlg.Grid.Step;
        ASSERT_GT(step, 0.0);
        for (double v : {6.0, 10.0, 15.0}) ASSERT_NEAR(v / step, std::round(v / step), 1e-9) << step;
        QTest::mouseClick(dlg.SBLine, Qt::LeftButton);
        ASSERT_EQ(dlg.EditMode, 1);
        const double off = 0.3 * step;
        Drag(dlg, At(dlg, 6.0 + off, 10.0 - off), At(dlg, 6.0 - off, 15.0 + off));
        ASSERT_EQ(dlg.Model.Count, 2);
        const WireRec& w = dlg.Model.Wires[1];
        EXPECT_EQ(w.X1, 6.0);
        EXPECT_EQ(w.Z1, 10.0);
        EXPECT_EQ(w.X2, 6.0);
        EXPECT_EQ(w.Z2, 15.0);
        EXPECT_EQ(w.Y1, 0.0);
        EXPECT_EQ(dlg.Model.Selected, 1);
    }
    WireRec dipole{};
};

TEST_F(WireCadScenario, DrawConnectDivideUndoThenOkWritesExactlyTheEditedWires) {
    RunEditor([&](TWireCadDlg& dlg) {
        // The form comes up at its design size scaled to the screen.
        const double scale = ScreenScale();
        EXPECT_NEAR(dlg.width(), 780 * scale, 2);
        EXPECT_NEAR(dlg.height(), 540 * scale, 2);
        DrawSecondWire(dlg);
        if (HasFatalFailure()) return int(QDialog::Rejected);

        // Connect the new wire's lower end to the dipole's nearest end.
        QTest::mouseClick(dlg.SBSel, Qt::LeftButton);
        Popup(dlg, At(dlg, 6.0, 10.0), dlg.K1);
        EXPECT_EQ(dlg.Model.Wires[1].X1, 5.0);
        EXPECT_EQ(dlg.Model.Wires[1].Z1, 10.0);
        EXPECT_EQ(dlg.Model.Wires[0].Seg, -1) << "the joined wires are segmented anew";

        // Select the dipole by a click on it and divide it into two.
        QTest::mouseClick(dlg.ActiveBox(), Qt::LeftButton, {}, At(dlg, -2.0, 10.0));
        EXPECT_EQ(dlg.Model.Selected, 0);
        Popup(dlg, At(dlg, -2.0, 10.0), dlg.KP[2]);
        EXPECT_EQ(dlg.Model.Count, 3);
        EXPECT_EQ(dlg.Model.Wires[0].X2, 0.0);

        for (int page = 0; page < 4; ++page) {
            dlg.Page->setCurrentIndex(page);
            // The pages share one centre; the user centres each on the antenna.
            QTest::mouseClick(dlg.SBView, Qt::LeftButton);
            QApplication::processEvents();
            EXPECT_TRUE(dlg.grab().save(ShotPath(QString("wirecad_page%1.png").arg(page))));
        }
        dlg.Page->setCurrentIndex(PageXZ);
        QTest::mouseClick(dlg.SBView, Qt::LeftButton);
        QApplication::processEvents();

        Popup(dlg, At(dlg, -2.0, 10.0), dlg.KU1);
        EXPECT_EQ(dlg.Model.Wires[0].X2, 5.0);
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
        return dlg.result();
    });
    const AntDef& a = wnd->Ant;
    ASSERT_EQ(a.WireCount, 2);
    EXPECT_TRUE(SameGeometry(a.Wires[0], dipole));
    EXPECT_EQ(a.Wires[0].Seg, -1);
    const WireRec& second = a.Wires[1];
    EXPECT_EQ(second.X1, 5.0);
    EXPECT_EQ(second.Z1, 10.0);
    EXPECT_EQ(second.X2, 6.0);
    EXPECT_EQ(second.Z2, 15.0);
    EXPECT_EQ(second.Seg, -1);
    EXPECT_EQ(second.R, dipole.R);
    EXPECT_TRUE(a.Changed);
    EXPECT_EQ(wnd->Grid2->Row(), 1) << "the undo brought back the dipole's selection";
}

// Opened while the wire table has the focus, the editor's popup offers its
// view and wire items; a screenshot of the open popup is saved for review.
TEST_F(WireCadScenario, PopupOpenedFromTheWireTableHasItsItemsEnabled) {
    wnd->Page->setCurrentWidget(wnd->TabSheet1);
    wnd->activateWindow();
    wnd->Grid2->setFocus();
    wnd->Grid2->SetRow(1);
    QApplication::processEvents();
    RunEditor([&](TWireCadDlg& dlg) {
        dlg.activateWindow();
        dlg.Page->setCurrentIndex(PageXZ);
        QTest::mouseClick(dlg.SBView, Qt::LeftButton);
        QApplication::processEvents();
        const QPoint at = At(dlg, -2.0, 10.0);
        QTest::mouseClick(dlg.ActiveBox(), Qt::LeftButton, {}, at);
        EXPECT_EQ(dlg.Model.Selected, 0);
        dlg.PopupMenuPopup(at);
        dlg.PopupMenu->popup(dlg.ActiveBox()->mapToGlobal(at));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.PopupMenu));
        for (QAction* item : {dlg.K4, dlg.K8, dlg.K16, dlg.K17, dlg.K11, dlg.K3, dlg.KS1, dlg.K10, dlg.K2, dlg.KP[2], dlg.K6})
            EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
        QApplication::processEvents();
        QImage shot = dlg.grab().toImage();
        QPainter paint(&shot);
        paint.drawPixmap(dlg.mapFromGlobal(dlg.PopupMenu->pos()), dlg.PopupMenu->grab());
        paint.end();
        EXPECT_TRUE(shot.save(ShotPath("wirecad_popup.png")));
        dlg.PopupMenu->close();
        return int(QDialog::Rejected);
    });
}

TEST_F(WireCadScenario, CancelChangesNothing) {
    RunEditor([&](TWireCadDlg& dlg) {
        DrawSecondWire(dlg);
        QTest::mouseClick(dlg.SBSel, Qt::LeftButton);
        QTest::keyClick(&dlg, Qt::Key_Delete);
        EXPECT_EQ(dlg.Model.ShownCount(), 1);
        QTest::mouseClick(dlg.CancelBtn, Qt::LeftButton);
        return dlg.result();
    });
    ASSERT_EQ(wnd->Ant.WireCount, 1);
    EXPECT_TRUE(SameGeometry(wnd->Ant.Wires[0], dipole));
    EXPECT_EQ(wnd->Ant.Wires[0].Seg, dipole.Seg);
}

}  // namespace
