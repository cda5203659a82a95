// The geometry tables: wires (Grid2), sources (Grid3) and loads (Grid4) as
// editable views of the antenna definition. Texts are made from the record
// when drawn; an edit is written into the record when the cell editor closes.
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPainter>

namespace {

const char* const WireHeadsMetre[9] = {"No.", "X1(m)", "Y1(m)", "Z1(m)", "X2(m)", "Y2(m)", "Z2(m)", "R(mm)", "Seg."};
const char* const WireHeadsWave[9] = {"No.", "X1(wl)", "Y1(wl)", "Z1(wl)", "X2(wl)", "Y2(wl)", "Z2(wl)", "R(wl)", "Seg."};
const char* const SourceHeads[4] = {"No.", "PULSE", "Phase dg", "Volt. V"};
const char* const LoadHeadsLC[7] = {"No.", "PULSE", "Type", "L(uH)", "C(pF)", "Q", "f(MHz)"};
const char* const LoadHeadsRX[5] = {"No.", "PULSE", "Type", "R(Ohm)", "jX(Ohm)"};

void SetWidths(StringGrid* g, std::initializer_list<int> widths) {
    int c = 0;
    for (int w : widths) g->SetColWidth(c++, w);
}

}  // namespace

void TMainWnd::SetupGrids() {
    Grid2->SetColCount(9);
    Grid2->SetDefaultRowHeight(21);
    SetWidths(Grid2, {64, 82, 81, 90, 87, 87, 87, 87, 69});
    Grid3->SetColCount(4);
    Grid3->SetDefaultRowHeight(22);
    SetWidths(Grid3, {56, 64, 84, 72});
    Grid4->SetColCount(27);
    Grid4->SetDefaultRowHeight(22);
    for (int c = 0; c < 27; ++c) Grid4->SetColWidth(c, 70);
    SetWidths(Grid4, {64, 60, 55, 70, 57, 63});
    Grid1->SetColCount(12);
    Grid1->SetDefaultRowHeight(20);
    SetWidths(Grid1, {36, 64, 70, 70, 70, 62, 62, 62, 54, 66, 60, 60});
    Grid1->SetRowCount(2);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);

    for (StringGrid* g : {Grid2, Grid3, Grid4}) {
        g->SetNumericKeys(true);
        g->SetPopupMenu(EditPop);
        ConnectGuarded(g, &StringGrid::CellClicked, this, [this] { UpdateMenuState(); });
    }
    Grid2->CellText = [this](int c, int r) { return Grid2CellText(c, r); };
    Grid2->SetEditText = [this](int c, int r, const QString& t) { Grid2SetEditText(c, r, t); };
    Grid2->CanEdit = [this](int, int r) { return r <= Ant.WireCount || Ant.WireCount < MaxWires; };
    Grid2->TakesPair = [](int col, int) { return col == 8; };  // the segmentation
    Grid3->CellText = [this](int c, int r) { return Grid3CellText(c, r); };
    Grid3->SetEditText = [this](int c, int r, const QString& t) { Grid3SetEditText(c, r, t); };
    Grid3->CanEdit = [this](int, int r) { return r <= Ant.SourceCount || Ant.SourceCount < MaxSources; };
    Grid4->CellText = [this](int c, int r) { return LoadCellText(c, r); };
    Grid4->SetEditText = [this](int c, int r, const QString& t) { Grid4SetEditText(c, r, t); };
    Grid4->CanEdit = [this](int c, int r) { return Grid4CanEdit(c, r); };
    // The heads of the load table follow the type of the selected row.
    ConnectGuarded(Grid4, &StringGrid::CellSelected, this, [this] { Grid4->Invalidate(); });

    ConnectGuardedCommand(KS1, [this] { KS1Click(); });
    ConnectGuardedCommand(KS2, [this] { KS2Click(); });
    ConnectGuardedCommand(KS3, [this] { KS3Click(); });
}

QString TMainWnd::Grid2CellText(int col, int row) const {
    if (row == 0) return QString::fromLatin1((JobDef.InWavelengths ? WireHeadsWave : WireHeadsMetre)[col]);
    return WireCellText(col, row);
}

QString TMainWnd::Grid3CellText(int col, int row) const {
    if (row == 0) return QString::fromLatin1(SourceHeads[col]);
    return SourceCellText(col, row);
}

QString TMainWnd::LoadHead(int col) const {
    const int r = Grid4->Row();
    const int type = (r >= 1 && r <= Ant.LoadCount) ? Ant.Loads[r - 1].Type : LoadLC;
    if (type == LoadS) {
        if (col < 3) return QString::fromLatin1(LoadHeadsLC[col]);
        return QString("%1%2").arg((col - 3) % 2 == 0 ? 'A' : 'B').arg((col - 3) / 2);
    }
    if (type == LoadRX) return col < 5 ? QString::fromLatin1(LoadHeadsRX[col]) : QString();
    return col < 7 ? QString::fromLatin1(LoadHeadsLC[col]) : QString();
}
