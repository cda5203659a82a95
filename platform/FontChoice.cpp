#include "platform/FontChoice.h"

#include <QFontDialog>

std::function<bool(QFont&, QWidget*)> ChooseFont = [](QFont& font, QWidget* parent) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, parent);
    if (ok) font = chosen;
    return ok;
};
