#pragma once
// The window box (position and size) that a form keeps in its own section of
// the settings file, and the one rule that brings any saved box onto a
// screen. The position is that of the window's frame (its title bar
// included), the size that of its client area, as Qt's pos() and size().
#include <QRect>
#include <string>

class IniFile;
class QWidget;

// The keys of a box; the wire editor spells its height "Heigth". A box
// without size keys keeps only its corner and takes its size from the form.
struct WindowBoxKeys {
    const char* Left = "Left";
    const char* Top = "Top";
    const char* Width = "Width";
    const char* Height = "Height";
};

// The least box a saved one is made, so that a damaged file still gives a usable window.
constexpr QSize LeastWindowBox(200, 150);

// Writes the form's box into the section (not while it is maximized).
void WriteWindowBox(IniFile& ini, const QWidget& form, const std::string& section, const WindowBoxKeys& keys = {});
// As WriteWindowBox, into the program's settings file.
void SaveWindowBox(const QWidget& form, const std::string& section);

// The saved box; each missing or unreadable key takes the value of
// `fallback`. Whatever the file holds, the box is fitted (FitToScreen).
QRect ReadWindowBox(const IniFile& ini, const std::string& section, const QRect& fallback,
                    const WindowBoxKeys& keys = {}, QSize least = LeastWindowBox);
// As ReadWindowBox, from the program's settings file.
QRect ReadWindowBox(const std::string& section, const QRect& fallback);

// The box made at least `least` and no larger than the available area of
// the screen it mostly lies on (the primary screen when it lies on none),
// and moved into that area; a box that had to shrink is centred there.
QRect FitToScreen(const QRect& box, QSize least = LeastWindowBox);

// Gives the window the box's size and puts its frame, not its client area,
// at the box's corner, so that its title bar is where the box says.
void PlaceWindow(QWidget& form, const QRect& box);
