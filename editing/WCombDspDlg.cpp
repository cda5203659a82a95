#include "editing/WCombDspDlg.h"
#include "platform/CommandGuard.h"

#include "editing/EditForm.h"
#include "engine/TaperWires.h"
#include "model/NumberText.h"
#include "platform/FormPattern.h"
#include "platform/StringGrid.h"

#include <QLabel>
#include <QPushButton>
#include <cmath>

namespace {

constexpr int DesignWidth = 640, DesignHeight = 360;
constexpr int Columns = 9;
const char* const Headers[Columns] = {"No.", "X1(m)", "Y1(m)", "Z1(m)", "X2(m)", "Y2(m)", "Z2(m)", "R(mm)", "L(m)"};

}  // namespace

TWCombDspDlg::TWCombDspDlg(QWidget* owner, const QString& fontName) : QDialog(owner) {
    setObjectName("WCombDspDlg");
    SetupEditForm(*this, "Table of real length/R for tapering wire", DesignWidth, DesignHeight);
    if (!fontName.isEmpty()) {
        QFont f = font();
        f.setFamily(fontName);
        setFont(f);
    }
    LStat = new QLabel(this);
    LStat->setObjectName("LStat");
    LStat->setGeometry(8, 8, 400, 22);
    Grid = new StringGrid(this);
    Grid->setObjectName("Grid");
    Grid->setGeometry(8, 36, DesignWidth - 16, DesignHeight - 84);
    Grid->SetColCount(Columns);
    Grid->CellText = [this](int col, int row) { return CellText(col, row); };
    Grid->CanEdit = [](int, int) { return false; };
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry((DesignWidth - 90) / 2, DesignHeight - 40, 90, 30);
    OKBtn->setDefault(true);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    Grid->SetColWidth(0, 40);
    for (int c = 1; c < Columns; ++c) Grid->SetColWidth(c, 72);
    Grid->SetDefaultRowHeight(21);
    FinishEditForm(*this, "WCombDspDlg", {"OKBtn"});
}

QString TWCombDspDlg::CellText(int col, int row) const {
    if (col < 0 || col >= Columns) return {};
    if (row == 0) return QString::fromLatin1(Headers[col]);
    if (row > PieceCount()) return {};
    const WireRec& w = pieces_[static_cast<std::size_t>(row - 1)];
    const double values[Columns] = {0, w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2, w.R * 1000.0,
                                    std::sqrt((w.X2 - w.X1) * (w.X2 - w.X1) + (w.Y2 - w.Y1) * (w.Y2 - w.Y1) +
                                              (w.Z2 - w.Z1) * (w.Z2 - w.Z1))};
    if (col == 0) return QString::number(row);
    return QString::fromStdString(DblToStr(values[col]));
}

void TWCombDspDlg::Execute(const AntDef& ant, const TaperSet& set, const WireRec& wire, int wireNumber) {
    WireRec sections[MaxTaperWireSections];
    const int n = TaperSections(sections, ant, set, wire);
    pieces_.assign(sections, sections + std::clamp(n, 0, MaxTaperWireSections));
    LStat->setText(QString::asprintf("Wire No.%d    real wires = %d", wireNumber, PieceCount()));
    Grid->SetRowCount(PieceCount() + 1);
    Grid->Invalidate();
    ShowModal(*this);
}
