#pragma once
// Every form of the program, each with the way a user opens it, for the
// checks that must hold for all of them (layout at every screen size). A new
// form is one line in EveryFormTable.cpp.
#include <QString>
#include <functional>
#include <vector>

class QWidget;
class TMainWnd;

// Opens a form on the prepared main window (a dipole with a calculated
// result, a far field and a sweep). A modal form is checked where it would
// wait for the user (ExecModalDialog) and the opener returns
// nullptr; a modeless form is returned and checked as it is shown.
using FormOpener = std::function<QWidget*(TMainWnd&)>;

// How a form follows the screen: scaled by the screen height over the
// 768-pixel design height when made, or sized by itself (settings, its own
// proportional re-layout); the latter is checked at its opening size times
// the factor.
enum class FormScaling { Screen, OwnSize };

struct FormCase {
    const char* name;  // names the failures and the screenshots
    FormOpener open;
    FormScaling scaling = FormScaling::Screen;
};

const std::vector<FormCase>& EveryForm();

// Openers for the usual ways in: a menu or toolbar item by its component
// name, a push button by its component name. Both fail the test when the
// command is disabled.
FormOpener Command(const char* actionName);
FormOpener Button(const char* buttonName);

// Runs the check on each page of the form's first tab set in turn (nested
// tab sets are met on their page) with the page's number from 1, or once
// with 0 on a form without tabs; the tab set then shows its page again.
void ForEachPage(QWidget& form, const std::function<void(int page)>& check);
