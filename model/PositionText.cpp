#include "model/PositionText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace {

// Digits beyond this are clamped: no pulse number comes near it.
constexpr long long PositionNumberLimit = 1000000000;

// Reads an unsigned run of digits at s, clamped; advances s past them.
// Returns -1 when there is no digit.
long long ReadDigits(const char*& s) {
    if (!std::isdigit(static_cast<unsigned char>(*s))) return -1;
    long long v = 0;
    while (std::isdigit(static_cast<unsigned char>(*s))) {
        if (v < PositionNumberLimit) v = v * 10 + (*s - '0');
        ++s;
    }
    return v < PositionNumberLimit ? v : PositionNumberLimit;
}

// The offset after the letter: a signed whole number, 0 when absent or unreadable.
long long ReadOffset(const char* s) {
    while (*s == ' ' || *s == '\t') ++s;
    bool negative = false;
    if (*s == '+' || *s == '-') negative = (*s++ == '-');
    long long v = ReadDigits(s);
    if (v < 0) return 0;
    return negative ? -v : v;
}

}  // namespace

long long PulseIndexOnWire(const char* rest, long long count) {
    char letter = 'C';
    if (*rest != '\0') letter = static_cast<char>(std::toupper(static_cast<unsigned char>(*rest++)));
    const long long offset = ReadOffset(rest);
    long long index = -1;
    switch (letter) {
        case 'B': index = offset; break;
        case 'C': index = count / 2 + offset; break;
        case 'E': index = count - 1 - offset; break;
        default: return -1;
    }
    return index >= 0 && index < count ? index : -1;
}

namespace {

// What follows a wire number ("b+0001", "e", "c -02") with the offset in its
// shortest form ("b+1", "e", "c-2"); empty when the text is not of that form.
std::string ShortestOffsetForm(const char* rest) {
    const char* s = rest;
    if (!std::isalpha(static_cast<unsigned char>(*s))) return {};
    std::string out(1, *s++);
    while (*s == ' ' || *s == '\t') ++s;
    char sign = '\0';
    if (*s == '+' || *s == '-') sign = *s++;
    const char* digits = s;
    while (std::isdigit(static_cast<unsigned char>(*s))) ++s;
    if (*s != '\0' || (sign && s == digits)) return {};
    while (digits + 1 < s && *digits == '0') ++digits;
    if (s == digits || (s - digits == 1 && *digits == '0')) return out;
    out += sign ? sign : '+';
    out.append(digits, s);
    return out;
}

// In a stacked calculation copy, entry `index` of a table of `count` sources
// or loads belongs to copy index / (count / copies); -1 outside a stack.
int CopyOfEntry(const AntDef& ant, int index, int count) {
    const int copies = ant.StackCopies;
    const int wireCount = std::min(ant.WireCount, MaxWires);
    if (copies <= 1 || count < copies || wireCount < copies) return -1;
    return index / (count / copies);
}

// The pulses of one copy of a stack: its wires follow one another, and so
// do their pulses.
struct PulseSpan {
    long long First = 0;  // the copy's first pulse, 0 when it has none
    long long Count = 0;
};

PulseSpan CopyPulses(const AntDef& ant, int copy) {
    const int wiresEach = std::min(ant.WireCount, MaxWires) / ant.StackCopies;
    PulseSpan span;
    for (int w = copy * wiresEach; w < (copy + 1) * wiresEach; ++w) {
        const WireRec& wire = ant.Wires[w];
        if (wire.FirstPulse <= 0 || wire.PulseCount <= 0) continue;
        if (span.First == 0) span.First = wire.FirstPulse;
        span.Count += wire.PulseCount;
    }
    return span;
}

long long AllPulses(const AntDef& ant) {
    long long all = 0;
    for (int w = 0; w < std::min(ant.WireCount, MaxWires); ++w) all += std::max(ant.Wires[w].PulseCount, 0);
    return all;
}

// The pulse of an entry of copy `copy`. A wire beyond its own copy is no
// wire of the antenna stacked, and must not feed or load the next copy. A
// plain pulse number counts the pulses of the antenna stacked, so in each
// copy it names the pulse as far into that copy's pulses; one beyond them is
// numbered beyond the stack's pulses as well, so the preparation refuses it
// as it refuses the antenna alone.
int PulseInCopy(const AntDef& ant, const char* pos, int copy) {
    const PositionRef ref = SplitPosition(pos);
    if (ref.Names == PositionRef::Wire) {
        const long long wiresEach = std::min(ant.WireCount, MaxWires) / ant.StackCopies;
        const bool own = ref.Number > copy * wiresEach && ref.Number <= (copy + 1) * wiresEach;
        return own ? ParseSourcePos(ant, pos) : 0;
    }
    if (ref.Names != PositionRef::Pulse || ref.Number <= 0) return ParseSourcePos(ant, pos);
    const PulseSpan span = CopyPulses(ant, copy);
    const long long pulse =
        ref.Number <= span.Count ? span.First + ref.Number - 1 : AllPulses(ant) + ref.Number - span.Count;
    return static_cast<int>(std::min<long long>(pulse, std::numeric_limits<int>::max()));
}

template <typename Rec>
void ResolveTable(const AntDef& ant, Rec* table, int count, int limit) {
    const int used = std::clamp(count, 0, limit);
    for (int i = 0; i < used; ++i) {
        // The field may come from a file without its terminating zero.
        char text[PosTextSize + 1];
        std::memcpy(text, table[i].Pos, PosTextSize);
        text[PosTextSize] = '\0';
        table[i].Pulse = EntryPulse(ant, text, i, used);
    }
}

}  // namespace

int EntryPulse(const AntDef& ant, const char* pos, int index, int count) {
    const int copy = CopyOfEntry(ant, index, count);
    return copy < 0 ? ParseSourcePos(ant, pos) : PulseInCopy(ant, pos, copy);
}

PositionRef SplitPosition(const char* pos) {
    PositionRef ref;
    if (!pos) return ref;
    const char* s = pos;
    // Blanks before the text are not part of it: the antenna text drops them.
    while (*s == ' ' || *s == '\t') ++s;
    if (std::isdigit(static_cast<unsigned char>(*s))) {
        ref.Names = PositionRef::Pulse;
        ref.Number = ReadDigits(s);
        ref.Rest = s;
        return ref;
    }
    if (std::toupper(static_cast<unsigned char>(*s)) != 'W') return ref;
    ref.Names = PositionRef::Wire;
    ref.Letter = *s++;
    const long long wireNo = ReadDigits(s);
    ref.Number = wireNo > 0 ? wireNo : 1;  // w0c names wire 1 too
    ref.Rest = s;
    return ref;
}

std::string PositionTooLongReason() {
    return "cannot be written in " + std::to_string(PosTextLength) + " characters";
}

std::string PositionOnWireText(char letter, long long wire, char end, long long offset) {
    const std::string text = letter + std::to_string(wire) + end;
    return offset == 0 ? text : text + (offset > 0 ? "+" : "") + std::to_string(offset);
}

std::string PulseOnWireText(char letter, long long wire, long long index, long long count) {
    auto form = [&](char end, long long offset) { return PositionOnWireText(letter, wire, end, offset); };
    std::string best = form('c', index - count / 2);
    for (const std::string& other : {form('b', index), form('e', count - 1 - index)})
        if (other.size() < best.size()) best = other;
    return best;
}

bool SetPositionWire(char* pos, std::size_t size, long long wire, long long pulseCount, std::size_t limit) {
    if (!pos || size == 0) return true;
    pos[size - 1] = '\0';
    const PositionRef ref = SplitPosition(pos);
    if (ref.Names != PositionRef::Wire) return true;
    limit = std::min(limit, size - 1);
    std::string out = ref.Letter + std::to_string(wire) + std::string(ref.Rest).substr(0, 40);
    // The antenna text carries PosTextLength characters: a longer wire number
    // must not cut the text short ("w9b+0001" would be saved as "w10b+000",
    // another pulse), so the offset goes in its shortest form, and where that
    // is not enough, the pulse is named from the nearer end or the centre.
    if (out.size() > limit) {
        const std::string shortest = ShortestOffsetForm(ref.Rest);
        if (!shortest.empty()) out = ref.Letter + std::to_string(wire) + shortest;
    }
    if (out.size() > limit && pulseCount > 0) {
        const long long index = PulseIndexOnWire(ref.Rest, pulseCount);
        if (index >= 0) out = PulseOnWireText(ref.Letter, wire, index, pulseCount);
    }
    if (out.size() > limit) return false;
    CopyText(pos, size, out.c_str());
    return true;
}

int ParseSourcePos(const AntDef& ant, const char* pos) {
    const PositionRef ref = SplitPosition(pos);
    if (ref.Names == PositionRef::Pulse) return static_cast<int>(ref.Number);
    if (ref.Names != PositionRef::Wire) return 0;
    const int wireCount = ant.WireCount < MaxWires ? ant.WireCount : MaxWires;
    if (ref.Number > wireCount) return 0;
    const WireRec& w = ant.Wires[ref.Number - 1];
    // A position must land on one of the wire's own pulses; anything else
    // would excite or load a pulse of another wire, or none at all.
    const long long index = PulseIndexOnWire(ref.Rest, w.PulseCount);
    if (w.FirstPulse <= 0 || index < 0) return 0;
    return static_cast<int>(w.FirstPulse + index);
}

void ResolvePositions(AntDef& ant) {
    const int pieceCount = ant.ExpWireCount < MaxExpWires ? ant.ExpWireCount : MaxExpWires;
    const int wireCount = ant.WireCount < MaxWires ? ant.WireCount : MaxWires;
    for (int p = 0; p < pieceCount; ++p) {
        const ExpWireRec& piece = ant.ExpWires[p];
        if (piece.FirstPulse == 0) continue;
        if (piece.UserWire < 0 || piece.UserWire >= wireCount) continue;
        WireRec& w = ant.Wires[piece.UserWire];
        if (w.FirstPulse == 0) w.FirstPulse = piece.FirstPulse;
        w.PulseCount += piece.LastPoint - piece.FirstPoint + 1;
    }
    ResolveTable(ant, ant.Sources, ant.SourceCount, MaxSources);
    ResolveTable(ant, ant.Loads, ant.LoadCount, MaxLoads);
}
