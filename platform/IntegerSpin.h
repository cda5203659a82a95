#pragma once
// A spin box of whole numbers that refuses a decimal instead of dropping its
// point: "2.5" or "2,5" typed is shown as typed and, when the field is left,
// gives way to the value the field had before the edit, never to 25 or 2.
#include <QSpinBox>
#include <QValidator>

class IntegerSpin : public QSpinBox {
    Q_OBJECT
public:
    explicit IntegerSpin(QWidget* parent = nullptr);

    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    int beforeEdit_ = 0;
};

// The same rule for a line edit or an editable list of whole numbers of at
// most `digits` digits: other characters are not taken, a decimal point or
// comma is kept while typed and, when the field is left, the text it had
// before the edit comes back.
class WholeNumberValidator : public QValidator {
    Q_OBJECT
public:
    WholeNumberValidator(int digits, QWidget* field);
    State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int digits_;
    QString beforeEdit_;
};

// Gives a line edit or an editable list that rule (the field owns it).
void InstallWholeNumber(QWidget* field, int digits);
