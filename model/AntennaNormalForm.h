#pragma once
// The one normal form of an antenna record, whichever way it came in: read
// from an antenna text, from the model image of a far-field file or an
// optimization log, or typed into a table. Every reader and the table entry
// check and normalise through here, so that an antenna reads the same from
// every format and what the program writes it reads back as the same
// antenna. What the antenna text cannot carry as it stands is refused when it
// is read, not changed on the next save.
#include <string>
#include <string_view>

#include "model/AntDef.h"

// A single-line field as the antenna text writes it: a line end or Ctrl-Z
// would start a new record, and (with noCommas) a comma a new field, so they
// become blanks.
std::string OneLineText(std::string_view s, bool noCommas);

// A position as the antenna text reads its field: folded, the blanks before
// it dropped, cut to the characters the format carries.
std::string PositionFromField(std::string_view field);

// The field the antenna text writes for a position.
std::string PositionField(const char* pos);

// Puts a position into its normal form (folded, without blanks before it).
// False when a save would read it back as another position: longer than the
// text carries, or holding a comma or a line break. The field then holds
// what a save would read back.
bool NormalizePosition(char (&pos)[PosTextSize]);

// The comment as the antenna text reads it back: every line ended by CR LF,
// no CR or Ctrl-Z of its own.
std::string NormalComment(std::string_view comment);

// Checks and normalises a record and its comment as read. Normalises what
// every format reads alike: positions, segmentation, the stack fields of a
// single antenna, the coefficients a load's type does not use, the tapered
// wire sets, the comment's line ends. False when the record holds what the
// antenna text cannot carry faithfully (a frequency or calculation frequency
// other than 0 that is not FrequencyInRange, a taper key or a wire radius
// that would read back as another set's, a name with a line break, a
// position a save would change, a load of no known type, a stack beyond the
// record, a NUL byte in the comment); the rest is normalised all the same.
bool NormalizeReadAntenna(AntDef& ant, std::string& comment);

// Why a record read from a file is refused, where the user can act on it: a
// frequency below the lowest or above the highest the antenna takes, taper
// keys or radii that a save would not tell apart. Empty otherwise.
std::string ReadRefusalReason(const AntDef& ant);
