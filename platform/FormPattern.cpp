#include "platform/FormPattern.h"

#include "model/EnvDef.h"
#include "model/LanguageFile.h"
#include "model/LanguageState.h"
#include "platform/FormLayout.h"
#include "platform/Prompter.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace {

int Scaled(int v, double scale) { return static_cast<int>(std::lround(v * scale)); }

void ScaleChildren(QWidget* parent, double scale) {
    for (QObject* object : parent->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow()) continue;
        const QRect g = child->geometry();
        child->setGeometry(Scaled(g.x(), scale), Scaled(g.y(), scale), Scaled(g.width(), scale),
                           Scaled(g.height(), scale));
        ScaleChildren(child, scale);
    }
}

}  // namespace

std::function<int(QDialog&)> ExecModalDialog = [](QDialog& dialog) { return dialog.exec(); };

std::function<double()> ScreenScale = [] {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || screen->geometry().height() <= 0) return 1.0;
    return static_cast<double>(screen->geometry().height()) / FormDesignHeight;
};

void ApplyFormPattern(QWidget* form, const QString& fontName, double scale) {
    if (!(scale > 0.0) || !std::isfinite(scale)) scale = 1.0;
    QFont font = form->font();
    if (!fontName.isEmpty()) font.setFamily(fontName);
    font.setPointSize(ScaledFontSize(EnvDef.FontSize, scale));
    form->setFont(font);
    // A fixed size set at the design size would clip the scaled controls:
    // the constraints are lifted, and set again from the scaled contents.
    const bool fixed = form->minimumSize() == form->maximumSize();
    const QSize minimum = form->minimumSize();
    const QSize size = form->size();
    form->setMinimumSize(0, 0);
    form->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    ScaleChildren(form, scale);
    const QRect contents = form->childrenRect();
    const QSize scaled = QSize(Scaled(size.width(), scale), Scaled(size.height(), scale))
                             .expandedTo(QSize(contents.right() + 1, contents.bottom() + 1));
    if (fixed) {
        form->setFixedSize(scaled);
        return;
    }
    form->setMinimumSize(Scaled(minimum.width(), scale), Scaled(minimum.height(), scale));
    form->resize(scaled);
}

std::vector<std::string> FormLanguageLines(const char* section, int count) {
    std::vector<std::string> lines;
    if (!LanguageIsActive()) return lines;
    std::string error;
    if (!FindFormSection(LanguageText, section, count, lines, error)) {
        if (!error.empty()) ErrorBox("Language file, section %s: %s", section, error.c_str());
        lines.clear();
    }
    return lines;
}
