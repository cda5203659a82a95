#pragma once
// A single-line field takes pasted or dropped text as one line, as the
// antenna text writes a single-line field: a line break or a tab becomes a
// blank and other control characters are dropped, so that a save never
// refuses what the field shows. A field whose record keeps a fixed number of
// bytes takes no more of them, counted in UTF-8 as the record stores the
// text.
#include <QString>
#include <QStringList>
#include <QValidator>

class QLineEdit;
class QWidget;

// `text` as one line: CR LF, CR, LF, a Unicode line, paragraph or next-line
// separator and a tab become one blank each; other control characters and
// unpaired surrogates are dropped. `pos`, a position in `text`, follows.
QString SingleLineText(const QString& text, int* pos = nullptr);

// The UTF-8 bytes `text` is stored in.
int Utf8Size(QStringView text);

// `text` cut to at most `bytes` UTF-8 bytes by whole characters: first those
// just before `pos` (the end of what was typed or pasted), then those at the
// end. `pos` follows.
QString WithinBytes(const QString& text, int bytes, int* pos = nullptr);

// Keeps a line edit's text single-line and, with a byte limit above 0,
// within that many UTF-8 bytes. A text the field was given that is longer
// (a name read from a file in another code page) is kept: an edit may
// shorten it but not lengthen it beyond what the field shows, and an undo
// or redo gives back whole any text the field has held since.
class SingleLineValidator : public QValidator {
    Q_OBJECT
public:
    explicit SingleLineValidator(int byteLimit, QObject* parent = nullptr)
        : QValidator(parent), byteLimit_(byteLimit) {}
    State validate(QString& input, int& pos) const override;
    int ByteLimit() const { return byteLimit_; }
    // Checks this field: the size an edit may keep is that of the text it shows.
    void Follow(QLineEdit* field);
    // The field was given `text`, set while its signals may be blocked.
    void Shows(const QString& text);

private:
    void Holds(const QString& text);

    int byteLimit_;
    QLineEdit* field_ = nullptr;
    // The texts beyond the limit that the field has held since it was given one.
    QStringList held_;
};

// Gives a line edit the single-line rule (the field owns the validator),
// with the record's byte limit where it has one (0: none).
void InstallSingleLine(QLineEdit* field, int byteLimit = 0);

// The rule for every line edit of a form that has no validator of its own.
void InstallSingleLineOnTextFields(QWidget* form);

// Shows a text as the record stores it: the field's rule applies to what the
// user enters, not to a stored text, which must read back unchanged.
void ShowStoredText(QLineEdit* field, const QString& text);
