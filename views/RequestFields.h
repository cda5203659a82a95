#pragma once
// Pieces shared by the two table request dialogs: the text of the output
// path, and reading the fields back in a fixed order
// that stops at the first text that is not a number.
#include <QString>
#include <string>

class QLabel;
class QLineEdit;
class QWidget;

// The longest output path a table request takes.
constexpr std::size_t MaxTablePathLength = 255;

// A number as the program writes it.
void SetNumberField(QLineEdit* edit, double value);

// Reads one field into `value`; false (value untouched) when its text is not
// a number, and the user is told which text.
bool ReadDoubleField(const QLineEdit* edit, double& value);
// A count: absolute value, rounded.
bool ReadCountField(const QLineEdit* edit, int& value);

// The output path of the edit in the file system's encoding; false, with a
// message, when it is longer than a request takes.
bool ReadPathField(const QLineEdit* edit, std::string& path);

// A save dialog for the table: title, the current path, the data folder.
// Empty when the user cancels.
std::string ChooseTableFile(const char* title, const std::string& current, const QString& dataFolder);
