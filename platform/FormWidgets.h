#pragma once
// The one set of builders that every form is made of: absolutely placed
// controls at their design geometry (the form re-layout scales it), named
// with the component names that language sections and tests find.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <functional>

#include "model/EnvDef.h"
#include "platform/IntegerSpin.h"
#include "platform/KeyFilter.h"

// Names a control made on its parent and places it.
template <class W>
W* Place(W* widget, const char* name, int x, int y, int w, int h) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

inline QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int w = 130, int h = 22) {
    return Place(new QLabel(text, parent), name, x, y, w, h);
}

inline QLineEdit* PlaceEdit(QWidget* parent, const char* name, int x, int y, int w = 100, int h = 24) {
    return Place(new QLineEdit(parent), name, x, y, w, h);
}

// A number field: a typed comma becomes the decimal point.
inline QLineEdit* PlaceNumberEdit(QWidget* parent, const char* name, int x, int y, int w, int h = 24) {
    auto* e = PlaceEdit(parent, name, x, y, w, h);
    InstallCommaToPoint(e);
    return e;
}

// A whole-number field with arrows; a typed decimal is refused, not cut.
inline QSpinBox* PlaceSpin(QWidget* parent, const char* name, int lo, int hi, int x, int y, int w = 80, int h = 24) {
    auto* s = Place(new IntegerSpin(parent), name, x, y, w, h);
    s->setRange(lo, hi);
    InstallCommaToPoint(s);
    return s;
}

inline QComboBox* PlaceCombo(QWidget* parent, const char* name, const QStringList& items, int x, int y, int w = 100,
                             bool editable = true) {
    auto* c = Place(new QComboBox(parent), name, x, y, w, 24);
    c->setEditable(editable);
    c->addItems(items);
    return c;
}

// An editable list keeps a typed text as typed: neither added to the list
// nor completed to an item (inline completion would turn a typed "14" into
// "14.050" unnoticed, and that value would be used).
inline void KeepTypedText(QComboBox* box) {
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
}

// An editable number list: a typed value stays as typed, and a typed comma
// becomes the decimal point.
inline QComboBox* PlaceNumberCombo(QWidget* parent, const char* name, const QStringList& items, int x, int y,
                                   int w = 100) {
    auto* c = Place(new QComboBox(parent), name, x, y, w, 24);
    c->setEditable(true);
    KeepTypedText(c);
    c->addItems(items);
    InstallCommaToPoint(c);
    return c;
}

// A list of presets that may also be typed into; a typed text stays as typed.
inline QComboBox* PlacePresetCombo(QWidget* parent, const char* name, const QStringList& items, int x, int y, int w,
                                   bool editable = true) {
    auto* box = Place(new QComboBox(parent), name, x, y, w, 22);
    box->setEditable(editable);
    box->setInsertPolicy(QComboBox::NoInsert);
    if (editable) KeepTypedText(box);
    box->addItems(items);
    return box;
}

inline QPushButton* PlaceButton(QWidget* parent, const char* name, const QString& text, int x, int y, int w = 90,
                                int h = 28) {
    return Place(new QPushButton(text, parent), name, x, y, w, h);
}

// A horizontal slider from `lo` to `hi` standing at `pos`; with `ticks`, a
// tick mark below every that many steps.
inline QSlider* PlaceSlider(QWidget* parent, const char* name, int lo, int hi, int pos, int x, int y, int w, int h,
                            int ticks = 0) {
    auto* s = Place(new QSlider(Qt::Horizontal, parent), name, x, y, w, h);
    s->setRange(lo, hi);
    s->setValue(pos);
    if (ticks > 0) {
        s->setTickInterval(ticks);
        s->setTickPosition(QSlider::TicksBelow);
    }
    return s;
}

inline QCheckBox* PlaceCheck(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h = 22) {
    return Place(new QCheckBox(text, parent), name, x, y, w, h);
}

inline QGroupBox* PlaceGroup(QWidget* parent, const char* name, const QString& title, int x, int y, int w, int h) {
    return Place(new QGroupBox(title, parent), name, x, y, w, h);
}

// Names a tool form, captions it and gives it the program's font size
// (10 points plus the offset).
inline void SetupToolForm(QWidget* form, const char* name, const char* caption) {
    form->setObjectName(name);
    form->setWindowTitle(caption);
    QFont f = form->font();
    f.setPointSize(std::max(1, 10 + EnvDef.FontSize));
    form->setFont(f);
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
