#pragma once
// Numeric fields take a typed comma as the decimal point: all numbers of the
// program use '.'. Text that enters otherwise (pasted, dropped) is read alike.
#include <QObject>

#include "platform/SingleLineField.h"

class QKeyEvent;
class QWidget;

// The key character a numeric field receives: ',' becomes '.'.
inline char CommaToPoint(char key) { return key == ',' ? '.' : key; }

// Event filter that turns a comma key press into a point key press.
class CommaToPointFilter : public QObject {
    Q_OBJECT
public:
    explicit CommaToPointFilter(QObject* parent = nullptr) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Turns every comma of a field's new text into a point, whichever way the
// text came in, and keeps the field single-line; it refuses nothing.
class CommaToPointValidator : public SingleLineValidator {
    Q_OBJECT
public:
    explicit CommaToPointValidator(QObject* parent = nullptr) : SingleLineValidator(0, parent) {}
    State validate(QString& input, int& pos) const override;
};

// Installs the filter on a numeric field (the field owns it), and on a line
// edit or an editable list the validator too, so that a pasted "12,5" is
// 12.5 as a typed one is.
void InstallCommaToPoint(QWidget* field);
// Takes both off again, for a field that now takes a pair of numbers.
void RemoveCommaToPoint(QWidget* field);

// Event filter that swallows every typed character, so a list box is only
// chosen from by its list; keys that carry no character (Tab, Return,
// Escape, the arrows) keep their meaning.
class TypedKeyDiscardFilter : public QObject {
    Q_OBJECT
public:
    explicit TypedKeyDiscardFilter(QObject* parent = nullptr) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Installs the filter on a field (the field owns it).
void InstallTypedKeyDiscard(QWidget* field);

// Ctrl+Tab and Ctrl+Shift+Tab: the keys that leave a control that takes Tab
// for itself (a grid, a text box) for the next (`next` true) or the previous
// control.
bool LeavesControl(const QKeyEvent& key, bool& next);

// Event filter that gives the focus to the next or previous control on
// Ctrl+Tab or Ctrl+Shift+Tab, for a text box that takes Tab as text.
class CtrlTabLeavesFilter : public QObject {
    Q_OBJECT
public:
    explicit CtrlTabLeavesFilter(QObject* parent = nullptr) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Installs the filter on a text box (the box owns it).
void InstallCtrlTabLeaves(QWidget* textBox);
