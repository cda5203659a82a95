#pragma once
// The built-in English texts written out as a language file, found by
// opening every form as a user opens it: once under a language without any
// section (LanguageSectionLookup then tells which sections the form reads and
// how many lines each takes), and once per section under a language whose
// line k is a token. A text on screen or in a message buffer that shows the
// token tells which built-in text line k stands for.
#include <QString>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QWidget;
class TMainWnd;

// Every text a form shows, keyed by control and property: captions, labels,
// buttons, group titles, tabs, list items, menus, hints and grid cells.
using ScreenTexts = std::map<std::string, QString>;
ScreenTexts TextsOnScreen(QWidget& form);
// The shared message buffers that languages fill.
ScreenTexts MessageBufferTexts();

// The file's sections in the order the language reader expects them.
const std::vector<std::string>& LanguageSectionOrder();

struct BuiltInLanguage {
    std::string Text;                   // the file, UTF-8 with CR LF line ends
    std::vector<std::string> Problems;  // sections that no form reads, or that have no place in the order
};
// `prepare` puts the main window into the state the forms are opened from.
BuiltInLanguage WriteBuiltInLanguage(TMainWnd& wnd, const std::function<void()>& prepare);

// Every text of every form (and of the main window, and the message buffers)
// that differs between the built-in texts and the language `text` (UTF-8, CR
// LF), as "form control: before / after". Line breaks inside a text count as
// blanks: a line of a language file holds none.
std::vector<std::string> ChangesUnderLanguage(TMainWnd& wnd, const std::function<void()>& prepare,
                                              const std::string& text);
