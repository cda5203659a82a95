#include "platform/Prompter.h"

#include "model/AntennaText.h"
#include "model/NumberText.h"
#include "platform/FormPattern.h"
#include "platform/KeyFilter.h"
#include "platform/SaveName.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QWidget>
#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {

// The width of an input box at the design height of the screen.
constexpr int InputBoxDesignWidth = 270;

// The window that owns a box: the active form, else the application's window.
QWidget* BoxOwner() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    if (QWidget* w = QApplication::activeWindow()) return w;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isWindow()) return w;
    return nullptr;
}

std::string ToUtf8(const QString& s) { return s.toStdString(); }

class QtPrompter : public Prompter {
public:
    int Message(const std::string& text, const std::string& caption, BoxIcon icon, BoxButtons buttons) override {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
            // No GUI: say it on the error stream and take the safe choice.
            std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
            return buttons == BoxButtons::Ok ? BoxOk : buttons == BoxButtons::YesNo ? BoxNo : BoxCancel;
        }
        QMessageBox box(BoxOwner());
        box.setWindowTitle(DisplayQString(caption));
        box.setText(DisplayQString(text));
        switch (icon) {
        case BoxIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case BoxIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case BoxIcon::Question: box.setIcon(QMessageBox::Question); break;
        case BoxIcon::Information: box.setIcon(QMessageBox::Information); break;
        case BoxIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        }
        switch (buttons) {
        case BoxButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case BoxButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case BoxButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case BoxButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        }
        if (!box.parentWidget()) box.setWindowModality(Qt::ApplicationModal);
        box.raise();
        box.activateWindow();
        box.exec();
        QAbstractButton* clicked = box.clickedButton();
        switch (box.standardButton(clicked)) {
        case QMessageBox::Ok: return BoxOk;
        case QMessageBox::Yes: return BoxYes;
        case QMessageBox::No: return BoxNo;
        default:
            // Closing the box counts as its most cautious button.
            return buttons == BoxButtons::Ok ? BoxOk : buttons == BoxButtons::YesNo ? BoxNo : BoxCancel;
        }
    }

    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override {
        return Ask(caption, prompt, value, false);
    }

    std::string OpenFileName(const FileDialogRequest& r) override { return Ask(r, QFileDialog::AcceptOpen); }

protected:
    bool AskNumber(const std::string& caption, const std::string& prompt, std::string& text) override {
        return Ask(caption, prompt, text, true);
    }
    std::string AskSaveFileName(const FileDialogRequest& r) override { return Ask(r, QFileDialog::AcceptSave); }

private:
    bool Ask(const std::string& caption, const std::string& prompt, std::string& value, bool number) {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
        QWidget* owner = BoxOwner();
        QInputDialog box(owner);
        box.setObjectName("InputQuery");
        box.setWindowTitle(DisplayQString(caption));
        box.setLabelText(DisplayQString(prompt));
        box.setTextValue(DisplayQString(value));
        if (number)
            if (auto* line = box.findChild<QLineEdit*>()) InstallCommaToPoint(line);
        // A form like every other: the owner's font and the design width,
        // scaled to the screen; the run goes through the modal routine.
        box.resize(InputBoxDesignWidth, box.sizeHint().height());
        ApplyFormPattern(&box, owner ? owner->font().family() : QString(), ScreenScale());
        if (ShowModal(box) != QDialog::Accepted) return false;
        value = ToUtf8(box.textValue());
        return true;
    }

    std::string Ask(const FileDialogRequest& r, QFileDialog::AcceptMode mode) {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return {};
        QFileDialog dialog(BoxOwner(), DisplayQString(r.caption), DisplayQString(r.folder),
                           DisplayQString(r.filter));
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        // Qt would add the suffix only to a name without a dot, and ask about
        // replacing the name as typed: the name completed here is the one
        // written, so it is the one asked about.
        if (mode == QFileDialog::AcceptSave) dialog.setOption(QFileDialog::DontConfirmOverwrite);
        else if (!r.defaultSuffix.empty()) dialog.setDefaultSuffix(QString::fromStdString(r.defaultSuffix));
        if (!r.fileName.empty()) dialog.selectFile(DisplayQString(r.fileName));
        for (;;) {
            if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
            if (r.chosenFilter)
                *r.chosenFilter =
                    std::max<int>(0, static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter())));
            std::string chosen = QFile::encodeName(dialog.selectedFiles().first()).toStdString();
            if (mode == QFileDialog::AcceptOpen) return chosen;
            chosen = WithOwnExtension(chosen, r.defaultSuffix);
            const QFileInfo info(QFile::decodeName(chosen.c_str()));
            if (!info.exists() ||
                Message(info.fileName().toStdString() + " already exists.\nDo you want to replace it?", r.caption,
                        BoxIcon::Warning, BoxButtons::YesNo) == BoxYes)
                return chosen;
            // No: the dialog again, with the name it would have written.
            dialog.selectFile(info.fileName());
        }
    }
};

QtPrompter& DefaultPrompter() {
    static QtPrompter prompter;
    return prompter;
}

Prompter* Active = nullptr;

int ShowFormatted(const char* caption, BoxIcon icon, BoxButtons buttons, const char* format, va_list args) {
    char text[2048];
    std::vsnprintf(text, sizeof text, format ? format : "", args);
    return CurrentPrompter().Message(text, caption, icon, buttons);
}

}  // namespace

std::string Prompter::SaveFileName(const FileDialogRequest& request) {
    return WithOwnExtension(AskSaveFileName(request), request.defaultSuffix);
}

bool Prompter::NumberQuery(const std::string& caption, const std::string& prompt, std::string& text,
                           double& value) {
    if (!AskNumber(caption, prompt, text)) return false;
    if (StrToDblWhole(value, text)) return true;
    // A text that reads in part would have stood for another number: that is
    // said. One that does not read at all is passed over, as in every field.
    double partial = 0;
    if (StrToDblExpr(partial, text)) ErrorBox(FieldNotANumberText, text.c_str());
    return false;
}

Prompter& CurrentPrompter() { return Active ? *Active : DefaultPrompter(); }

Prompter* SetPrompter(Prompter* prompter) {
    Prompter* previous = Active;
    Active = prompter;
    return previous;
}

void ShowMessage(const std::string& text) {
    CurrentPrompter().Message(text, "KORVA-TEZ", BoxIcon::None, BoxButtons::Ok);
}

int ErrorBox(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int r = ShowFormatted("Error!!!", BoxIcon::Error, BoxButtons::Ok, format, args);
    va_end(args);
    return r;
}

int InfoBox(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int r = ShowFormatted("Info", BoxIcon::Warning, BoxButtons::Ok, format, args);
    va_end(args);
    return r;
}

int YesNoBox(const char* format, ...) {
    va_list args;
    va_start(args, format);
    int r = ShowFormatted("KORVA-TEZ", BoxIcon::Question, BoxButtons::YesNo, format, args);
    va_end(args);
    return r;
}
