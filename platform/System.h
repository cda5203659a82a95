#pragma once
// Facts about the machine and the program's own installation.
#include <cstdint>
#include <string>

// Folder of the program file, with a trailing '/'.
std::string ProgramFolder();
// Folder for the settings file and the program's scratch files: the program
// folder when it is writable, else $XDG_CONFIG_HOME/korva (~/.config/korva),
// created when missing. Trailing '/'.
std::string SettingsFolder();
// Total physical memory in bytes (0 when the system does not tell).
uint64_t PhysicalMemoryBytes();
// Milliseconds on a monotonic clock; differences measure elapsed time.
uint32_t TickCount();
// Product name "KORVA-TEZ" and the version text " v. 1.0.0.0". Outputs that
// cannot be told stay as they were.
void GetVersionText(std::string& productName, std::string& versionText);
// Width in pixels of the primary screen (0 without one).
int ScreenWidthPixels();
