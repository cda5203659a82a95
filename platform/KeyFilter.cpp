#include "platform/KeyFilter.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace {

// The line edit that holds a numeric field's text: the field itself or an
// editable list's. A spin box keeps the validator of its own; the filter
// alone serves it.
QLineEdit* TextLine(QWidget* field) {
    if (auto* line = qobject_cast<QLineEdit*>(field)) return line;
    if (auto* box = qobject_cast<QComboBox*>(field)) return box->lineEdit();
    return nullptr;
}

// Installs a filter of this kind on `widget` (which owns it), once.
template <class Filter>
void InstallOnce(QWidget* widget) {
    if (widget && !widget->findChild<Filter*>(QString(), Qt::FindDirectChildrenOnly))
        widget->installEventFilter(new Filter(widget));
}

}  // namespace

bool CommaToPointFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->text() == QStringLiteral(",")) {
            QKeyEvent point(key->type(), Qt::Key_Period, key->modifiers(), QStringLiteral("."),
                            key->isAutoRepeat(), static_cast<ushort>(key->count()));
            QCoreApplication::sendEvent(watched, &point);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QValidator::State CommaToPointValidator::validate(QString& input, int& pos) const {
    SingleLineValidator::validate(input, pos);
    input.replace(QLatin1Char(','), QLatin1Char('.'));
    return Acceptable;
}

void InstallCommaToPoint(QWidget* field) {
    if (!field || field->findChild<CommaToPointFilter*>(QString(), Qt::FindDirectChildrenOnly)) return;
    field->installEventFilter(new CommaToPointFilter(field));
    // It takes the place of the plain single-line rule a form gave the field.
    if (QLineEdit* line = TextLine(field);
        line && (!line->validator() || qobject_cast<const SingleLineValidator*>(line->validator()))) {
        const QValidator* plain = line->validator();
        line->setValidator(new CommaToPointValidator(field));
        delete plain;
    }
}

void RemoveCommaToPoint(QWidget* field) {
    if (!field) return;
    delete field->findChild<CommaToPointFilter*>(QString(), Qt::FindDirectChildrenOnly);
    // Deleting the validator takes it off the line edit too; the field stays single-line.
    delete field->findChild<CommaToPointValidator*>(QString(), Qt::FindDirectChildrenOnly);
    InstallSingleLine(TextLine(field));
}

bool TypedKeyDiscardFilter::eventFilter(QObject* watched, QEvent* event) {
    // Keys that carry no character (Tab, Return, Escape, arrows) keep their
    // meaning; a composed character arrives as input-method text.
    if (event->type() == QEvent::InputMethod) return true;
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty() && text.at(0).isPrint()) return true;
    }
    return QObject::eventFilter(watched, event);
}

void InstallTypedKeyDiscard(QWidget* field) { InstallOnce<TypedKeyDiscardFilter>(field); }

bool LeavesControl(const QKeyEvent& key, bool& next) {
    if ((key.key() != Qt::Key_Tab && key.key() != Qt::Key_Backtab) || !(key.modifiers() & Qt::ControlModifier) ||
        (key.modifiers() & Qt::AltModifier))
        return false;
    next = key.key() == Qt::Key_Tab && !(key.modifiers() & Qt::ShiftModifier);
    return true;
}

bool CtrlTabLeavesFilter::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QWidget*>(watched);
    bool next = true;
    if (box && event->type() == QEvent::KeyPress && LeavesControl(*static_cast<QKeyEvent*>(event), next)) {
        // The window moves the focus on a plain Tab as the box would if it
        // did not take Tab as text.
        QKeyEvent tab(QEvent::KeyPress, next ? Qt::Key_Tab : Qt::Key_Backtab, next ? Qt::NoModifier : Qt::ShiftModifier);
        QCoreApplication::sendEvent(box->window(), &tab);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void InstallCtrlTabLeaves(QWidget* textBox) { InstallOnce<CtrlTabLeavesFilter>(textBox); }
