#include "engine/EngineState.h"

#include <utility>

namespace {

std::vector<std::string>* logLines = nullptr;
std::function<void(const std::string&)> logAdd;
std::function<void()> logClear;
std::function<void(const std::string&)> noticeShow;

}  // namespace

void SetEngineLog(std::vector<std::string>* lines) {
    logLines = lines;
    logAdd = nullptr;
    logClear = nullptr;
}

void SetEngineLog(std::function<void(const std::string&)> add, std::function<void()> clear) {
    logLines = nullptr;
    logAdd = std::move(add);
    logClear = std::move(clear);
}

void AddEngineLog(const std::string& line) {
    // Sweeps and optimizer runs clear the flag: their steps must stay quiet.
    if (!JobDef.Interactive) return;
    if (logLines) logLines->push_back(line);
    else if (logAdd) logAdd(line);
}

void ClearEngineLog() {
    if (!JobDef.Interactive) return;
    if (logLines) logLines->clear();
    else if (logClear) logClear();
}

void SetEngineNotice(std::function<void(const std::string&)> show) { noticeShow = std::move(show); }

void ShowEngineNotice(const std::string& text) {
    if (noticeShow) noticeShow(text);
}
