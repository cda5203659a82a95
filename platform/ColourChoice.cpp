#include "platform/ColourChoice.h"

#include <QColorDialog>

std::function<QColor(QWidget*, const QColor&)> ChooseColour = [](QWidget* parent, const QColor& current) {
    return QColorDialog::getColor(current, parent);
};
