#pragma once
// Defaults of the environment record, the job record and the result palette.
// The machine facts (physical memory, screen width) are passed in, so the
// rules can be checked without the machine.
#include <cstdint>

// Maximum pulse count that suits a machine with this much physical memory.
int DefaultPulseLimit(uint64_t physicalMemoryBytes);

// Clears EnvDef and sets its defaults, PMAX by the physical memory.
void InitEnvironmentDefaults(uint64_t physicalMemoryBytes);

struct EnvRec;

// The reference impedance (50 ohm) and F/B rear sector (120 x 60 degrees)
// that a new antenna starts with; its ground fields are kept.
void ResetAntennaReference(EnvRec& env);

// Sets EnvDef.FontSize to 1 on narrow screens (at most 650 pixels), then
// clears JobDef and sets its defaults. Run after InitEnvironmentDefaults.
void InitJobDefaults(int screenWidthPixels);

// Colours of result curves, Windows values 0x00BBGGRR.
constexpr int PlotPaletteSize = 10;
// Black, maroon, green, olive, navy, purple, teal, red, lime, blue.
void InitPalette(uint32_t (&palette)[PlotPaletteSize]);
