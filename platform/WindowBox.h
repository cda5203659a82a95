#pragma once
// The window box (position and size) that a form keeps in its own section of
// the settings file, and the one rule that brings any saved box onto a
// screen. The box is the window's frame, title bar and borders included: it
// is what is saved, what comes back, and what must fit on the screen.
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

// The least box a form is restored at, from the box it takes on a fresh
// start: half of it, so that a box the user made smaller is kept while the
// controls of a form that scales with its box stay readable.
QSize UsableLeast(const QSize& freshBox);

// The form's frame as the screen shows it; while it is not shown, its
// client area in the frame it will get (that of the other windows).
QRect FrameBox(const QWidget& form);

// True while the form's box is worth keeping: neither minimized, maximized
// nor full screen. A minimized window's geometry is whatever the window
// system left there, down to a box of a pixel.
bool HasNormalBox(const QWidget& form);

// Writes the form's frame box into the section, only while HasNormalBox.
void WriteWindowBox(IniFile& ini, const QWidget& form, const std::string& section, const WindowBoxKeys& keys = {});
// As WriteWindowBox, into the program's settings file.
void SaveWindowBox(const QWidget& form, const std::string& section, const WindowBoxKeys& keys = {});

// The saved frame box as the file holds it; each missing or unreadable key
// takes the value of `fallback`, a box without size keys the form's size.
QRect ReadWindowBox(const IniFile& ini, const std::string& section, const QRect& fallback,
                    const WindowBoxKeys& keys = {});

// Gives the form the saved frame box (ReadWindowBox, then PlaceFrame); a
// form never saved takes the fallback's size and the place the window system
// gives it. The fallback is the box of a fresh start, so no saved box makes
// the form smaller than UsableLeast of it. Call it before the form is first
// shown.
void RestoreWindowBox(QWidget& form, const IniFile& ini, const std::string& section, const QRect& fallback,
                      const WindowBoxKeys& keys = {}, QSize least = LeastWindowBox);
// As RestoreWindowBox, from the program's settings file.
void RestoreWindowBox(QWidget& form, const std::string& section, const QRect& fallback);

// The box made at least `least` and no larger than the available area of
// the screen it mostly lies on (the primary screen when it lies on none),
// and moved into that area; a box that had to shrink is centred there.
QRect FitToScreen(const QRect& box, QSize least = LeastWindowBox);

// Puts the form's frame at the box fitted to the screen, its client area
// inside the frame. Until the window manager has framed the window the frame
// is taken to be that of the other windows; once the form's own frame is
// known, a frame of another size places the client area again, once.
void PlaceFrame(QWidget& form, const QRect& frameBox, QSize least = LeastWindowBox);
