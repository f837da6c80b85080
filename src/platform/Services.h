#pragma once

#include "platform/AppControl.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/IcmpEcho.h"
#include "platform/PageOutput.h"
#include "platform/Shell.h"
#include "platform/Sound.h"
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
    Sound &sound;
    Shell &shell;
    IcmpEcho &icmp;
    PageOutput &pages;
};

} // namespace talveros::platform
