#include "views/GLViewSettings.h"

#include "platform/IniFile.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const Section = "GLForm";

uint8_t ReadByte(const IniFile& ini, const char* key, uint8_t def) {
    return static_cast<uint8_t>(std::clamp(ini.ReadInteger(Section, key, def), 0, 255));
}

void ReadColour(const IniFile& ini, const char* prefix, GLColour& c) {
    const std::string p = prefix;
    c.r = ReadByte(ini, (p + "rd").c_str(), c.r);
    c.g = ReadByte(ini, (p + "gr").c_str(), c.g);
    c.b = ReadByte(ini, (p + "bl").c_str(), c.b);
}

void WriteColour(IniFile& ini, const char* prefix, const GLColour& c) {
    const std::string p = prefix;
    ini.WriteInteger(Section, p + "rd", c.r);
    ini.WriteInteger(Section, p + "gr", c.g);
    ini.WriteInteger(Section, p + "bl", c.b);
}

}  // namespace

void ReadGLViewSettings(const IniFile& ini, GLViewSettings& s) {
    s.ClearIndex = ini.ReadInteger(Section, "color", 0);
    // Far beyond any screen, yet every edge of the box stays in range.
    s.Top = std::clamp(ini.ReadInteger(Section, "Top", s.Top), -(1 << 20), 1 << 20);
    s.Left = std::clamp(ini.ReadInteger(Section, "Left", s.Left), -(1 << 20), 1 << 20);
    s.Width = std::clamp(ini.ReadInteger(Section, "Width", s.Width), 0, 16384);
    s.Height = std::clamp(ini.ReadInteger(Section, "Height", s.Height), 0, 16384);
    s.BlackFont = ini.ReadInteger(Section, "FontCl", 1) != 0;
    s.Maximized = ini.ReadInteger(Section, "WState", s.Maximized ? 2 : 0) == 2;
    const double k = ini.ReadFloat(Section, "H/V", 0.965);
    // A zero or absurd factor would flatten the picture to nothing.
    s.Aspect = std::isfinite(k) && k > 0.1 && k < 10.0 ? k : 0.965;
    s.AntennaVisible = ini.ReadInteger(Section, "AntVis", 1) != 0;
    s.PlotsVisible = ini.ReadInteger(Section, "PlotVis", 1) != 0;
    s.LineWidth = std::clamp(ini.ReadInteger(Section, "thik", 2), 1, 4);
    s.HCentre = ini.ReadInteger(Section, "HCentr", 0) != 0;
    s.XYCentre = ini.ReadInteger(Section, "XYCentr", 0) != 0;
    ReadColour(ini, "PC", s.Plot);
    ReadColour(ini, "SPC", s.Slice);
    ReadColour(ini, "BGC", s.Background);
    ReadColour(ini, "AtC", s.Antenna);
}

void WriteGLViewSettings(IniFile& ini, const GLViewSettings& s) {
    if (!s.Maximized) {
        ini.WriteInteger(Section, "Top", s.Top);
        ini.WriteInteger(Section, "Left", s.Left);
        ini.WriteInteger(Section, "Width", s.Width);
        ini.WriteInteger(Section, "Height", s.Height);
    }
    ini.WriteInteger(Section, "WState", s.Maximized ? 2 : 0);
    ini.WriteFloat(Section, "H/V", s.Aspect);
    ini.WriteInteger(Section, "color", s.ClearIndex);
    ini.WriteInteger(Section, "AntVis", s.AntennaVisible ? 1 : 0);
    ini.WriteInteger(Section, "PlotVis", s.PlotsVisible ? 1 : 0);
    ini.WriteInteger(Section, "thik", s.LineWidth);
    ini.WriteInteger(Section, "HCentr", s.HCentre ? 1 : 0);
    ini.WriteInteger(Section, "XYCentr", s.XYCentre ? 1 : 0);
    WriteColour(ini, "PC", s.Plot);
    WriteColour(ini, "SPC", s.Slice);
    WriteColour(ini, "BGC", s.Background);
    WriteColour(ini, "AtC", s.Antenna);
    ini.WriteInteger(Section, "FontCl", s.BlackFont ? 1 : 0);
}
