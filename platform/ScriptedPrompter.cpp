#include "platform/ScriptedPrompter.h"

void ScriptedPrompter::Clear() {
    messages_.clear();
    inputs_.clear();
    files_.clear();
    shown_.clear();
    unscripted_ = 0;
}

void ScriptedPrompter::Record(Shown shown) {
    shown_.push_back(std::move(shown));
    if (WhenShown) WhenShown(shown_.back());
}

int ScriptedPrompter::Message(const std::string& text, const std::string& caption, BoxIcon icon,
                              BoxButtons buttons) {
    Record({"message", caption, text, icon, buttons});
    if (!messages_.empty()) {
        int r = messages_.front();
        messages_.pop_front();
        return r;
    }
    if (buttons == BoxButtons::Ok) return BoxOk;
    ++unscripted_;
    return buttons == BoxButtons::YesNo ? BoxNo : BoxCancel;
}

bool ScriptedPrompter::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    Record({"input", caption, prompt, BoxIcon::None, BoxButtons::OkCancel});
    if (inputs_.empty()) {
        ++unscripted_;
        return false;
    }
    auto [accept, answer] = inputs_.front();
    inputs_.pop_front();
    if (accept) value = answer;
    return accept;
}

std::string ScriptedPrompter::NextFile(const char* kind, const FileDialogRequest& request) {
    Record({kind, request.caption, request.fileName, BoxIcon::None, BoxButtons::OkCancel});
    if (files_.empty()) {
        ++unscripted_;
        return {};
    }
    auto [path, filter] = files_.front();
    files_.pop_front();
    if (request.chosenFilter) *request.chosenFilter = filter;
    return path;
}

std::string ScriptedPrompter::OpenFileName(const FileDialogRequest& request) { return NextFile("open", request); }
std::string ScriptedPrompter::AskSaveFileName(const FileDialogRequest& request) { return NextFile("save", request); }
