#include "platform/KeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

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

void InstallCommaToPoint(QWidget* field) {
    if (!field) return;
    if (field->findChild<CommaToPointFilter*>(QString(), Qt::FindDirectChildrenOnly)) return;
    field->installEventFilter(new CommaToPointFilter(field));
}

void RemoveCommaToPoint(QWidget* field) {
    if (!field) return;
    delete field->findChild<CommaToPointFilter*>(QString(), Qt::FindDirectChildrenOnly);
}

bool TypedKeyDiscardFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty() && text.at(0).isPrint()) return true;
    }
    return QObject::eventFilter(watched, event);
}

void InstallTypedKeyDiscard(QWidget* field) {
    if (!field) return;
    if (field->findChild<TypedKeyDiscardFilter*>(QString(), Qt::FindDirectChildrenOnly)) return;
    field->installEventFilter(new TypedKeyDiscardFilter(field));
}
