#pragma once
// A Prompter for tests: records every box and dialog and answers from queues
// filled beforehand. An unscripted question is counted and answered with the
// safe choice (OK for a plain box, otherwise No or Cancel; dialogs cancel).
#include "platform/Prompter.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        std::string kind;  // "message", "input", "open", "save"
        std::string caption;
        std::string text;  // message text, prompt, or proposed file name
        BoxIcon icon = BoxIcon::None;
        BoxButtons buttons = BoxButtons::Ok;
    };

    void AnswerMessage(int result) { messages_.push_back(result); }
    void AnswerInput(bool accept, std::string value) { inputs_.push_back({accept, std::move(value)}); }
    // An empty path cancels the dialog; `filter` is the entry of the dialog's
    // filter that the answer chooses.
    void AnswerFile(std::string path, int filter = 0) { files_.push_back({std::move(path), filter}); }

    const std::vector<Shown>& ShownBoxes() const { return shown_; }
    const Shown& Last() const { return shown_.back(); }
    int Unscripted() const { return unscripted_; }
    // True when every scripted answer was used.
    bool AllAnswersUsed() const { return messages_.empty() && inputs_.empty() && files_.empty(); }
    void Clear();
    // Called as each box or dialog is shown, while the screen is as the user
    // would see it under the box (Clear keeps it).
    std::function<void(const Shown&)> WhenShown;

    int Message(const std::string& text, const std::string& caption, BoxIcon icon, BoxButtons buttons) override;
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    std::string OpenFileName(const FileDialogRequest& request) override;

protected:
    std::string AskSaveFileName(const FileDialogRequest& request) override;

private:
    void Record(Shown shown);
    std::string NextFile(const char* kind, const FileDialogRequest& request);

    std::deque<int> messages_;
    std::deque<std::pair<bool, std::string>> inputs_;
    std::deque<std::pair<std::string, int>> files_;
    std::vector<Shown> shown_;
    int unscripted_ = 0;
};
