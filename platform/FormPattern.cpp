#include "platform/FormPattern.h"

#include "model/EnvDef.h"
#include "model/LanguageFile.h"
#include "model/LanguageState.h"
#include "platform/FormLayout.h"
#include "platform/OpeningFocus.h"
#include "platform/Prompter.h"
#include "platform/SingleLineField.h"
#include "platform/StringGrid.h"
#include "platform/TextCodec.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
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
        // A grid's columns and rows hold texts in the scaled font too.
        if (auto* grid = qobject_cast<StringGrid*>(child)) {
            for (int col = 0; col < grid->ColCount(); ++col)
                grid->SetColWidth(col, Scaled(grid->ColWidth(col), scale));
            grid->SetDefaultRowHeight(Scaled(grid->DefaultRowHeight(), scale));
        }
        // A control with a font of its own (a smaller result label, or one
        // that a style sheet fixed) does not follow the form's: scale it too.
        if (child->testAttribute(Qt::WA_SetFont)) {
            QFont font = child->font();
            if (font.pointSizeF() > 0)
                font.setPointSizeF(font.pointSizeF() * scale);
            else if (font.pixelSize() > 0)
                font.setPixelSize(Scaled(font.pixelSize(), scale));
            child->setFont(font);
        }
        ScaleChildren(child, scale);
    }
}

}  // namespace

std::function<int(QDialog&)> ExecModalDialog = [](QDialog& dialog) { return dialog.exec(); };

int ShowModal(QDialog& dialog) {
    FocusFirstValue(dialog);
    FocusFirstValueOnEveryPage(dialog);
    return ExecModalDialog(dialog);
}

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
    InstallSingleLineOnTextFields(form);
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

void ApplyFormTexts(QWidget& form, const std::vector<std::string>& lines, const std::vector<const char*>& controls) {
    if (lines.empty()) return;
    form.setWindowTitle(DisplayQString(lines[0]));
    const QList<QTabWidget*> tabs = form.findChildren<QTabWidget*>();
    std::size_t k = 1;
    QList<QRadioButton*> items;  // the radio buttons of the last group box named
    int item = 0;
    for (const char* name : controls) {
        if (k >= lines.size()) break;
        const QString text = DisplayQString(lines[k++]);
        if (!*name) continue;
        if (std::string_view(name) == "-") {
            if (item < items.size()) items[item++]->setText(text);
            continue;
        }
        QObject* control = form.findChild<QObject*>(QString::fromLatin1(name));
        if (auto* action = qobject_cast<QAction*>(control)) {
            action->setText(text);
        } else if (auto* menu = qobject_cast<QMenu*>(control)) {
            menu->setTitle(text);
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setText(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            button->setText(text);
        } else if (auto* group = qobject_cast<QGroupBox*>(control)) {
            group->setTitle(text);
            items = group->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
            item = 0;
        } else if (auto* page = qobject_cast<QWidget*>(control)) {
            for (QTabWidget* t : tabs)
                if (const int i = t->indexOf(page); i >= 0) t->setTabText(i, text);
        }
    }
}
