#include "views/RequestFields.h"

#include "model/NumberText.h"
#include "platform/KeyFilter.h"
#include "platform/Prompter.h"
#include "platform/SaveName.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>

namespace {

std::string FieldText(const QLineEdit* edit) { return edit->text().trimmed().toStdString(); }

// An empty field reads as 0 elsewhere; a request wants every number given.
void ReportNotANumber(const std::string& text) {
    if (text.empty())
        ErrorBox("A field is empty: every field needs a number.");
    else
        ErrorBox("\"%s\" is not a valid number.", text.c_str());
}

}  // namespace

void SetNumberField(QLineEdit* edit, double value) { edit->setText(QString::fromStdString(DblToStr(value))); }

bool ReadDoubleField(const QLineEdit* edit, double& value) {
    const std::string text = FieldText(edit);
    double parsed = 0.0;
    if (text.empty() || !StrToDblExpr(parsed, text)) {
        ReportNotANumber(text);
        return false;
    }
    value = parsed;
    return true;
}

bool ReadCountField(const QLineEdit* edit, int& value) {
    const std::string text = FieldText(edit);
    int parsed = 0;
    if (text.empty() || !StrToAbsIntExpr(parsed, text)) {
        ReportNotANumber(text);
        return false;
    }
    value = parsed;
    return true;
}

bool ReadPathField(const QLineEdit* edit, std::string& path) {
    // A name typed here is completed as one chosen in the file dialog.
    const std::string local = WithOwnExtension(QFile::encodeName(edit->text()).toStdString(), "csv");
    if (local.size() > MaxTablePathLength) {
        ErrorBox("The file name is too long: at most %zu characters.", MaxTablePathLength);
        return false;
    }
    path = local;
    return true;
}

std::string ChooseTableFile(const char* title, const std::string& current, const QString& dataFolder) {
    FileDialogRequest request;
    request.caption = title;
    request.filter = "CSV table(*.csv)";
    request.defaultSuffix = "csv";
    request.fileName = current;
    request.folder = QFile::encodeName(dataFolder).toStdString();
    return CurrentPrompter().SaveFileName(request);
}
