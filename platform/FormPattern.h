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
// its controls scaled by `scale` (positions, sizes, font sizes, and the
// column widths and row height of string grids). The form
// is made large enough for its scaled controls; a fixed-size form stays fixed
// at its scaled size, a minimum size is scaled with it.
void ApplyFormPattern(QWidget* form, const QString& fontName, double scale);

// The primary screen's height over the design height (1 without a screen);
// tests replace it to make the forms as on other screens.
extern std::function<double()> ScreenScale;

// The lines of a form's language section (caption first) while a language
// file is active and holds the section; empty otherwise, so the built-in
// English texts stay. A broken section is reported and ignored.
std::vector<std::string> FormLanguageLines(const char* section, int count);

// Gives the form the texts of its language section: line 0 is the caption,
// then one line per entry of `controls`, by object name: a label, button,
// check box, group title, menu, menu item or tab page (its tab's text). Each
// "-" after a group box replaces the text of its next radio button; an empty
// name passes over a line that this form does not show. Without lines
// (no language) nothing changes.
void ApplyFormTexts(QWidget& form, const std::vector<std::string>& lines, const std::vector<const char*>& controls);

// Runs a dialog modally, the one way every dialog of the program is shown:
// the focus starts on its first value field with the text selected, and
// so it does on each page of a tab set that becomes current
// (platform/OpeningFocus.h); then the modal routine below runs it. Returns
// the dialog's result code.
int ShowModal(QDialog& dialog);

// The modal routine that ShowModal ends in: it shows the dialog and waits for
// the user; tests replace it to answer any dialog without a user.
extern std::function<int(QDialog&)> ExecModalDialog;

// Replaces the modal routine while it lives and puts the previous one back.
class ScopedModalRoutine {
public:
    explicit ScopedModalRoutine(std::function<int(QDialog&)> routine) : previous_(std::move(ExecModalDialog)) {
        ExecModalDialog = std::move(routine);
    }
    ~ScopedModalRoutine() { ExecModalDialog = std::move(previous_); }
    ScopedModalRoutine(const ScopedModalRoutine&) = delete;
    ScopedModalRoutine& operator=(const ScopedModalRoutine&) = delete;

private:
    std::function<int(QDialog&)> previous_;
};
