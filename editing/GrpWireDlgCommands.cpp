// The element table's commands on the whole table: rounding, replacing a
// value in a column, the CSV file, the printout, and the taper wire sets.
#include "editing/GrpWireDlg.h"

void TGrpWireDlg::EditTaperSets() {}
void TGrpWireDlg::RoundValues(int) {}
void TGrpWireDlg::ReplaceValue() {}
void TGrpWireDlg::SaveCsv() {}
void TGrpWireDlg::PrintTable() {}
