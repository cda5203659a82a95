#pragma once
// A number field that shows a stored value rounded stands for that value as
// long as its text is the one shown: entering the shown text again must not
// cut the value to the digits it shows.
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QComboBox;
class QLineEdit;

// Writes `text` into the field and remembers that it stands for `value`
// (in the unit the caller stores it in).
void ShowNumber(QLineEdit* field, double value, const QString& text);
void ShowNumber(QComboBox* field, double value, const QString& text);
// The remembered value while the field still shows the text written with it.
std::optional<double> ShownNumber(const QLineEdit* field);
std::optional<double> ShownNumber(const QComboBox* field);

// The value a field stands for: the remembered one while it shows its text,
// else its text read by the expression evaluator and brought from the
// field's unit into the stored one by `toStored` (none: as read). False when
// the text does not read; `value` then holds the evaluator's partial value.
using FieldUnit = std::function<double(double)>;
bool ReadNumberField(const QLineEdit* field, double& value, const FieldUnit& toStored = {});
bool ReadNumberField(const QComboBox* field, double& value, const FieldUnit& toStored = {});
// A segmentation field the same way: the remembered code (the pair "4,8"
// that a file or a typed "4,-8" gave stays that pair, though "4,8" typed
// anew is the count 4), else the text read by StrToIntOrPair. False, and
// `code` unchanged, when the text does not read.
bool ReadSegmentField(const QLineEdit* field, int32_t& code);
