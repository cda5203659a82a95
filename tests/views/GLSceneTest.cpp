// The geometry of the 3D pattern view, without a display: pattern points,
// the ring and meridian lists, the antenna list and the slice captions.
#include "views/GLScene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A table as the engine builds it for the view: rings from the horizon up,
// azimuths 0..360 on each; gain from a callback of (zenith, azimuth).
template <class Gain>
std::vector<FarField3DPoint> ViewTable(int se, int sa, Gain gain) {
    std::vector<FarField3DPoint> t;
    for (int e = 0; e <= 90; e += se)
        for (int a = 0; a <= 360; a += sa) {
            const float zen = static_cast<float>(90 - e);
            const double g = gain(zen, a);
            t.push_back(FarField3DPoint{zen, static_cast<float>(a), static_cast<float>(g - 3),
                                        static_cast<float>(g - 20), static_cast<float>(g)});
        }
    return t;
}

double Radius(const GLVertex& p) { return std::sqrt(p.u * p.u + p.v * p.v + p.w * p.w); }

AntDef Dipole(double height) {
    AntDef a{};
    a.WireCount = 1;
    a.Wires[0].X1 = a.Wires[0].X2 = 0.0;
    a.Wires[0].Y1 = -5.0;
    a.Wires[0].Y2 = 5.0;
    a.Wires[0].Z1 = a.Wires[0].Z2 = height;
    a.Wires[0].R = 0.001;
    return a;
}

}  // namespace

TEST(GLPatternPoint, RadiusFollowsGainOnAFortyDecibelScale) {
    const GLVertex top = SphericalToXYZ(0.0, 0.0, 0.0);
    // Horizon, azimuth 0 lies on the model's +X axis, which is +v.
    EXPECT_NEAR(top.u, 0.0, 1e-12);
    EXPECT_NEAR(top.v, 1.0, 1e-12);
    EXPECT_NEAR(top.w, 0.0, 1e-12);
    // Azimuth 90 is the model's +Y axis, which is -u.
    const GLVertex y = SphericalToXYZ(0.0, 0.0, 90.0);
    EXPECT_NEAR(y.u, -1.0, 1e-12);
    EXPECT_NEAR(Radius(SphericalToXYZ(-40.0, -30.0, 17.0)), 0.1, 1e-12);
    // Below the horizon is folded up: Z is always the absolute height.
    EXPECT_GT(SphericalToXYZ(0.0, 20.0, 0.0).w, 0.0);
}

TEST(GLPatternPoint, NoPowerAndNaNLieAtTheOrigin) {
    EXPECT_NEAR(Radius(SphericalToXYZ(-5000.0, -45.0, 10.0)), std::pow(10.0, -24.975), 1e-30);
    EXPECT_NEAR(Radius(SphericalToXYZ(-999.0 - 12.0, -45.0, 10.0)), std::pow(10.0, -24.975), 1e-30);
    const GLVertex nan = SphericalToXYZ(std::nan(""), -45.0, 10.0);
    EXPECT_TRUE(std::isfinite(nan.u) && std::isfinite(nan.v) && std::isfinite(nan.w));
}

TEST(GLFarFieldLists, DefaultStepsGiveThirtyOneRingsAndSixtyOneMeridians) {
    const auto table = ViewTable(3, 6, [](float, int) { return 0.0; });
    ASSERT_EQ(table.size(), 31u * 61u);
    const GLFarFieldScene s = BuildFarFieldScene(table, 0.0, GLCompTotal);
    EXPECT_EQ(s.rings, 31);
    EXPECT_EQ(s.meridians, 61);
    ASSERT_EQ(s.lists.size(), 92u);
    // A ring holds azimuths Sa..360; the loop closes it.
    EXPECT_EQ(s.lists[0].kind, GLPrimitive::Loop);
    EXPECT_EQ(s.lists[0].points.size(), 60u);
    EXPECT_EQ(s.lists[31].kind, GLPrimitive::Strip);
    EXPECT_EQ(s.lists[31].points.size(), 31u);
    // The first meridian (list 32) lies at azimuth 0: from the horizon on +v
    // up to the zenith.
    EXPECT_NEAR(s.lists[31].points.front().v, 1.0, 1e-6);
    EXPECT_NEAR(s.lists[31].points.back().w, 1.0, 1e-6);
    // The top ring collapses to one point on the vertical axis.
    for (const GLVertex& p : s.lists[30].points) {
        EXPECT_NEAR(p.u, 0.0, 1e-6);
        EXPECT_NEAR(p.v, 0.0, 1e-6);
        EXPECT_NEAR(p.w, 1.0, 1e-6);
    }
    // The last meridian (360) lies on the first.
    EXPECT_NEAR(s.lists[91].points[5].u, s.lists[31].points[5].u, 1e-6);
}

TEST(GLFarFieldLists, ComponentsAreRelativeToTheTotalMaximum) {
    const auto table = ViewTable(10, 36, [](float zen, int) { return zen == 90.0f ? 6.0 : 0.0; });
    const GLFarFieldScene total = BuildFarFieldScene(table, 6.0, GLCompTotal);
    const GLFarFieldScene h = BuildFarFieldScene(table, 6.0, GLCompH);
    EXPECT_NEAR(Radius(total.lists[0].points[0]), 1.0, 1e-6);
    EXPECT_NEAR(Radius(h.lists[0].points[0]), std::pow(10.0, -20.0 / 40.0), 1e-6);
}

TEST(GLFarFieldLists, EmptyOrRaggedTablesBuildWithoutOverrun) {
    EXPECT_TRUE(BuildFarFieldScene({}, -999.0, GLCompTotal).lists.empty());
    auto table = ViewTable(30, 90, [](float, int) { return 0.0; });
    table.pop_back();
    const GLFarFieldScene s = BuildFarFieldScene(table, 0.0, GLCompTotal);
    EXPECT_EQ(s.rings, 4);
    for (const GLPolyline& l : s.lists)
        for (const GLVertex& p : l.points) EXPECT_LE(Radius(p), 1.0 + 1e-9);
}

TEST(GLAntennaList, LowestPointOnTheHorizonUnlessCentred) {
    const AntDef a = Dipole(10.0);
    const GLPolyline plain = BuildAntennaScene(a, false, false);
    ASSERT_EQ(plain.points.size(), 2u);
    EXPECT_NEAR(plain.points[0].w, 0.0, 1e-9);
    // Scaled by the farthest end from the origin, not from the antenna.
    const double rn = std::sqrt(25.0 + 100.0);
    // Model Y is -u.
    EXPECT_NEAR(plain.points[0].u, 5.0 / rn, 1e-6);
    EXPECT_NEAR(plain.points[1].u, -5.0 / rn, 1e-6);

    AntDef sloped = a;
    sloped.Wires[0].Z2 = 20.0;
    const GLPolyline centred = BuildAntennaScene(sloped, false, true);
    EXPECT_NEAR(centred.points[0].w + centred.points[1].w, 0.0, 1e-6);
    const GLPolyline low = BuildAntennaScene(sloped, false, false);
    EXPECT_NEAR(low.points[0].w, 0.0, 1e-9);
}

TEST(GLAntennaList, XYCentringPutsTheMiddleOnTheAxis) {
    AntDef a = Dipole(0.0);
    a.Wires[0].X1 = a.Wires[0].X2 = 4.0;
    a.Wires[0].Y1 = 2.0;
    a.Wires[0].Y2 = 8.0;
    const GLPolyline s = BuildAntennaScene(a, true, false);
    EXPECT_NEAR(s.points[0].u + s.points[1].u, 0.0, 1e-6);
    EXPECT_NEAR(s.points[0].v, 0.0, 1e-6);
    const GLPolyline off = BuildAntennaScene(a, false, false);
    // Model X is +v.
    EXPECT_GT(off.points[0].v, 0.0);
}

TEST(GLAntennaList, EndsAllAtTheOriginDoNotDivideByZero) {
    AntDef a{};
    a.WireCount = 2;
    const GLPolyline s = BuildAntennaScene(a, true, true);
    ASSERT_EQ(s.points.size(), 4u);
    for (const GLVertex& p : s.points) EXPECT_TRUE(std::isfinite(p.u) && std::isfinite(p.v) && std::isfinite(p.w));
    a.WireCount = -3;
    EXPECT_TRUE(BuildAntennaScene(a, false, false).points.empty());
}

TEST(GLSliceCaption, RingsNameTheElevationMeridiansTheAzimuth) {
    EXPECT_EQ(SliceCaption(1, 3, 6), "Elevation angle 0 deg");
    EXPECT_EQ(SliceCaption(31, 3, 6), "Elevation angle 90 deg");
    EXPECT_EQ(SliceCaption(32, 3, 6), "Azimuth angle 0 deg");
    EXPECT_EQ(SliceCaption(33, 3, 6), "Azimuth angle 6 deg");
    EXPECT_EQ(SliceCaption(0, 3, 6), "");
}

TEST(GLViewNumbers, ZoomAndAspect) {
    EXPECT_DOUBLE_EQ(ZoomFactor(16, 50), 1.0);
    EXPECT_NEAR(ZoomFactor(0, 50), std::pow(1.06, -16), 1e-12);
    EXPECT_NEAR(ZoomFactor(50, 50), std::pow(1.06, 34), 1e-9);
    EXPECT_DOUBLE_EQ(AspectForScreenWidth(1280, 0.965), 1.074);
    EXPECT_DOUBLE_EQ(AspectForScreenWidth(1024, 0.965), 1.0);
    EXPECT_DOUBLE_EQ(AspectForScreenWidth(1920, 0.965), 0.965);
}
