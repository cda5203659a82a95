#include "engine/EngineState.h"

#include <gtest/gtest.h>

namespace {

// Leaves the engine without arrays and without a memory cap after each test.
class EngineArrays : public ::testing::Test {
protected:
    void TearDown() override {
        SetEngineAllocationLimit(0);
        FreeEngineArrays();
    }
};

}  // namespace

TEST_F(EngineArrays, AllocatesTheRequestedPulseCount) {
    EXPECT_EQ(AllocEngineArrays(300), 300);
    EXPECT_EQ(Engine.MaxPulses, 300);
    EXPECT_EQ(Engine.Matrix.Size(), 301u * 301u);
    EXPECT_EQ(Engine.Points.Size(), PointTableSize(300));
    EXPECT_EQ(Engine.Currents.Size(), 301u);
    EXPECT_EQ(Engine.PieceGeometry.Size(), static_cast<std::size_t>(MaxExpWires) + 1);
}

TEST_F(EngineArrays, FallsBackBy256PulsesWhenMemoryRunsOut) {
    SetEngineAllocationLimit(EngineArrayBytes(3000));
    EXPECT_EQ(AllocEngineArrays(8192), 2816);  // 8192 - 21 x 256
    EXPECT_EQ(Engine.MaxPulses, 2816);
}

TEST_F(EngineArrays, GivesZeroWhenNothingFits) {
    SetEngineAllocationLimit(EngineArrayBytes(100));
    EXPECT_EQ(AllocEngineArrays(200), 0);  // 200 fails, -56 is not tried
    EXPECT_FALSE(Engine.Matrix);
    EXPECT_EQ(Engine.MaxPulses, 0);
}

TEST_F(EngineArrays, RequestOfZeroOrLessAllocatesNothing) {
    EXPECT_EQ(AllocEngineArrays(0), 0);
    EXPECT_EQ(AllocEngineArrays(-5), 0);
    EXPECT_FALSE(Engine.Points);
}

TEST_F(EngineArrays, FreeReleasesEverythingAndReallocationWorks) {
    ASSERT_EQ(AllocEngineArrays(64), 64);
    Engine.FarField3D.resize(10);
    FreeEngineArrays();
    EXPECT_FALSE(Engine.Matrix);
    EXPECT_FALSE(Engine.Points);
    EXPECT_TRUE(Engine.FarField3D.empty());
    // The freed bytes count again: a cap that fits one allocation allows a second.
    SetEngineAllocationLimit(EngineArrayBytes(64));
    EXPECT_EQ(AllocEngineArrays(64), 64);
    EXPECT_EQ(AllocEngineArrays(64), 64);
}

TEST_F(EngineArrays, PointsAreReadWithAndWithoutTheAddedHeight) {
    ASSERT_EQ(AllocEngineArrays(16), 16);
    Engine.Points[3] = {1.5f, -2.0f, 12.0f};
    Engine.AntennaHeight = 10.0f;
    double x, y, z;
    GetPointXYZ(x, y, z, 3);
    EXPECT_DOUBLE_EQ(x, 1.5);
    EXPECT_DOUBLE_EQ(y, -2.0);
    EXPECT_DOUBLE_EQ(z, 12.0);
    GetPointXYZUser(x, y, z, 3);
    EXPECT_DOUBLE_EQ(z, 2.0);
    GetPointXYZ(x, y, z, -1);
    EXPECT_EQ(z, 0.0);
    GetPointXYZUser(x, y, z, static_cast<int>(PointTableSize(16)));
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(z, 0.0);
    Engine.AntennaHeight = 0;
}

TEST(EngineLog, WritesOnlyWhileInteractive) {
    std::vector<std::string> lines;
    SetEngineLog(&lines);
    JobDef.Interactive = 0;
    AddEngineLog("quiet");
    ClearEngineLog();
    EXPECT_TRUE(lines.empty());
    JobDef.Interactive = 1;
    AddEngineLog("one");
    AddEngineLog("two");
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two"}));
    JobDef.Interactive = 0;
    ClearEngineLog();
    EXPECT_EQ(lines.size(), 2u);
    JobDef.Interactive = 1;
    ClearEngineLog();
    EXPECT_TRUE(lines.empty());
    SetEngineLog(nullptr);
    AddEngineLog("dropped without a sink");
    JobDef.Interactive = 0;
}

TEST(EngineLog, CallbackSinkReceivesLinesAndClears) {
    std::string seen;
    bool cleared = false;
    SetEngineLog([&](const std::string& s) { seen += s + ";"; }, [&] { cleared = true; });
    JobDef.Interactive = 1;
    AddEngineLog("a");
    AddEngineLog("b");
    ClearEngineLog();
    JobDef.Interactive = 0;
    EXPECT_EQ(seen, "a;b;");
    EXPECT_TRUE(cleared);
    SetEngineLog(nullptr);
}
