#include "platform/StringGrid.h"

#include <QAbstractButton>
#include <QAbstractTableModel>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include "platform/KeyFilter.h"

// Qt rows and columns are the grid's data cells: grid (col, row) = Qt (row - 1, col - 1).
class StringGridModel : public QAbstractTableModel {
public:
    explicit StringGridModel(StringGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : std::max(0, grid_->rowCount_ - 1);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : std::max(0, grid_->colCount_ - 1);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const int col = index.column() + 1, row = index.row() + 1;
        if (role == Qt::DisplayRole) return grid_->Cells(col, row);
        if (role == Qt::ToolTipRole && grid_->CellHint) return grid_->CellHint(col, row);
        if (role == Qt::EditRole)
            return grid_->EditText ? grid_->EditText(col, row) : grid_->Cells(col, row);
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role == Qt::ToolTipRole && grid_->CellHint)
            return orientation == Qt::Horizontal ? grid_->CellHint(section + 1, 0) : grid_->CellHint(0, section + 1);
        if (role != Qt::DisplayRole) return {};
        if (orientation == Qt::Horizontal) return grid_->Cells(section + 1, 0);
        return grid_->Cells(0, section + 1);
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || role != Qt::EditRole) return false;
        if (grid_->SetEditText) grid_->SetEditText(index.column() + 1, index.row() + 1, value.toString());
        // The record decides what the cell shows now.
        grid_->Invalidate();
        return true;
    }
    void Reset() {
        beginResetModel();
        endResetModel();
    }
    void RowsChanged(int oldRows, int newRows) {
        if (newRows > oldRows) {
            beginInsertRows({}, oldRows, newRows - 1);
            endInsertRows();
        } else if (newRows < oldRows) {
            beginRemoveRows({}, newRows, oldRows - 1);
            endRemoveRows();
        }
    }
    void ColsChanged(int oldCols, int newCols) {
        if (newCols > oldCols) {
            beginInsertColumns({}, oldCols, newCols - 1);
            endInsertColumns();
        } else if (newCols < oldCols) {
            beginRemoveColumns({}, newCols, oldCols - 1);
            endRemoveColumns();
        }
    }
    void AllChanged() {
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        if (columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        if (rowCount() > 0) emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
    }

private:
    StringGrid* grid_;
};

class StringGridDelegate : public QStyledItemDelegate {
public:
    explicit StringGridDelegate(StringGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int col = index.column() + 1, row = index.row() + 1;
        // A grid of rows shows its selected rows as any table does, with or
        // without the focus; a grid of cells marks the cell being edited.
        const bool marked = grid_->selectionBehavior() == QAbstractItemView::SelectRows
                                ? (option.state & QStyle::State_Selected) != 0
                                : grid_->hasFocus() && grid_->currentIndex() == index;
        p->save();
        if (grid_->DrawCell) {
            grid_->DrawCell(*p, option.rect, col, row, marked);
        } else {
            const QPalette& pal = grid_->palette();
            p->fillRect(option.rect, marked ? pal.highlight() : pal.base());
            p->setPen(marked ? pal.highlightedText().color() : QColor(Qt::black));
            p->drawText(option.rect.adjusted(1, 1, -1, -1), Qt::AlignLeft | Qt::AlignVCenter,
                        grid_->Cells(col, row));
        }
        p->restore();
    }
    // Ctrl+Tab leaves the grid from an open editor too, keeping the text
    // typed so far.
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            bool next = true;
            if (LeavesControl(*static_cast<QKeyEvent*>(event), next)) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                grid_->LeaveGrid(next);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        const bool pair = grid_->TakesPair && grid_->TakesPair(index.column() + 1, index.row() + 1);
        if (grid_->NumericKeys() && !pair) InstallCommaToPoint(editor);
        return editor;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setText(index.data(Qt::EditRole).toString());
    }
    // Only a text other than the one the cell shows is taken. An editor that
    // closes untouched (Tab into the empty last row, then a click elsewhere)
    // must not write its empty text as a new row, and a cell that shows its
    // value rounded and gets that text again keeps the value, not the
    // rounded number.
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line && line->text() != index.data(Qt::EditRole).toString())
            model->setData(index, line->text(), Qt::EditRole);
    }

private:
    StringGrid* grid_;
};

StringGrid::StringGrid(QWidget* parent) : QTableView(parent) {
    model_ = new StringGridModel(this);
    setModel(model_);
    setItemDelegate(new StringGridDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setTabKeyNavigation(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setFixedWidth(64);
    SetDefaultRowHeight(21);
    // The corner shows the text of cell (0, 0).
    corner_ = findChild<QAbstractButton*>();
    if (corner_) corner_->installEventFilter(this);
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& index) {
        emit CellClicked(index.column() + 1, index.row() + 1);
    });
}

void StringGrid::SetColCount(int n) {
    n = std::max(1, n);
    if (n == colCount_) return;
    const int old = colCount_;
    colCount_ = n;
    model_->ColsChanged(std::max(0, old - 1), n - 1);
}

void StringGrid::SetRowCount(int n) {
    n = std::max(1, n);
    if (n == rowCount_) return;
    const int old = rowCount_;
    rowCount_ = n;
    model_->RowsChanged(std::max(0, old - 1), n - 1);
}

int StringGrid::ColWidth(int col) const {
    if (col == 0) return verticalHeader()->width();
    return columnWidth(col - 1);
}

void StringGrid::SetColWidth(int col, int width) {
    width = std::max(0, width);
    if (col == 0)
        verticalHeader()->setFixedWidth(width);
    else if (col < colCount_)
        setColumnWidth(col - 1, width);
}

int StringGrid::DefaultRowHeight() const { return verticalHeader()->defaultSectionSize(); }

void StringGrid::SetDefaultRowHeight(int height) {
    height = std::max(1, height);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(height);
    horizontalHeader()->setFixedHeight(height);
}

int StringGrid::Row() const {
    const QModelIndex i = currentIndex();
    if (i.isValid()) return i.row() + 1;
    return rowCount_ > 1 ? 1 : 0;
}

int StringGrid::Col() const {
    const QModelIndex i = currentIndex();
    if (i.isValid()) return i.column() + 1;
    return colCount_ > 1 ? 1 : 0;
}

void StringGrid::SetRow(int row) { SetCurrentCell(Col(), row); }

void StringGrid::SetCurrentCell(int col, int row) {
    if (row < 1 || row >= rowCount_ || col < 1 || col >= colCount_) return;
    setCurrentIndex(model_->index(row - 1, col - 1));
}

QRect StringGrid::CellRect(int col, int row) const {
    if (col >= 1 && row >= 1) {
        QRect r = visualRect(model_->index(row - 1, col - 1));
        return r.translated(viewport()->pos());
    }
    return {};
}

void StringGrid::PopupAtCell(QMenu* menu, int col, int row) {
    if (!menu) return;
    const QRect r = CellRect(col, row);
    menu->popup(mapToGlobal(r.isValid() ? r.bottomLeft() : QPoint(0, 0)));
}

void StringGrid::Invalidate() {
    model_->AllChanged();
    viewport()->update();
    horizontalHeader()->viewport()->update();
    verticalHeader()->viewport()->update();
    if (corner_) corner_->update();
}

bool StringGrid::EditorMode() const { return state() == QAbstractItemView::EditingState; }

void StringGrid::CloseEditor() {
    if (!EditorMode()) return;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor) editor = QApplication::focusWidget();
    if (editor && editor != this) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

bool StringGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (index.isValid() && trigger != QAbstractItemView::NoEditTriggers &&
        (editTriggers() & trigger) && CanEdit && !CanEdit(index.column() + 1, index.row() + 1))
        return false;
    // Qt holds a click on the selected cell for the double-click interval
    // before it opens the editor, and drops the keys typed meanwhile: the
    // editor opens as soon as the click is done, so that every key typed
    // after it lands in the cell.
    if (trigger == QAbstractItemView::SelectedClicked && index.isValid() && (editTriggers() & trigger)) {
        editOnRelease_ = index;
        return true;
    }
    return QTableView::edit(index, trigger, event);
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event) {
    editOnRelease_ = QPersistentModelIndex();
    QTableView::mouseReleaseEvent(event);
    // Opened only now: the release handler leaves the editing state behind it.
    const QModelIndex index = editOnRelease_;
    editOnRelease_ = QPersistentModelIndex();
    if (index.isValid() && index == currentIndex()) QTableView::edit(index, QAbstractItemView::AllEditTriggers, nullptr);
}

void StringGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (popup_) popup_->popup(event->globalPos());
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    // A grid of cells marks its current cell as the selected one, but Qt can
    // make a cell current without selecting it (on the focus): a click on the
    // marked cell is a click on the selected cell, which opens its editor.
    const QModelIndex at = indexAt(event->position().toPoint());
    if (at.isValid() && at == currentIndex() && selectionBehavior() == QAbstractItemView::SelectItems &&
        !selectionModel()->isSelected(at))
        selectionModel()->select(at, QItemSelectionModel::ClearAndSelect);
    QTableView::mousePressEvent(event);
}

bool StringGrid::AtLastTabCell(bool next) {
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return false;
    // The cell Tab would go to, or Qt's wrap round to the other end.
    const QModelIndex to = moveCursor(next ? MoveNext : MovePrevious, Qt::NoModifier);
    if (!to.isValid() || to == current) return true;
    const bool before = to.row() < current.row() || (to.row() == current.row() && to.column() < current.column());
    return next == before;
}

bool StringGrid::LeaveGrid(bool next) {
    // Past the grid's own handling of Tab: the window's focus chain.
    return QAbstractScrollArea::focusNextPrevChild(next);
}

// Tab goes from cell to cell, and from the last cell (Shift+Tab: the first)
// on to the next control, so that no keyboard user is held in a grid.
bool StringGrid::focusNextPrevChild(bool next) {
    if (tabKeyNavigation() && AtLastTabCell(next)) return LeaveGrid(next);
    return QTableView::focusNextPrevChild(next);
}

void StringGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool tab = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    // The text is taken before this: a row it appended is a cell further on.
    if (tab && AtLastTabCell(next)) {
        QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
        LeaveGrid(next);
        return;
    }
    QTableView::closeEditor(editor, hint);
}

// Ctrl+Tab leaves the grid whatever its cell, as it leaves any control that
// takes Tab for itself.
void StringGrid::keyPressEvent(QKeyEvent* event) {
    bool next = true;
    if (LeavesControl(*event, next)) {
        LeaveGrid(next);
        return;
    }
    QTableView::keyPressEvent(event);
}

void StringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (current.isValid()) emit CellSelected(current.column() + 1, current.row() + 1);
}

bool StringGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == corner_ && event->type() == QEvent::Paint) {
        QPainter p(corner_);
        QStyleOptionHeader opt;
        opt.initFrom(corner_);
        opt.rect = corner_->rect();
        opt.text = Cells(0, 0);
        opt.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        corner_->style()->drawControl(QStyle::CE_Header, &opt, &p, corner_);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}
