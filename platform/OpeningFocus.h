#pragma once
// Where the focus starts when a dialog opens: on its first value field, with
// the field's whole text selected, so that a value typed at once replaces the
// one shown. A user types the moment a dialog appears; a caret after the old
// text (or the focus on a radio button) would append to it or lose the keys.
class QDialog;
class QWidget;

// The control a value is typed into that `w` stands for: a line edit that
// is not read-only, a spin box or an editable combo box (also for the line
// edit inside one), a grid that starts editing on a key, or a text box; null
// for any other control.
QWidget* ValueFieldOf(QWidget* w);

// Gives the dialog its opening focus: a value field the dialog has already
// given the focus keeps it; otherwise the first shown and enabled value field
// in the tab order takes it (on the page of a tab set that shows); without
// any, the default button. A line, spin box or combo box text is selected
// whole; a grid gets a current cell when it has none; a text box keeps its
// caret, since a key would otherwise replace all its lines.
void FocusFirstValue(QDialog& dialog);

// Gives each page of the dialog's tab sets the same start when it becomes
// current: the focus on the page's first value field with the text selected
// as above, after the form's own page handler has written its fields. A page
// without a value field leaves the focus where it is. Installed once per tab
// set, however often the dialog is shown.
void FocusFirstValueOnEveryPage(QDialog& dialog);

// A change of page hands the focus on when the page that held it hides. Where
// it lands on a value field of `page`, the field's text is selected whole, as
// at an opening, so that a key typed at once replaces the value shown rather
// than being appended to it. The focus stays where it is.
void SelectFocusedValueOn(QWidget& page);
