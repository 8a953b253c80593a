// Ending the program: the main window's close request asks in "ExitTorvel";
// its button stores the main window's place, closes every window, saves the
// bus settings, aliases and docking layout to "Torvan.ini" and ends Main.
#pragma once

#include "toolkit/core/gw_event.h"

class GwCore;

// Close request of the main window: runs "ExitTorvel" modally. 1 when the
// exit ran (the frame may close), 0 when the user cancelled.
int CB_CanExitTorvel(GwCore* widget, GwEvent* event, GwUD userData);
// Show callback of "ExitTorvel": the label texts of [CloseWindow].
int CB_ShowCloseTorvelText(GwCore* widget, GwEvent* event, GwUD userData);
// The confirming button of "ExitTorvel". Returns 1.
int CB_ExitTorvel(GwCore* widget, GwEvent* event, GwUD userData);

// The exit of the confirming button without the dialogue, for a program
// that a signal asked to end (once its main window's run has ended): logs
// the signal, then stores the places, closes the windows, saves
// "Torvan.ini" and ends Main. Does nothing when Main has ended already.
void ExitOnSignal(int signal);
