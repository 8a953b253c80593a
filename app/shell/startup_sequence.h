// The start-up sequence: armed by the main window's first show, it reads the
// run-time options of the main profile, opens the configured bus, makes the
// first device found active, shows the network list, the bus state and the
// user level, and opens the file named on the command line.
#pragma once

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_ref.h"

class GwCore;

// Set by the first run of RunStartupSequence, before its steps (a guard).
extern bool StartupDoneFlag;
// Set once the first run's steps have ended (bus, device, network list and
// user level shown).
extern bool StartupStepsFinished;
// The toolbar's device list, once the docking manager exists.
extern GwRef<> DeviceListWidget;

// Timer callback of the main frame: stops the timer, reads "UserState", lets
// the docking frames show, runs the sequence. Returns 0.
int CB_StartMacro(GwCore* widget, GwEvent* event, GwUD userData);
// Steps 1 to 6 on the first call only; the command-line file on every call.
// Returns 1.
int RunStartupSequence(GwCore* widget, GwEvent* event, GwUD userData);

// Shows the listed network list again, or loads, shows and lists it offline.
void OpenNetListWindow();
// Hides the listed network list and takes it off the list.
void CloseNetListWindow();
// Menu callback: the network list.
int CB_CallNetList(GwCore* widget, GwEvent* event, GwUD userData);
