// The row commands of the Edit menu and the table popup: delete and insert
// in the focused geometry table, dispatched with the dialog commands by the
// tag of the menu item; and the guarded wiring that all edit commands share.
#include "app/MainWnd.h"
#include "engine/PointPlacement.h"
#include "model/EnvDef.h"
#include "model/TableRows.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <exception>

namespace {

enum TableCommandTag { TagDeleteRow = 21, TagInsertRow = 22 };

}  // namespace

void TMainWnd::ConnectTableEdit() {
    for (QAction* a : {K7, K13, K9, K14}) ConnectGuardedCommand(a, [this, a] { K7Click(a); });
}

StringGrid* TMainWnd::FocusedTable() const {
    const QWidget* focus = QApplication::focusWidget();
    if (!focus) return nullptr;
    for (StringGrid* g : {Grid2, Grid3, Grid4})
        if (focus == g || g->isAncestorOf(focus)) return g;
    return nullptr;
}

void TMainWnd::K7Click(QObject* sender) {
    if (!sender || JobDef.Busy) return;
    LastClick = QPoint(0, 0);
    switch (sender->property("tag").toInt()) {
    case TagDeleteRow:
        DeleteTableRow();
        break;
    case TagInsertRow:
        InsertTableRow();
        break;
    default:
        RunGeometryDialog(sender->property("tag").toInt());
        break;
    }
}

namespace {

EditTable TableOf(const TMainWnd& wnd, const StringGrid* grid) {
    if (grid == wnd.Grid3) return EditTable::Sources;
    if (grid == wnd.Grid4) return EditTable::Loads;
    return EditTable::Wires;
}

using RowEdit = bool (*)(AntDef&, EditTable, int, std::vector<std::string>*, PositionPlacing);

// Both row commands mark the antenna changed even when the row takes no
// edit, and work on the focused table's current row.
void EditFocusedRow(TMainWnd& wnd, RowEdit edit) {
    wnd.Ant.Changed = 1;
    wnd.Ant.Edited = 1;
    StringGrid* grid = wnd.FocusedTable();
    if (!grid) return;
    // A cell still being typed into is taken before its row moves.
    grid->CloseEditor();
    const EditTable table = TableOf(wnd, grid);
    const int sources = wnd.Ant.SourceCount;
    std::vector<std::string> notes;
    if (!edit(wnd.Ant, table, grid->Row(), &notes, PlaceByPoint)) return;
    if (table == EditTable::Sources) wnd.SetAutoVol();
    wnd.AntChangedWithNotes(sources, notes);
}

}  // namespace

void TMainWnd::DeleteTableRow() { EditFocusedRow(*this, DeleteTableEntry); }

void TMainWnd::InsertTableRow() { EditFocusedRow(*this, InsertTableEntry); }
