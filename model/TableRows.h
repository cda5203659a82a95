#pragma once
// Deleting and inserting rows of the wire, source and load tables. Rows are
// 1-based as the tables show them; the row below the last entry is the
// table's empty row and takes neither command.
#include "model/AntDef.h"

#include <functional>
#include <string>
#include <vector>

enum class EditTable { Wires, Sources, Loads };

// What an edit of the wire table did to the wires that were there before it:
// the new number (from 1) of each old wire, 0 for a deleted one; where each
// old wire's pulses began at the last preparation (0 when not known); and
// the old wires themselves, for what is placed by their geometry (elements).
struct WireRenumbering {
    std::vector<int> NewNumber;
    std::vector<int> FirstPulse;
    std::vector<WireRec> Before;
    // Each old wire: cut into pieces (the wire editor's divide).
    std::vector<bool> Cut;
    // Positions on a cut wire are placed again by the point in space they
    // stand at: given such a text (still naming the old wire), the text that
    // names the pulse of the pieces there, or none to keep it on the old
    // wire's new number. Nearest: no pulse of the pieces stands at that
    // point, and the nearest one was taken.
    struct Placement {
        std::string Text;
        bool Nearest = false;
    };
    std::function<Placement(const char* text)> PlaceOnPieces;
    // Every wire of `before` keeps its number.
    explicit WireRenumbering(const AntDef& before);
    // True when some wire lost its number or was cut, or wires were added.
    bool Renumbers(int wireCountAfter) const;
};

// What following an edit did to the antenna's sources and loads: the new
// number (from 1) of each entry there was, 0 for a removed one. An empty
// list: that table kept its numbers.
struct EntryRenumbering {
    std::vector<int> NewSource, NewLoad;
    // True when some source or load lost its number.
    bool Renumbers() const;
};

// Sources and loads are placed by wire number, so every deletion and
// insertion of wires goes through here: a source or load on a wire that
// moved moves with it (the rest of its position text kept), one on a deleted
// wire is removed. Returns a line for the log for each removed entry and for
// each entry given as a plain pulse number whose pulse moved. Whatever else
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
// those kept elsewhere: renamed when its wire moved or was cut. Answers
// the deleted wire it named (its holder is removed; the caller says so), 0
// when it stays; other lines for the log go to `notes`, with `what` naming
// the holder ("Source 2").
long long FollowPosition(char* pos, std::size_t size, const WireRenumbering& change, const std::string& what,
                         std::vector<std::string>& notes);
// The log line of a holder whose position named a deleted wire.
std::string DeletedWireNote(const std::string& what, const std::string& text, long long wire);

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
bool DeleteTableEntry(AntDef& ant, EditTable table, int row, std::vector<std::string>* notes = nullptr);

// Opens a cleared entry at `row`, moving it and the entries below down one.
// A new wire has all coordinates 0 and the radius and segmentation of the
// wire above it (at the top, of the wire below it); a new load is an LC load
// with all coefficients 0. False (nothing changed) when the row holds no
// entry or the table is at its insertion limit. Sources and loads on the
// wires below move down with them, and what names the entries below too.
bool InsertTableEntry(AntDef& ant, EditTable table, int row, std::vector<std::string>* notes = nullptr);
