#pragma once
// Numeric fields take a typed comma as the decimal point: all numbers of the
// program use '.'.
#include <QObject>

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

// Installs the filter on a numeric field (the field owns it).
void InstallCommaToPoint(QWidget* field);
// Takes it off again, for a field that now takes a pair of numbers.
void RemoveCommaToPoint(QWidget* field);

// Event filter that swallows every typed character, so a list box is only
// chosen from by its list (navigation keys still work).
class TypedKeyDiscardFilter : public QObject {
    Q_OBJECT
public:
    explicit TypedKeyDiscardFilter(QObject* parent = nullptr) : QObject(parent) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Installs the filter on a field (the field owns it).
void InstallTypedKeyDiscard(QWidget* field);
