// The grids of the near-field and angle/gain tables: which points and
// directions a request gives, in which order, in the lines of the files.
#include "EngineTestSupport.h"

#include "engine/FarField3D.h"
#include "engine/ModelPrep.h"
#include "engine/NearField.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void PrepareShortDipole() {
    ResetEngineWorld();
    static TestAntenna a(14.15);
    *a.ant = AntDef{};
    a->Freq = 14.15;
    a->UseLoads = 1;
    a.Wire(-5.0, 0, 10, 5.0, 0, 10, 0.001, 11).Source("w1c");
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
}

// The "X,Y,Z," start of every near-field line.
std::vector<std::string> NearPoints(NearFieldRequest req) {
    JobDef.NearRequest = &req;
    std::vector<std::string> lines;
    CalcNearFieldTable(lines);
    JobDef.NearRequest = nullptr;
    std::vector<std::string> points;
    for (const std::string& l : lines) {
        std::size_t end = 0;
        for (int i = 0; i < 4; ++i) end = l.find(',', end) + 1;
        points.push_back(l.substr(0, end));
    }
    return points;
}

}  // namespace

TEST(TableGrid, NearFieldRunsXInsideYInsideZWithThreeComponentsEach) {
    PrepareShortDipole();
    NearFieldRequest req;
    req.Power = 10;
    req.XStart = 1;
    req.XStep = 0.5;
    req.XCount = 2;
    req.YStart = -1;
    req.YStep = 2;
    req.YCount = 2;
    req.ZStart = 3;
    req.ZStep = 1;
    req.ZCount = 2;
    const std::vector<std::string> p = NearPoints(req);
    ASSERT_EQ(p.size(), 24u);
    EXPECT_EQ(p[0], "1.000,-1.000,3.000,X,");
    EXPECT_EQ(p[1], "1.000,-1.000,3.000,Y,");
    EXPECT_EQ(p[2], "1.000,-1.000,3.000,Z,");
    EXPECT_EQ(p[3], "1.500,-1.000,3.000,X,");
    EXPECT_EQ(p[6], "1.000,1.000,3.000,X,");
    EXPECT_EQ(p[12], "1.000,-1.000,4.000,X,");
    EXPECT_EQ(p[23], "1.500,1.000,4.000,Z,");
}

TEST(TableGrid, NearFieldStepOrCountZeroGivesOnePointOnThatAxis) {
    PrepareShortDipole();
    NearFieldRequest req;
    req.Power = 10;
    req.XStep = 0;
    req.XCount = 5;   // no step: one point
    req.YStep = 3;
    req.YCount = 0;   // no count: one point
    req.ZStart = 2;
    req.ZStep = 1;
    req.ZCount = -4;  // below 0: one point too
    const std::vector<std::string> p = NearPoints(req);
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p[0], "0.000,0.000,2.000,X,");
}

TEST(TableGrid, AngleGainCountsBelowOneCountAsOne) {
    PrepareShortDipole();
    FarFieldTableRequest req;
    req.ZenithStart = 30;
    req.ZenithStep = 5;
    req.ZenithCount = 0;
    req.AzimuthStart = 45;
    req.AzimuthStep = 90;
    req.AzimuthCount = -3;
    JobDef.FarRequest = &req;
    std::vector<std::string> list;
    MakeFarFieldTable(list);
    JobDef.FarRequest = nullptr;
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].rfind("30.0,45.0,", 0), 0u) << list[0];
    EXPECT_EQ(list[0].find("\r\n"), list[0].size() - 2);  // one line
}
