#include "engine/WireLoss.h"

#include "engine/TaperWires.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "model/TaperSetTable.h"
#include "model/WireGeometry.h"

#include <cmath>
#include <numbers>

namespace {

struct Material {
    double Resistivity;   // ohm m
    double Permeability;  // relative
    bool Pipe;
};

constexpr double PipeBoreRatio = 0.9;

// Fits of the AC/DC resistance ratio, c[0] first.
constexpr double SolidHigh[10] = {-2.12,         1.004767,      -0.07089785,   0.004119507,   -0.0001430243,
                                  3.112024e-06,  -4.280139e-08, 3.612087e-10,  -1.706349e-12, 3.452932e-15};
constexpr double SolidLow[11] = {1.38401,      -1.388426,    2.087645,      -1.712435,    0.8488221,   -0.2589923,
                                 0.05010682,   -0.006182203, 0.0004721516,  -2.036364e-05, 3.794671e-07};
constexpr double PipeHigh[8] = {-0.4772531, 5.851077,  -9.276207,   7.476381,
                                -3.116668,  0.7079749, -0.08326961, 0.003965883};
constexpr double PipeLow[8] = {0.376, 8.423095, -46.96111, 140.25, -242.5694, 243.75, -131.9444, 29.7619};

Material MaterialOf(int code) {
    switch (code) {
        case 1: return {1.8e-8, 1.0, false};
        case 2: return {1.8e-8, 1.0, true};
        case 3: return {2.8e-8, 1.0, false};
        case 4: return {2.8e-8, 1.0, true};
        case 5: return {9.4e-8, 150.0, false};
        case 6: return {9.4e-8, 150.0, true};
        case 7: return {UserMaterialDef.Resistivity, UserMaterialDef.Permeability, false};
        case 8: return {UserMaterialDef.Resistivity, UserMaterialDef.Permeability, true};
        default: return {0, 0, false};
    }
}

double SolidRatio(double u) {
    if (u >= 100) return 0.3561 * u;
    if (u >= 10) return PolyValue(u, SolidHigh, 10);
    if (u >= 1) return PolyValue(u, SolidLow, 11);
    return 1;
}

double PipeRatio(double u) {
    if (u >= 4) return u;
    if (u >= 1) return PolyValue(u, PipeHigh, 8);
    if (u >= 0.3) return PolyValue(u, PipeLow, 8);
    return 1;
}

}  // namespace

double PolyValue(double x, const double* c, int n) {
    double sum = 0;
    for (int i = 0; i < n; ++i) sum += c[i] * std::pow(x, i);
    return sum;
}

bool MaterialHasLoss(int material) {
    if (material < 1 || material >= MaterialCount) return false;
    const Material m = MaterialOf(material);
    // Without a resistivity the model divides by zero; a negative permeability has no root.
    return m.Resistivity > 0 && std::isfinite(m.Resistivity) && m.Permeability >= 0 && std::isfinite(m.Permeability);
}

double PieceLossResistance(double f, const WireRec& piece) {
    if (!MaterialHasLoss(EnvDef.Material)) return 0;
    const Material m = MaterialOf(EnvDef.Material);
    const double r = std::fabs(piece.R);
    double area = std::numbers::pi * r * r;
    if (m.Pipe) area -= std::numbers::pi * (PipeBoreRatio * r) * (PipeBoreRatio * r);
    if (!(area > 0)) return 0;  // a wire without cross-section carries no loss load
    const double rdc = WireLength(piece) * m.Resistivity / area;
    const double q = std::sqrt(m.Permeability * std::max(f, 0.0) * 1e6 / (m.Resistivity * 1e8));
    if (m.Pipe) return rdc * PipeRatio(0.1985 * r * 10 * q);
    return rdc * SolidRatio(28.1 * r * q);
}

double WireLossResistance(const AntDef& ant, const WireRec& wire) {
    if (wire.R < 0) {
        if (const TaperSet* set = FindTaperSet(ant, wire.R)) {
            WireRec sections[MaxTaperWireSections];
            const int count = TaperSections(sections, ant, *set, wire);
            double sum = 0;
            for (int i = 0; i < count; ++i) sum += PieceLossResistance(ant.CalcFreq, sections[i]);
            return sum;
        }
    }
    return PieceLossResistance(ant.CalcFreq, wire);
}

std::string MaterialText(int material) {
    if (!MaterialHasLoss(material)) return {};
    const Material m = MaterialOf(material);
    return "Resistivity = " + FormatExp(m.Resistivity, 2) + "(sim), permeability = " + FormatFixed(m.Permeability, 1);
}
