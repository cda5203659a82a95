#include "engine/Solve.h"

#include "engine/EngineError.h"
#include "engine/EngineMessageLog.h"
#include "engine/LuFactor.h"
#include "engine/MatrixFill.h"
#include "engine/ModelPrep.h"
#include "model/CheckedFormat.h"
#include "model/EnvDef.h"
#include "model/Impedance.h"
#include "model/Messages.h"
#include "model/PositionText.h"
#include "model/ResultStore.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool GroundContact(int p) {
    const PulseHalves& h = Engine.Halves[p];
    return h.First == -h.Second;
}

// Sources and loads at a ground contact drive a pulse of which only half is
// above ground: twice the scale.
float PulseScale(int p) { return (GroundContact(p) ? 2.0f : 1.0f) / Engine.MatrixScale; }

// No load of the model gives power back at the working frequency.
bool PassiveLoads() {
    const EngineState& e = Engine;
    for (int l = 1; l <= e.LoadCount; ++l)
        if (LoadImpedance(e.Loads[l], e.Frequency).real() < 0.0f) return false;
    return true;
}

// Single precision leaves the input power uncertain by a small share of the
// sources' |V I|: a lossless loop, whose true power lies far below that, may
// come out a little below zero. Within this share of the sum of |V I| / 2 a
// negative power is rounding; beyond it a passive antenna cannot take it.
constexpr float PowerNoise = 1e-3f;

// One impedance field of the source report.
std::string ReportField(ComplexF z) {
    const std::string text = CplxToStr2(z.real(), z.imag());
    return z.real() >= 0.0f ? " " + text + "    \t" : text + "    \t";
}

// The report names a source by its position text; a plain pulse number by
// the pulse it feeds, which in a stacked copy is counted in its own copy.
std::string ReportedPosition(int source, int pulse) {
    const EngineState& e = Engine;
    if (!e.Model) return {};
    const char* field = e.Model->Sources[source - 1].Pos;
    const std::string text(field, strnlen(field, PosTextSize));
    return SplitPosition(text.c_str()).Names == PositionRef::Pulse ? std::to_string(pulse) : text;
}

}  // namespace

void AddLoadsToMatrix() {
    EngineState& e = Engine;
    for (int l = 1; l <= e.LoadCount; ++l) {
        const EngineLoad& load = e.Loads[l];
        if (load.Pulse < 1 || load.Pulse > e.PulseCount) continue;
        const ComplexF z = LoadImpedance(load, e.Frequency);
        const float c = PulseScale(load.Pulse);
        // -j c (R + jX)
        e.MatrixAt(load.Pulse, load.Pulse) += ComplexF(c * z.imag(), -c * z.real());
    }
}

void FactorMatrix() {
    EngineState& e = Engine;
    LogEngineMessage(EngFactorMatrix);
    const int n = e.PulseCount;
    int* pivot = &e.PivotRows[1];
    LuFactor(&e.MatrixAt(1, 1), n, e.MatrixStride, pivot);
    for (int i = 0; i < n; ++i) ++pivot[i];  // 1-based rows, as every pulse index
}

void ExciteAndSolve() {
    EngineState& e = Engine;
    const int n = e.PulseCount;
    ComplexF* rhs = e.Currents.Data();
    std::fill(rhs + 1, rhs + n + 1, ComplexF(0.0f, 0.0f));
    for (int s = 1; s <= e.SourceCount; ++s) {
        const EngineSource& src = e.Sources[s];
        if (src.Pulse < 1 || src.Pulse > n) continue;
        const float c = PulseScale(src.Pulse);
        // Sources on one pulse are generators in series: their voltages add,
        // and each reports its own share of the impedance and the power.
        rhs[src.Pulse] += ComplexF(c * src.Voltage.imag(), -c * src.Voltage.real());
    }
    for (int i = 1; i < n; ++i) {
        const int p = e.PivotRows[i];
        if (p != i) std::swap(rhs[i], rhs[p]);
    }
    LuSubstitute(&e.MatrixAt(1, 1), n, e.MatrixStride, rhs + 1);
    for (int p = 1; p <= n; ++p)
        if (!std::isfinite(rhs[p].real()) || !std::isfinite(rhs[p].imag()))
            throw EngineError("non-finite current");
    e.MatrixState = MatrixSolved;
}

void ReportSources() {
    EngineState& e = Engine;
    std::string header = EngineMessages[EngSourceHeader];
    std::replace(header.begin(), header.end(), ';', '\t');
    AddEngineLog(header);
    e.InputPower = 0.0f;
    float powerScale = 0.0f;  // the sum of |V I| / 2
    bool first = true;
    std::vector<std::string> lines;  // logged once the power is known to be a result
    for (int s = 1; s <= e.SourceCount; ++s) {
        const EngineSource& src = e.Sources[s];
        if (src.Pulse < 1 || src.Pulse > e.PulseCount) continue;
        const ComplexF v = src.Voltage;
        const ComplexF i = e.Currents[src.Pulse];
        const float i2 = std::norm(i);
        if (!(i2 > 0.0f)) throw EngineError("zero current at a source");
        const ComplexF vi = v * std::conj(i);
        const float r = vi.real() / i2, x = vi.imag() / i2;
        // A current too small for single precision gives an infinite
        // impedance: no result, not a row of "inf".
        if (!std::isfinite(r) || !std::isfinite(x)) throw EngineError("non-finite impedance at a source");
        e.InputPower += 0.5f * vi.real();
        powerScale += 0.5f * std::abs(vi);
        const double swr = CalcSWR(r, x, EnvDef.Z0R, EnvDef.Z0X);
        if (JobDef.Interactive) {
            lines.push_back(ReportedPosition(s, src.Pulse) + "    \t" + ReportField(v) + ReportField(i * 1000.0f) +
                            ReportField(ComplexF(r, x)) + FormatInCLocale("%.2f", swr));
        }
        if (first && !JobDef.CurrentTable) {
            ResultRow* row = Results.Row(0);
            row->F = e.Frequency;
            row->R = r;
            row->jX = x;
            row->SWR = static_cast<float>(swr);
        }
        first = false;
    }
    // A passive antenna takes no negative power over all its sources
    // together (one source may feed another): beyond rounding, the layout is
    // beyond what the method computes soundly (segments of very different
    // lengths side by side, wires closer than it resolves), and no impedance
    // of it is shown as a result. Within rounding the resistance is shown
    // as computed: it reads 0.000 as any value that small does, whereas an
    // exact 0 in the row means no result; the gains, scaled by a power below
    // zero, read as none.
    if (e.InputPower < -PowerNoise * powerScale && PassiveLoads()) {
        LogEngineMessage(EngNegativeInputPower);
        if (!JobDef.CurrentTable) {
            ResultRow* row = Results.Row(0);
            row->R = row->jX = row->SWR = 0.0f;
        }
        throw EngineError("negative input power");
    }
    for (const std::string& line : lines) AddEngineLog(line);
}

void FillAndSolve() {
    EngineState& e = Engine;
    if (e.MatrixState != MatrixSolved) {
        if (!ModelPrepared() || e.PulseCount < 1) throw EngineError("no prepared model");
        LogEngineMessage(EngFillMatrix);
        FillMatrix();
        if (e.LoadCount != 0) AddLoadsToMatrix();
        FactorMatrix();
        ExciteAndSolve();
    }
    ReportSources();
}

void CalcFeedImpedance() {
    if (!JobDef.CurrentTable) Results.ClearPulseCurrents();
    FillAndSolve();
}

void RequireInputPower() {
    const float p = Engine.InputPower;
    // A negative power (sources feeding each other) only makes every gain
    // "no power"; zero or a non-number cannot scale anything.
    if (p == 0.0f || !std::isfinite(p)) throw EngineError("zero input power");
}
