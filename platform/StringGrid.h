#pragma once
// A string grid addressed the classic way: (column, row) with row 0 the header
// row and column 0 the fixed left column. The grid holds no data of its own:
// every text comes from a callback when drawn or edited, and an edit is handed
// back only when the cell editor closes. Qt's own headers show row 0 and
// column 0, so they stay fixed while the data scrolls.
#include <QPersistentModelIndex>
#include <QTableView>
#include <functional>

class QMenu;
class QLineEdit;
class StringGridModel;

class StringGrid : public QTableView {
    Q_OBJECT
public:
    explicit StringGrid(QWidget* parent = nullptr);
    using QTableView::edit;

    // Texts of every cell, header row and fixed column included.
    std::function<QString(int col, int row)> CellText;
    // The text the editor starts with; CellText when not set.
    std::function<QString(int col, int row)> EditText;
    // Hint shown over a cell (the header row and fixed column included).
    std::function<QString(int col, int row)> CellHint;
    // Called once when the editor of a data cell closes with a commit.
    std::function<void(int col, int row, const QString& text)> SetEditText;
    // Asked before an editor opens; false keeps it closed (the handler may
    // show a popup instead).
    std::function<bool(int col, int row)> CanEdit;
    // Cells that take a pair of whole numbers ("5,3") keep a typed comma in a
    // grid of numeric keys.
    std::function<bool(int col, int row)> TakesPair;
    // Owner draw of data cells; the default draws the text at (left + 1, top + 1)
    // and highlights the marked cells: the current cell while the grid has the
    // focus, or every cell of a selected row in a grid that selects rows.
    std::function<void(QPainter& p, const QRect& rect, int col, int row, bool marked)> DrawCell;

    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    void SetColCount(int n);
    void SetRowCount(int n);

    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int height);

    // Current cell; row 0 / col 0 are never current, so both are at least 1
    // while the grid has a data cell.
    int Row() const;
    int Col() const;
    void SetRow(int row);
    void SetCurrentCell(int col, int row);

    // Typed ',' becomes '.' in the cell editor, but for cells that take a pair.
    void SetNumericKeys(bool on) { numericKeys_ = on; }
    bool NumericKeys() const { return numericKeys_; }

    // Right-click menu of the whole grid.
    void SetPopupMenu(QMenu* menu) { popup_ = menu; }
    QMenu* PopupMenu() const { return popup_; }
    // Shows a menu over the given cell.
    void PopupAtCell(QMenu* menu, int col, int row);
    QRect CellRect(int col, int row) const;

    // Redraw every cell and header from the callbacks.
    void Invalidate();
    // True while a cell editor is open.
    bool EditorMode() const;
    // Closes an open editor, committing its text.
    void CloseEditor();

    QString Cells(int col, int row) const { return CellText ? CellText(col, row) : QString(); }

signals:
    void CellClicked(int col, int row);
    void CellSelected(int col, int row);

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    // True when Tab (next) or Shift+Tab from the current cell would wrap
    // round to the other end of the grid.
    bool AtLastTabCell(bool next);
    // Gives the focus to the next or previous control of the window.
    bool LeaveGrid(bool next);
    friend class StringGridDelegate;
    friend class StringGridModel;
    StringGridModel* model_;
    int colCount_ = 2;
    int rowCount_ = 2;
    bool numericKeys_ = false;
    QMenu* popup_ = nullptr;
    QWidget* corner_ = nullptr;
    // The selected cell a click on it opens once the click is handled.
    QPersistentModelIndex editOnRelease_;
};
