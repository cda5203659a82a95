#pragma once
// The window box (position and size) that a resizable form keeps in its own
// section of the settings file: keys "Left", "Top", "Width", "Height".
#include <QRect>
#include <string>

class QWidget;

// Writes the form's box into the section (not while it is maximized).
void SaveWindowBox(const QWidget& form, const std::string& section);
// The saved box; each missing key takes the value of `fallback`. Whatever the
// file holds, the box is at least 200 x 150 and fits the screen.
QRect ReadWindowBox(const std::string& section, const QRect& fallback);
// The box made to fit the primary screen's available area (centred there
// when it had to shrink).
QRect FitToScreen(const QRect& box);
