#pragma once
// How the main window hands programs, documents and web pages to the desktop.
// The help and news files are opened as documents and never run, whatever a
// language file names. Tests replace the function to see what would open.
#include <functional>
#include <string>

enum class OpenKind { Program, Document, WebPage };

// Returns false when nothing could be started.
extern std::function<bool(OpenKind kind, const std::string& target, const std::string& argument)> ExternalOpen;
