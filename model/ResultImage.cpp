// The results part of the far-field file: the newest row, the pattern cuts,
// the pulse currents and the sweep table, written only when the store holds a
// far field.
#include <memory>

#include "model/BinaryStream.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"

// Index of the pattern pass in a stored image: an azimuth pass stops at 360,
// the fine search near 900 (0.1-degree steps); anything beyond is damage.
constexpr int32_t MaxStoredPointIndex = 4000;
constexpr int MaxRearAzimuth = 359;
constexpr int MaxRearElevation = 179;

static void WriteRow(ByteWriter& out, const ResultRow& r) {
    out.I32(r.Ground);
    out.F32(r.Height);
    out.F32(r.F);
    out.F32(r.R);
    out.F32(r.jX);
    out.F32(r.SWR);
    out.F32(r.Ga);
    out.F32(r.FB);
    out.F32(r.Elev);
    out.I32(r.AzEl);
    out.F32(r.Z0R);
    out.F32(r.Z0X);
    out.F32(r.GhMax);
    out.F32(r.GvMax);
    out.I32(r.Reserved);
}

bool RearSectorInRange(int32_t azEl) {
    return RearAzimuth(azEl) <= MaxRearAzimuth && RearElevation(azEl) <= MaxRearElevation;
}

static bool ReadRow(ByteReader& in, ResultRow& r) {
    in.I32InRange(r.Ground, GroundFree, GroundReal);
    in.FiniteF32(r.Height);
    in.FiniteF32(r.F);
    in.FiniteF32(r.R);
    in.FiniteF32(r.jX);
    in.FiniteF32(r.SWR);
    in.FiniteF32(r.Ga);
    in.FiniteF32(r.FB);
    in.FiniteF32(r.Elev);
    if (in.I32(r.AzEl) && !RearSectorInRange(r.AzEl)) in.Fail();
    in.FiniteF32(r.Z0R);
    in.FiniteF32(r.Z0X);
    in.FiniteF32(r.GhMax);
    in.FiniteF32(r.GvMax);
    return in.I32(r.Reserved);
}

void CResult::WriteTo(ByteWriter& out) const {
    out.I32(HasFarField);
    if (!HasFarField) return;
    out.Bytes(Title, sizeof Title);
    WriteRow(out, *Row(0));
    out.I32(AngleStep);
    out.I32(PointIndex);
    out.I32(PassMode);
    out.I32(ElevMaxIndex);
    out.I32(AzMaxIndex);
    out.F32(AzMax);
    out.F32(ElevMax);
    out.F32(GainMax);
    out.F32s(&ElevCut[0][0], 3 * ElevCutSize);
    out.F32s(&AzCut[0][0], 3 * AzCutSize);
    out.F32s(PulseCurrent, PulseSlots);
    WriteSweepTable(out, Sweep);
    out.F32(CutElevation);
}

bool CResult::ReadFrom(ByteReader& in) {
    int32_t hasFarField = 0;
    if (!in.I32(hasFarField)) return false;
    if (!hasFarField) return true;

    auto t = std::make_unique<CResult>(*this);
    t->HasFarField = hasFarField;
    in.Text(t->Title, sizeof t->Title);
    ReadRow(in, t->Rows[0]);
    t->RingIndex = 0;
    t->RowCount = 1;
    in.I32InRange(t->AngleStep, 1, 2);
    in.I32InRange(t->PointIndex, 0, MaxStoredPointIndex);
    in.I32InRange(t->PassMode, PassAzimuth, PassFineSearch);
    in.I32InRange(t->ElevMaxIndex, 0, ElevCutSize - 1);
    in.I32InRange(t->AzMaxIndex, 0, AzCutSize - 1);
    in.FiniteF32(t->AzMax);
    in.FiniteF32(t->ElevMax);
    in.FiniteF32(t->GainMax);
    in.FiniteF32s(&t->ElevCut[0][0], 3 * ElevCutSize);
    in.FiniteF32s(&t->AzCut[0][0], 3 * AzCutSize);
    in.FiniteF32s(t->PulseCurrent, PulseSlots);
    ReadSweepTable(in, t->Sweep);
    in.FiniteF32(t->CutElevation);
    if (!in.Ok()) return false;

    t->GvMax = t->Rows[0].GvMax;
    t->GhMax = t->Rows[0].GhMax;
    *this = *t;
    return true;
}
