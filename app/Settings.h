#pragma once
// The settings file "Korva.ini": read once when the main window is built,
// written when it closes. Values out of range are clamped on reading, so a
// damaged file can never set up an unusable window or engine.
#include "platform/SettingsPath.h"

#include <string>

class TMainWnd;

// Reads every key into the window and the global records; a missing key or a
// value that does not parse leaves the current value. Returns 1 when the
// file did not exist (first start), else 0.
int ReadSettings(TMainWnd& wnd, const std::string& path);

// Writes every key; returns false when the file could not be written (the
// old file is then unchanged).
bool WriteSettings(TMainWnd& wnd, const std::string& path);
