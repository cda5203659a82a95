#include "editing/GeometryTransforms.h"

#include "model/WireGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

double& EndCoord(WireRec& w, int end, int axis) {
    double* first = end == 1 ? &w.X1 : &w.X2;
    return first[std::clamp(axis, 0, 2)];
}

// Runs the change on a copy of the wires and keeps it only when every
// coordinate and radius stays finite: a huge distance or multiplier must not
// leave wires at infinity.
template <class Change>
bool ChangeWiresIfFinite(AntDef& ant, Change change) {
    const int count = std::clamp(ant.WireCount, 0, MaxWires);
    std::vector<WireRec> wires(ant.Wires, ant.Wires + count);
    change(wires.data(), count);
    for (const WireRec& w : wires)
        for (double v : {w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2, w.R})
            if (!std::isfinite(v)) return false;
    std::copy(wires.begin(), wires.end(), ant.Wires);
    return true;
}

}  // namespace

int MoveAxisOfColumn(int column) {
    if (column >= 1 && column <= 6) return (column - 1) % 3;
    return AxisX;
}

double MoveDistanceOfColumn(const WireRec& wire, int column) {
    if (column < 1 || column > 6) return 0.0;
    const double coords[6] = {wire.X1, wire.Y1, wire.Z1, wire.X2, wire.Y2, wire.Z2};
    return -coords[column - 1];
}

bool MoveAllWires(AntDef& ant, int axis, double distance) {
    return ChangeWiresIfFinite(ant, [&](WireRec* wires, int count) {
        for (int i = 0; i < count; ++i) {
            EndCoord(wires[i], 1, axis) += distance;
            EndCoord(wires[i], 2, axis) += distance;
        }
    });
}

bool MoveOneWire(AntDef& ant, int wire, int axis, double distance, bool keepConnected) {
    if (wire < 0 || wire >= std::clamp(ant.WireCount, 0, MaxWires)) return false;
    return ChangeWiresIfFinite(ant, [&](WireRec* wires, int count) {
        const WireRec old = wires[wire];
        WireRec& w = wires[wire];
        EndCoord(w, 1, axis) += distance;
        EndCoord(w, 2, axis) += distance;
        if (keepConnected) MoveWireEnds(wires, count, w, old);
    });
}

int CaretDigitExponent(const std::string& text, int caret) {
    const int length = static_cast<int>(text.size());
    const auto dot = text.find('.');
    const int p = dot == std::string::npos ? 0 : static_cast<int>(dot) + 1;
    const int c = std::clamp(caret, 0, length);
    if (p == 0) return length - c - 1;
    if (p == c) return -1;
    if (c < p) return p - c - 2;
    return p - c - 1;
}

double CaretStep(const std::string& text, int caret, double lo, double hi, double current) {
    if (text.empty()) return current;
    const int e = std::clamp(CaretDigitExponent(text, caret), -30, 30);
    return std::clamp(std::pow(10.0, e), lo, hi);
}

double StepAngleHeld(double angle, double step, int direction) {
    double a = angle + (direction >= 0 ? step : -step);
    if (a < 0.0) a += 360.0;
    if (a > 360.0) a -= 360.0;
    return a;
}

double StepAngleOnce(double angle, double step, int direction) {
    double a = angle + (direction >= 0 ? step : -step);
    if (direction >= 0) {
        if (a > 360.0) a -= 360.0;
    } else if (a < 0.0) {
        a += 360.0;
    }
    return a;
}

void RotatePointAbout(int axis, double& x, double& y, double& z, double degrees) {
    double* u = &x;
    double* v = &y;
    if (axis == AxisX) {
        u = &y;
        v = &z;
    } else if (axis == AxisY) {
        u = &x;
        v = &z;
    }
    const double r = std::hypot(*u, *v);
    const double phi = std::atan2(*v, *u) + degrees * std::numbers::pi / 180.0;
    *u = r * std::cos(phi);
    *v = r * std::sin(phi);
}

bool RotateAllWires(AntDef& ant, int axis, double degrees) {
    return ChangeWiresIfFinite(ant, [&](WireRec* wires, int count) {
        for (int i = 0; i < count; ++i) {
            WireRec& w = wires[i];
            RotatePointAbout(axis, w.X1, w.Y1, w.Z1, degrees);
            RotatePointAbout(axis, w.X2, w.Y2, w.Z2, degrees);
        }
    });
}

bool ScaleWires(AntDef& ant, double multiplier, double newFreq, const ScaleChoice& choice) {
    const bool anyAxis = choice.X || choice.Y || choice.Z;
    if (!std::isfinite(multiplier) || multiplier <= 0.0) return false;
    if (anyAxis && (!std::isfinite(newFreq) || newFreq <= 0.0)) return false;
    const bool scaled = ChangeWiresIfFinite(ant, [&](WireRec* wires, int count) {
        for (int i = 0; i < count; ++i) {
            WireRec& w = wires[i];
            if (choice.X) w.X1 *= multiplier, w.X2 *= multiplier;
            if (choice.Y) w.Y1 *= multiplier, w.Y2 *= multiplier;
            if (choice.Z) w.Z1 *= multiplier, w.Z2 *= multiplier;
            // Negative radii are taper-set keys, 0 means ignored: both stay.
            if (choice.Radius && w.R > 0.0) w.R *= multiplier;
        }
    });
    if (scaled && anyAxis) {
        ant.Freq = newFreq;
        ant.CalcFreq = newFreq;
    }
    // The stacked copies lie side by side along Y and one above the other
    // along Z: their spacings are geometry of those axes too (an unstacked
    // antenna's one wavelength becomes one wavelength of the new frequency).
    if (scaled && choice.Y) ant.hSpacing *= multiplier;
    if (scaled && choice.Z) ant.vSpacing *= multiplier;
    return scaled;
}
