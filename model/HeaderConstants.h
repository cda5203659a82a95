#pragma once
// File magics of the far-field file and the optimization log, and the
// trigonometric constants shared by the drawing and the geometry code.
#include <string_view>

// "KORVA Res2.00" and "KORVA Opt2.00", each followed by Ctrl-Z (14 characters);
// a header compared with them must include the Ctrl-Z.
inline constexpr std::string_view HeaderResMagic{"KORVA Res2.00\x1A", 14};
inline constexpr std::string_view HeaderOptMagic{"KORVA Opt2.00\x1A", 14};
inline constexpr std::string_view ResHeader = HeaderResMagic;
inline constexpr std::string_view OptHeader = HeaderOptMagic;

// Degrees to radians.
inline constexpr double DegToRad = 0.017453292519943295;

extern const double Cos30;
extern const double Tan15;
extern const double Sin15;
extern const double Cos15;
extern const double Tan22_5;
extern const double Sin22_5;
extern const double Cos22_5;
