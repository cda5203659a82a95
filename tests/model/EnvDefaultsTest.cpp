#include "model/EnvDefaults.h"

#include "model/EnvDef.h"

#include <gtest/gtest.h>

namespace {

TEST(EnvironmentDefaults, PulseLimitFollowsPhysicalMemory) {
    EXPECT_EQ(DefaultPulseLimit(271000000ull), 4096);
    EXPECT_EQ(DefaultPulseLimit(270999999ull), 3072);
    EXPECT_EQ(DefaultPulseLimit(131000000ull), 3072);
    EXPECT_EQ(DefaultPulseLimit(130999999ull), 2048);
    EXPECT_EQ(DefaultPulseLimit(69000000ull), 2048);
    EXPECT_EQ(DefaultPulseLimit(68999999ull), 1024);
    EXPECT_EQ(DefaultPulseLimit(0), 1024);
    EXPECT_EQ(DefaultPulseLimit(64ull << 30), 4096);
}

TEST(EnvironmentDefaults, RecordHoldsItsDefaults) {
    EnvDef.Type = GroundReal;
    EnvDef.FontSize = 3;
    InitEnvironmentDefaults(8000000000ull);
    EXPECT_EQ(EnvDef.Type, GroundFree);
    EXPECT_DOUBLE_EQ(EnvDef.AntHeight, 20.0);
    EXPECT_EQ(EnvDef.MediaMax, 1);
    EXPECT_EQ(EnvDef.MediaType, 0);
    EXPECT_EQ(EnvDef.RadialCount, 8);
    EXPECT_DOUBLE_EQ(EnvDef.RadialRadius, 0.0008);
    for (int k = 0; k < MaxMedia; ++k) {
        EXPECT_DOUBLE_EQ(EnvDef.Dieleciric[k], 13.0);
        EXPECT_DOUBLE_EQ(EnvDef.Conductivity[k], 0.005);
        EXPECT_DOUBLE_EQ(EnvDef.Coord[k], 0.0);
        EXPECT_DOUBLE_EQ(EnvDef.Height[k], 0.0);
    }
    EXPECT_EQ(EnvDef.AzEl, 3932280);
    EXPECT_EQ(RearAzimuth(EnvDef.AzEl), 120);
    EXPECT_EQ(RearElevation(EnvDef.AzEl), 60);
    EXPECT_DOUBLE_EQ(EnvDef.Z0R, 50.0);
    EXPECT_DOUBLE_EQ(EnvDef.Z0X, 0.0);
    EXPECT_EQ(EnvDef.Material, 0);
    EXPECT_EQ(EnvDef.PMAX, 4096);
    EXPECT_EQ(EnvDef.FontSize, 0);
}

TEST(JobDefaults, NarrowScreensGetALargerFont) {
    InitEnvironmentDefaults(0);
    InitJobDefaults(651);
    EXPECT_EQ(EnvDef.FontSize, 0);
    InitJobDefaults(650);
    EXPECT_EQ(EnvDef.FontSize, 1);
}

TEST(JobDefaults, RecordHoldsItsDefaults) {
    JobDef.Busy = 1;
    JobDef.InWavelengths = 1;
    InitJobDefaults(1920);
    EXPECT_EQ(JobDef.PanX, 0.0);
    EXPECT_EQ(JobDef.OptLog, 1);
    EXPECT_EQ(JobDef.Busy, 0);
    EXPECT_EQ(JobDef.InWavelengths, 0);
    EXPECT_DOUBLE_EQ(JobDef.Wavelength, 1.0);
    EXPECT_EQ(JobDef.IntPos, 1);
    EXPECT_EQ(JobDef.WaveSel, 2);
    EXPECT_EQ(JobDef.Ant3D, 1);
    EXPECT_EQ(JobDef.CurDir, 0);
    EXPECT_EQ(JobDef.FixFreeAngle, 1);
    EXPECT_EQ(JobDef.RecentMax, 10);
    EXPECT_EQ(JobDef.OnlyKVA, 1);
    EXPECT_EQ(JobDef.WindowState, 0);
    EXPECT_EQ(JobDef.CurrentTable, nullptr);
}

TEST(Palette, TenStandardColours) {
    uint32_t palette[PlotPaletteSize] = {};
    InitPalette(palette);
    EXPECT_EQ(palette[0], 0x000000u);  // black
    EXPECT_EQ(palette[1], 0x000080u);  // maroon
    EXPECT_EQ(palette[4], 0x800000u);  // navy
    EXPECT_EQ(palette[7], 0x0000FFu);  // red
    EXPECT_EQ(palette[9], 0xFF0000u);  // blue
}

}  // namespace
