#pragma once
// The antenna definition: one fixed-size record without pointers, so it can be
// copied whole, kept as a calculation copy and stored field by field in files.
#include <cstddef>
#include <cstdint>

constexpr int MaxWires = 512;
constexpr int MaxSources = 64;
constexpr int MaxLoads = 100;
constexpr int MaxTaperSets = 10;
constexpr int MaxTaperSections = 10;
constexpr int MaxExpWires = 4096;
constexpr int MaxLoadPairs = 12;
constexpr int AntNameLength = 128;
constexpr int PosTextSize = 12;   // field size; the text format carries 8 characters
constexpr int PosTextLength = 8;

// One straight wire (72 bytes; stored byte for byte in the model image).
struct WireRec {
    double X1, Y1, Z1;
    double X2, Y2, Z2;
    double R;        // m; 0 = ignored by the calculation; negative = key of a TaperSet
    int32_t Seg;     // segment count, automatic mode (0, -1..-10000) or packed pair
    int32_t FirstPulse;  // 1-based, 0 = none; filled before each calculation
    int32_t PulseCount;
    int32_t Unused;
};

// One voltage source (32 bytes).
struct SourceRec {
    char Pos[PosTextSize];
    int32_t Pulse;
    double Voltage;  // V
    double Phase;    // degrees
};

enum LoadType : int32_t { LoadLC = 0, LoadRX = 1, LoadS = 2 };

// One lumped load (216 bytes).
struct LoadRec {
    int32_t Type;    // LoadType
    char Pos[PosTextSize];
    int32_t Pulse;
    int32_t N;       // Laplace loads: pairs in use (1..12)
    double A[MaxLoadPairs];
    double B[MaxLoadPairs];
};

enum TaperType : int32_t { TaperSym = 0, TaperOneWay = 1, TaperSymStar = 2, TaperOneWayStar = 3 };

// One tapered wire set (176 bytes).
struct TaperSet {
    double Key;                       // negative radius that selects this set
    double Len[MaxTaperSections];     // section lengths, m; list ends at the first 0
    double Rad[MaxTaperSections];     // section radii, m
    int32_t Type;                     // TaperType
    int32_t Unused;
};

// One wire piece made by the wire expansion; never stored in a file.
struct ExpWireRec {
    double X1, Y1, Z1;
    double X2, Y2, Z2;
    double R;
    int32_t Segs;
    int32_t UserWire;    // 0-based
    int32_t FirstPulse;  // 1-based; 0 until the pulse numbering
    int32_t FirstPoint;
    int32_t LastPoint;
};

struct AntDef {
    int32_t Changed;
    int32_t Edited;
    char Name[AntNameLength + 1];
    double Freq;            // MHz
    int32_t WireCount;
    WireRec Wires[MaxWires];
    double CalcFreq;        // MHz; 0 = Freq
    int32_t SourceCount;
    int32_t AutoVoltage;
    SourceRec Sources[MaxSources];
    int32_t UseLoads;
    int32_t LoadCount;
    LoadRec Loads[MaxLoads];
    int32_t TaperSetCount;
    TaperSet TaperSets[MaxTaperSets];
    int32_t ExpWireCount;
    ExpWireRec ExpWires[MaxExpWires];
    double LowestZ;
    double Wavelength;
    int32_t DM1;
    int32_t DM2;
    int32_t EC;
    double SC;
    int32_t StackMode;      // 0 centred, 1 copies go up, 2 copies go down
    int32_t nH;
    int32_t nV;
    double hSpacing;
    double vSpacing;
    // Never stored in a file: in a stacked calculation copy the number of
    // copies it holds (each with its own equal share of the wires, sources
    // and loads), else 0.
    int32_t StackCopies;
};

static_assert(sizeof(WireRec) == 72);
static_assert(offsetof(WireRec, X2) == 24 && offsetof(WireRec, R) == 48);
static_assert(offsetof(WireRec, Seg) == 56 && offsetof(WireRec, FirstPulse) == 60);
static_assert(offsetof(WireRec, PulseCount) == 64);
static_assert(sizeof(SourceRec) == 32);
static_assert(offsetof(SourceRec, Pulse) == 12 && offsetof(SourceRec, Voltage) == 16);
static_assert(offsetof(SourceRec, Phase) == 24);
static_assert(sizeof(LoadRec) == 216);
static_assert(offsetof(LoadRec, Pos) == 4 && offsetof(LoadRec, Pulse) == 16);
static_assert(offsetof(LoadRec, N) == 20 && offsetof(LoadRec, A) == 24);
static_assert(offsetof(LoadRec, B) == 120);
static_assert(sizeof(TaperSet) == 176);
static_assert(offsetof(TaperSet, Len) == 8 && offsetof(TaperSet, Rad) == 88);
static_assert(offsetof(TaperSet, Type) == 168);

// Packed segmentation pair "a,b": bit 31 set, b in bits 16..30, a in bits 0..14.
// Every packed value lies below -10000; every plain code at or above it.
constexpr int32_t SegPairLimit = -10000;
constexpr int SegPairMax = 32767;
inline bool IsSegPair(int32_t seg) { return seg < SegPairLimit; }
inline int32_t PackSegPair(int a, int b) {
    if (a < 1) a = 1;
    if (a > SegPairMax) a = SegPairMax;
    if (b < 1) b = 1;
    if (b > SegPairMax) b = SegPairMax;
    return static_cast<int32_t>(0x80000000u | (static_cast<uint32_t>(b) << 16) | static_cast<uint32_t>(a));
}
inline int SegPairFirst(int32_t seg) { return static_cast<int>(static_cast<uint32_t>(seg) & 0x7FFFu); }
inline int SegPairSecond(int32_t seg) { return static_cast<int>((static_cast<uint32_t>(seg) >> 16) & 0x7FFFu); }

// A wire's segment code as the antenna text reader takes its fields a and b
// (b 0 when absent): a pair when b is not 0, else a plain code, one below
// the packed range raised to its lowest value.
int32_t SegCodeFromFields(int a, int b);

// Repairs the segmentation values that the engine refuses, as the antenna
// text reader reads them: DM1, DM2 and EC by magnitude, EC at least 1, SC
// outside (1, 3] set to 2, and every packed pair as its two fields read back.
// Both file formats give the same antenna this way.
void RepairSegmentation(AntDef& ant);

// The segmentation a new antenna starts with, and the one an antenna text
// without a segmentation section gets: density 800 and 80 per wavelength,
// one end segment, step 2.
void SetDefaultSegmentation(AntDef& ant);

// Copies text into a fixed field: always truncates and terminates, never in
// the middle of a UTF-8 character.
void CopyText(char* dest, std::size_t destSize, const char* src);
template <std::size_t N>
inline void CopyText(char (&dest)[N], const char* src) { CopyText(dest, N, src); }

// Speed of light over frequency: the wavelength in metres of f MHz.
constexpr double LightSpeedMHz = 299.792458;

// The lowest frequency an antenna takes, MHz. Files carry frequencies to six
// decimals: below 1 kHz a saved frequency would read back as another one (or
// as 0, the default), and far below it the engine's single precision turns
// it into no frequency at all.
constexpr double MinFrequencyMHz = 0.001;

// The highest frequency an antenna takes, MHz (a wavelength of 0.3 mm). The
// log shows wavelengths in millimetres, and far above it the engine's single
// precision turns the frequency into no number at all.
constexpr double MaxFrequencyMHz = 1e6;

// What a frequency below or above the limits is refused with.
constexpr const char* FrequencyLimitText = "A frequency must be at least 0.001 MHz.";
constexpr const char* FrequencyHighLimitText = "A frequency must be at most 1000000 MHz.";

// A frequency the antenna can be given: finite and within MinFrequencyMHz
// and MaxFrequencyMHz. (0, which stands for the default, is each caller's
// own case.)
bool FrequencyInRange(double mhz);

// Why a frequency other than 0 is not in range (one of the texts above);
// nullptr for 0 and for one in range.
const char* FrequencyRefusal(double mhz);

// Design frequency of a new antenna, MHz.
constexpr double NewAntennaFreq = 14.15;
// A design frequency of 0 (a file that gives none) is shown, and taken, as
// this, MHz.
constexpr double UnsetFreqShownAs = 14.05;

// The record of a new antenna: zero-filled, then the defaults of every field
// a file may leave out (frequency, segmentation, one copy spaced one
// wavelength, automatic voltage and loads in use).
void ResetToNewAntenna(AntDef& ant);
