#include "platform/SingleLineField.h"

#include <QLineEdit>
#include <QWidget>
#include <algorithm>

namespace {

bool IsLineBreak(QChar c) {
    return c == u'\r' || c == u'\n' || c == u'\t' || c == QChar(0x85) || c == QChar(0x2028) || c == QChar(0x2029);
}

// The length of the character that ends just before `end`: 2 for a
// surrogate pair, else 1.
int CharBefore(const QString& s, int end) {
    return end >= 2 && s.at(end - 1).isLowSurrogate() && s.at(end - 2).isHighSurrogate() ? 2 : 1;
}

}  // namespace

QString SingleLineText(const QString& text, int* pos) {
    QString out;
    out.reserve(text.size());
    const int cursor = pos ? *pos : -1;
    int moved = cursor;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i == cursor) moved = static_cast<int>(out.size());
        const QChar c = text.at(i);
        // A CR LF pair is one line end: the LF makes its blank.
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') continue;
        if (IsLineBreak(c)) {
            out += u' ';
        } else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            if (i == cursor) moved = static_cast<int>(out.size());
        } else if (!c.isSurrogate() && c.category() != QChar::Other_Control) {
            out += c;
        }
    }
    if (pos) *pos = cursor >= text.size() ? static_cast<int>(out.size()) : moved;
    return out;
}

int Utf8Size(QStringView text) {
    int bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            bytes += 4;
            ++i;
        } else {
            bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        }
    }
    return bytes;
}

QString WithinBytes(const QString& text, int bytes, int* pos) {
    QString out = text;
    int cursor = pos ? std::clamp(*pos, 0, static_cast<int>(out.size())) : static_cast<int>(out.size());
    int excess = Utf8Size(out) - bytes;
    while (excess > 0 && !out.isEmpty()) {
        // What came in last goes first: a character typed at the limit is
        // not taken, a pasted text keeps what fits.
        const int end = cursor > 0 ? cursor : static_cast<int>(out.size());
        const int n = CharBefore(out, end);
        excess -= Utf8Size(QStringView(out).mid(end - n, n));
        out.remove(end - n, n);
        if (cursor > 0) cursor -= n;
    }
    if (pos) *pos = cursor;
    return out;
}

QValidator::State SingleLineValidator::validate(QString& input, int& pos) const {
    input = SingleLineText(input, &pos);
    if (byteLimit_ <= 0 || Utf8Size(input) <= byteLimit_ || held_.contains(input)) return Acceptable;
    // While the check runs the field still shows the text before the edit.
    const int shown = field_ ? Utf8Size(field_->displayText()) : 0;
    input = WithinBytes(input, std::max(byteLimit_, shown), &pos);
    return Acceptable;
}

void SingleLineValidator::Follow(QLineEdit* field) {
    field_ = field;
    Shows(field->text());
    // Every change of the text, typed or set, comes after its check.
    connect(field, &QLineEdit::textChanged, this, &SingleLineValidator::Holds);
}

void SingleLineValidator::Shows(const QString& text) {
    held_.clear();
    Holds(text);
}

void SingleLineValidator::Holds(const QString& text) {
    if (byteLimit_ > 0 && Utf8Size(text) > byteLimit_ && !held_.contains(text)) held_.append(text);
}

void InstallSingleLine(QLineEdit* field, int byteLimit) {
    if (!field) return;
    const auto* current = qobject_cast<const SingleLineValidator*>(field->validator());
    // A field with a rule of another kind keeps it.
    if ((field->validator() && !current) || (current && current->ByteLimit() == byteLimit)) return;
    auto* rule = new SingleLineValidator(byteLimit, field);
    if (byteLimit > 0) rule->Follow(field);
    field->setValidator(rule);
    delete current;
}

void InstallSingleLineOnTextFields(QWidget* form) {
    if (!form) return;
    for (QLineEdit* field : form->findChildren<QLineEdit*>())
        if (!field->validator() && field->inputMask().isEmpty()) InstallSingleLine(field);
}

void ShowStoredText(QLineEdit* field, const QString& text) {
    const QValidator* rule = field->validator();
    field->setValidator(nullptr);
    field->setText(text);
    field->setValidator(rule);
    // The field's own rule, not a shared one: it learns the size it may keep.
    for (auto* own : field->findChildren<SingleLineValidator*>(QString(), Qt::FindDirectChildrenOnly))
        if (own == rule) own->Shows(text);
}
