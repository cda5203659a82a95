// The 3D far-field table, the angle/gain table and the near-field table.
#include "EngineTestSupport.h"

#include "engine/EngineError.h"
#include "engine/FarField3D.h"
#include "engine/ModelPrep.h"
#include "engine/NearField.h"
#include "model/ResultStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>

namespace {

constexpr double Lambda = 299.792458 / 14.15;

void PrepareDipole(int ground = GroundFree) {
    ResetEngineWorld(ground, 10.0);
    static TestAntenna a(14.15);
    *a.ant = AntDef{};
    a->Freq = 14.15;
    a->UseLoads = 1;
    a.Wire(0, -Lambda * 0.24, 10, 0, Lambda * 0.24, 10, 0.0005, 31).Source("w1c");
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
}

struct NearLine {
    double x, y, z;
    char axis;
    double re, im, mag, phase;
};

NearLine ParseNear(const std::string& line) {
    NearLine n{};
    // The lines always use '.' decimals; read them the same way.
    std::istringstream in(line);
    in.imbue(std::locale::classic());
    char comma;
    in >> n.x >> comma >> n.y >> comma >> n.z >> comma >> n.axis >> comma >> n.re >> comma >> n.im >> comma >>
        n.mag >> comma >> n.phase;
    return n;
}

std::vector<std::string> NearTable(const NearFieldRequest& req) {
    JobDef.NearRequest = const_cast<NearFieldRequest*>(&req);
    std::vector<std::string> lines;
    CalcNearFieldTable(lines);
    JobDef.NearRequest = nullptr;
    return lines;
}

}  // namespace

TEST(Tables, ViewTableWithDefaultSteps) {
    PrepareDipole();
    int el = 0, az = 0;
    ASSERT_TRUE(CalcPattern3DForView(el, az));
    EXPECT_EQ(el, 3);
    EXPECT_EQ(az, 6);
    ASSERT_EQ(Engine.FarField3D.size(), 1891u);  // 31 rings of 61
    // The first ring is the horizon, the last the zenith. Every ring is
    // closed by azimuth 360, which repeats its azimuth 0 to the bit on any
    // kernel: a ring drawn from it shows no seam.
    EXPECT_FLOAT_EQ(Engine.FarField3D[0].Zenith, 90.0f);
    EXPECT_FLOAT_EQ(Engine.FarField3D.back().Zenith, 0.0f);
    for (std::size_t ring = 0; ring < 31; ++ring) {
        const FarField3DPoint& first = Engine.FarField3D[ring * 61];
        const FarField3DPoint& closing = Engine.FarField3D[ring * 61 + 60];
        EXPECT_EQ(closing.Azimuth, 360.0f) << ring;
        EXPECT_EQ(closing.Zenith, first.Zenith) << ring;
        EXPECT_EQ(closing.Gtotal, first.Gtotal) << ring;
        EXPECT_EQ(closing.Gv, first.Gv) << ring;
        EXPECT_EQ(closing.Gh, first.Gh) << ring;
    }
    EXPECT_NEAR(Engine.FarField3DMaxGain, 2.15, 0.1);

    // A step that does not divide 360 leaves the ring open at its last step.
    el = 45;
    az = 7;
    ASSERT_TRUE(CalcPattern3DForView(el, az));
    ASSERT_EQ(Engine.FarField3D.size(), 3u * 52u);
    EXPECT_EQ(Engine.FarField3D[51].Azimuth, 357.0f);
}

TEST(Tables, ViewTableFailsWithoutInputPower) {
    ResetEngineWorld();
    TestAntenna a(14.15);
    a.Wire(0, -5, 10, 0, 5, 10, 0.0005, 21);  // no source
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
    int el = 10, az = 10;
    EXPECT_FALSE(CalcPattern3DForView(el, az));
    EXPECT_TRUE(Engine.FarField3D.empty());
}

TEST(Tables, AngleGainLines) {
    PrepareDipole();
    FarFieldTableRequest req;
    req.ZenithStart = 0;
    req.ZenithStep = 45;
    req.ZenithCount = 3;
    req.AzimuthStart = 0;
    req.AzimuthStep = 90;
    req.AzimuthCount = 2;
    JobDef.FarRequest = &req;
    std::vector<std::string> list;
    MakeFarFieldTable(list);
    ASSERT_EQ(list.size(), 1u);  // one text with every line
    const std::string& text = list[0];
    EXPECT_EQ(text.rfind("0.0,0.0,", 0), 0u);
    std::size_t lines = 0;
    for (std::size_t pos = text.find("\r\n"); pos != std::string::npos; pos = text.find("\r\n", pos + 2)) {
        EXPECT_EQ(text[pos - 1], ',');  // a comma before every line end
        ++lines;
    }
    EXPECT_EQ(lines, 6u);
    EXPECT_NE(text.find("\r\n90.0,90.0,"), std::string::npos);  // azimuth outer, zenith inner: last line

    req.ZenithStep = 0;  // one zenith per azimuth, whatever the count
    list.clear();
    MakeFarFieldTable(list);
    EXPECT_EQ(Engine.FarField3D.size(), 2u);
    JobDef.FarRequest = nullptr;
}

TEST(Tables, NearFieldOnePointGivesThreeLines) {
    PrepareDipole();
    NearFieldRequest req;
    req.Power = 100;
    req.XStart = 1.0;
    req.ZStart = 12.0;
    const std::vector<std::string> lines = NearTable(req);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("1.000,0.000,12.000,X,", 0), 0u) << lines[0];
    EXPECT_EQ(ParseNear(lines[2]).axis, 'Z');
}

TEST(Tables, NearFieldScalesWithTheRootOfThePower) {
    PrepareDipole(GroundPerfect);
    NearFieldRequest req;
    req.Field = 1;
    req.Power = 100;
    req.XStart = -2;
    req.XStep = 2;
    req.XCount = 3;
    req.YStart = 1;
    req.ZStart = 8;
    req.ZStep = 3;
    req.ZCount = 2;
    const std::vector<std::string> low = NearTable(req);
    req.Power = 200;
    const std::vector<std::string> high = NearTable(req);
    ASSERT_EQ(low.size(), 18u);
    ASSERT_EQ(high.size(), low.size());
    for (std::size_t i = 0; i < low.size(); ++i) {
        const NearLine a = ParseNear(low[i]), b = ParseNear(high[i]);
        EXPECT_NEAR(b.mag, a.mag * std::sqrt(2.0), 0.02 * a.mag) << low[i];
        EXPECT_NEAR(b.phase, a.phase, 0.1);
    }
}

TEST(Tables, NearFieldFarOutMatchesTheRadiatedField) {
    // 20 wavelengths broadside of a half-wave dipole fed 100 W:
    // E = sqrt(30 P G) / r (rms), H = E / 377.
    PrepareDipole();
    NearFieldRequest req;
    req.Power = 100;
    req.XStart = 20 * Lambda;
    req.ZStart = 10;
    const double gain = std::pow(10.0, 2.15 / 10.0);
    const double e = std::sqrt(30.0 * 100.0 * gain) / (20 * Lambda);
    const std::vector<std::string> electric = NearTable(req);
    EXPECT_NEAR(ParseNear(electric[1]).mag, e, 0.05 * e);  // Y, along the wire
    EXPECT_LT(ParseNear(electric[0]).mag, 0.05 * e);
    req.Field = 1;
    const std::vector<std::string> magnetic = NearTable(req);
    EXPECT_NEAR(ParseNear(magnetic[2]).mag, e / 376.7, 0.05 * e / 376.7);  // Z
}

TEST(Tables, NearFieldWithoutPowerIsRefused) {
    PrepareDipole();
    NearFieldRequest req;
    req.Power = 0;
    EXPECT_THROW(NearTable(req), EngineError);
    EXPECT_NE(EngineLogLines().back().find("POWER MUST BE ABOVE 0 W"), std::string::npos);
}
