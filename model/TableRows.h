#pragma once
// Deleting and inserting rows of the wire, source and load tables. Rows are
// 1-based as the tables show them; the row below the last entry is the
// table's empty row and takes neither command.
#include "model/AntDef.h"

#include <functional>
#include <string>
#include <vector>

enum class EditTable { Wires, Sources, Loads };

// Where a position goes when the wires are renumbered, by the point in space
// it stands at. Unknown: no pulse layout tells, the position follows its
// wire's number; a Text says why, for the log. Placed: Text names the pulse at its point (a junction is a
// pulse of either wire); Nearest: no pulse stands there any more and Text
// names the nearest one of its wire. Removed: Text says why it cannot stay.
struct PositionPlacement {
    enum Outcome { Unknown, Placed, Nearest, Removed };
    Outcome How = Unknown;
    std::string Text;
};

// What an edit of the wire table did to the wires that were there before it:
// the new number (from 1) of each old wire, 0 for a deleted one; where each
// old wire's pulses began at the last preparation (0 when not known); and
// the old wires themselves, for what is placed by their geometry (elements).
struct WireRenumbering {
    std::vector<int> NewNumber;
    std::vector<int> FirstPulse;
    std::vector<WireRec> Before;
    // Of each old wire cut into pieces (the wire editor's divide): the new
    // numbers (from 1) of its pieces; empty for a wire not cut.
    std::vector<std::vector<int>> Pieces;
    // The wire count after the edit; -1 until the antenna's entries follow.
    int WireCountAfter = -1;
    // Given a text that names an old wire that is still there, where it goes
    // (PlaceByPoint); none: positions follow their wire's number.
    std::function<PositionPlacement(const char* text)> Place;
    // Every wire of `before` keeps its number.
    explicit WireRenumbering(const AntDef& before);
    bool IsCut(std::size_t wire) const { return wire < Pieces.size() && !Pieces[wire].empty(); }
    // True when some wire lost its number or was cut, or wires were added.
    bool Renumbers(int wireCountAfter) const;
};

// Makes the Place of a change from the antenna after it; given to the table
// edits by those that can lay out pulses.
using PositionPlacing = std::function<PositionPlacement(const char*)> (*)(const AntDef& after,
                                                                           const WireRenumbering& change);

// What following an edit did to the antenna's sources and loads: the new
// number (from 1) of each entry there was, 0 for a removed one. An empty
// list: that table kept its numbers.
struct EntryRenumbering {
    std::vector<int> NewSource, NewLoad;
    // True when some source or load lost its number.
    bool Renumbers() const;
};

// Sources and loads are placed by wire number, so every deletion and
// insertion of wires goes through here: a source or load stays at its point
// in space where the change can place it (Place), else on its wire, which it
// follows (the rest of its position text kept); one on a deleted wire is
// removed. A text that names no wire keeps naming none. Returns a line for
// the log for each removed or moved entry, for each entry whose point the
// change could not tell, and for each entry given as a plain pulse number
// whose pulse moved. Whatever else
// keeps numbers of this antenna's wires, sources, loads or elements follows
// then too (SetWireReferenceFollower).
std::vector<std::string> FollowWireRenumbering(AntDef& ant, const WireRenumbering& change);

// A row deleted or inserted in the source or load table: the wires keep
// their numbers, and whatever else keeps numbers of this antenna's sources
// and loads follows them as it follows a renumbering of the wires. Returns
// its lines for the log.
std::vector<std::string> FollowEntryRenumbering(const AntDef& ant, const EntryRenumbering& entries);

// The same for a list of sources kept elsewhere (a band of the optimizer),
// each named `kind` and its number in the log. Returns the new number (from
// 1) of each entry there was, 0 for a removed one.
std::vector<int> FollowSources(SourceRec* sources, int32_t& count, int capacity, const std::string& kind,
                               const WireRenumbering& change, std::vector<std::string>& notes);

// One position text through the change, for the antenna's entries and for
// those kept elsewhere: placed again or renamed when its wire moved or was
// cut. Answers why its holder is removed (the caller removes it and says so
// with RemovedNote), empty when it stays; other lines for the log go to
// `notes`, with `what` naming the holder ("Source 2").
std::string FollowPosition(char* pos, std::size_t size, const WireRenumbering& change, const std::string& what,
                           std::vector<std::string>& notes);
// "Source 2": an entry as the log names it.
std::string EntryName(const std::string& kind, int number);
// The log line of a holder removed for `why` ("was on the deleted wire 3").
std::string RemovedNote(const std::string& what, const std::string& text, const std::string& why);
// The log line of a holder placed on another pulse layout (`where`: "after
// the edit"): none where it stands at its point; where no pulse stands
// there, that it goes to the nearest one of its wire; where the placing
// could not tell or keep it (Text says why), that its text stays.
std::string PlacementNote(const std::string& what, const std::string& text, const PositionPlacement& placed,
                          const std::string& where = "after the edit");
// The log line of a holder whose position named a deleted wire.
std::string DeletedWireNote(const std::string& what, const std::string& text, long long wire);

// Fits a stacked copy taken as the antenna (or any antenna) to what the
// antenna text carries, from the pulses the last preparation resolved: a
// plain pulse number of a copy becomes the pulse of the whole it names, and
// a position longer than the text carries is written as the shortest text
// naming the same pulse; where none fits, its source or load is removed.
// Returns the lines for the log.
std::vector<std::string> FitPositionsToField(AntDef& ant);

// Whatever else keeps numbers of an antenna's wires, sources, loads or
// elements (the optimizer's rows, bands and current goal) follows each
// renumbering of that antenna from FollowWireRenumbering, after the sources
// and loads, and from FollowEntryRenumbering (with a change that keeps every
// wire), and adds its lines for the log. One follower per antenna; an
// empty function removes it, as its owner must before the antenna goes.
using WireReferenceFollower = std::function<void(const AntDef& ant, const WireRenumbering& change,
                                                 const EntryRenumbering& entries, std::vector<std::string>& notes)>;
void SetWireReferenceFollower(const AntDef& ant, WireReferenceFollower follower);

// Insertion stops one entry short of each table's capacity: the last entry
// is reached only by typing into the empty row.
int InsertLimit(EditTable table);

// Removes entry `row`; the entries below move up and the freed last slot is
// cleared. False (nothing changed) when the row holds no entry. A wire takes
// its sources and loads along (FollowWireRenumbering), a source or load what
// named it (FollowEntryRenumbering); the log lines that gives go to `notes`.
// Given `placing`, positions keep their point in space through a wire edit.
bool DeleteTableEntry(AntDef& ant, EditTable table, int row, std::vector<std::string>* notes = nullptr,
                      PositionPlacing placing = nullptr);

// Opens a cleared entry at `row`, moving it and the entries below down one.
// A new wire has all coordinates 0 and the radius and segmentation of the
// wire above it (at the top, of the wire below it); a new load is an LC load
// with all coefficients 0. False (nothing changed) when the row holds no
// entry or the table is at its insertion limit. Sources and loads on the
// wires below move down with them, and what names the entries below too.
bool InsertTableEntry(AntDef& ant, EditTable table, int row, std::vector<std::string>* notes = nullptr,
                      PositionPlacing placing = nullptr);
