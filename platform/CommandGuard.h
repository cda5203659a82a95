#pragma once
// A command of the user runs guarded: whatever it throws is shown in the error
// box and goes no further, so no exception reaches Qt's event loop and the
// program goes on. Guards that restore state (busy flag, cursor) are the
// command's own RAII objects; they have run when the box shows.
#include <QObject>

#include <functional>
#include <type_traits>
#include <utility>

// Runs `command`; false when it threw (the error box has been shown).
bool RunGuarded(const std::function<void()>& command);

// Calls `command` with the signal's arguments when it takes them, else without.
template <class Command, class... Args>
void InvokeCommand(Command& command, Args&&... args) {
    if constexpr (std::is_invocable_v<Command&, Args...>)
        command(std::forward<Args>(args)...);
    else
        command();
}

// Connects `signal` of `sender` to `command`, run guarded, for the lifetime
// of `context`. The one way a form connects a command.
template <class Sender, class Signal, class Command>
QMetaObject::Connection ConnectGuarded(Sender* sender, Signal signal, const QObject* context, Command command) {
    return QObject::connect(sender, signal, context, [command = std::move(command)](auto&&... args) mutable {
        RunGuarded([&] { InvokeCommand(command, std::forward<decltype(args)>(args)...); });
    });
}

// The same for a member function of `receiver` (a slot such as
// QDialog::accept, or a handler of the form).
template <class Sender, class Signal, class Receiver, class Method>
    requires std::is_member_function_pointer_v<Method>
QMetaObject::Connection ConnectGuarded(Sender* sender, Signal signal, Receiver* receiver, Method method) {
    return ConnectGuarded(sender, signal, receiver, [receiver, method](auto&&... args) {
        if constexpr (std::is_invocable_v<Method, Receiver*, decltype(args)...>)
            std::invoke(method, receiver, std::forward<decltype(args)>(args)...);
        else
            std::invoke(method, receiver);
    });
}
