#pragma once
// The small frequency sweep kept with the results: five main points around the
// latest calculation, up to four dots in each gap between them and a match
// point. It is part of the far-field file, so its fields are written at fixed
// offsets (SweepTableImageSize bytes); the struct itself is never copied to disk.
#include <cstddef>
#include <cstdint>

class ByteWriter;
class ByteReader;

constexpr int SweepMainPoints = 5;
constexpr int SweepGaps = 4;
constexpr int SweepMaxDots = 4;
constexpr int SweepAzSamples = 180;    // 2-degree azimuth samples in use
constexpr int SweepAzSlots = 360;
constexpr int SweepElSamples = 91;     // 2-degree elevation samples
constexpr int16_t NoGainShort = -32767;

constexpr std::size_t SweepDotImageSize = 48;
constexpr std::size_t SweepPointImageSize = 2760;
constexpr std::size_t SweepTableImageSize = 14664;

enum SweepState : int32_t { SweepNotComputed = 0, SweepComputed = 1, SweepCopied = 2 };

struct SweepDot {
    int32_t State = 0;      // SweepState
    int32_t Reserved = 0;
    double F = 0;           // MHz
    double R = 0;           // ohms
    double X = 0;
    double Ga = 0;          // dBi
    double FB = 0;          // dB
};

// A main point: the dot's values and both pattern cuts at 2-degree spacing,
// in dB x 256 (NoGainShort where there is none).
struct SweepPoint : SweepDot {
    int32_t Shown = 0;                      // 1 when the cuts are filled
    int16_t AzGain[3][SweepAzSlots] = {};   // V, H, total; entries 0..179 used
    int16_t ElGain[3][SweepElSamples] = {}; // from the back horizon
    int16_t ReservedTail = 0;
};

struct SweepTable {
    int32_t Count = 0;        // main points computed
    int32_t CentreIndex = 0;  // 2 once set up
    double F0 = 0;            // centre frequency, MHz
    double BW = 0;            // span of the main points, MHz
    double Step = 0;          // distance of the main points, MHz
    SweepPoint Points[SweepMainPoints];
    int32_t DotsPerGap = 0;   // 1..4 once set up
    int32_t DotsComplete = 0;
    SweepDot Dots[SweepGaps][SweepMaxDots];
    int32_t MatchAtCentre = 0;
    int32_t Reserved = 0;
    SweepDot Match;
};

// dB to the 16-bit form of the sweep and the optimizer log: x 256, rounded,
// clamped to the 16-bit range; NaN and anything at or below -32767 is "none".
int16_t GainToShort(float dB);

// The computed record at exactly frequency f: main points, then the dots of
// each gap, then the match point; none while no main point is counted.
const SweepDot* FindSweepPoint(const SweepTable& t, double f);

void WriteSweepTable(ByteWriter& out, const SweepTable& t);
// Fails the reader on a count, index or state outside its range.
bool ReadSweepTable(ByteReader& in, SweepTable& t);
