#pragma once
// Every message box, question, input query and file dialog of the program goes
// through one replaceable service, so that tests can script the answers and
// never block on a modal box. The default service shows Qt dialogs owned by
// the active window.
#include <string>

enum class BoxIcon { None, Error, Warning, Question, Information };
enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
// Results keep the values of the Windows box results that callers compare with.
enum BoxResult : int { BoxOk = 1, BoxCancel = 2, BoxYes = 6, BoxNo = 7 };

struct FileDialogRequest {
    std::string caption;
    std::string folder;         // start folder
    std::string fileName;       // proposed name
    std::string filter;         // "Antenna (*.kva);;All files (*)"
    std::string defaultSuffix;  // a save's own extension ("kva"), added unless the name ends in it
    int* chosenFilter = nullptr; // when set, receives the 0-based entry of `filter` the user chose
};

class Prompter {
public:
    virtual ~Prompter() = default;
    // Texts are UTF-8 (bytes that are not are shown as Windows-1252).
    virtual int Message(const std::string& text, const std::string& caption, BoxIcon icon, BoxButtons buttons) = 0;
    // `value` holds the proposed text and receives the answer; false on Cancel.
    virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
    // An input query for one number: the box takes a typed comma as the
    // decimal point, as every number field does. True with `value` when the
    // answer reads as one number; otherwise false, as for Cancel, and an
    // answer of which only a part reads ("1.5.2") is said so. `text` holds
    // the proposed text and receives the answer.
    bool NumberQuery(const std::string& caption, const std::string& prompt, std::string& text, double& value);
    // The chosen path, or empty when the user cancelled.
    virtual std::string OpenFileName(const FileDialogRequest& request) = 0;
    // The same for a save, completed with the request's own extension
    // (WithOwnExtension), also where the typed name has a dot of its own.
    std::string SaveFileName(const FileDialogRequest& request);

protected:
    // The box of NumberQuery; an input query unless the service has a number box.
    virtual bool AskNumber(const std::string& caption, const std::string& prompt, std::string& text) {
        return InputQuery(caption, prompt, text);
    }
    // The path the user chose in a save dialog.
    virtual std::string AskSaveFileName(const FileDialogRequest& request) = 0;
};

// The service in use.
Prompter& CurrentPrompter();
// Replaces the service and returns the one that was in use; nullptr restores
// the Qt dialogs.
Prompter* SetPrompter(Prompter* prompter);

// Installs a service for the lifetime of the guard.
class ScopedPrompter {
public:
    explicit ScopedPrompter(Prompter& prompter) : previous_(SetPrompter(&prompter)) {}
    ~ScopedPrompter() { SetPrompter(previous_); }
    ScopedPrompter(const ScopedPrompter&) = delete;
    ScopedPrompter& operator=(const ScopedPrompter&) = delete;

private:
    Prompter* previous_;
};

// The plain box of the file commands ("Can not open " + name): caption
// "KORVA-TEZ", no icon, OK.
void ShowMessage(const std::string& text);

// printf-style boxes; the text is cut at 2 KB.
// Error: caption "Error!!!", error icon, OK. Returns the box result.
int ErrorBox(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Information: caption "Info", exclamation icon, OK.
int InfoBox(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Question: caption "KORVA-TEZ", question icon, Yes and No; returns BoxYes or BoxNo.
int YesNoBox(const char* format, ...) __attribute__((format(printf, 1, 2)));
