#pragma once
// Log lines from the engine's message table (EngineMessages, index by
// EngineMessageIndex). A translated entry whose conversions do not fit the
// arguments is replaced by the English default, never used as a format.
#include <string>

// The entry formatted with its arguments (no argument, one int, one double,
// or an int and a double).
std::string EngineMessageText(int index);
std::string EngineMessageText(int index, int value);
std::string EngineMessageText(int index, double value);
std::string EngineMessageText(int index, int value, double value2);

// The same, appended to the log (only while JobDef.Interactive is set).
void LogEngineMessage(int index);
void LogEngineMessage(int index, int value);
void LogEngineMessage(int index, double value);
void LogEngineMessage(int index, int value, double value2);
