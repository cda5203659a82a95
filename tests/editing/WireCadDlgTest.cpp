// The wire editor's form: popup enabling, keys, the "Step" field, drags with
// their threshold and modifiers, memorised screens and the settings section.
#include "editing/WireCadDlg.h"
#include "platform/FormPattern.h"
#include "platform/IniFile.h"
#include "platform/ScriptedPrompter.h"
#include "platform/SettingsPath.h"
#include "platform/WindowBox.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <cmath>
#include <functional>
#include <memory>

namespace {

WireRec W(double x1, double y1, double z1, double x2, double y2, double z2) {
    WireRec w{};
    w.X1 = x1, w.Y1 = y1, w.Z1 = z1, w.X2 = x2, w.Y2 = y2, w.Z2 = z2;
    w.R = 0.001;
    w.Seg = 7;
    return w;
}

class WireCadDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        SettingsPathOverride = dir.filePath("Korva.ini").toStdString();
        scope = std::make_unique<ScopedPrompter>(prompter);
        previous = ExecModalDialog;
        for (auto& s : ScreenSlot) s = WireCadScreen{};
        WireCadZoomPosition = 75;
        ant = std::make_unique<AntDef>();
        // An L: a horizontal wire along X and a vertical one at its end, in
        // the X-Z plane, and a free wire beside them.
        const WireRec wires[] = {W(0, 0, 0, 4, 0, 0), W(4, 0, 0, 4, 0, 3), W(-3, 0, 2, -1, 0, 2)};
        ant->WireCount = 3;
        for (int i = 0; i < 3; ++i) ant->Wires[i] = wires[i];
    }
    void TearDown() override {
        ExecModalDialog = previous;
        scope.reset();
        SettingsPathOverride.clear();
    }
    // Opens the editor on the X-Z page with wire `selected` and runs `user`.
    int Run(int selected, const std::function<int(TWireCadDlg&)>& user, int* out = nullptr) {
        ExecModalDialog = [&](QDialog& d) {
            auto& dlg = static_cast<TWireCadDlg&>(d);
            dlg.resize(900, 640);
            dlg.show();
            QApplication::processEvents();
            dlg.Page->setCurrentIndex(PageXZ);
            QApplication::processEvents();
            return user(dlg);
        };
        TWireCadDlg dlg(nullptr);
        int sel = selected;
        const int result = dlg.Execute(ant.get(), &sel);
        if (out) *out = sel;
        return result;
    }
    static QPoint At(const TWireCadDlg& dlg, double a, double b) {
        int x = 0, y = 0;
        dlg.View.ToScreen(Point2D{a, b}, x, y);
        return {x, y};
    }
    static void Drag(TWireCadDlg& dlg, QPoint from, QPoint to, Qt::KeyboardModifiers keys = {}) {
        QWidget* box = dlg.ActiveBox();
        QTest::mousePress(box, Qt::LeftButton, keys, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), box->mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, keys);
        QApplication::sendEvent(box, &move);
        QTest::mouseRelease(box, Qt::LeftButton, keys, to);
        QApplication::processEvents();
    }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<ScopedPrompter> scope;
    std::function<int(QDialog&)> previous;
    std::unique_ptr<AntDef> ant;
};

TEST_F(WireCadDlgTest, PopupEnablesTheWireItemsByWhereItOpens) {
    Run(1, [&](TWireCadDlg& dlg) {
        struct Case {
            const char* where;
            QPoint at;
            bool wireItems, connect, disjoin;
        } cases[] = {
            {"empty space", At(dlg, -2, -2), false, false, false},
            {"shared end", At(dlg, 4, 0), true, false, true},
            {"free end", At(dlg, 4, 3), true, true, false},
            {"body", At(dlg, 4, 1.5), true, false, false},
        };
        for (const Case& c : cases) {
            dlg.PopupMenuPopup(c.at);
            for (QAction* a : {dlg.K3, dlg.K11, dlg.KS1, dlg.K10, dlg.K2, dlg.KX11})
                EXPECT_EQ(a->isEnabled(), c.wireItems) << c.where << " " << a->objectName().toStdString();
            EXPECT_EQ(dlg.K1->isEnabled(), c.connect) << c.where;
            EXPECT_EQ(dlg.K5->isEnabled(), c.disjoin) << c.where;
        }
        EXPECT_FALSE(dlg.K9->isEnabled()) << "\"Centred on antenne\" belongs to the 3D page";
        EXPECT_FALSE(dlg.KU1->isEnabled());
        EXPECT_FALSE(dlg.K13->isEnabled());
        return int(QDialog::Rejected);
    });
}

TEST_F(WireCadDlgTest, DeleteKeyDeletesTheSelectedWireEvenFromTheStepBox) {
    int selected = -1;
    const int result = Run(
        2,
        [&](TWireCadDlg& dlg) {
            dlg.GridWidth->lineEdit()->setFocus();
            QTest::keyClick(dlg.GridWidth->lineEdit(), Qt::Key_Delete);
            EXPECT_FALSE(dlg.Model.Live[2]);
            EXPECT_EQ(dlg.GridWidth->currentText().isEmpty(), false) << "the key did not reach the box";
            dlg.Model.Select(1);
            return int(QDialog::Accepted);
        },
        &selected);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ant->WireCount, 2);
    EXPECT_EQ(selected, 1);
}

TEST_F(WireCadDlgTest, BadStepTextIsReportedAndChangesNothing) {
    Run(0, [&](TWireCadDlg& dlg) {
        const double step = dlg.Grid.Step;
        for (const char* text : {"abc", "0", "-1", "nan"}) {
            prompter.Clear();
            QLineEdit* edit = dlg.GridWidth->lineEdit();
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, text);
            QTest::keyClick(edit, Qt::Key_Return);
            EXPECT_EQ(dlg.Grid.Step, step) << text;
            EXPECT_EQ(prompter.ShownBoxes().size(), 1u) << text;
            EXPECT_EQ(dlg.GridWidth->currentText().toDouble(), step) << text;
        }
        // A comma is typed as a point.
        QLineEdit* edit = dlg.GridWidth->lineEdit();
        edit->selectAll();
        QTest::keyClicks(edit, "0,25");
        EXPECT_EQ(edit->text(), "0.25");
        return int(QDialog::Rejected);
    });
}

TEST_F(WireCadDlgTest, ShortMovesSelectLongDragsMoveWithSnapShiftAndCtrl) {
    Run(1, [&](TWireCadDlg& dlg) {
        dlg.Grid.Step = 0.5;
        dlg.ChkAutoGrid->setChecked(false);
        // 7 pixels: no drag, no snapshot; the click keeps the wire selected.
        const QPoint top = At(dlg, 4, 3);
        Drag(dlg, top, top + QPoint(7, 0));
        EXPECT_FALSE(dlg.Model.HasUndo());
        EXPECT_EQ(dlg.Model.Wires[1].X2, 4.0);
        EXPECT_EQ(dlg.Model.Selected, 1);
        // The vertical wire's top end dragged sideways a little and up:
        // with the grid on only its height snaps.
        const double px = 1.0 / dlg.View.Scale;
        Drag(dlg, top, At(dlg, 4, 3.9));
        EXPECT_EQ(dlg.Model.Wires[1].X2, 4.0);
        EXPECT_NEAR(std::fmod(dlg.Model.Wires[1].Z2, 0.5), 0.0, 1e-12);
        EXPECT_GT(dlg.Model.Wires[1].Z2, 3.0);
        // Ctrl turns the end at the wire's length, unsnapped.
        const WireRec before = dlg.Model.Wires[1];
        const double length = before.Z2;
        Drag(dlg, At(dlg, 4, before.Z2), At(dlg, 4 + length * 0.6, before.Z2 * 0.8), Qt::ControlModifier);
        const WireRec& w = dlg.Model.Wires[1];
        EXPECT_NEAR(std::hypot(w.X2 - 4, w.Z2), length, 2 * px);
        EXPECT_GT(w.X2, 4.5);
        // Shift keeps a body move horizontal.
        dlg.Model.Select(2);
        const WireRec free = dlg.Model.Wires[2];
        Drag(dlg, At(dlg, -2, 2), At(dlg, -2, 2) + QPoint(60, -15), Qt::ShiftModifier);
        EXPECT_EQ(dlg.Model.Wires[2].Z1, free.Z1);
        EXPECT_EQ(dlg.Model.Wires[2].Z2, free.Z2);
        EXPECT_GT(dlg.Model.Wires[2].X1, free.X1);
        return int(QDialog::Rejected);
    });
    EXPECT_EQ(ant->Wires[1].Z2, 3.0) << "Cancel leaves the antenna";
}

TEST_F(WireCadDlgTest, ScrollBarsPanAndKeepMovingWhileHeldAtAnEnd) {
    Run(0, [&](TWireCadDlg& dlg) {
        QScrollBar* h = dlg.HBars[PageXZ];
        const double unit = 25.0 / dlg.View.Scale, start = dlg.View.OffA;
        h->setValue(60);
        EXPECT_NEAR(dlg.View.OffA, start - 10 * unit, 1e-12);
        EXPECT_EQ(dlg.QuickDraw, 5) << "panning leaves out the grid and the marks";
        h->setValue(100);
        const double atEnd = dlg.View.OffA;
        dlg.TimerTimer();
        EXPECT_NEAR(dlg.View.OffA, atEnd - 10 * unit, 1e-12);
        h->setValue(0);
        const double atStart = dlg.View.OffA;
        dlg.TimerTimer();
        EXPECT_NEAR(dlg.View.OffA, atStart + 5 * unit, 1e-12);
        QTest::mouseRelease(h, Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_EQ(dlg.QuickDraw, 0);
        EXPECT_FALSE(dlg.Timer->isActive());
        return int(QDialog::Rejected);
    });
}

TEST_F(WireCadDlgTest, DrawingPastTheBorderScrollsTheViewAndTheEndFollows) {
    Run(0, [&](TWireCadDlg& dlg) -> int {
        QTest::mouseClick(dlg.SBLine, Qt::LeftButton);
        QWidget* box = dlg.ActiveBox();
        const QPoint from = At(dlg, 0, 2);
        QTest::mousePress(box, Qt::LeftButton, {}, from);
        const QPoint outside(box->width() + 40, from.y());
        QMouseEvent move(QEvent::MouseMove, QPointF(outside), box->mapToGlobal(QPointF(outside)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(box, &move);
        const double endBefore = dlg.Model.Work.X2, offBefore = dlg.View.OffA;
        EXPECT_EQ(dlg.TimerState, 1);
        dlg.TimerTimer();
        EXPECT_NEAR(dlg.View.OffA, offBefore - 40 / dlg.View.Scale, 1.0 / dlg.View.Scale);
        EXPECT_NEAR(dlg.Model.Work.X2, endBefore + 40 / dlg.View.Scale, 1.0 / dlg.View.Scale);
        QTest::mouseRelease(box, Qt::LeftButton, {}, outside);
        EXPECT_EQ(dlg.Model.Count, 4);
        return int(QDialog::Rejected);
    });
}

TEST_F(WireCadDlgTest, ThreeDimensionalDragsLandOnTheNearestEnd) {
    Run(2, [&](TWireCadDlg& dlg) -> int {
        dlg.Page->setCurrentIndex(PageAll);
        QApplication::processEvents();
        auto screen = [&](const Point3D& p) {
            int x = 0, y = 0;
            dlg.View.ToScreen(p, x, y);
            return QPoint(x, y);
        };
        // The free wire's second end, released a few pixels off the L's top.
        Drag(dlg, screen({-1, 0, 2}), screen({4, 0, 3}) + QPoint(5, -4));
        EXPECT_EQ(dlg.Model.Wires[2].X2, 4.0);
        EXPECT_EQ(dlg.Model.Wires[2].Z2, 3.0);
        EXPECT_EQ(dlg.Model.Wires[2].Seg, -1);
        // New Wire from the L's corner to the free wire's first end.
        QTest::mouseClick(dlg.SBLine, Qt::LeftButton);
        Drag(dlg, screen({0, 0, 0}), screen({-3, 0, 2}));
        EXPECT_EQ(dlg.Model.Count, 4);
        EXPECT_EQ(dlg.Model.Selected, 3);
        return int(QDialog::Rejected);
    });
    ant->WireCount = 1;
    Run(0, [&](TWireCadDlg& dlg) -> int {
        dlg.Page->setCurrentIndex(PageAll);
        int x = 0, y = 0;
        dlg.View.ToScreen(Point3D{4, 0, 0}, x, y);
        Drag(dlg, {x, y}, {x + 50, y + 50});
        EXPECT_FALSE(dlg.Model.HasUndo()) << "one wire: the 3D page ignores presses";
        return int(QDialog::Rejected);
    });
}

TEST_F(WireCadDlgTest, ScreensAreRecalledWithoutAWireDeletedMeanwhile) {
    Run(2, [&](TWireCadDlg& dlg) {
        dlg.MemorizeScreen(0);
        dlg.PopupMenuPopup({0, 0});
        EXPECT_TRUE(dlg.K13->isEnabled());
        dlg.K3Click();
        dlg.Page->setCurrentIndex(PageAll);
        dlg.RecallScreen(0);
        EXPECT_EQ(dlg.ActivePage(), PageXZ);
        EXPECT_EQ(dlg.Model.Selected, -1);
        EXPECT_EQ(dlg.LWire->text(), "Wire isn't selected");
        return int(QDialog::Rejected);
    });
    // The last view is kept for the next run.
    EXPECT_TRUE(ScreenSlot[3].Valid);
    EXPECT_EQ(ScreenSlot[3].Page, PageXZ);
}

TEST_F(WireCadDlgTest, SettingsSectionKeepsTheWindowBox) {
    {
        // Without the section: the design size at the screen's scale, no
        // larger than the screen.
        TWireCadDlg dlg(nullptr);
        const double s = ScreenScale();
        const QSize design(int(780 * s), int(540 * s));
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        EXPECT_EQ(dlg.size(), design.boundedTo(screen));
    }
    QRect frame;
    Run(0, [&](TWireCadDlg& dlg) {
        dlg.show();
        dlg.setGeometry(30, 40, 700, 500);
        QApplication::processEvents();
        frame = FrameBox(dlg);
        dlg.reject();
        return int(QDialog::Rejected);
    });
    // The frame is kept, and comes back.
    const IniFile ini(SettingsFilePath());
    EXPECT_EQ(ini.ReadInteger("WireEd", "Width", 0), frame.width());
    EXPECT_EQ(ini.ReadInteger("WireEd", "Heigth", 0), frame.height());
    EXPECT_EQ(ini.ReadInteger("WireEd", "WinSt", -1), 0);
    TWireCadDlg again(nullptr);
    again.show();
    QApplication::processEvents();
    EXPECT_EQ(FrameBox(again), frame);
}

}  // namespace
