// The model preparation: pulses, joins, ground contacts and its refusals.
#include "EngineTestSupport.h"

#include "engine/ModelPrep.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

bool LogHas(const char* text) {
    for (const std::string& line : EngineLogLines())
        if (line.find(text) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(Preparation, WavelengthAndPulseCountAreLogged) {
    ResetEngineWorld();
    TestAntenna a(14.15);
    a.Wire(0, 0, 10, 0, 10, 10, 0.001, 10).Source("w1c");
    a->CalcFreq = 0.0;
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
    EXPECT_EQ(a->CalcFreq, 14.15);  // the record itself takes the design frequency
    EXPECT_EQ(EngineLogLines().front(), "WAVE LENGTH = 21.187(m)");
    EXPECT_TRUE(LogHas("TOTAL PULSE = 9"));
    EXPECT_NEAR(Engine.Wavelength, 21.187f, 1e-3f);
    EXPECT_EQ(a->Wires[0].FirstPulse, 1);
    EXPECT_EQ(a->Wires[0].PulseCount, 9);
}

TEST(Preparation, LoneSingleSegmentHasNoPulse) {
    ResetEngineWorld();
    TestAntenna a(14.15);
    a.Wire(0, 0, 10, 0, 1, 10, 0.001, 1).Source("w1c");
    EXPECT_EQ(PrepareModel(a.ant.get()), 0);
    EXPECT_EQ(EngineLogLines().back(), "NUMBER OF PULSES IS ZERO...");
}

TEST(Preparation, TooManyPulsesAreRefused) {
    ResetEngineWorld(GroundFree, 0.0, 2048);
    EnvDef.PMAX = 100;
    TestAntenna a(14.15);
    a.Wire(0, 0, 10, 0, 10, 10, 0.001, 150).Source("w1c");
    EXPECT_EQ(PrepareModel(a.ant.get()), 0);
    EXPECT_EQ(EngineLogLines().back(), "PULSE NUMBER EXCEEDS DIMENSION (MAX=100)");
}

TEST(Preparation, ZeroLengthPieceIsRefused) {
    ResetEngineWorld();
    TestAntenna a(14.15);
    a.Wire(0, 0, 10, 0, 10, 10, 0.001, 10).Wire(1, 1, 1, 1, 1, 1, 0.001, 3).Source("w1c");
    EXPECT_EQ(PrepareModel(a.ant.get()), 0);
    EXPECT_TRUE(LogHas("ZERO LENGTH WIRE. (No.2)"));
}

TEST(Preparation, EndsJoinOnlyWhenExactlyEqual) {
    ResetEngineWorld();
    TestAntenna a(14.15);
    const float end = 5.0f;
    a.Wire(0, 0, 10, 0, end, 10, 0.001, 10).Wire(0, end, 10, 3, 8, 10, 0.001, 10).Source("w1c");
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
    EXPECT_EQ(Engine.PulseCount, 9 + 10);  // the joint adds a pulse
    EXPECT_EQ(Engine.Halves[10].First, 1);
    a->Wires[1].Y1 = std::nextafter(end, 10.0f);  // one float bit apart
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
    EXPECT_EQ(Engine.PulseCount, 9 + 9);
}

TEST(Preparation, GroundContactOnlyOverGround) {
    for (int ground : {GroundFree, GroundPerfect}) {
        ResetEngineWorld(ground, 0.0);
        TestAntenna a(14.15);
        a.Wire(0, 0, 0, 0, 0, 5, 0.001, 10).Source("w1b");
        ASSERT_EQ(PrepareModel(a.ant.get()), 1);
        const bool contact = Engine.Halves[1].First == -Engine.Halves[1].Second;
        EXPECT_EQ(contact, ground == GroundPerfect);
        EXPECT_EQ(Engine.PulseCount, ground == GroundPerfect ? 10 : 9);
    }
}

TEST(Preparation, WireUnderGroundIsAWarningOnly) {
    ResetEngineWorld(GroundPerfect, 1.0);
    TestAntenna a(14.15);
    a.Wire(0, 0, 3, 0, 5, 3, 0.001, 10).Wire(0, 0, -2, 0, 5, -3, 0.001, 10).Source("w1c");
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
    EXPECT_TRUE(LogHas("WIRE 2 IS UNDER GROUND. HIGHT = -2.00 M"));
    EXPECT_EQ(Engine.LastUnderGroundWire, 2);
}

TEST(Preparation, SourceVoltageAndPhase) {
    ResetEngineWorld();
    TestAntenna a(14.15);
    a.Wire(0, 0, 10, 0, 10, 10, 0.001, 10).Source("w1c", 2.0, 90.0);
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
    EXPECT_NEAR(Engine.Sources[1].Voltage.real(), 0.0f, 1e-6f);
    EXPECT_NEAR(Engine.Sources[1].Voltage.imag(), 2.0f, 1e-6f);
    EXPECT_EQ(Engine.Sources[1].Pulse, 5);
}

TEST(Preparation, GeometryTheKernelCannotTakeIsRefused) {
    // Wire ends, a radius or an added height whose float distances overflow,
    // or whose phases leave the int range of the kernel's sine.
    const struct {
        double z2, radius, height;
        bool usable;
    } cases[] = {
        {10, 0.001, 0, true},   {3e38, 0.001, 0, false}, {1e300, 0.001, 0, false},
        {1e8, 0.001, 0, false}, {10, 1e300, 0, false},   {10, 0.001, 3e38, false},
    };
    for (const auto& c : cases) {
        ResetEngineWorld(c.height != 0 ? GroundPerfect : GroundFree, c.height);
        TestAntenna a(14.15);
        a.Wire(0, 0, 1, 0, 0, c.z2, c.radius, 10).Source("w1c");
        EXPECT_EQ(PrepareModel(a.ant.get()), c.usable ? 1 : 0) << c.z2 << " " << c.radius << " " << c.height;
        EXPECT_EQ(LogHas("WIRE 1: COORDINATES OR RADIUS OUT OF RANGE"), !c.usable);
    }
}

TEST(Preparation, FrequenciesBelowTheLimitAreRefusedNotTakenAsNone) {
    // 1e-300 MHz is 0.0f in single precision, which used to stand for "no
    // frequency" and calculate at 299.79 MHz.
    const struct {
        double freq, calcFreq;
        bool prepared;
    } cases[] = {
        {1e-300, 0, false}, {14.15, 1e-300, false}, {14.15, 9.45e-6, false},
        {14.15, -1, false}, {0.001, 0, true},       {14.15, 0.001, true},
    };
    for (const auto& c : cases) {
        ResetEngineWorld();
        TestAntenna a(c.freq);
        a.Wire(0, 0, 10, 0, 10, 10, 0.001, 10).Source("w1c");
        a->CalcFreq = c.calcFreq;
        EXPECT_EQ(PrepareModel(a.ant.get()), c.prepared ? 1 : 0) << c.freq << " " << c.calcFreq;
        EXPECT_EQ(LogHas("IS BELOW 0.001 MHZ - NOT CALCULATED"), !c.prepared);
        if (c.prepared) {
            EXPECT_NEAR(Engine.Wavelength, 299792.458f, 1.0f);
        }
    }
}

TEST(Preparation, GroundMediaTheKernelCannotTakeAreRefused) {
    // Values no medium takes, and a surface height whose far-field phase
    // leaves the int range of the kernel's sine (a million wavelengths).
    const struct {
        int medium;
        double dielectric, conductivity, coord, height, freqMHz;
        bool usable;
    } cases[] = {
        {0, 13, 0.005, 0, 0, 14.15, true},        {1, 80, 5, 30, -2, 14.15, true},
        {0, 13, 0.005, 0, 1e10, 14.15, false},    {1, 13, 0.005, 30, 1e308, 14.15, false},
        {1, 13, 0.005, 30, 2000, 3e5, false},     {1, 13, 0.005, 30, 2000, 14.15, true},
        {0, 0, 0, 0, 0, 14.15, false},            {0, 1e308, 0.005, 0, 0, 14.15, false},
        {0, 13, -1, 0, 0, 14.15, false},          {0, 13, 1e308, 0, 0, 14.15, false},
        {1, 13, 0.005, -1e308, 0, 14.15, false},  {1, 13, 0.005, 1e7, 0, 14.15, false},
    };
    for (const auto& c : cases) {
        ResetEngineWorld(GroundReal, 10.0);
        EnvDef.MediaMax = 3;  // the last medium's boundary is none whatever it says
        EnvDef.Dieleciric[c.medium] = c.dielectric;
        EnvDef.Conductivity[c.medium] = c.conductivity;
        EnvDef.Coord[c.medium] = c.coord;
        EnvDef.Height[c.medium] = c.height;
        TestAntenna a(c.freqMHz);
        a.Wire(0, 0, 1, 0, 0, 0.0001, 0.00001, 3).Source("w1c");
        EXPECT_EQ(PrepareModel(a.ant.get()), c.usable ? 1 : 0) << c.medium << " " << c.height;
        const char* const messages[2] = {"GROUND MEDIUM 1: VALUES OUT OF RANGE", "GROUND MEDIUM 2: VALUES OUT OF RANGE"};
        EXPECT_EQ(LogHas(messages[c.medium]), !c.usable) << c.medium << " " << c.height;
    }
}
