#include "platform/IntegerSpin.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>

namespace {

bool HasDecimalPoint(const QString& text) { return text.contains(QLatin1Char('.')) || text.contains(QLatin1Char(',')); }

QLineEdit* TextLine(QWidget* field) {
    if (auto* line = qobject_cast<QLineEdit*>(field)) return line;
    if (auto* box = qobject_cast<QComboBox*>(field)) return box->lineEdit();
    return nullptr;
}

}  // namespace

IntegerSpin::IntegerSpin(QWidget* parent) : QSpinBox(parent) {
    // Each edit that ends (Return, leaving the field, the arrows) is the
    // value a later refusal goes back to.
    connect(this, &QSpinBox::editingFinished, this, [this] { beforeEdit_ = value(); });
}

QValidator::State IntegerSpin::validate(QString& input, int& pos) const {
    // Kept while typed, so that the refusal can be seen and made.
    if (HasDecimalPoint(input)) return QValidator::Intermediate;
    return QSpinBox::validate(input, pos);
}

void IntegerSpin::fixup(QString& input) const {
    if (HasDecimalPoint(input))
        input = textFromValue(beforeEdit_);
    else
        QSpinBox::fixup(input);
}

void IntegerSpin::focusInEvent(QFocusEvent* event) {
    beforeEdit_ = value();
    QSpinBox::focusInEvent(event);
}

WholeNumberValidator::WholeNumberValidator(int digits, QWidget* field) : QValidator(field), digits_(digits) {
    // A list hands its focus events to its line directly: both are watched.
    field->installEventFilter(this);
    if (QLineEdit* line = TextLine(field)) {
        if (line != field) line->installEventFilter(this);
        beforeEdit_ = line->text();
        connect(line, &QLineEdit::editingFinished, this, [this, line] { beforeEdit_ = line->text(); });
    }
}

QValidator::State WholeNumberValidator::validate(QString& input, int&) const {
    int digits = 0, points = 0;
    for (const QChar c : input) {
        if (c.isDigit() && c.unicode() < 128) ++digits;
        else if (c == QLatin1Char('.') || c == QLatin1Char(',')) ++points;
        else return Invalid;
    }
    if (digits > digits_ || points > 1) return Invalid;
    return points ? Intermediate : Acceptable;
}

void WholeNumberValidator::fixup(QString& input) const {
    if (HasDecimalPoint(input)) input = beforeEdit_;
}

bool WholeNumberValidator::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn)
        if (QLineEdit* line = TextLine(qobject_cast<QWidget*>(watched))) beforeEdit_ = line->text();
    return QValidator::eventFilter(watched, event);
}

void InstallWholeNumber(QWidget* field, int digits) {
    if (QLineEdit* line = TextLine(field)) line->setValidator(new WholeNumberValidator(digits, field));
}
