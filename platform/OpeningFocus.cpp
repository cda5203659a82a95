#include "platform/OpeningFocus.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>

namespace {

// A control the user can reach by Tab in the dialog as it will show.
bool Reachable(const QWidget* w, const QDialog& dialog) {
    return w->window() == &dialog && w->isEnabled() && w->isVisibleTo(&dialog) && (w->focusPolicy() & Qt::TabFocus);
}

// The first value field in the tab order among the controls within `area`
// (the dialog itself or one page of it).
QWidget* FirstValueInTabOrder(QDialog& dialog, const QWidget& area) {
    QWidget* w = &dialog;
    // The chain is a ring; the bound only guards against a broken one.
    for (int n = 0; n < 10000; ++n) {
        w = w->nextInFocusChain();
        if (!w || w == &dialog) break;
        if (!Reachable(w, dialog) || !area.isAncestorOf(w)) continue;
        if (QWidget* field = ValueFieldOf(w)) return field;
    }
    return nullptr;
}

QPushButton* DefaultButton(QDialog& dialog) {
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->isDefault() && Reachable(b, dialog)) return b;
    return nullptr;
}

void SelectWhole(QWidget* field) {
    if (auto* line = qobject_cast<QLineEdit*>(field)) {
        line->selectAll();
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(field)) {
        spin->selectAll();
    } else if (auto* combo = qobject_cast<QComboBox*>(field)) {
        combo->lineEdit()->selectAll();
    } else if (auto* grid = qobject_cast<QAbstractItemView*>(field)) {
        QAbstractItemModel* model = grid->model();
        // A current cell to type into, without selecting: in a list the
        // selection says which entry is the antenna's own.
        if (!grid->currentIndex().isValid() && model && model->rowCount() > 0 && model->columnCount() > 0 &&
            grid->selectionModel())
            grid->selectionModel()->setCurrentIndex(model->index(0, 0), QItemSelectionModel::NoUpdate);
    }
}

}  // namespace

QWidget* ValueFieldOf(QWidget* w) {
    if (!w) return nullptr;
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        // The line of a spin box or combo box is typed into as that control.
        if (QWidget* owner = line->parentWidget();
            qobject_cast<QAbstractSpinBox*>(owner) || qobject_cast<QComboBox*>(owner))
            return ValueFieldOf(owner);
        // A grid's cell editor stands for its grid.
        for (QWidget* p = line->parentWidget(); p; p = p->parentWidget())
            if (auto* grid = qobject_cast<QAbstractItemView*>(p)) return ValueFieldOf(grid);
        return line->isReadOnly() ? nullptr : w;
    }
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) return spin->isReadOnly() ? nullptr : w;
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->isEditable() && combo->lineEdit() ? w : nullptr;
    if (auto* grid = qobject_cast<QAbstractItemView*>(w))
        return grid->editTriggers() & QAbstractItemView::AnyKeyPressed ? w : nullptr;
    if (auto* text = qobject_cast<QPlainTextEdit*>(w)) return text->isReadOnly() ? nullptr : w;
    if (auto* text = qobject_cast<QTextEdit*>(w)) return text->isReadOnly() ? nullptr : w;
    return nullptr;
}

void FocusFirstValue(QDialog& dialog) {
    QWidget* field = ValueFieldOf(dialog.focusWidget());
    if (!field || !Reachable(field, dialog)) field = FirstValueInTabOrder(dialog, dialog);
    if (!field) {
        if (QPushButton* button = DefaultButton(dialog)) button->setFocus(Qt::OtherFocusReason);
        return;
    }
    field->setFocus(Qt::OtherFocusReason);
    SelectWhole(field);
}

void SelectFocusedValueOn(QWidget& page) {
    QWidget* focus = page.window()->focusWidget();
    if (!focus || !page.isAncestorOf(focus)) return;
    if (QWidget* field = ValueFieldOf(focus)) SelectWhole(field);
}

void FocusFirstValueOnEveryPage(QDialog& dialog) {
    static const char* const hooked = "focusFirstValueOnEveryPage";
    for (QTabWidget* tabs : dialog.findChildren<QTabWidget*>()) {
        if (tabs->property(hooked).toBool()) continue;
        tabs->setProperty(hooked, true);
        // Connected after the form's own page handler, so it runs after it
        // and the selection is not undone by a text the handler writes.
        QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [tabs, form = QPointer<QDialog>(&dialog)] {
            QWidget* page = tabs->currentWidget();
            if (!form || !page) return;
            if (QWidget* field = FirstValueInTabOrder(*form, *page)) {
                field->setFocus(Qt::OtherFocusReason);
                SelectWhole(field);
            }
        });
    }
}
