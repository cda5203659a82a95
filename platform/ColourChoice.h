#pragma once
// The colour dialog of the forms behind one replaceable function, so that
// tests choose a colour without a user. An invalid colour means Cancel.
#include <QColor>
#include <functional>

class QWidget;

extern std::function<QColor(QWidget* parent, const QColor& current)> ChooseColour;
