// Pattern operations of the results store: filing the directions of the
// far-field passes into the cuts, and the statistics derived from the cuts.
#include <algorithm>

#include "model/EnvDef.h"
#include "model/GainTie.h"
#include "model/ResultStore.h"

template <int N>
static bool SetCutEntry(float (&cut)[3][N], int i, float gv, float gh, float gtotal) {
    // An index outside the cut is dropped rather than written past the array.
    if (i < 0 || i >= N) return false;
    cut[PolV][i] = gv;
    cut[PolH][i] = gh;
    cut[PolTotal][i] = gtotal;
    return true;
}

void CResult::StorePatternPoint(float gv, float gh, float gtotal) {
    switch (PassMode) {
    case PassAzimuth:
        SetCutEntry(AzCut, PointIndex, gv, gh, gtotal);
        break;
    case PassElevation:
        SetCutEntry(ElevCut, PointIndex, gv, gh, gtotal);
        break;
    case PassFineSearch:
        // A sample that ties with the maximum held does not move it: the first wins.
        if (GainAbove(gtotal, FineMax) && SetCutEntry(ElevCut, ElevMaxIndex, gv, gh, gtotal)) {
            FineMax = gtotal;
            ElevOfMax = static_cast<float>(PointIndex * 0.1);
        }
        break;
    default:
        break;
    }
    ++PointIndex;
}

// A store read from an optimization log has no angle step; nothing is derived then.
static bool ValidStep(int step) { return step >= 1 && step <= 2; }

int CResult::PatternMaxElev() {
    ElevMax = -999999.0f;
    ElevMaxIndex = 0;
    if (!ValidStep(AngleStep)) return 0;
    const int n = 180 / AngleStep;
    const float* cut = ElevCut[PolTotal];
    for (int i = 0; i <= n; ++i) ElevMax = std::max(ElevMax, cut[i]);
    // Of the directions that tie with the maximum the front one wins (of two
    // equal lobes the front one), and on the back half the first.
    bool found = false;
    for (int i = 0; i <= n; ++i) {
        if (!GainsTie(cut[i], ElevMax) || (found && i <= n / 2)) continue;
        ElevMaxIndex = i;
        found = true;
    }
    return ElevMaxIndex * AngleStep;
}

double CResult::PatternElevAngle() {
    double e = ElevOfMax;
    if (e >= 90) {
        e = 180 - e;
        ElevOfMax = static_cast<float>(e);
    }
    if (EnvDef.Type == GroundFree && JobDef.FixFreeAngle) {
        CutElevation = 0;
        return 0;
    }
    if (e >= 87) e = 45;
    CutElevation = static_cast<float>(e);
    return e;
}

void CResult::AzimuthMaxima() {
    GvMax = AzCut[PolV][0];
    GhMax = AzCut[PolH][0];
    AzMax = AzCut[PolTotal][0];
    AzMaxIndex = 0;
    int n = ValidStep(AngleStep) ? 360 / AngleStep : 0;
    for (int i = 1; i < n; ++i) {
        GvMax = std::max(GvMax, AzCut[PolV][i]);
        GhMax = std::max(GhMax, AzCut[PolH][i]);
        AzMax = std::max(AzMax, AzCut[PolTotal][i]);
    }
    // The first azimuth that ties with the maximum.
    while (AzMaxIndex < n - 1 && !GainsTie(AzCut[PolTotal][AzMaxIndex], AzMax)) ++AzMaxIndex;
    GainMax = std::max({ElevMax, FineMax, AzMax});
    Row(0)->Ga = GainMax;
    CalcFB();
}

void CResult::PatternMaxAzimuth() {
    AzimuthMaxima();
    if (ElevOfMax >= 90) ElevOfMax = 180 - ElevOfMax;
    ResultRow* row = Row(0);
    row->Elev = ElevOfMax;
    row->GvMax = GvMax;
    row->GhMax = GhMax;
}

void CResult::PatternMaxAzimuth2() {
    AzimuthMaxima();
    ResultRow* row = Row(0);
    row->GvMax = GvMax;
    row->GhMax = GhMax;
}

void CResult::CalcFB() {
    if (!ValidStep(AngleStep)) return;
    const int s = AngleStep;
    const float* az = AzCut[PolTotal];
    const float* el = ElevCut[PolTotal];
    const int lastAz = 360 / s - 1;
    const int lastEl = 180 / s;
    float m = az[180 / s];
    if (EnvDef.AzEl != 0) {
        int width = RearAzimuth(EnvDef.AzEl);
        int height = RearElevation(EnvDef.AzEl);
        // Azimuths 180 - width/2 .. 180 + width/2, then the elevation cut from
        // the back horizon up to the sector's height.
        int i = (180 - width / 2) / s;
        for (int covered = 0; covered <= width; covered += s, ++i) {
            if (i > lastAz) break;
            if (i >= 0) m = std::max(m, az[i]);
        }
        for (int k = 0; k <= lastEl && (k == 0 || k * s <= height); ++k) m = std::max(m, el[k]);
    }
    // A front and a rear that single precision cannot tell apart are equal.
    Row(0)->FB = GainsTie(az[0], m) ? 0.0f : az[0] - m;
}
