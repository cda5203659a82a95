// The stub of a chosen cable and the cable table.
#include "tools/RfCalculators.h"

#include <cmath>

const CableRow CableTable[CableCount + 1] = {
    {"User", 0.98f, 600},        {"Line 600 Ohm", 0.98f, 600}, {"Line 450 Ohm", 0.91f, 450},
    {"Line 300 Ohm", 0.87f, 300}, {"RG 62", 0.67f, 93},         {"RG 11", 0.67f, 75},
    {"H155", 0.79f, 50},          {"Aircel 7", 0.83f, 50},      {"RG 213", 0.67f, 50},
    {"Ecoflex 10", 0.86f, 50},    {"RG58/U", 0.67f, 53.5f},     {"RG58A/U", 0.67f, 50},
    {"5DFB", 0.81f, 50},          {"8DFB", 0.81f, 50},          {"10DFB", 0.80f, 50},
    {"12DFB", 0.81f, 50},         {"5DSFA", 0.83f, 50},         {"8DSFA", 0.83f, 50},
    {"10DSFA", 0.88f, 50},        {"12DSFA", 0.88f, 50},        {"", 0.0f, 0},
};

int FindCable(const std::string& name) {
    for (int i = 0; CableTable[i].Vf != 0; ++i)
        if (name == CableTable[i].Name) return i;
    return 0;
}

void StubCalc::SelectRow(int row) {
    Row = row;
    if (row <= 0 || row >= CableCount) return;
    Vf = CableTable[row].Vf;
    Z0 = CableTable[row].Z0;
}

void StubCalc::Calc(int mode) {
    constexpr double Pi = 3.14159265358979323846;
    const double w = 2 * Pi * F;
    // Without a frequency or velocity factor there is no wavelength; the
    // values stay as they are.
    if (F <= 0 || Vf <= 0 || Z0 <= 0) return;
    const double lam = 2.998e8 * Vf / F;
    if (mode == 0) {
        if (X >= 0)
            X = w * LC * 1e-6;
        else
            X = LC == 0 ? OpenStubReactance : -1 / (w * LC * 1e-12);
        mode = 2;
    } else if (mode == 1) {
        LC = X >= 0 ? X * 1e6 / w : -1e12 / (w * X);
        mode = 2;
    }
    if (mode == 2) {
        double angle;
        if (Shorted)
            angle = std::atan(X / Z0) * 180 / Pi;
        else
            angle = X == 0 ? 90 : std::atan(-Z0 / X) * 180 / Pi;
        Length = angle * lam * 100 / 360;
        if (Length < 0) Length += lam * 100 * 0.5;
    } else if (mode == 3) {
        const double t = std::tan(2 * Pi * Length / (lam * 100));
        if (Shorted)
            X = Z0 * t;
        else
            X = (Length == 0 || t == 0) ? OpenStubReactance : -Z0 / t;
        LC = X >= 0 ? X * 1e6 / w : -1e12 / (w * X);
    }
    Fo = Length >= 1e-5 ? 299.8 * Vf / (4 * Length * 0.01) : 0;
}
