#include "engine/EngineMessageLog.h"

#include "engine/EngineState.h"
#include "model/CheckedFormat.h"
#include "model/Messages.h"

namespace {

// The runtime entry when it fits the arguments, else the English default.
const char* FormatFor(int index, const char* kinds) {
    if (index < 0 || index >= EngineMessageCount) return "";
    if (FormatMatchesKinds(EngineMessages[index], kinds)) return EngineMessages[index];
    if (FormatMatchesKinds(DefaultEngineMessages[index], kinds)) return DefaultEngineMessages[index];
    return "";
}

}  // namespace

std::string EngineMessageText(int index) { return FormatInCLocale(FormatFor(index, ""), 0); }

std::string EngineMessageText(int index, int value) { return FormatInCLocale(FormatFor(index, "i"), value); }

std::string EngineMessageText(int index, double value) { return FormatInCLocale(FormatFor(index, "f"), value); }

std::string EngineMessageText(int index, int value, double value2) {
    return FormatInCLocale(FormatFor(index, "if"), value, value2);
}

void LogEngineMessage(int index) {
    if (JobDef.Interactive) AddEngineLog(EngineMessageText(index));
}

void LogEngineMessage(int index, int value) {
    if (JobDef.Interactive) AddEngineLog(EngineMessageText(index, value));
}

void LogEngineMessage(int index, double value) {
    if (JobDef.Interactive) AddEngineLog(EngineMessageText(index, value));
}

void LogEngineMessage(int index, int value, double value2) {
    if (JobDef.Interactive) AddEngineLog(EngineMessageText(index, value, value2));
}
