#pragma once
// The font dialog of the forms behind one replaceable function, so that
// tests choose a font without a user. True when a font was chosen; `font`
// holds the starting font and receives the choice.
#include <functional>

class QFont;
class QWidget;

extern std::function<bool(QFont& font, QWidget* parent)> ChooseFont;
