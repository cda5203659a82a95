#include "model/PositionText.h"

#include <cctype>
#include <cstring>

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

// The position field may come from a file without its terminating zero.
int ParseField(const AntDef& ant, const char (&field)[PosTextSize]) {
    char text[PosTextSize + 1];
    std::memcpy(text, field, PosTextSize);
    text[PosTextSize] = '\0';
    return ParseSourcePos(ant, text);
}

}  // namespace

int ParseSourcePos(const AntDef& ant, const char* pos) {
    if (!pos) return 0;
    const char* s = pos;
    // Blanks before the text are not part of it: the antenna text drops them.
    while (*s == ' ' || *s == '\t') ++s;
    if (std::isdigit(static_cast<unsigned char>(*s))) return static_cast<int>(ReadDigits(s));
    if (std::toupper(static_cast<unsigned char>(*s)) != 'W') return 0;
    ++s;
    long long wireNo = ReadDigits(s);
    const int index = wireNo > 0 ? static_cast<int>(wireNo - 1) : 0;  // w0c names wire 1 too
    const int wireCount = ant.WireCount < MaxWires ? ant.WireCount : MaxWires;
    if (index >= wireCount) return 0;

    char letter = 'C';
    if (*s != '\0') letter = static_cast<char>(std::toupper(static_cast<unsigned char>(*s++)));
    const long long offset = ReadOffset(s);

    const WireRec& w = ant.Wires[index];
    const long long first = w.FirstPulse;
    const long long count = w.PulseCount;
    long long pulse;
    switch (letter) {
        case 'B': pulse = first + offset; break;
        case 'C': pulse = first + count / 2 + offset; break;
        case 'E': pulse = first + count - 1 - offset; break;
        default: return 0;
    }
    // A position must land on one of the wire's own pulses; anything else
    // would excite or load a pulse of another wire, or none at all.
    if (first <= 0 || count <= 0 || pulse < first || pulse > first + count - 1) return 0;
    return static_cast<int>(pulse);
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
    const int sourceCount = ant.SourceCount < MaxSources ? ant.SourceCount : MaxSources;
    for (int i = 0; i < sourceCount; ++i) ant.Sources[i].Pulse = ParseField(ant, ant.Sources[i].Pos);
    const int loadCount = ant.LoadCount < MaxLoads ? ant.LoadCount : MaxLoads;
    for (int i = 0; i < loadCount; ++i) ant.Loads[i].Pulse = ParseField(ant, ant.Loads[i].Pos);
}
