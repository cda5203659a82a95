#include "ReferenceFill.h"
#include "PlainElimination.h"

#include "engine/EngineState.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

using cd = std::complex<double>;
constexpr double Pi = 3.14159265358979323846;

struct D3 {
    double x, y, z;
};
D3 operator+(D3 a, D3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
D3 operator-(D3 a, D3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
D3 operator*(double f, D3 a) { return {f * a.x, f * a.y, f * a.z}; }
double Dot(D3 a, D3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(D3 a) { return std::sqrt(Dot(a, a)); }

D3 Point(int t) {
    const Point3F& p = Engine.Points[t];
    return {p.X, p.Y, p.Z};
}
D3 Midpoint(int t) { return 0.5 * (Point(t) + Point(t + 1)); }  // point t + 1/2
D3 Direction(int w) {
    const Point3F& u = Engine.PieceDirection[w];
    return {u.X, u.Y, u.Z};
}
double Segment(int w) { return Engine.PieceSegLength[w]; }

// Gauss-Legendre nodes on the unit interval: offsets from the centre, half weights.
struct Node {
    double offset, weight;
};
constexpr Node Gauss2[] = {{0.28867513459481287, 0.5}};
constexpr Node Gauss4[] = {{0.43056815579702629, 0.17392742256872693}, {0.16999052179242813, 0.32607257743127307}};
constexpr Node Gauss8[] = {{0.48014492824876812, 0.05061426814518813},
                           {0.39833323870681337, 0.11119051722668724},
                           {0.26276620495816449, 0.15685332293894364},
                           {0.09171732124782490, 0.18134189168918099}};

struct Observer {
    D3 point;
    int piece1, piece2;  // of the segments the point lies on
    double segShort;     // the shorter of them
};

bool SameOrJoined(int wi, int wj) {
    if (wi == wj) return true;
    const int* a = Engine.PieceEndLink[wi];
    const int* b = Engine.PieceEndLink[wj];
    return a[0] == b[0] || a[0] == b[1] || a[1] == b[0] || a[1] == b[1];
}

// The own-segment shortcuts: only from the point they assume, the middle of
// a whole segment or the end of a half segment.
bool Shortcut(const Observer& o, D3 a, D3 b, double segments, double seg, int sourcePiece, double rho) {
    if (rho > 1.1 || !(SameOrJoined(o.piece1, sourcePiece) || SameOrJoined(o.piece2, sourcePiece))) return false;
    const double tolerance = 0.01 * std::min(seg, o.segShort);
    const double miss = segments < 1.0 ? std::min(Length(a), Length(b)) : Length(0.5 * (a + b));
    return miss <= tolerance;
}

// The kernel over [a, b] by the eight-point rule, halved until the halves
// agree with the whole: the integral itself, however close the point.
cd Adaptive(D3 a, D3 b, double a2, double k, int depth = 0) {
    auto rule = [&](D3 from, D3 to) {
        const D3 along = to - from;
        cd sum = 0.0;
        for (const Node& n : Gauss8)
            for (double f : {0.5 + n.offset, 0.5 - n.offset}) {
                const D3 p = from + f * along;
                const double rr = std::sqrt(Dot(p, p) + a2);
                sum += n.weight * cd(std::cos(k * rr), -std::sin(k * rr)) / rr;
            }
        return sum * Length(along);
    };
    const D3 mid = 0.5 * (a + b);
    const cd whole = rule(a, b), halves = rule(a, mid) + rule(mid, b);
    if (depth >= 40 || std::abs(halves - whole) <= 1e-9 * std::abs(halves)) return halves;
    return Adaptive(a, mid, a2, k, depth + 1) + Adaptive(mid, b, a2, k, depth + 1);
}

// Psi over [a, b] (segments long, of length seg each) from the observer.
cd Psi(const Observer& o, D3 a, D3 b, double segments, double seg, double radius, int sourcePiece, int kappa,
       bool scalar) {
    const double k = 2.0 * Pi / Engine.Wavelength;
    const bool thin = radius <= Engine.ThinWireLimit;
    a.z *= kappa;
    b.z *= kappa;
    a = a - o.point;
    b = b - o.point;
    const double rho = (Length(a) + Length(b)) / seg;
    const double length = segments * seg;
    const D3 from = kappa > 0 ? a : b;
    const D3 along = kappa > 0 ? b - a : a - b;
    const double a2 = thin ? 0.0 : radius * radius;
    if (Shortcut(o, a, b, segments, seg, sourcePiece, rho)) {
        const double f = scalar ? 2.0 : 1.0;
        if (thin) return {f * std::log(seg / radius), -f * k * seg / 2.0};
        // Exact kernel over the first half of a centred interval; the
        // complete elliptic integral of parameter 4a^2 / (4a^2 + r^2).
        double re = (1.0 - std::log(length / (16.0 * segments * radius))) / (Pi * radius), im = 0.0;
        for (const Node& n : Gauss8)
            for (double f2 : {0.5 + n.offset, 0.5 - n.offset}) {
                const D3 p = from + (f2 / (2.0 * segments)) * along;
                const double r2 = Dot(p, p), rr = std::sqrt(r2 + a2);
                const double m = r2 / (4.0 * a2 + r2);
                const double ell = std::comp_ellint_1(std::sqrt(1.0 - m));
                re += n.weight * ((0.5 * std::log(r2 / (64.0 * a2)) + std::sqrt(1.0 - m) * ell) / (Pi * radius) -
                                  1.0 / rr + std::cos(k * rr) / rr);
                im -= n.weight * std::sin(k * rr) / rr;
            }
        return {re * length, im * length};
    }
    if (rho <= 6.0) return Adaptive(a, b, a2, k);
    const Node* nodes = rho > 10.0 ? Gauss2 : Gauss4;
    const int count = rho > 10.0 ? 1 : 2;
    double re = 0.0, im = 0.0;
    for (int n = 0; n < count; ++n)
        for (double f : {0.5 + nodes[n].offset, 0.5 - nodes[n].offset}) {
            const D3 p = from + f * along;
            const double rr = std::sqrt(Dot(p, p) + a2);
            re += nodes[n].weight * std::cos(k * rr) / rr;
            im -= nodes[n].weight * std::sin(k * rr) / rr;
        }
    return {re * length, im * length};
}

struct PulseView {
    int t, piece, p1, p2;
    double sign1, sign2;
    bool contact;
};

PulseView View(int p) {
    const PulseHalves& h = Engine.Halves[p];
    const int w = Engine.PulsePiece[p];
    return PulseView{2 * w + p - 1, w, std::abs(h.First), std::abs(h.Second), h.First < 0 ? -1.0 : 1.0,
                     h.Second < 0 ? -1.0 : 1.0, h.First == -h.Second};
}

cd Entry(int i, int j) {
    const PulseView o = View(i), s = View(j);
    const double k = 2.0 * Pi / Engine.Wavelength;
    D3 tangent = o.sign1 * Segment(o.p1) * Direction(o.p1) + o.sign2 * Segment(o.p2) * Direction(o.p2);
    if (o.contact) tangent.z = (Direction(o.p1).z + Direction(o.p2).z) * Segment(o.p1);
    const Observer centre{Point(o.t), o.p1, o.p2, std::min(Segment(o.p1), Segment(o.p2))};
    const Observer before{Midpoint(o.t - 1), o.p1, o.p1, Segment(o.p1)};
    const Observer after{Midpoint(o.t), o.p2, o.p2, Segment(o.p2)};
    const double r1 = Engine.PieceRadius[s.p1], r2 = Engine.PieceRadius[s.p2];
    const double s1 = Segment(s.p1), s2 = Segment(s.p2);
    cd sum = 0.0;
    for (int kappa = 1; kappa >= (Engine.GroundFlag < 0 ? -1 : 1); kappa -= 2) {
        if (kappa < 0 && s.contact) continue;
        const cd psi2 = s.sign2 * Psi(centre, Point(s.t), Midpoint(s.t), 0.5, s2, r2, s.p2, kappa, false);
        const cd psi1 = s.sign1 * Psi(centre, Midpoint(s.t - 1), Point(s.t), 0.5, s1, r1, s.p1, kappa, false);
        const D3 u1 = Direction(s.p1), u2 = Direction(s.p2);
        const double z1 = s.contact ? s.sign1 : 1.0, z2 = s.contact ? s.sign2 : 1.0;
        const cd ax = psi2 * u2.x + psi1 * u1.x, ay = psi2 * u2.y + psi1 * u1.y;
        const cd az = double(kappa) * (z2 * psi2 * u2.z + z1 * psi1 * u1.z);
        const cd vector = (k * k / 2.0) * (ax * tangent.x + ay * tangent.y + az * tangent.z);
        auto after2 = [&](const Observer& ob) {
            return Psi(ob, Point(s.t), Point(s.t + 1), 1.0, s2, r2, s.p2, kappa, true);
        };
        auto before1 = [&](const Observer& ob) {
            return Psi(ob, Point(s.t - 1), Point(s.t), 1.0, s1, r1, s.p1, kappa, true);
        };
        const cd scalar = (after2(before) - after2(after)) / s2 + (before1(after) - before1(before)) / s1;
        sum += double(kappa) * (vector + scalar);
    }
    return sum;
}

}  // namespace

cd ReferenceFeedImpedance() {
    const int n = Engine.PulseCount;
    std::vector<cd> a(static_cast<std::size_t>(n) * n), rhs(n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) a[(i - 1) * n + (j - 1)] = Entry(i, j);
    const double m = 4.77783352 * Engine.Wavelength;
    for (int s = 1; s <= Engine.SourceCount; ++s) {
        const EngineSource& src = Engine.Sources[s];
        const double c = (View(src.Pulse).contact ? 2.0 : 1.0) / m;
        rhs[src.Pulse - 1] += cd(0.0, -c) * cd(src.Voltage);
    }
    const std::vector<cd> current = DoubleGaussSolve(std::move(a), std::move(rhs), n);
    const EngineSource& first = Engine.Sources[1];
    return cd(first.Voltage) / current[first.Pulse - 1];
}
