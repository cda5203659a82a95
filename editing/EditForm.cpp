#include "editing/EditForm.h"
#include "platform/CommandGuard.h"

#include "editing/GeometryTransforms.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "platform/FormPattern.h"
#include "platform/Prompter.h"

#include <QEvent>
#include <QLineEdit>
#include <QTimer>

void SetupEditForm(QDialog& form, const QString& caption, int width, int height) {
    form.setWindowTitle(caption);
    QFont font = form.font();
    font.setPointSize(std::max(6, 10 + EnvDef.FontSize));
    form.setFont(font);
    form.resize(width, height);
}

void FinishEditForm(QDialog& form, const char* section, std::initializer_list<const char*> controls) {
    ApplyFormPattern(&form, QString(), ScreenScale());
    form.setFixedSize(form.size());
    ApplyFormTexts(form, FormLanguageLines(section, 1 + static_cast<int>(controls.size())), controls);
}

int ReportOutOfRange() {
    ErrorBox("%s", "The result is out of range; nothing was changed.");
    return 0;
}

std::string FieldText(const QLineEdit* edit) { return edit->text().toUtf8().toStdString(); }

NumberStepper::NumberStepper(QLineEdit* field, UpDownButton* button, QTimer* timer, double lo, double hi,
                             double step, std::function<double(double, double, int)> next,
                             std::function<QString(double)> format)
    : QObject(field), Step(step), field_(field), timer_(timer), lo_(lo), hi_(hi), next_(std::move(next)),
      format_(std::move(format)) {
    timer_->setInterval(300);
    timer_->stop();
    field_->installEventFilter(this);
    ConnectGuarded(button, &UpDownButton::Pressed, this, &NumberStepper::ButtonDown);
    ConnectGuarded(button, &UpDownButton::Released, this, &NumberStepper::ButtonUp);
    ConnectGuarded(timer_, &QTimer::timeout, this, &NumberStepper::TimerTick);
}

bool NumberStepper::eventFilter(QObject* watched, QEvent* event) {
    // The caret is placed by the press; the step is taken once it is there.
    if (watched == field_ && event->type() == QEvent::MouseButtonRelease) FieldClicked();
    return QObject::eventFilter(watched, event);
}

void NumberStepper::FieldClicked() {
    Step = CaretStep(FieldText(field_), field_->cursorPosition(), lo_, hi_, Step);
}

bool NumberStepper::StepOnce(const std::function<double(double, double, int)>& next) {
    double value = 0.0;
    if (!StrToDblExpr(value, FieldText(field_))) {
        // Stop before the box: a running timer would repeat it.
        timer_->stop();
        ErrorBox("'%s' is not a valid floating point value", FieldText(field_).c_str());
        return false;
    }
    field_->setText(format_(next(value, Step, StepDir)));
    return true;
}

void NumberStepper::ButtonDown(int direction) {
    StepDir = direction >= 0 ? 1 : -1;
    if (StepOnce(next_)) timer_->start();
}

void NumberStepper::ButtonUp() { timer_->stop(); }

void NumberStepper::TimerTick() { StepOnce(held_ ? held_ : next_); }
