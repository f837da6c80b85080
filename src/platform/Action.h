#pragma once

#include "data/DbError.h"
#include "platform/Dialogs.h"
#include "platform/Failure.h"

#include <QString>

#include <exception>
#include <new>
#include <utility>

namespace talveros::platform {

// What the administrator is told of a fault of the program itself: never passed off
// as something the server or the data said.
QString programFaultText(const char *what);
QString outOfMemoryText();

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
    } catch (const data::DbError &e) {
        failure = e.text();
    } catch (const Failure &e) {
        failure = QString::fromUtf8(e.what());
    } catch (const std::bad_alloc &) {
        failure = outOfMemoryText();
    } catch (const std::exception &e) {
        failure = programFaultText(e.what());
    } catch (...) {
        failure = programFaultText(nullptr);
    }
    dialogs.message(failure, QString::fromLatin1(kAppTitle), Icon::Critical, Buttons::Ok);
    return false;
}

} // namespace talveros::platform
