#pragma once
// What every dialog does when it is made: the owner's font name at size 10
// plus the environment's offset, its design geometry scaled by the screen
// height over the 768-pixel design height, and its texts from its section of
// the active language file. Modal runs go through one replaceable routine, so
// that tests answer a dialog without a user.
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QDialog;
class QWidget;

// The design height that form geometry is drawn for.
constexpr int FormDesignHeight = 768;

// Font name of the owner, size 10 plus EnvDef.FontSize, then the form and all
// its controls scaled by `scale` (positions, sizes and font sizes).
void ApplyFormPattern(QWidget* form, const QString& fontName, double scale);

// The primary screen's height over the design height (1 without a screen).
double ScreenScale();

// The lines of a form's language section (caption first) while a language
// file is active and holds the section; empty otherwise, so the built-in
// English texts stay. A broken section is reported and ignored.
std::vector<std::string> FormLanguageLines(const char* section, int count);

// Runs a dialog modally and returns its result code.
extern std::function<int(QDialog&)> ExecModalDialog;
