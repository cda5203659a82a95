#pragma once
// The list of ground media of the environment record as the media dialog's
// grid shows and edits it: row i + 1 is medium i, the row after the last
// medium ("next") adds one. Medium 1 always lies at height 0.
#include "model/EnvDef.h"

#include <string>

// Cell text of column 0..4 (number, dielectric constant, conductivity in
// mS/m, boundary coordinate, height) of a data row; forces medium 1's height
// to 0.
std::string MediaCellText(EnvRec& env, int col, int row);
// Takes a cell's text when its editor closes. A text that does not parse, or
// gives a value no medium takes (MediumValueInRange), changes nothing; an empty boundary or height clears it only on the last
// medium or the "next" row. False when nothing was taken.
bool SetMediaCell(EnvRec& env, int col, int row, const std::string& text);
// An edit of the "next" row (i = MediaMax) makes it a medium and presets the
// new "next" slot with medium 1's ground.
void ExtendMedia(EnvRec& env, int i);
// Delete and Add on a medium's row (1..MediaMax); false when refused.
bool DeleteMedium(EnvRec& env, int row);
bool InsertMedium(EnvRec& env, int row);
