#include "views/GLScene.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double DegToRad = 3.14159265358979323846 / 180.0;

double ComponentGain(const FarField3DPoint& p, int component) {
    switch (component) {
    case GLCompV: return p.Gv;
    case GLCompH: return p.Gh;
    default: return p.Gtotal;
    }
}

GLVertex SamplePoint(const FarField3DPoint& p, double maxGain, int component) {
    return SphericalToXYZ(ComponentGain(p, component) - maxGain, p.Zenith - 90.0, p.Azimuth);
}

GLPolyline Segments(std::initializer_list<GLVertex> points) {
    return GLPolyline{GLPrimitive::Lines, std::vector<GLVertex>(points)};
}

}  // namespace

GLVertex SphericalToXYZ(double relGain, double a, double b) {
    // Also catches NaN, which would otherwise reach the vertex.
    if (!(relGain >= -999.0)) relGain = -999.0;
    const double r = std::pow(10.0, 0.025 * relGain);
    const double ar = a * DegToRad, br = b * DegToRad;
    const double z = std::fabs(r * std::sin(ar));
    const double h = r * std::cos(ar);
    return GLVertex{-(h * std::sin(br)), h * std::cos(br), z};
}

GLFarFieldScene BuildFarFieldScene(const std::vector<FarField3DPoint>& table, double maxGain, int component) {
    GLFarFieldScene scene;
    // Rings: a record with a new zenith angle opens the next ring and adds no
    // vertex of its own; the loop closes the ring back to it (360 = 0).
    float zenith = -1.0f;
    for (const FarField3DPoint& p : table) {
        if (p.Zenith != zenith) {
            scene.lists.push_back(GLPolyline{GLPrimitive::Loop, {}});
            zenith = p.Zenith;
            continue;
        }
        scene.lists.back().points.push_back(SamplePoint(p, maxGain, component));
    }
    scene.rings = static_cast<int>(scene.lists.size());
    if (scene.rings == 0) return scene;
    // Meridians: the m-th point of every ring, from the horizon to the top.
    const int count = static_cast<int>(table.size());
    scene.meridians = count / scene.rings;
    for (int m = 0; m < scene.meridians; ++m) {
        GLPolyline strip{GLPrimitive::Strip, {}};
        for (int k = 0; k <= (scene.rings - 1) * scene.meridians; k += scene.meridians)
            if (k + m < count) strip.points.push_back(SamplePoint(table[k + m], maxGain, component));
        scene.lists.push_back(std::move(strip));
    }
    return scene;
}

std::vector<GLPolyline> BuildAxisScene() {
    return {
        Segments({{0, 0, 0}, {-1.05, 0, 0},
                  {-1.1, 0.02, 0.03}, {-1.1, 0, 0},
                  {-1.1, -0.02, 0.03}, {-1.1, 0, 0},
                  {-1.1, 0, 0}, {-1.1, 0, -0.03}}),
        Segments({{0, 0, 0}, {0, 1.05, 0},
                  {0.02, 1.1, 0.03}, {-0.02, 1.1, -0.03},
                  {-0.02, 1.1, 0.03}, {0.02, 1.1, -0.03}}),
        Segments({{0, 0, 0}, {0, 0, 1.05},
                  {0.03, 0.02, 1.1}, {0.03, -0.02, 1.1},
                  {0.03, -0.02, 1.1}, {-0.03, 0.02, 1.1},
                  {-0.03, 0.02, 1.1}, {-0.03, -0.02, 1.1}}),
    };
}

GLPolyline BuildAntennaScene(const AntDef& ant, bool xyCentre, bool hCentre) {
    GLPolyline list{GLPrimitive::Lines, {}};
    const int wires = std::clamp(static_cast<int>(ant.WireCount), 0, static_cast<int>(MaxWires));
    if (wires == 0) return list;
    // Each end as (-X, Y, Z) in single precision, as the view keeps them.
    std::vector<float> ends;
    ends.reserve(static_cast<std::size_t>(wires) * 6);
    float lo[3] = {999999.0f, 999999.0f, 999999.0f};
    float hi[3] = {-999999.0f, -999999.0f, -999999.0f};
    double rn = 0.0;
    for (int i = 0; i < wires; ++i) {
        const WireRec& w = ant.Wires[i];
        const double xyz[2][3] = {{w.X1, w.Y1, w.Z1}, {w.X2, w.Y2, w.Z2}};
        for (const auto& e : xyz) {
            const float s[3] = {static_cast<float>(-e[0]), static_cast<float>(e[1]), static_cast<float>(e[2])};
            for (int c = 0; c < 3; ++c) {
                lo[c] = std::min(lo[c], s[c]);
                hi[c] = std::max(hi[c], s[c]);
                ends.push_back(s[c]);
            }
            const double d = std::sqrt(double(s[0]) * s[0] + double(s[1]) * s[1] + double(s[2]) * s[2]);
            if (std::isfinite(d)) rn = std::max(rn, d);
        }
    }
    // Every end at the origin: nothing to scale by.
    if (!(rn > 0.0)) rn = 1.0;
    const double cu = xyCentre ? (double(hi[0]) + lo[0]) / 2 : 0.0;
    const double cv = xyCentre ? (double(hi[1]) + lo[1]) / 2 : 0.0;
    const double cz = hCentre ? (double(hi[2]) + lo[2]) / 2 : double(lo[2]);
    for (std::size_t k = 0; k < ends.size(); k += 3)
        list.points.push_back(
            GLVertex{-(ends[k + 1] - cv) / rn, -(ends[k] - cu) / rn, (ends[k + 2] - cz) / rn});
    return list;
}

std::string SliceCaption(int slice, int elevationStep, int azimuthStep) {
    if (slice <= 0 || elevationStep <= 0 || azimuthStep <= 0) return {};
    const int n = (slice - 1) * elevationStep;
    if (n <= 90) return "Elevation angle " + std::to_string(n) + " deg";
    int az = (slice - 90 / elevationStep - 2) * azimuthStep;
    if (az > 360) az -= 360;
    return "Azimuth angle " + std::to_string(az) + " deg";
}

double ZoomFactor(int position, int maximum) { return std::pow(1.06, position - maximum / 3); }

double AspectForScreenWidth(int screenWidth, double stored) {
    switch (screenWidth) {
    case 1280: return 1.074;
    case 800:
    case 1024:
    case 1152:
    case 1600: return 1.0;
    default: return stored;
    }
}
