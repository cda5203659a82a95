#pragma once
// Edits of the optimizer's variable table as the optimizer dialog offers
// them: a new row on the empty line, a copy inserted before a row, deletion
// with the links repaired, the association texts and their syntax, and the
// "#n" limits. No Qt: the dialog only maps cells and menus onto these.
#include <string>

#include "optimizer/OptimizerState.h"

// The association column of a row: "0" free, "-3" negated, "3+0.5",
// "-3+0.5", "3*2", "3/2", "3" (row numbers 1-based).
std::string AssociationText(const ACalVarRec& r);

// Reads an association text into row `row` (Link and Step); false, and
// nothing changed, when the text does not read or names a row above 128.
bool ApplyAssociation(CACal& cal, int row, const std::string& text);

// A limit cell: "#n" binds the limit to row n (1..RowCount), a number sets
// the fixed limit. False, and nothing changed, for anything else.
bool ApplyLimit(CACal& cal, int row, bool upper, const std::string& text);
// The limit cell's text.
std::string LimitText(const ACalVarRec& r, bool upper);

// Appends row `row` when it is the next free slot (a cleared wire row).
// True when the row exists afterwards.
bool EnsureRow(CACal& cal, int row);

// Inserts a copy of row k before it; links to rows from k on follow their
// row. False when the table is full or k is not a row.
bool InsertRowCopy(CACal& cal, int k);

// Deletes row k: rows linked to it become free (keeping their other
// fields) and limits bound to it fixed at its value; links and limits to
// later rows move down with them, as do the values of the logged and the
// best point; the freed slot is cleared.
void DeleteRow(CACal& cal, int k);

// Empties the whole table.
void ClearRows(CACal& cal);

// Every free row takes the same step.
void SetCommonStep(CACal& cal, double step);
