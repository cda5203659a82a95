// Seeded random antenna files, as a hand-written or damaged file may hold
// them, read as Open reads them and calculated as Start calculates them:
// the engine refuses or calculates, and what it calculates is finite.
#include "EngineTestSupport.h"
#include "ReferenceFill.h"
#include "engine/CalcRuns.h"
#include "engine/EngineError.h"
#include "engine/ModelPrep.h"
#include "engine/Solve.h"
#include "engine/WireExpansion.h"
#include "model/AntennaText.h"
#include "model/ResultStore.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

class RandomAntennaText {
public:
    explicit RandomAntennaText(unsigned seed) : rng_(seed) {}

    std::string Make() {
        std::ostringstream t;
        t << "random\r\n*\r\n" << Pick({"14.15", "7.05", "28", "0.01", "3000", "0", "0/0", "R"}) << "\r\n";
        t << "***Wires***\r\n";
        const int wires = Chance(5) ? 1 + Pick(20) : 1 + Pick(5);
        t << wires;
        if (Chance(10)) t << "," << Pick({"2", "3", "0"}) << "," << Pick({"1", "2"}) << "," << Coordinate() << ","
                          << Coordinate() << "," << Pick({"0", "1", "2", "7"});
        t << "\r\n";
        for (int i = 0; i < wires; ++i) {
            // Wires often share ends, as real antennas do.
            const std::string x1 = Chance(40) ? last_ : Coordinate();
            const std::string x2 = Coordinate();
            last_ = x2;
            t << x1 << "," << Coordinate() << "," << Height() << "," << x2 << "," << Coordinate() << "," << Height()
              << "," << (Chance(8) ? Pick({"-1", "-2", "0", "1e-300", "5"}) : Pick({"0.001", "0.01", "1e-9"})) << ","
              << (Chance(70) ? Pick({"11", "5", "3", "7"})
                             : Pick({"1", "-1", "-2", "-3", "0", "-10000", "5,3", "2147483647", "-7", "3,9"}))
              << "\r\n";
        }
        t << "*** Source ***\r\n";
        const int sources = Pick(4);
        t << sources << "," << Pick({"0", "1"}) << "\r\n";
        for (int i = 0; i < sources; ++i)
            t << Pick({"w1c", "w2b", "w1e", "w1c+3", "w1b-9", "3", "999", "w9c", "w0", "x"}) << "," << Number() << ","
              << Pick({"1", "0", "-1", "1e30", "0.5"}) << "\r\n";
        t << "*** Load ***\r\n";
        const int loads = Pick(4);
        t << loads << "," << Pick({"0", "1"}) << "\r\n";
        for (int i = 0; i < loads; ++i) {
            t << Pick({"w1c", "w2c", "1", "w7e"}) << "," << Pick({"0", "1", "2", "5"});
            for (int k = Pick(8); k > 0; --k) t << "," << Pick({"0", "1", "10", "-5", "1e-12", "1e12", "0/0"});
            t << "\r\n";
        }
        t << "*** Segmentation ***\r\n"
          << Pick({"100", "40", "1", "2147483647"}) << "," << Pick({"20", "10", "1", "1000"}) << ","
          << Pick({"2.0", "1.01", "3", "1"}) << "," << Pick({"1", "3", "0", "100"}) << "\r\n";
        t << "*** G/H/M/R/AzEl/X ***\r\n"
          << Pick({"0", "1", "2"}) << "," << Pick({"0", "3", "-2", "1e6"}) << "," << Pick({"0", "1", "5", "6"}) << ","
          << Pick({"50", "0", "-50", "1e300"}) << "," << Pick({"120", "0", "400"}) << "," << Pick({"60", "0", "200"})
          << "," << Pick({"0", "-30"}) << "\r\n";
        if (Chance(40)) {
            t << "$$$ Taper wire set $$$\r\n";
            const int sets = 1 + Pick(2);
            t << sets << "\r\n";
            for (int s = 0; s < sets; ++s) {
                t << Pick({"-1", "-2", "1", "0"}) << "," << Pick({"0", "1", "2", "3", "9"});
                for (int k = Pick(5); k > 0; --k)
                    t << "," << Pick({"1", "0.5", "0", "-1", "99999.9", "1e-9"}) << ","
                      << Pick({"0.01", "0.001", "0", "-0.01"});
                t << "\r\n";
            }
        }
        return t.str();
    }

private:
    bool Chance(int percent) { return static_cast<int>(rng_() % 100) < percent; }
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    std::string Pick(std::initializer_list<const char*> list) { return *(list.begin() + Pick(int(list.size()))); }
    std::string Number() { return std::to_string(static_cast<int>(rng_() % 1001) - 500) + "/" + std::to_string(100 + Pick(97)); }
    std::string Coordinate() {
        if (Chance(5)) return Pick({"0/0", "1e200", "-1e-200", "R", "R/4"});
        return Number();
    }
    std::string Height() { return Chance(70) ? std::to_string(Pick(12)) : Coordinate(); }

    std::mt19937 rng_;
    std::string last_ = "0";
};

bool RowFinite(const ResultRow& r) {
    for (float v : {r.F, r.R, r.jX, r.SWR, r.Ga, r.FB, r.Elev})
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace

TEST(RandomAntenna, FilesOfAnyShapeAreRefusedOrCalculatedToFiniteResults) {
    int calculated = 0;
    // Seed 707 once reported an infinite source impedance as a result.
    for (unsigned seed = 651; seed <= 800; ++seed) {
        ResetEngineWorld(0, 0.0, 80);
        TestAntenna a(14.15);
        std::string comment;
        const std::string text = RandomAntennaText(seed).Make();
        ParseAntennaText(*a.ant, EnvDef, text, comment);
        EnvDef.PMAX = 80;
        NormalizeGroundedWires(*a.ant);
        if (PrepareModel(a.ant.get()) != 1) continue;
        if (!RunFullCalc()) continue;
        ++calculated;
        EXPECT_TRUE(RowFinite(*Results.Row(0))) << "seed " << seed << "\n" << text;
        if (HasFailure()) return;
    }
    // The stream is not all refusals: a good share reaches the solution.
    EXPECT_GT(calculated, 10);
}

namespace {

// Chains of joined wires in free space as the editors leave them: fixed and
// automatic segmentation side by side, wires from 1 mm between long ones,
// neighbouring segments up to about 1:1000, bends from 5 to 175 degrees; and
// hairpins: a long wire, a short one across, a long one back beside the
// first (a U), sometimes closed by another short one (a folded wire).
struct ChainWire {
    double a[3], b[3];
    double radius;
    int seg;
};

class RandomChain {
public:
    explicit RandomChain(unsigned seed) : rng_(seed) {}

    std::vector<ChainWire> Make(double wavelength) {
        radius_ = Chance(70) ? 0.001 : 0.004;  // thin kernel, or the exact one
        if (Chance(25)) return Hairpin(wavelength);
        std::vector<ChainWire> wires;
        const int count = 2 + Pick(3);
        double at[3] = {0.0, 0.0, 10.0}, dir[3] = {0.0, 1.0, 0.0};
        for (int i = 0; i < count; ++i) {
            const bool shortWire = Chance(35);
            // Short wires from 1 mm to 0.02 wavelengths, evenly in the logarithm.
            const double length = shortWire ? 0.001 * std::pow(0.02 * wavelength / 0.001, Uniform(0.0, 1.0))
                                            : wavelength * Uniform(0.1, 0.3);
            int seg = shortWire ? 1 + Pick(4) : 6 + Pick(22);
            if (!shortWire && Chance(40)) seg = Chance(50) ? -1 : 0;  // graded, or even automatic
            wires.push_back(Along(at, dir, length, seg));
            for (int k = 0; k < 3; ++k) at[k] = wires.back().b[k];
            // The angle between the two wires at the joint: 5 to 175 degrees
            // (from 30 for the thick wire, which would overlap its neighbour
            // near a sharper joint).
            const double sharpest = radius_ > 0.001 ? 30.0 : 5.0;
            Turn(dir, std::acos(-1.0) - Uniform(sharpest, 175.0) * std::acos(-1.0) / 180.0);
        }
        return wires;
    }

private:
    std::vector<ChainWire> Hairpin(double wavelength) {
        const double length = wavelength * Uniform(0.2, 0.5), gap = Uniform(0.02, 0.2);
        const int seg = Chance(30) ? -1 : 9 + Pick(20);
        double at[3] = {0.0, 0.0, 10.0}, dir[3] = {0.0, 1.0, 0.0};
        const double up[3] = {0.0, 0.0, 1.0}, back[3] = {0.0, -1.0, 0.0}, down[3] = {0.0, 0.0, -1.0};
        std::vector<ChainWire> wires = {Along(at, dir, length, seg)};
        wires.push_back(Along(wires.back().b, up, gap, Chance(50) ? 1 : -1));
        wires.push_back(Along(wires.back().b, back, length, seg));
        if (Chance(50)) {
            wires.push_back(Along(wires.back().b, down, gap, 1));
            std::copy(std::begin(wires[0].a), std::end(wires[0].a), wires.back().b);  // closed exactly
        }
        return wires;
    }
    ChainWire Along(const double (&from)[3], const double (&dir)[3], double length, int seg) const {
        ChainWire w{{from[0], from[1], from[2]}, {}, radius_, seg};
        for (int k = 0; k < 3; ++k) w.b[k] = from[k] + length * dir[k];
        return w;
    }
    bool Chance(int percent) { return static_cast<int>(rng_() % 100) < percent; }
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    double Uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }
    // Turns dir by angle about a random axis across it.
    void Turn(double (&dir)[3], double angle) {
        double across[3] = {Uniform(-1, 1), Uniform(-1, 1), Uniform(-1, 1)};
        const double along = across[0] * dir[0] + across[1] * dir[1] + across[2] * dir[2];
        for (int k = 0; k < 3; ++k) across[k] -= along * dir[k];
        const double n = std::sqrt(across[0] * across[0] + across[1] * across[1] + across[2] * across[2]);
        for (int k = 0; k < 3; ++k) dir[k] = std::cos(angle) * dir[k] + std::sin(angle) * across[k] / n;
    }
    std::mt19937 rng_;
    double radius_ = 0.001;
};

// The feed impedance with the source on the pulse at the point where the
// first two wires meet, found in the prepared model (wire numbers and ends
// change with the variants, the point does not).
std::complex<double> FeedAtJoint(const std::vector<ChainWire>& wires, const double (&joint)[3]) {
    TestAntenna a(14.2);
    for (const ChainWire& w : wires) a.Wire(w.a[0], w.a[1], w.a[2], w.b[0], w.b[1], w.b[2], w.radius, w.seg);
    a.Source("1");
    if (PrepareModel(a.ant.get()) != 1) return {};
    int feed = 0;
    for (int p = 1; p <= Engine.PulseCount && feed == 0; ++p) {
        const Point3F& c = Engine.Points[2 * Engine.PulsePiece[p] + p - 1];
        if (std::hypot(c.X - joint[0], c.Y - joint[1], c.Z - joint[2]) < 1e-4) feed = p;
    }
    if (feed == 0) return {};
    a->SourceCount = 0;
    a.Source(std::to_string(feed).c_str());
    if (PrepareModel(a.ant.get()) != 1) return {};
    try {
        CalcFeedImpedance();
    } catch (const EngineError&) {
        return {};
    }
    return {Results.Row(0)->R, Results.Row(0)->jX};
}

// The chain with its last wire (a free end) made longer by the given
// fraction, or turned by the given angle about the joint at its start.
std::vector<ChainWire> LastWireStretched(std::vector<ChainWire> wires, double fraction) {
    ChainWire& w = wires.back();
    for (int k = 0; k < 3; ++k) w.b[k] = w.a[k] + (w.b[k] - w.a[k]) * (1.0 + fraction);
    return wires;
}
std::vector<ChainWire> LastWireTurned(std::vector<ChainWire> wires, double radians) {
    ChainWire& w = wires.back();
    const double dx = w.b[0] - w.a[0], dy = w.b[1] - w.a[1];  // about the Z axis through its start
    w.b[0] = w.a[0] + std::cos(radians) * dx - std::sin(radians) * dy;
    w.b[1] = w.a[1] + std::sin(radians) * dx + std::cos(radians) * dy;
    return wires;
}

// Whether the chain closes on itself (a folded wire): its last wire ends
// where the first begins, and no end is free to move.
bool Closed(const std::vector<ChainWire>& wires) {
    return std::equal(std::begin(wires.back().b), std::end(wires.back().b), std::begin(wires.front().a));
}

double Change(std::complex<double> z, std::complex<double> base) { return std::abs(z - base) / std::abs(base); }

// Over small steps of a length or an angle the feed impedance moves
// smoothly: the middle step is no jump above 3 % where the steps beside it
// are small.
void ExpectSmooth(const std::vector<std::complex<double>>& z, const std::string& what) {
    const double before = Change(z[1], z[0]), step = Change(z[2], z[1]), after = Change(z[3], z[2]);
    EXPECT_LE(step, std::max(0.03, 2.0 * std::max(before, after))) << what << ": " << z[0] << " " << z[1] << " "
                                                                   << z[2] << " " << z[3];
}

}  // namespace

// The physics holds the engine where segments of very different lengths
// meet, wires bend sharply or run closely beside each other: the same
// antenna drawn with a wire the other way round, its wires listed in
// another order, or a wire split into collinear pieces of the same segments,
// gives the same feed impedance; one segment more or fewer moves it only a
// little (from two segments on: from one to two changes the shape of the fed
// pulse itself), and so do small steps of a length or an angle.
TEST(RandomAntenna, JoinedWiresOfUnevenSegmentsKeepTheirImpedanceWhenDrawnAnotherWay) {
    int checked = 0;
    for (unsigned seed = 1; seed <= 100; ++seed) {
        ResetEngineWorld();
        const std::vector<ChainWire> base = RandomChain(seed).Make(299.792458 / 14.2);
        const double(&joint)[3] = base[0].b;
        const std::complex<double> z = FeedAtJoint(base, joint);
        if (z == std::complex<double>() || std::abs(z) > 3000.0) continue;
        ++checked;
        // The same integrals in double precision: single precision keeps them.
        EXPECT_LT(Change(z, ReferenceFeedImpedance()), 0.005) << "seed " << seed << " against the reference";
        for (std::size_t i = 0; i < base.size(); ++i) {
            std::vector<ChainWire> reversed = base;
            std::swap(reversed[i].a, reversed[i].b);
            EXPECT_LT(Change(FeedAtJoint(reversed, joint), z), 0.005)
                << "seed " << seed << " wire " << i + 1 << " reversed";
            if (base[i].seg >= 2) {
                std::vector<ChainWire> split = base;
                ChainWire second = base[i];
                const int first = base[i].seg / 2;
                for (int k = 0; k < 3; ++k)
                    split[i].b[k] = second.a[k] = base[i].a[k] + (base[i].b[k] - base[i].a[k]) * first / base[i].seg;
                split[i].seg = first;
                second.seg = base[i].seg - first;
                split.insert(split.begin() + static_cast<long>(i) + 1, second);
                EXPECT_LT(Change(FeedAtJoint(split, joint), z), 0.005)
                    << "seed " << seed << " wire " << i + 1 << " split";
            }
            for (int step : {-1, 1}) {
                if (std::min(base[i].seg, base[i].seg + step) >= 2) {
                    std::vector<ChainWire> other = base;
                    other[i].seg += step;
                    EXPECT_LT(Change(FeedAtJoint(other, joint), z), 0.03)
                        << "seed " << seed << " wire " << i + 1 << " segments " << other[i].seg;
                }
            }
        }
        std::vector<ChainWire> listed(base.rbegin(), base.rend());
        EXPECT_LT(Change(FeedAtJoint(listed, joint), z), 0.005) << "seed " << seed << " listed backwards";
        std::rotate(listed.begin(), listed.begin() + 1, listed.end());
        EXPECT_LT(Change(FeedAtJoint(listed, joint), z), 0.005) << "seed " << seed << " listed in another order";
        if (!Closed(base) && base.size() > 2) {
            // Steps across the point where the last wire's segments and its
            // neighbour's are one length (to within 0.1 %).
            const ChainWire &previous = base[base.size() - 2], &last = base.back();
            double fraction = 0.0;
            if (previous.seg >= 1 && last.seg >= 1) {
                const double segment = std::hypot(previous.b[0] - previous.a[0], previous.b[1] - previous.a[1],
                                                  previous.b[2] - previous.a[2]) / previous.seg;
                const double length = std::hypot(last.b[0] - last.a[0], last.b[1] - last.a[1], last.b[2] - last.a[2]);
                fraction = segment * last.seg / length - 1.0;
            }
            const std::vector<ChainWire> even = LastWireStretched(base, fraction);
            std::vector<std::complex<double>> stretched, turned;
            for (int k = 0; k < 4; ++k) {
                stretched.push_back(FeedAtJoint(LastWireStretched(even, 0.0007 * k), joint));
                turned.push_back(FeedAtJoint(LastWireTurned(even, 0.5 * k * std::acos(-1.0) / 180.0), joint));
            }
            ExpectSmooth(stretched, "seed " + std::to_string(seed) + " last wire longer");
            ExpectSmooth(turned, "seed " + std::to_string(seed) + " last wire turned");
        }
        if (HasFailure()) return;
    }
    EXPECT_GT(checked, 50);
}
