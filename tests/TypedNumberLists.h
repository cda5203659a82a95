#pragma once
// Types every number of the shared table into each editable number list of a
// shown form, as a user types it (the list has the focus, its page is the
// current one), and reports each list that shows something else afterwards:
// completed to an item, or cut.
#include "TypedNumbers.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>
#include <QStringList>
#include <QTabWidget>
#include <QTest>

inline QStringList NumberListsChangingTypedText(QWidget& form) {
    QStringList faults;
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form)) return {QStringLiteral("the form does not become active")};
    for (QComboBox* box : form.findChildren<QComboBox*>()) {
        for (QWidget* w = box; w && w != &form; w = w->parentWidget()) {
            auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
            if (!stack) continue;
            if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
                tabs->setCurrentWidget(w);
            else
                stack->setCurrentWidget(w);
        }
        if (!box->isEditable() || !box->lineEdit() || !box->isEnabled() || !box->isVisible() || box->count() == 0)
            continue;
        bool numbers = true;
        for (int i = 0; i < box->count() && numbers; ++i) box->itemText(i).toDouble(&numbers);
        if (!numbers) continue;
        const QString before = box->currentText();
        QLineEdit* edit = box->lineEdit();
        edit->setFocus(Qt::TabFocusReason);
        for (const char* typed : TypedNumbers) {
            const QString text = QString::fromLatin1(typed);
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClicks(edit, typed);
            if (edit->text() != text)
                faults << QStringLiteral("%1: typed %2, shows %3").arg(box->objectName(), text, edit->text());
        }
        box->setEditText(before);
    }
    return faults;
}
