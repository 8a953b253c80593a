// The option book "Options": which drive bus to use and its settings, what
// start-up does, what exit saves, refresh rate, animations, device errors,
// the layout option and the user data directory, all kept in the main
// profile. Accepting it applies a changed bus at once.
#pragma once

#include "toolkit/core/gw_event.h"

class GwCore;

// Show callback of the book: fills it from the open buses and the main
// profile and sets the program flags it shows. Error message 7 when one of
// its widgets is missing. Returns 1.
int CB_ShowOption(GwCore* widget, GwEvent* event, GwUD userData);
// OK of the book: applies the bus choice, saves every option, hides the
// book. A bus that does not come up leaves the book open and saves only the
// bus choice. Returns 1.
int CB_SetOption(GwCore* widget, GwEvent* event, GwUD userData);
// Lets the user pick the user data directory into "UserDir"; 0 when
// cancelled, else 1.
int CB_SearchUserDir(GwCore* widget, GwEvent* event, GwUD userData);
// Menu callback: shows the book, loading and listing it the first time;
// error message 7 when it cannot be loaded. Returns 1.
int CB_ShowOptionBook(GwCore* widget, GwEvent* event, GwUD userData);
