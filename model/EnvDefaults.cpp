#include "model/EnvDefaults.h"

#include "model/EnvDef.h"

namespace {
constexpr uint32_t PaletteDefaults[PlotPaletteSize] = {
    0x000000,  // black
    0x000080,  // maroon
    0x008000,  // green
    0x008080,  // olive
    0x800000,  // navy
    0x800080,  // purple
    0x808000,  // teal
    0x0000FF,  // red
    0x00FF00,  // lime
    0xFF0000,  // blue
};
}  // namespace

int DefaultPulseLimit(uint64_t physicalMemoryBytes) {
    uint64_t megabytes = physicalMemoryBytes / 1000000u;
    if (megabytes > 270) return 4096;
    if (megabytes > 130) return 3072;
    if (megabytes > 68) return 2048;
    return 1024;
}

void InitEnvironmentDefaults(uint64_t physicalMemoryBytes) {
    EnvDef = EnvRec{};
    EnvDef.AntHeight = 20.0;
    EnvDef.MediaMax = 1;
    for (int k = 0; k < MaxMedia; ++k) {
        EnvDef.Dieleciric[k] = 13.0;
        EnvDef.Conductivity[k] = 0.005;
        EnvDef.Coord[k] = 0.0;
        EnvDef.Height[k] = 0.0;
    }
    EnvDef.RadialCount = 8;
    EnvDef.RadialRadius = 0.0008;
    ResetAntennaReference(EnvDef);
    EnvDef.Material = 0;
    EnvDef.PMAX = DefaultPulseLimit(physicalMemoryBytes);
}

void ResetAntennaReference(EnvRec& env) {
    env.AzEl = PackAzEl(120, 60);
    env.Z0R = 50.0;
    env.Z0X = 0.0;
}

void InitJobDefaults(int screenWidthPixels) {
    if (screenWidthPixels <= 650) EnvDef.FontSize = 1;
    JobDef = JobRec{};
    JobDef.PanX = 0.0;
    JobDef.PanY = 0.0;
    JobDef.OptLog = 1;
    JobDef.Wavelength = 1.0;
    JobDef.IntPos = 1;
    JobDef.Ant3D = 1;
    JobDef.CurDir = 0;
    JobDef.FixFreeAngle = 1;
    JobDef.RecentMax = 10;
    JobDef.OnlyKVA = 1;
    JobDef.WaveSel = 2;
    JobDef.WindowState = 0;
}

void InitPalette(uint32_t (&palette)[PlotPaletteSize]) {
    for (int i = 0; i < PlotPaletteSize; ++i) palette[i] = PaletteDefaults[i];
}
