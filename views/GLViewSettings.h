#pragma once
// The section "GLForm" of the settings file: window box, colours and the
// switches of the 3D pattern view.
#include <cstdint>

class IniFile;

struct GLColour {
    uint8_t r = 0, g = 0, b = 0;
};

struct GLViewSettings {
    int ClearIndex = 0;  // "color": kept and written back unchanged
    int Top = 0, Left = 0, Width = 0, Height = 0;
    bool Maximized = false;
    bool BlackFont = true;  // "FontCl"
    double Aspect = 0.965;  // "H/V"
    bool AntennaVisible = true;
    bool PlotsVisible = true;
    int LineWidth = 2;  // 1..4
    bool HCentre = false;
    bool XYCentre = false;
    GLColour Plot{200, 200, 200};
    GLColour Slice{150, 200, 0};
    GLColour Background{255, 255, 255};
    GLColour Antenna{0, 140, 255};
};

// Reads the section over the values in `s` (which hold the current window
// box); out-of-range values are clamped.
void ReadGLViewSettings(const IniFile& ini, GLViewSettings& s);
// Writes the section; the box only when the window is not maximized.
void WriteGLViewSettings(IniFile& ini, const GLViewSettings& s);
