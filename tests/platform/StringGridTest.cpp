// The string grid: classic (column, row) addressing with a header row and a
// fixed column, texts from a callback, and edits handed over only when the
// cell editor closes with a commit.
#include "platform/StringGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

namespace {

struct Edit {
    int col, row;
    QString text;
};

class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.SetColCount(4);
        grid.SetRowCount(3);
        grid.CellText = [](int c, int r) { return QString("%1:%2").arg(c).arg(r); };
        grid.SetEditText = [this](int c, int r, const QString& t) { edits.push_back({c, r, t}); };
        grid.resize(400, 200);
        grid.show();
        QApplication::processEvents();
    }
    QLineEdit* OpenEditor(int col, int row) {
        const QModelIndex i = grid.model()->index(row - 1, col - 1);
        grid.setFocus();
        grid.setCurrentIndex(i);
        grid.edit(i);
        return qobject_cast<QLineEdit*>(grid.indexWidget(i));
    }
    StringGrid grid;
    std::vector<Edit> edits;
};

}  // namespace

TEST_F(GridTest, HeaderRowAndFixedColumnComeFromTheCallback) {
    EXPECT_EQ(grid.model()->rowCount(), 2);
    EXPECT_EQ(grid.model()->columnCount(), 3);
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), "1:0");
    EXPECT_EQ(grid.model()->headerData(1, Qt::Vertical).toString(), "0:2");
    EXPECT_EQ(grid.model()->index(1, 2).data().toString(), "3:2");
    grid.SetCurrentCell(3, 2);
    EXPECT_EQ(grid.Col(), 3);
    EXPECT_EQ(grid.Row(), 2);
    grid.SetCurrentCell(0, 0);  // the fixed cells are never current
    EXPECT_EQ(grid.Row(), 2);
}

TEST_F(GridTest, AnEditArrivesOnlyWhenTheEditorCommits) {
    QLineEdit* editor = OpenEditor(2, 1);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "2:1");
    editor->selectAll();
    QTest::keyClicks(editor, "7,5");
    EXPECT_TRUE(edits.empty());
    EXPECT_TRUE(grid.EditorMode());
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the commit is queued
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].col, 2);
    EXPECT_EQ(edits[0].row, 1);
    EXPECT_EQ(edits[0].text, "7,5");  // the comma filter is off by default

    editor = OpenEditor(1, 2);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "9");
    QTest::keyClick(editor, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(edits.size(), 1u);
    EXPECT_FALSE(grid.EditorMode());

    // The text the cell shows, typed again, leaves the value as it is.
    editor = OpenEditor(3, 2);
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "3:2");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(edits.size(), 1u);
}

// A numeric grid turns a comma into a point, typed or pasted, but for the
// cells that take a pair.
TEST_F(GridTest, NumericGridsTurnACommaIntoAPointButInPairCells) {
    grid.SetNumericKeys(true);
    grid.TakesPair = [](int col, int) { return col == 2; };
    const struct {
        int col;
        const char* typed;
        bool pasted;
    } cases[] = {{1, "2.5", false}, {2, "5,3", false}, {1, "12.5", true}, {2, "4,8", true}};
    for (const auto& c : cases) {
        edits.clear();
        QLineEdit* editor = OpenEditor(c.col, 1);
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        const QString text = QString(c.typed).replace('.', ',');
        if (c.pasted) {
            QApplication::clipboard()->setText(text);
            editor->paste();
        } else {
            QTest::keyClicks(editor, text);
        }
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
        ASSERT_EQ(edits.size(), 1u);
        EXPECT_EQ(edits[0].text, c.typed);
    }
}

TEST_F(GridTest, CanEditKeepsTheEditorClosed) {
    grid.CanEdit = [](int c, int) { return c != 2; };
    EXPECT_EQ(OpenEditor(2, 1), nullptr);
    EXPECT_NE(OpenEditor(1, 1), nullptr);
}

TEST_F(GridTest, RowCountChangesKeepTheCurrentCell) {
    grid.SetCurrentCell(2, 2);
    grid.SetRowCount(10);
    EXPECT_EQ(grid.RowCount(), 10);
    EXPECT_EQ(grid.model()->rowCount(), 9);
    EXPECT_EQ(grid.Row(), 2);
    grid.SetRowCount(2);
    EXPECT_EQ(grid.model()->rowCount(), 1);
    grid.SetColWidth(0, 33);
    EXPECT_EQ(grid.ColWidth(0), 33);
    grid.SetDefaultRowHeight(25);
    EXPECT_EQ(grid.DefaultRowHeight(), 25);
    EXPECT_EQ(grid.horizontalHeader()->height(), 25);
}

// A grid of rows shows its whole selected row, focused or not, whether the row
// was chosen by the program or by a click; a grid of cells marks only its
// current cell, and only while it has the focus.
TEST_F(GridTest, SelectedRowsAndTheFocusedCellAreHighlighted) {
    using Behaviour = QAbstractItemView::SelectionBehavior;
    struct Case {
        Behaviour behaviour;
        bool click, focus;
        std::vector<std::pair<int, int>> marked;  // (col, row)
    } cases[] = {
        {QAbstractItemView::SelectRows, false, false, {{1, 2}, {2, 2}, {3, 2}}},
        {QAbstractItemView::SelectRows, true, true, {{1, 2}, {2, 2}, {3, 2}}},
        {QAbstractItemView::SelectItems, false, true, {{2, 2}}},
        {QAbstractItemView::SelectItems, false, false, {}},
    };
    for (const auto& c : cases) {
        grid.setSelectionBehavior(c.behaviour);
        grid.clearSelection();
        grid.SetCurrentCell(1, 1);
        const QRect target = grid.visualRect(grid.model()->index(1, 1));
        if (c.click)
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, target.center());
        else
            grid.SetCurrentCell(2, 2);
        if (c.focus) {
            grid.activateWindow();
            grid.setFocus();
        } else {
            grid.clearFocus();
        }
        QApplication::processEvents();
        ASSERT_EQ(grid.hasFocus(), c.focus);
        const QImage shown = grid.viewport()->grab().toImage();
        const QColor highlight = grid.palette().highlight().color();
        for (int row = 1; row < grid.RowCount(); ++row)
            for (int col = 1; col < grid.ColCount(); ++col) {
                const QRect r = grid.visualRect(grid.model()->index(row - 1, col - 1));
                const bool marked = shown.pixelColor(r.right() - 2, r.center().y()) == highlight;
                const bool expected = std::find(c.marked.begin(), c.marked.end(), std::pair(col, row)) != c.marked.end();
                EXPECT_EQ(marked, expected) << "behaviour " << c.behaviour << " click " << c.click << " focus " << c.focus
                                            << " cell " << col << "," << row;
            }
    }
}

// A grid of cells shows its current cell as the selected one, however it
// became current (the focus makes the first cell current without selecting
// it): a click on that cell is a click on the selected cell and opens its
// editor, or whatever CanEdit opens instead.
TEST_F(GridTest, AClickOnTheMarkedCellActsAsOnTheSelectedCell) {
    std::vector<std::pair<int, int>> asked;
    grid.CanEdit = [&](int c, int r) {
        asked.push_back({c, r});
        return false;
    };
    grid.activateWindow();
    grid.setFocus();
    const QModelIndex first = grid.model()->index(0, 0);
    grid.clearSelection();
    grid.selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    QApplication::processEvents();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(first).center(),
                      QApplication::doubleClickInterval() + 100);
    QApplication::processEvents();
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1, 1}}));
}

// Keys typed right after a click reach the cell, whatever the cell was
// before the click: the click and the keys go in one go, with no time for
// a timer to run between them.
TEST_F(GridTest, KeysTypedRightAfterAClickReachTheCell) {
    enum class Before { Current, Selected, Elsewhere };
    grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    grid.setFocus();
    for (const Before before : {Before::Current, Before::Selected, Before::Elsewhere}) {
        const QModelIndex cell = grid.model()->index(1, 1);
        grid.clearSelection();
        if (before == Before::Elsewhere)
            grid.setCurrentIndex(grid.model()->index(0, 0));
        else if (before == Before::Current)
            grid.selectionModel()->setCurrentIndex(cell, QItemSelectionModel::NoUpdate);
        else
            grid.setCurrentIndex(cell);
        QApplication::processEvents();
        edits.clear();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(cell).center(),
                          QApplication::doubleClickInterval() + 100);
        for (const char key : std::string("w1c")) QTest::keyClick(grid.windowHandle(), key);
        QTest::keyClick(grid.windowHandle(), Qt::Key_Return);
        QApplication::processEvents();
        ASSERT_EQ(edits.size(), 1u) << "cell was " << int(before);
        EXPECT_EQ(edits[0].text, "w1c") << "cell was " << int(before);
        EXPECT_FALSE(grid.EditorMode());
    }
}

// Tab from the last cell and Shift+Tab from the first go on to the next and
// the previous control, an open editor's text taken first; in between they
// go from cell to cell.
TEST(GridFocus, TabLeavesAtTheEndsAndTakesTheTypedText) {
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* grid = new StringGrid(&window);
    auto* after = new QLineEdit(&window);
    grid->SetColCount(3);
    grid->SetRowCount(3);
    grid->CellText = [](int, int) { return QString(); };
    std::vector<Edit> edits;
    grid->SetEditText = [&](int c, int r, const QString& t) { edits.push_back({c, r, t}); };
    grid->setGeometry(0, 30, 300, 100);
    after->move(0, 140);
    window.resize(320, 180);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const struct {
        int col, row;
        bool editing, forward;
        QWidget* lands;  // nullptr: stays in the grid
    } cases[] = {
        {2, 2, true, true, after},   {1, 1, true, false, before}, {2, 2, false, true, after},
        {1, 1, false, false, before}, {1, 2, true, true, nullptr}, {2, 1, false, false, nullptr},
    };
    for (const auto& c : cases) {
        edits.clear();
        grid->setFocus();
        grid->SetCurrentCell(c.col, c.row);
        QApplication::processEvents();
        if (c.editing) {
            QTest::keyClick(window.windowHandle(), Qt::Key_F2);
            QTest::keyClick(window.windowHandle(), 'x');
        }
        QTest::keyClick(window.windowHandle(), c.forward ? Qt::Key_Tab : Qt::Key_Backtab,
                        c.forward ? Qt::NoModifier : Qt::ShiftModifier);
        QWidget* focus = QApplication::focusWidget();
        const std::string where = std::to_string(c.col) + "," + std::to_string(c.row);
        if (c.lands) {
            EXPECT_EQ(focus, c.lands) << where;
            EXPECT_FALSE(grid->EditorMode()) << where;
        } else {
            EXPECT_TRUE(focus == grid || grid->isAncestorOf(focus)) << where;
        }
        ASSERT_EQ(edits.size(), c.editing ? 1u : 0u) << where;
        if (c.editing) {
            EXPECT_EQ(edits[0].text, "x") << where;
        }
        grid->CloseEditor();
    }
}
