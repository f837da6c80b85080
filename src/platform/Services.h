#pragma once

#include "platform/AppControl.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Workstation.h"

namespace talveros::platform {

// The workstation as the windows see it. main() wires the real services; tests wire
// fakes.
struct Services {
    Dialogs &dialogs;
    Clock &clock;
    Printers &printers;
    Workstation &workstation;
    AppControl &app;
};

} // namespace talveros::platform
