// The element table's commands on the whole table: rounding, replacing a
// value in a column, the CSV file, the printout, and the taper wire sets.
#include "editing/ElementTableCommands.h"
#include "editing/GrpWireDlg.h"
#include "editing/ValRepDlg.h"
#include "editing/WCombDlg.h"
#include "model/CsvTable.h"
#include "model/NumberText.h"
#include "model/TaperSetTable.h"
#include "platform/FilePaths.h"
#include "platform/PrintDlgBox.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"

void TGrpWireDlg::EditTaperSets() {
    if (pickMode_ || !ant_) return;
    TWCombDlg dialog(this, font().family());
    if (!dialog.Execute(*ant_)) return;
    NormalizeTaperSets(*ant_);
    table_.State |= 2;
}

void TGrpWireDlg::RoundValues(int digits) {
    if (pickMode_ || digits < 2 || digits > 4) return;
    if (YesNoBox("%s", table_.Words.Messages[MsgRoundQuestion].c_str()) != BoxYes) return;
    Grid->CloseEditor();
    RoundElementTable(table_, digits);
    GridChanged();
}

void TGrpWireDlg::ReplaceValue() {
    const int col = Grid->Col();
    if (pickMode_ || col < ColPos || col > ColSeg) return;
    double search = 0.0;
    const std::string cell = table_.CellText(col, Grid->Row());
    if (cell.empty() || !StrToDblExpr(search, cell)) return;
    double replacement = search;
    {
        TValRepDlg dialog(this);
        if (!dialog.ExecuteValue(replacement, search)) return;
    }
    Grid->CloseEditor();
    CellEdit refused = CellEdit::Taken;
    ReplaceInColumn(table_, col, search, replacement, &refused);
    GridChanged();
    if (refused != CellEdit::Taken) ReportRefusedCell(refused, col, QString::fromStdString(DblToStr(replacement)));
}

void TGrpWireDlg::SaveCsv() {
    if (table_.Count() == 0) return;
    FileDialogRequest request;
    request.caption = "Save table of elements";
    request.filter = "CSV table (*.csv)";
    request.defaultSuffix = "csv";
    request.folder = DataFolder;
    request.fileName = ElementTableStem(FileName, DataFolder);
    const std::string path = CurrentPrompter().SaveFileName(request);
    if (path.empty()) return;
    std::string error;
    if (!SaveCsvTable(path, ElementTableCsv(table_), &error)) ReportCannotSave(FromLocalPath(path), error);
}

void TGrpWireDlg::PrintTable() {
    if (table_.Count() == 0) return;
    const ElementPrintout printout = ElementTablePrintout(table_);
    TPrintDlgBox box(this, font().family());
    box.Title = ElementTableStem(FileName, DataFolder);
    box.SetLayout(5, 3, 3, 3);
    for (std::size_t c = 0; c < printout.Widths.size(); ++c) {
        box.SetColWidth(static_cast<int>(c), printout.Widths[c]);
        box.SetColTitle(static_cast<int>(c), printout.Titles[c]);
    }
    for (std::size_t r = 0; r < printout.Rows.size(); ++r)
        for (std::size_t c = 0; c < printout.Rows[r].size(); ++c)
            box.SetCell(static_cast<int>(r), static_cast<int>(c), printout.Rows[r][c]);
    box.PrintTable();
}
