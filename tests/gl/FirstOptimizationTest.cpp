// The README's first optimization, step by step as a newcomer follows it on
// the Yagi example: Optimization on the Calculate tab, F2 on the selected Type
// cell of the empty table and "Element" from its menu, a click on the
// selected What cell and "Width Y", Start with the weights as they are, No to
// saving the log, then "Optimization log": a screenshot of that log is saved
// into the build folder.
#include "ScreenshotPath.h"
#include "app/MainWndFixture.h"
#include "optimizer/ACalDlg.h"
#include "optimizer/ACalResDlg.h"
#include "optimizer/OptimizerState.h"

#include <QAction>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>

namespace {

class FirstOptimization : public MainWndTest {
protected:
    // Clicks the item of an open popup menu, as the mouse would.
    // A click on a selected cell opens its menu only after the double-click
    // interval (Qt's delayed editing), so the menu is waited for.
    static void ChooseFromMenu(QMenu* menu, const QString& text) {
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 5000)) << text.toStdString();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu)) << text.toStdString();
        QAction* chosen = nullptr;
        for (QAction* a : menu->actions())
            if (a->text() == text) chosen = a;
        ASSERT_NE(chosen, nullptr) << text.toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
        QApplication::processEvents();
    }
    // The delay keeps a second click from counting as a double click.
    static void ClickCell(StringGrid* grid, int col, int row) {
        const QPoint at = grid->viewport()->mapFrom(grid, grid->CellRect(col, row).center());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at, QApplication::doubleClickInterval() + 100);
        QApplication::processEvents();
    }

    // The optimizer dialog: the first row made from the Type cell's menu,
    // opened by F2 or by a click on the selected cell.
    static int MakeFirstRowAndStart(TACalDlg& dlg, bool typeMenuByClick) {
        StringGrid* grid = dlg.Grid;
        EXPECT_EQ(dlg.GetCellText(1, 1), "");
        EXPECT_FALSE(dlg.OKBtn->isEnabled());
        // The Type cell of the empty line is the current cell once the form
        // has the focus (without a window manager the focus comes late).
        grid->setFocus();
        EXPECT_TRUE(QTest::qWaitFor([grid] { return grid->currentIndex().isValid(); }, 5000));
        EXPECT_EQ(grid->Col(), 1);
        EXPECT_EQ(grid->Row(), 1);
        if (typeMenuByClick)
            ClickCell(grid, 1, 1);
        else
            QTest::keyClick(grid, Qt::Key_F2);
        ChooseFromMenu(dlg.PopupType, "Element");
        EXPECT_EQ(dlg.GetCellText(1, 1), "Eleme.");
        EXPECT_EQ(dlg.GetCellText(2, 1), "1");

        // A click selects the What cell, a second one opens its menu.
        ClickCell(grid, 3, 1);
        ClickCell(grid, 3, 1);
        ChooseFromMenu(dlg.PopupEle, "Width Y");
        EXPECT_EQ(dlg.GetCellText(3, 1), "Y");
        EXPECT_EQ(dlg.GetCellText(8, 1), "10.7");  // the reflector

        EXPECT_TRUE(dlg.OKBtn->isEnabled());
        QTest::mouseClick(dlg.OKBtn, Qt::LeftButton);
        return dlg.result();
    }

    void FollowTheReadme(bool typeMenuByClick) {
        Open({"korva", QString(KORVA_TEST_DATA) + "/../../examples/yagi3.kva"});
        wnd->resize(1024, 768);
        QTest::qWait(400);  // the re-layout ends on a timer after the last size change
        ASSERT_EQ(wnd->Ant.WireCount, 3);
        wnd->Page->setCurrentWidget(wnd->TabSheet3);
        QApplication::processEvents();

        prompter.AnswerMessage(BoxNo);  // "Save optimization log as *.kvo file?"
        int logRows = 0;
        double bestWidth = 0;
        ExecModalDialog = [&](QDialog& d) {
            d.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
            d.activateWindow();
            QApplication::processEvents();
            int result = QDialog::Rejected;
            if (auto* setup = dynamic_cast<TACalDlg*>(&d)) {
                result = MakeFirstRowAndStart(*setup, typeMenuByClick);
            } else if (auto* log = dynamic_cast<TACalResDlg*>(&d)) {
                logRows = static_cast<int>(log->Entries().size());
                if (logRows > 0) bestWidth = log->Entries().front().Values[0];  // best first
                EXPECT_TRUE(log->grab().save(ShotPath("yagi_example_optimization_log.png")));
            } else {
                ADD_FAILURE() << "unexpected dialog " << d.objectName().toStdString();
            }
            d.hide();
            return result;
        };
        QTest::mouseClick(wnd->ACalBtn, Qt::LeftButton);
        const QStringList log = wnd->LogLines();
        ASSERT_NE(wnd->ACal, nullptr);
        EXPECT_EQ(wnd->ACal->RowCount(), 1);
        EXPECT_GT(wnd->ACal->LogCount, 1) << log.join("\n").toStdString();
        ASSERT_FALSE(log.isEmpty());
        EXPECT_TRUE(log.last().endsWith(" sec")) << log.join("\n").toStdString();
        EXPECT_TRUE(prompter.AllAnswersUsed());

        ASSERT_TRUE(wnd->ACalResBtn->isEnabled());
        QTest::mouseClick(wnd->ACalResBtn, Qt::LeftButton);
        EXPECT_EQ(logRows, wnd->ACal->LogCount);
        // The run leaves the antenna at its best point.
        const WireRec& reflector = wnd->Ant.Wires[0];
        EXPECT_NEAR(reflector.Y2 - reflector.Y1, bestWidth, 1e-9);
        ExecModalDialog = [](QDialog&) { return int(QDialog::Rejected); };
    }
};

}  // namespace

TEST_F(FirstOptimization, F2OnTheTypeCellMakesTheFirstRowThenStartFillsTheLog) { FollowTheReadme(false); }

TEST_F(FirstOptimization, AClickOnTheSelectedTypeCellMakesTheFirstRowToo) { FollowTheReadme(true); }
