#include "platform/CommandGuard.h"

#include "platform/Prompter.h"

#include <exception>

bool RunGuarded(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const std::exception& e) {
        ErrorBox("%s", e.what());
    } catch (...) {
        ErrorBox("%s", "The command ended with an unexpected error.");
    }
    return false;
}
