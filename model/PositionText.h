#pragma once
// Position texts of sources and loads ("w3c", "w12b", "w1e2", "15") and their
// resolution to pulses after the wire expansion.
#include "model/AntDef.h"

#include <cstddef>
#include <string>

// A position text taken apart: what it names and what follows the number.
struct PositionRef {
    enum Kind { Nothing, Pulse, Wire };
    Kind Names = Nothing;
    long long Number = 0;  // the pulse, or the wire counted from 1
    char Letter = 'w';     // the wire's "w" or "W" as typed
    const char* Rest = "";  // after the wire number: letter and offset, kept as typed
};

// Reads a position text as the resolution below does: blanks before it are
// dropped, a leading number is a pulse, "w" with no number or with 0 names
// wire 1. Rest points into `pos`.
PositionRef SplitPosition(const char* pos);

// Rewrites a text that names a wire so that it names `wire` (counted from 1),
// with the case of its "w", its letter and its offset kept. Where that is
// longer than `limit` characters, the offset goes in its shortest form, and
// then, on a wire of `pulseCount` pulses (0: not known), the text becomes the
// shortest one naming the same pulse. False, and nothing changed, when no
// form fits. Texts that name no wire are left alone.
bool SetPositionWire(char* pos, std::size_t size, long long wire, long long pulseCount = 0,
                     std::size_t limit = PosTextLength);

// Why a position is removed that the antenna text cannot carry:
// "cannot be written in 8 characters".
std::string PositionTooLongReason();

// The text that names the pulse `offset` from the end `end` ('b', 'e' or
// 'c', either case) of a wire: "w3c", "w3b+2", "w3c-1".
std::string PositionOnWireText(char letter, long long wire, char end, long long offset);
// A text that names pulse `index` (from 0) of a wire of `count` pulses: the
// shortest of "c", "b", "e" with an offset. `letter` is the "w" as typed.
std::string PulseOnWireText(char letter, long long wire, long long index, long long count);

// The pulse (from 0) among a wire's `count` that what follows the wire number
// (PositionRef::Rest) names: "b", "c" or "e" with an offset, nothing standing
// for "c"; -1 for none of the wire's pulses.
long long PulseIndexOnWire(const char* rest, long long count);

// The pulse a position text names, from the wires' FirstPulse and PulseCount:
// a leading number is an absolute pulse; "w" + wire number + b/c/e + offset
// names a pulse of that wire. Texts that name no pulse of the wire, or
// nothing at all, give 0.
int ParseSourcePos(const AntDef& ant, const char* pos);

// Fills FirstPulse and PulseCount of every wire from the pieces (which the
// expansion has cleared and the pulse numbering has filled), then Pulse of
// every source and load. In a stacked copy each entry stays in its own copy:
// a position that names a wire beyond it gets no pulse, and a plain pulse
// number counts that copy's pulses.
void ResolvePositions(AntDef& ant);
// The pulse ResolvePositions gives entry `index` (from 0) of a table of
// `count` sources or loads with the position text `pos`.
int EntryPulse(const AntDef& ant, const char* pos, int index, int count);
