// A library of parameter sets from one device: every run mode of the active
// device is installed in turn and the device's data set saved after each into
// the user data directory.
#pragma once

#include <string>

#include "families/run_mode_change.h"
#include "toolkit/core/gw_event.h"

class GwCore;

// The question before the run, with its line breaks.
inline constexpr char kRunModeSetsQuestion[] =
    "Nacheinander werden alle verfügbaren Betriebsarten des Gerätes installiert und in \"UserData\" "
    "gespeichert.\nDie Verarbeitung kann nicht unterbrochen werden.\n\nMöchten Sie fortfahren?";

int CB_GenerateRunModeParaSets(GwCore* widget, GwEvent* event, GwUD userData);
