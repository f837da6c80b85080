#pragma once

#include "platform/Dialogs.h"

#include <QString>

#include <exception>
#include <utility>

namespace talveros::platform {

// Every event handler runs its action through here: a failure ends the action, not
// the program. The administrator sees the description in a box with the application
// title, the window stays usable, and the next action starts afresh. Returns whether
// the action ran to its end.
template <class Action>
bool runAction(Dialogs &dialogs, Action &&action)
{
    QString failure;
    try {
        std::forward<Action>(action)();
        return true;
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    } catch (...) {
        failure = QStringLiteral("Onbekende fout.");
    }
    dialogs.message(failure, QString::fromLatin1(kAppTitle), Icon::Critical, Buttons::Ok);
    return false;
}

} // namespace talveros::platform
