#pragma once
// Opens a program, document or web address the way a desktop's "open" does,
// without waiting for it and without passing anything through a shell.
#include <string>

// An executable file is started with the argument (none when empty); any
// other file or an http(s) address goes to the desktop's handler. Returns
// false when nothing could be started.
bool ShellOpen(const std::string& target, const std::string& argument = {});
