#include "platform/ShownNumber.h"

#include "model/NumberText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QVariant>

namespace {

constexpr const char* ShownTextKey = "shownText";
constexpr const char* ShownValueKey = "shownValue";

}  // namespace

void ShowNumber(QLineEdit* field, double value, const QString& text) {
    if (!field) return;
    field->setProperty(ShownValueKey, value);
    field->setProperty(ShownTextKey, text);
    field->setText(text);
}

void ShowNumber(QComboBox* field, double value, const QString& text) {
    if (field) ShowNumber(field->lineEdit(), value, text);
}

std::optional<double> ShownNumber(const QLineEdit* field) {
    if (!field) return std::nullopt;
    const QVariant text = field->property(ShownTextKey);
    if (!text.isValid() || field->text() != text.toString()) return std::nullopt;
    return field->property(ShownValueKey).toDouble();
}

std::optional<double> ShownNumber(const QComboBox* field) {
    return field ? ShownNumber(field->lineEdit()) : std::nullopt;
}

bool ReadNumberField(const QLineEdit* field, double& value, const FieldUnit& toStored) {
    if (!field) return false;
    if (const std::optional<double> shown = ShownNumber(field)) {
        value = *shown;
        return true;
    }
    double v = 0.0;
    const bool read = StrToDblExpr(v, field->text().toStdString());
    value = toStored ? toStored(v) : v;
    return read;
}

bool ReadSegmentField(const QLineEdit* field, int32_t& code) {
    if (!field) return false;
    if (const std::optional<double> shown = ShownNumber(field)) {
        code = static_cast<int32_t>(*shown);
        return true;
    }
    return StrToIntOrPair(code, field->text().toStdString());
}

bool ReadNumberField(const QComboBox* field, double& value, const FieldUnit& toStored) {
    return field && ReadNumberField(field->lineEdit(), value, toStored);
}
