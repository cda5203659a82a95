#pragma once
// Where the settings file "Korva.ini" lives; the main window and every dialog
// that keeps a section of its own read and write that one file.
#include <string>

// Path of the settings file: in the program folder when it is writable, else
// in the user's configuration folder.
std::string SettingsFilePath();
// When not empty, the settings file used instead (tests keep theirs apart).
extern std::string SettingsPathOverride;
