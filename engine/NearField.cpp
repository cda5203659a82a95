#include "engine/NearField.h"

#include "engine/EngineError.h"
#include "engine/EngineMessageLog.h"
#include "engine/Kernel.h"
#include "engine/Solve.h"
#include "model/CheckedFormat.h"
#include "model/EnvDef.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double DegPerRad = 57.29577951308232;
constexpr long long MaxNearPoints = 10'000'000;


// Integral over the source interval from a to b (point-table positions) on
// a piece, without the self-segment shortcuts.
ComplexF NearIntegral(const KernelVec& obs, const KernelVec& a, const KernelVec& b, float segments, int piece, int kappa) {
    const EngineState& e = Engine;
    const KernelConstants kc{e.WaveNumber, e.ThinWireLimit};
    return PsiIntegral(RelativeSource(a, obs, kappa), RelativeSource(b, obs, kappa), segments, e.PieceSegLength[piece],
                       e.PieceRadius[piece], kappa, PotentialKind::NearField, ShortcutSite{}, kc);
}

KernelVec Displaced(const KernelVec& p, int axis, float d) {
    KernelVec q = p;
    (axis == 0 ? q.X : axis == 1 ? q.Y : q.Z) += d;
    return q;
}

struct PulseView {
    int t;           // centre in the point table
    int p1, p2;      // pieces of the halves
    float s1, s2;    // their signs
    bool contact;
};

PulseView ViewOf(int j) {
    const EngineState& e = Engine;
    const PulseHalves& h = e.Halves[j];
    PulseView v;
    v.p1 = std::abs(h.First);
    v.p2 = std::abs(h.Second);
    v.t = 2 * std::max(v.p1, v.p2) + j - 1;
    v.s1 = h.First < 0 ? -1.0f : 1.0f;
    v.s2 = h.Second < 0 ? -1.0f : 1.0f;
    v.contact = h.First == -h.Second;
    return v;
}

// The integrals of one source pulse from a (displaced) observation point:
// over the whole segment before (half 1) or after (half 2) its centre, and
// over the half segment before and after it.
ComplexF NearFieldPsi1(const PulseView& v, const KernelVec& obs, int kappa, int half) {
    const Point3F* pt = Engine.Points.Data();
    return half == 2 ? NearIntegral(obs, AsKernelVec(pt[v.t]), AsKernelVec(pt[v.t + 1]), 1.0f, v.p2, kappa)
                     : NearIntegral(obs, AsKernelVec(pt[v.t - 1]), AsKernelVec(pt[v.t]), 1.0f, v.p1, kappa);
}
ComplexF NearFieldPsi2(const PulseView& v, const KernelVec& obs, int kappa) {
    const Point3F* pt = Engine.Points.Data();
    return NearIntegral(obs, MidPoint(pt[v.t - 1], pt[v.t]), AsKernelVec(pt[v.t]), 0.5f, v.p1, kappa);
}
ComplexF NearFieldPsi3(const PulseView& v, const KernelVec& obs, int kappa) {
    const Point3F* pt = Engine.Points.Data();
    return NearIntegral(obs, AsKernelVec(pt[v.t]), MidPoint(pt[v.t], pt[v.t + 1]), 0.5f, v.p2, kappa);
}

// Vector potential of pulse j (per ampere) at obs, image kappa.
void NearFieldPotential(const PulseView& v, const KernelVec& obs, int kappa, ComplexF a[3]) {
    const EngineState& e = Engine;
    const ComplexF psi2 = v.s2 * NearFieldPsi3(v, obs, kappa);
    const ComplexF psi1 = v.s1 * NearFieldPsi2(v, obs, kappa);
    const Point3F& u1 = e.PieceDirection[v.p1];
    const Point3F& u2 = e.PieceDirection[v.p2];
    const float z1 = v.contact ? v.s1 : 1.0f, z2 = v.contact ? v.s2 : 1.0f;
    a[0] = psi2 * u2.X + psi1 * u1.X;
    a[1] = psi2 * u2.Y + psi1 * u1.Y;
    a[2] = static_cast<float>(kappa) * (z2 * psi2 * u2.Z + z1 * psi1 * u1.Z);
}

// Scalar potential of pulse j's charges seen from obs.
ComplexF NearFieldScalar(const PulseView& v, const KernelVec& obs, int kappa) {
    const EngineState& e = Engine;
    return NearFieldPsi1(v, obs, kappa, 2) / e.PieceSegLength[v.p2] -
           NearFieldPsi1(v, obs, kappa, 1) / e.PieceSegLength[v.p1];
}

// The electric-field coefficient of pulse j for component c at point:
// vector potential along the displacement plus the difference of the
// scalar potential half a step before and after the point.
ComplexF NearFieldAt(int c, const PulseView& v, const KernelVec& point, int kappa, float half, float step) {
    const EngineState& e = Engine;
    ComplexF a[3];
    NearFieldPotential(v, point, kappa, a);
    const ComplexF vec = e.HalfWaveNumberSq * a[c] * step;
    const ComplexF phi = NearFieldScalar(v, Displaced(point, c, -half), kappa) -
                         NearFieldScalar(v, Displaced(point, c, half), kappa);
    return vec + phi;
}



}  // namespace

void NearFieldVector(bool magnetic, float x, float y, float z, ComplexF out[3]) {
    const EngineState& e = Engine;
    const KernelVec point{x, y, z};
    const float half = 0.5f * e.NearDisplacement;
    const int lastKappa = e.GroundFlag < 0 ? -1 : 1;
    if (magnetic) {
        // Vector potential at the point displaced by -/+ half a step per axis.
        ComplexF acc[3][2][3] = {};
        for (int axis = 0; axis < 3; ++axis)
            for (int side = 0; side < 2; ++side) {
                const KernelVec obs = Displaced(point, axis, side == 0 ? -half : half);
                for (int j = 1; j <= e.PulseCount; ++j) {
                    const PulseView v = ViewOf(j);
                    for (int kappa = 1; kappa >= lastKappa; kappa -= 2) {
                        if (kappa < 0 && v.contact) continue;
                        ComplexF a[3];
                        NearFieldPotential(v, obs, kappa, a);
                        for (int c = 0; c < 3; ++c) acc[axis][side][c] += static_cast<float>(kappa) * a[c] * e.Currents[j];
                    }
                }
            }
        auto diff = [&](int axis, int c) { return acc[axis][1][c] - acc[axis][0][c]; };
        out[0] = diff(1, 2) - diff(2, 1);
        out[1] = diff(2, 0) - diff(0, 2);
        out[2] = diff(0, 1) - diff(1, 0);
        return;
    }
    // The displacement vector of the vector part spans two steps.
    const float step = 2.0f * e.NearDisplacement;
    for (int c = 0; c < 3; ++c) {
        ComplexF sum(0.0f, 0.0f);
        for (int j = 1; j <= e.PulseCount; ++j) {
            const PulseView v = ViewOf(j);
            ComplexF coef(0.0f, 0.0f);
            for (int kappa = 1; kappa >= lastKappa; kappa -= 2) {
                if (kappa < 0 && v.contact) continue;
                coef += static_cast<float>(kappa) * NearFieldAt(c, v, point, kappa, half, step);
            }
            sum += coef * e.Currents[j];
        }
        out[c] = ComplexF(0.0f, -e.MatrixScale) * sum / e.NearDisplacement;
    }
}

void CalcNearField(std::vector<std::string>& list) {
    EngineState& e = Engine;
    const NearFieldRequest* req = JobDef.NearRequest;
    if (!req) throw EngineError("no near-field request");
    if (e.MatrixState != MatrixSolved) FillAndSolve();
    if (!(req->Power > 0.0) || !std::isfinite(req->Power)) {
        const std::string text = FormatInCLocale("NEAR FIELD: THE POWER MUST BE ABOVE 0 W (%.3g W GIVEN)", req->Power);
        AddEngineLog(text);
        throw EngineError(text);
    }
    if (!(e.InputPower > 0.0f) || !std::isfinite(e.InputPower)) {
        const std::string text = FormatInCLocale("NEAR FIELD: THE ANTENNA TAKES NO INPUT POWER (%.3g W)",
                                         static_cast<double>(e.InputPower));
        AddEngineLog(text);
        throw EngineError(text);
    }
    const bool magnetic = req->Field == 1;
    auto count = [](double step, int n) { return (step == 0.0 || n <= 0) ? 1 : n; };
    const int nx = count(req->XStep, req->XCount), ny = count(req->YStep, req->YCount),
              nz = count(req->ZStep, req->ZCount);
    const long long points = static_cast<long long>(nx) * ny * nz;
    if (points > MaxNearPoints) throw EngineError("near-field grid too large");
    double scale = std::sqrt(req->Power / e.InputPower);
    if (magnetic) scale = scale / e.NearDisplacement * 0.25 * (1.0 / 3.141592653589793);
    scale *= 0.7071;

    std::vector<std::string> lines(static_cast<std::size_t>(points));
#pragma omp parallel for schedule(dynamic, 1) if (points > 1)
    for (long long n = 0; n < points; ++n) {
        const int ix = static_cast<int>(n % nx);
        const int iy = static_cast<int>((n / nx) % ny);
        const int iz = static_cast<int>(n / (static_cast<long long>(nx) * ny));
        const double x = req->XStart + ix * req->XStep;
        const double y = req->YStart + iy * req->YStep;
        const double z = req->ZStart + iz * req->ZStep;
        ComplexF field[3];
        NearFieldVector(magnetic, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), field);
        std::string text;
        for (int c = 0; c < 3; ++c) {
            const double re = field[c].real() * scale, im = field[c].imag() * scale;
            if (!text.empty()) text += '\n';
            text += FormatInCLocale("%.3lf,%.3lf,%.3lf,%c,%.2le,%.2le,%.2le,%.1lf", x, y, z, "XYZ"[c], re, im,
                            std::hypot(re, im), std::atan2(im, re) * DegPerRad);
        }
        lines[static_cast<std::size_t>(n)] = std::move(text);
    }
    for (std::string& text : lines) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = text.find('\n', start);
            list.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos) break;
            start = end + 1;
        }
    }
}

void CalcNearFieldTable(std::vector<std::string>& list) { CalcNearField(list); }
