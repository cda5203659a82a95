#pragma once
// Small builders of absolutely placed controls for the tool forms.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <functional>

#include "model/EnvDef.h"

// Names a tool form, captions it and gives it the program's font size
// (10 points plus the offset).
inline void SetupToolForm(QWidget* form, const char* name, const char* caption) {
    form->setObjectName(name);
    form->setWindowTitle(caption);
    QFont f = form->font();
    f.setPointSize(std::max(1, 10 + EnvDef.FontSize));
    form->setFont(f);
}

inline QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w = 130, int h = 22) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(x, y, w, h);
    return l;
}

inline QLineEdit* PlaceEdit(QWidget* parent, const char* name, int x, int y, int w = 100) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(x, y, w, 24);
    return e;
}

inline QComboBox* PlaceCombo(QWidget* parent, const char* name, const QStringList& items, int x, int y, int w = 100,
                             bool editable = true) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(editable);
    c->addItems(items);
    c->setGeometry(x, y, w, 24);
    return c;
}

inline QPushButton* PlaceButton(QWidget* parent, const char* name, const QString& text, int x, int y, int w = 90) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(x, y, w, 28);
    return b;
}

// A plain area whose picture a function paints.
class PaintBox : public QWidget {
public:
    PaintBox(QWidget* parent, std::function<void(QWidget*)> paint) : QWidget(parent), paint_(std::move(paint)) {}

protected:
    void paintEvent(QPaintEvent*) override { paint_(this); }

private:
    std::function<void(QWidget*)> paint_;
};
