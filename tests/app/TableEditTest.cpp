// Deleting and inserting rows of the focused geometry table through the Edit
// menu and the table popup: effects, limits and what the window shows after.
#include "MainWndFixture.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <vector>

namespace {

class TableEditTest : public MainWndTest {
protected:
    void SetWires(int count) {
        for (int i = 0; i < count; ++i)
            wnd->Ant.Wires[i] = WireRec{0, double(i), 10, 5, double(i), 10, 0.001 * (i + 1), 10 + i, 0, 0, 0};
        wnd->Ant.WireCount = count;
        wnd->SetAntDef();
        wnd->UpdateCount();
    }
    // The table gets the focus and its current row, as after a click.
    void Focus(StringGrid* grid, int row) {
        wnd->activateWindow();
        grid->setFocus();
        grid->SetCurrentCell(1, row);
        QApplication::processEvents();
        ASSERT_EQ(wnd->FocusedTable(), grid);
        wnd->UpdateMenuState();  // as the table's click handler does
    }
};

}  // namespace

TEST_F(TableEditTest, DeleteRemovesTheCurrentWire) {
    SetWires(3);
    wnd->Ant.Changed = 0;
    Focus(wnd->Grid2, 2);
    wnd->K13->trigger();
    ASSERT_EQ(wnd->Ant.WireCount, 2);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[1].Y1, 2.0);
    EXPECT_EQ(wnd->Grid2->RowCount(), 4);
    EXPECT_EQ(wnd->WireCnt->text(), "Wire 2");
    EXPECT_EQ(wnd->Ant.Changed, 1);
    // The popup's item does the same.
    wnd->K7->trigger();
    EXPECT_EQ(wnd->Ant.WireCount, 1);
}

TEST_F(TableEditTest, DeletingTheOnlySourceDisablesStart) {
    SetWires(1);
    Type(wnd->Grid3, 1, 1, "w1c");
    ASSERT_TRUE(wnd->CalTrgBtn->isEnabled());
    Focus(wnd->Grid3, 1);
    wnd->K13->trigger();
    EXPECT_EQ(wnd->Ant.SourceCount, 0);
    EXPECT_FALSE(wnd->CalTrgBtn->isEnabled());
    EXPECT_EQ(wnd->Grid3->RowCount(), 2);
}

TEST_F(TableEditTest, DeletedSourcesShareTheVoltageAgain) {
    SetWires(3);
    for (const char* pos : {"w1c", "w2c", "w3c"}) Type(wnd->Grid3, 1, wnd->Ant.SourceCount + 1, pos);
    ASSERT_NEAR(wnd->Ant.Sources[0].Voltage, 1.0 / 3, 1e-12);
    Focus(wnd->Grid3, 1);
    wnd->K13->trigger();
    ASSERT_EQ(wnd->Ant.SourceCount, 2);
    EXPECT_STREQ(wnd->Ant.Sources[0].Pos, "w2c");
    EXPECT_DOUBLE_EQ(wnd->Ant.Sources[1].Voltage, 0.5);
}

// The window's side of the wire renumbering: the log tells, and the sources
// left share the voltage. A source that went with its wire is not reported
// as lying on no pulse.
TEST_F(TableEditTest, DeletingAWireTakesItsSourceAlongAndSaysSo) {
    const struct {
        std::vector<const char*> sources;
        const char* left;  // none: no source left
    } cases[] = {{{"w1c", "w3c"}, "w2c"}, {{"w1c"}, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sources.size());
        wnd->Ant.SourceCount = 0;
        SetWires(3);
        for (const char* pos : c.sources) Type(wnd->Grid3, 1, wnd->Ant.SourceCount + 1, pos);
        Focus(wnd->Grid2, 1);
        wnd->K13->trigger();
        EXPECT_EQ(wnd->Ant.WireCount, 2);
        ASSERT_EQ(wnd->Ant.SourceCount, c.left ? 1 : 0);
        if (c.left) {
            EXPECT_STREQ(wnd->Ant.Sources[0].Pos, c.left);
            EXPECT_DOUBLE_EQ(wnd->Ant.Sources[0].Voltage, 1.0);
        }
        const QString log = wnd->LogLines().join('\n');
        EXPECT_TRUE(log.contains("Source 1 (w1c) was on the deleted wire 1")) << log.toStdString();
        EXPECT_FALSE(log.contains("NO PULSE")) << log.toStdString();
    }
}

// Wires 2 and 3 leave the end of wire 1 at a joint whose pulses belong to
// them, the later ones. Without wire 1, the joint's pulse is wire 3's alone,
// the new wire 2: the feed stays at the joint.
TEST_F(TableEditTest, DeletingAWireKeepsAFeedAtAJointThere) {
    const WireRec wires[] = {{4, 0, 10, 5, 0, 10, 0.001, 4, 0, 0, 0},
                             {5, 0, 10, 6, 0, 10, 0.001, 4, 0, 0, 0},
                             {5, 0, 10, 5, 1, 10, 0.001, 4, 0, 0, 0}};
    std::copy(std::begin(wires), std::end(wires), wnd->Ant.Wires);
    wnd->Ant.WireCount = 3;
    wnd->SetAntDef();
    Type(wnd->Grid3, 1, 1, "w2b");
    Focus(wnd->Grid2, 1);
    wnd->K13->trigger();
    ASSERT_EQ(wnd->Ant.SourceCount, 1);
    EXPECT_STREQ(wnd->Ant.Sources[0].Pos, "w2b");
}

// A row command keeps the calculation frequency: the field goes on showing
// the frequency that an optimizer run left (or that was typed as the design
// frequency), and the command's preparation and the next Start use it.
TEST_F(TableEditTest, RowCommandsKeepTheCalculationFrequencyShown) {
    const struct {
        QAction* TMainWnd::*command;
        const char* design;  // typed into the design frequency first, or none
        const char* shown;
    } cases[] = {{&TMainWnd::K13, nullptr, "14.25"}, {&TMainWnd::K14, nullptr, "14.25"}, {&TMainWnd::K13, "7.1", "7.1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        SetWires(3);
        wnd->Ant.SourceCount = 0;
        Type(wnd->Grid3, 1, 1, "w3c");
        // As an optimizer run leaves the window: calculated at its first band.
        wnd->Ant.CalcFreq = 14.25;
        {
            const QSignalBlocker block(wnd->DoFreq);
            wnd->DoFreq->setEditText("14.25");
        }
        if (c.design) {
            wnd->Freq->lineEdit()->selectAll();
            QTest::keyClicks(wnd->Freq->lineEdit(), c.design);
        }
        Focus(wnd->Grid2, 1);
        (wnd.get()->*c.command)->trigger();
        EXPECT_EQ(wnd->DoFreq->currentText().toStdString(), c.shown);
        EXPECT_EQ(wnd->Ant.CalcFreq, QString(c.shown).toDouble());
        if (c.command == &TMainWnd::K13) {
            wnd->CalTrgBtn->click();
            ASSERT_GT(Results.RowCount, 0);
            EXPECT_FLOAT_EQ(Results.Row(0)->F, QString(c.shown).toFloat());
        }
    }
}

TEST_F(TableEditTest, InsertOpensARowThatBorrowsFromItsNeighbour) {
    SetWires(2);
    Focus(wnd->Grid2, 1);
    wnd->K14->trigger();
    ASSERT_EQ(wnd->Ant.WireCount, 3);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].R, 0.001);  // the first wire's, at the top
    EXPECT_EQ(wnd->Ant.Wires[0].Seg, 10);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[0].X2, 0.0);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[1].X2, 5.0);
    Focus(wnd->Grid2, 3);
    wnd->K9->trigger();
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[2].R, 0.001);  // the wire above it
    EXPECT_EQ(wnd->Grid2->RowCount(), 6);
}

TEST_F(TableEditTest, InsertStopsShortOfAFullTableWhichTypingStillFills) {
    SetWires(MaxWires - 1);
    Focus(wnd->Grid2, 5);
    wnd->K14->trigger();
    EXPECT_EQ(wnd->Ant.WireCount, MaxWires - 1);
    Type(wnd->Grid2, 1, MaxWires, "7");
    EXPECT_EQ(wnd->Ant.WireCount, MaxWires);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[MaxWires - 1].X1, 7.0);
}

TEST_F(TableEditTest, EmptyTablesTheEmptyRowAndNoFocusChangeNothing) {
    Focus(wnd->Grid2, 1);
    wnd->K14->trigger();
    wnd->K13->trigger();
    EXPECT_EQ(wnd->Ant.WireCount, 0);
    SetWires(2);
    Focus(wnd->Grid4, 1);
    wnd->K14->trigger();
    EXPECT_EQ(wnd->Ant.LoadCount, 0);
    Focus(wnd->Grid2, 3);  // the empty row
    wnd->K13->trigger();
    EXPECT_EQ(wnd->Ant.WireCount, 2);
    wnd->AntName->setFocus();
    QApplication::processEvents();
    wnd->K13->setEnabled(true);  // a shortcut with a stale menu state
    wnd->K13->trigger();
    EXPECT_EQ(wnd->Ant.WireCount, 2);
}

TEST_F(TableEditTest, InsertedLoadsAreEmptyLcLoads) {
    SetWires(1);
    Type(wnd->Grid4, 1, 1, "w1c");
    ASSERT_EQ(wnd->Ant.LoadCount, 1);
    wnd->Ant.Loads[0].Type = LoadS;
    Focus(wnd->Grid4, 1);
    wnd->K14->trigger();
    ASSERT_EQ(wnd->Ant.LoadCount, 2);
    EXPECT_EQ(wnd->Ant.Loads[0].Type, LoadLC);
    EXPECT_STREQ(wnd->Ant.Loads[0].Pos, "");
    EXPECT_STREQ(wnd->Ant.Loads[1].Pos, "w1c");
}

TEST_F(TableEditTest, NothingChangesWhileACalculationRuns) {
    SetWires(2);
    Focus(wnd->Grid2, 1);
    JobDef.Busy = 1;
    wnd->K13->trigger();
    wnd->K14->trigger();
    JobDef.Busy = 0;
    EXPECT_EQ(wnd->Ant.WireCount, 2);
}

TEST_F(TableEditTest, RowShortcutsFollowTheFocusWithoutAClick) {
    SetWires(2);
    wnd->activateWindow();
    wnd->Freq->setFocus();
    QApplication::processEvents();
    wnd->UpdateMenuState();
    ASSERT_FALSE(wnd->K13->isEnabled());
    // Tabbing into the wire table, no click and no menu opened.
    wnd->Grid2->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(wnd->K13->isEnabled());
    wnd->Freq->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_FALSE(wnd->K13->isEnabled());
}

// An editor that opens on the empty last row (by Tab out of the last cell, or
// a click) and closes untouched adds no row to any table.
TEST_F(TableEditTest, AnUntouchedEditorOnTheAppendRowAddsNothing) {
    SetWires(1);
    Focus(wnd->Grid2, 1);
    // Tab out of the last cell of the only wire: the editor moves on to the empty row.
    const QModelIndex last = wnd->Grid2->model()->index(0, 7);
    wnd->Grid2->setCurrentIndex(last);
    wnd->Grid2->edit(last);
    auto* editor = qobject_cast<QLineEdit*>(wnd->Grid2->indexWidget(last));
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Tab);
    QApplication::processEvents();
    ASSERT_TRUE(wnd->Grid2->EditorMode());
    EXPECT_EQ(wnd->Grid2->Row(), 2);
    // A click elsewhere ends the edit.
    wnd->AntName->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(wnd->Grid2->EditorMode());
    EXPECT_EQ(wnd->Ant.WireCount, 1);

    struct Case {
        StringGrid* grid;
        const int* count;
    };
    const Case cases[] = {{wnd->Grid2, &wnd->Ant.WireCount}, {wnd->Grid3, &wnd->Ant.SourceCount},
                          {wnd->Grid4, &wnd->Ant.LoadCount}};
    for (const Case& c : cases) {
        const int before = *c.count;
        for (int col = 1; col < std::min(c.grid->ColCount(), 9); ++col) {
            const QModelIndex index = c.grid->model()->index(before, col - 1);
            c.grid->setFocus();
            c.grid->setCurrentIndex(index);
            c.grid->edit(index);
            if (!c.grid->EditorMode()) continue;  // a popup cell
            c.grid->CloseEditor();
            EXPECT_EQ(*c.count, before) << c.grid->objectName().toStdString() << " column " << col;
        }
    }
    EXPECT_EQ(wnd->Ant.Edited, 0);
}
