// Rebuilding an element in another form from a unit shape, sized from the
// element's present sizes (or one wavelength for a new element).
#include <cmath>
#include <vector>

#include "model/ElementList.h"

namespace {

struct P3 {
    double X, Y, Z;
};
struct Seg3 {
    P3 A, B;
};

constexpr double Deg = M_PI / 180.0;

void Loop(std::vector<Seg3>& out, const std::vector<P3>& corners) {
    for (std::size_t i = 0; i < corners.size(); ++i) out.push_back({corners[i], corners[(i + 1) % corners.size()]});
}

std::vector<Seg3> UnitShape(int form) {
    std::vector<Seg3> s;
    const double c30 = std::cos(30 * Deg), s22 = std::sin(22.5 * Deg), c22 = std::cos(22.5 * Deg);
    switch (form) {
    case FormVLine: s.push_back({{0, 0, -1}, {0, 0, 1}}); break;
    case FormVQuad: Loop(s, {{0, -1, -1}, {0, 1, -1}, {0, 1, 1}, {0, -1, 1}}); break;
    case FormVRhomb: Loop(s, {{0, -1, 0}, {0, 0, -1}, {0, 1, 0}, {0, 0, 1}}); break;
    case FormVTrian: Loop(s, {{0, 0, 1}, {0, -c30, -0.5}, {0, c30, -0.5}}); break;
    case FormVTrianDown: Loop(s, {{0, 0, -1}, {0, c30, 0.5}, {0, -c30, 0.5}}); break;
    case FormVOcta:
        Loop(s, {{0, s22, c22}, {0, c22, s22}, {0, c22, -s22}, {0, s22, -c22},
                 {0, -s22, -c22}, {0, -c22, -s22}, {0, -c22, s22}, {0, -s22, c22}});
        break;
    case FormHLine: s.push_back({{0, -1, 0}, {0, 1, 0}}); break;
    case FormHQuad: Loop(s, {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}); break;
    case FormHRhomb: Loop(s, {{-1, 0, 0}, {0, -1, 0}, {1, 0, 0}, {0, 1, 0}}); break;
    case FormHTrian: Loop(s, {{0.5, -c30, 0}, {0.5, c30, 0}, {-1, 0, 0}}); break;
    case FormHTrianBack: Loop(s, {{-0.5, -c30, 0}, {1, 0, 0}, {-0.5, c30, 0}}); break;
    case FormTwoSquares:
    case FormTwoTriangles: {
        const double top = form == FormTwoSquares ? 1 : 0.01;
        s.push_back({{0, -2, -1}, {0, 0, -top}});
        s.push_back({{0, 0, -top}, {0, 2, -1}});
        s.push_back({{0, 2, -1}, {0, 2, 1}});
        s.push_back({{0, 2, 1}, {0, 0, top}});
        s.push_back({{0, 0, top}, {0, -2, 1}});
        s.push_back({{0, -2, 1}, {0, -2, -1}});
        s.push_back({{0, 0, top}, {0, 0, -top}});
        break;
    }
    default: break;
    }
    return s;
}

double FirstNonZero(double a, double b, double c, double d) {
    if (a != 0) return a;
    if (b != 0) return b;
    if (c != 0) return c;
    return d;
}

}  // namespace

bool CWGroupList::ChangeForm(int n, int form) {
    if (n < 0 || n > Count || (n == Count && Count >= MaxElements)) return false;
    const double lambda = ElementWavelength();
    double length, width, height, radius, centreZ;
    // The new form's wires take the old wires' places in the antenna in turn,
    // so sources and loads on the element stay on it.
    std::vector<int32_t> origins;
    if (n < Count) {
        CWGroup& g = Groups[n];
        if (g.Form == form) return true;
        length = g.GetLength();
        width = g.Width();
        height = g.Height();
        radius = g.Radius();
        centreZ = g.CentreZ;
        for (const auto& m : g.Members) origins.push_back(Origin[m.Wire]);
        FreeGroupWires(n);
    } else {
        length = lambda;
        width = height = lambda / 2;
        radius = 0.005;
        centreZ = 0;
        Groups[n].Init(Wires);
        Groups[n].CentreX = n > 0 ? Groups[n - 1].CentreX + DefaultInterval() : 0;
        Intervals[n] = n > 0 ? DefaultInterval() : 0;
    }
    CWGroup& g = Groups[n];
    const double centreX = g.CentreX;
    g.Init(Wires);
    g.CentreX = centreX;
    const int32_t seg = (form == FormVLine || form == FormHLine) ? 0 : -1;
    std::size_t taken = 0;
    for (const auto& s : UnitShape(form)) {
        const int w = NewWire(s.A.X, s.A.Y, s.A.Z + centreZ, s.B.X, s.B.Y, s.B.Z + centreZ, radius, seg);
        if (w < 0) continue;
        g.AddWire(w);
        if (taken < origins.size()) Origin[w] = origins[taken++];
    }
    g.Update();
    if (n == Count) ++Count;
    RenumberGroupOfWire();
    if (g.Count() == 0) return true;
    switch (form) {
    case FormVLine: g.SetHeightEnds(FirstNonZero(length / 2, width, height, lambda / 2)); break;
    case FormHLine: g.SetWidthEnds(FirstNonZero(length / 2, width, height, lambda / 2)); break;
    case FormTwoSquares: {
        // Two squares side by side: four sides across, two up.
        const double p = FirstNonZero(1.5 * length, 3 * width, 3 * height, 1.5 * lambda);
        g.SetWidthEnds(p / 3);
        g.SetHeightEnds(p / 6);
        break;
    }
    case FormTwoTriangles: {
        const double s = FirstNonZero(0.71 * length, 1.42 * width, 1.42 * height, 1.42 * lambda);
        g.SetWidthEnds(s);
        g.SetHeightEnds(s / 2);
        break;
    }
    default:
        g.SetLengthEnds(FirstNonZero(length, 2 * width, 2 * height, lambda));
        break;
    }
    return true;
}
