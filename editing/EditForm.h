#pragma once
// What the geometry dialogs share: the form set-up and the number field with
// an up-down button that steps by the digit at the caret. They run through
// the program's modal routine, ShowModal (platform/FormPattern.h).
#include <QDialog>
#include <QObject>
#include <QWidget>
#include <functional>
#include <string>

#include "platform/UpDownButton.h"

class QLineEdit;
class QTimer;

// Caption, fixed design size, font size 10 plus the environment's offset.
void SetupEditForm(QDialog& form, const QString& caption, int width, int height);
// After the controls are made: the form scaled to the screen height, and its
// texts from its language section, line 0 the caption and then the controls
// named, in order (labels, buttons, check boxes, group box titles, menu
// items); each "-" after a radio group replaces its next item.
void FinishEditForm(QDialog& form, const char* section, std::initializer_list<const char*> controls);
// Says that an edit was refused because its result would leave the range of
// numbers; always returns 0, the dialogs' "nothing changed".
int ReportOutOfRange();
// The text of a line edit as bytes for the number parser.
std::string FieldText(const QLineEdit* edit);

// A number field stepped by an up-down button: a click into the field takes
// the step from the digit at the caret (limited to lo..hi); a press on the
// button steps at once and then every 300 ms until it is released.
class NumberStepper : public QObject {
    Q_OBJECT
public:
    // `next` gives the new value for (value, step, direction); `format` writes it.
    NumberStepper(QLineEdit* field, UpDownButton* button, QTimer* timer, double lo, double hi, double step,
                  std::function<double(double, double, int)> next, std::function<QString(double)> format);
    double Step = 0.0;
    int StepDir = 1;
    void SetLimits(double lo, double hi) { lo_ = lo, hi_ = hi; }
    // The steps of the held button, when they follow another rule than the first.
    void SetHeldStep(std::function<double(double, double, int)> held) { held_ = std::move(held); }

    void FieldClicked();         // EditLenMouseDown / EditDegMouseDown
    void ButtonDown(int direction);
    void ButtonUp();
    void TimerTick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool StepOnce(const std::function<double(double, double, int)>& next);
    QLineEdit* field_;
    QTimer* timer_;
    double lo_, hi_;
    std::function<double(double, double, int)> next_;
    std::function<double(double, double, int)> held_;
    std::function<QString(double)> format_;
};
