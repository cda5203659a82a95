#pragma once
// The results store: a ring of the last 128 result rows, the pattern cuts of
// the latest far-field run with their maxima, the per-pulse current magnitudes
// drawn on the antenna view, and the sweep table. A fixed-size block without
// pointers: instances are copied whole (snapshots around sweeps, the ten slots
// of the comparison).
#include <cstddef>
#include <cstdint>

#include "model/GainTie.h"
#include "model/SweepTable.h"

struct AntDef;
class ByteWriter;
class ByteReader;

constexpr int ResultRingSize = 128;
constexpr int ElevCutSize = 181;
constexpr int AzCutSize = 360;
constexpr int PulseSlots = 8192;
constexpr int ResultTitleSize = 128;
constexpr float NoGain = -999.0f;       // no radiated power in that direction

// Rows of the cuts.
enum Polarization { PolV = 0, PolH = 1, PolTotal = 2 };

// What the pattern pass under way stores (StorePatternPoint).
enum PatternPass : int32_t { PassAzimuth = 0, PassElevation = 1, PassFineSearch = 2 };

// Sign flags of a stored pulse current.
constexpr uint8_t PulseReNegative = 1;
constexpr uint8_t PulseImNegative = 2;

constexpr std::size_t ResultRowImageSize = 60;

// One calculation's results, single precision.
struct ResultRow {
    int32_t Ground = 0;   // 0 free space, 1 perfect, 2 real; set by the caller
    float Height = 0;     // added height, m; set by the caller
    float F = 0;          // MHz
    float R = 0;          // feed impedance of source 1, ohms
    float jX = 0;
    float SWR = 0;
    float Ga = 0;         // maximum gain, dBi
    float FB = 0;         // dB
    float Elev = 0;       // elevation of the main beam, degrees
    int32_t AzEl = 0;     // rear sector used for F/B
    float Z0R = 0;        // reference impedance
    float Z0X = 0;
    float GhMax = 0;      // largest horizontal gain of the azimuth cut
    float GvMax = 0;      // largest vertical gain; vertical is shown when above GhMax
    int32_t Reserved = 0;
    // The polarization every view shows: vertical only where its gain is
    // above the horizontal by more than single precision tells, so that
    // equal gains (a wire slanted at 45 degrees) read the same on any machine.
    bool Vertical() const { return GainAbove(GvMax, GhMax); }
};

class CResult {
public:
    char Title[ResultTitleSize] = {};
    int32_t RingIndex = 0;     // newest row
    int32_t RowCount = 0;
    ResultRow Rows[ResultRingSize];
    int32_t HasFarField = 0;
    int32_t AngleStep = 0;     // 1 full run, 2 quick run
    int32_t PointIndex = 0;    // next cut index of the pass under way
    int32_t PassMode = 0;      // PatternPass
    int32_t ElevMaxIndex = 0;
    int32_t AzMaxIndex = 0;
    // [pol][i]: index i is i x AngleStep degrees from the back horizon over
    // the zenith to the front horizon (ElevCut), or from +X (AzCut).
    float ElevCut[3][ElevCutSize] = {};
    float AzCut[3][AzCutSize] = {};
    float AzMax = 0;
    float ElevMax = 0;
    float GainMax = 0;
    float FineMax = 0;
    float GvMax = 0;
    float GhMax = 0;
    float ElevOfMax = 0;       // degrees
    float CutElevation = 0;    // elevation of the azimuth cut, degrees
    float PulseCurrent[PulseSlots] = {};  // slot p - 1 for pulse p, A
    int32_t LastPulseSlot = 0;
    uint8_t PulseFlags[PulseSlots] = {};
    double MaxAbsRe = 0;
    double MaxAbsIm = 0;
    SweepTable Sweep;

    // Ring of rows.
    void PushRow();
    ResultRow* Row(int k);             // k steps back from the newest
    const ResultRow* Row(int k) const;

    // Pulse currents.
    void ClearPulseCurrents();
    void StorePulseCurrent(const AntDef& ant, int piece, double re, double im, double magnitude);

    // Snapshots.
    int TakeLatest(const CResult& other);
    int CopyLatest(const CResult& other);

    // Far-field-file image. ReadFrom changes the store only when the whole
    // image is good; it fails the reader otherwise.
    void WriteTo(ByteWriter& out) const;
    bool ReadFrom(ByteReader& in);

    // Pattern cuts and statistics.
    void StorePatternPoint(float gv, float gh, float gtotal);
    int PatternMaxElev();
    double PatternElevAngle();
    void PatternMaxAzimuth();
    void PatternMaxAzimuth2();
    void CalcFB();

    // Sweep table. InitSweep centres five points on the newest row, which
    // was calculated at calculatedFreq (MHz).
    void InitSweep(double calculatedFreq);
    void SetSweepDivisions(int d);
    void CountSweep();
    const SweepDot* FindSweepPoint(double f) const;
    SweepDot* FindSweepPoint(double f);
    void ClearSweep();
    void StoreSweepPoint(int n);
    void StoreSweepSubPoint(int g, int j);
    // The newest row's impedance, gain and F/B into a sweep dot, marked computed.
    void TakeNewestRow(SweepDot& d) const;

private:
    void CopyPatternData(const CResult& other);
    void AzimuthMaxima();
};

// The F/B rear sector's halves lie within 0..359 and 0..179 degrees.
bool RearSectorInRange(int32_t azEl);

extern CResult Results;
