// The serial monitor ("SioMonitor": telegram counts by result code and the
// exchange rate) and the bus monitor ("BusMonitor": the active bus's failures
// by category, requests per second and the load against a measured maximum),
// with the four-second maximum-rate test both run. Each monitor keeps one
// program-wide state; every callback returns 1.
#pragma once

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"

class GwCore;

// --- serial monitor ---
// Create binding: remembers the window, empties "Error1" to "Error25" and
// starts the time and the telegram statistics afresh.
int CB_CreateSioMonitor(GwCore* widget, GwEvent* event, GwUD userData);
// Show binding: starts the timer of "Monitor" at 1000 ms.
int CB_ShowSioMonitor(GwCore* widget, GwEvent* event, GwUD userData);
// Timer binding of "Monitor": one update of the counters, "Time" and "BusTax".
int CB_TimerSioMonitor(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ReInitSioStatistic(GwCore* widget, GwEvent* event, GwUD userData);
// Runs the maximum-rate test and tells its result in an information box.
int CB_StartMaxTest(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ExitSioMonitor(GwCore* widget, GwEvent* event, GwUD userData);
// Destroy binding: takes the window out of the window list and forgets it.
int CB_DestroySioMonitor(GwCore* widget, GwEvent* event, GwUD userData);

// --- bus monitor ---
// Show binding: starts the time, the timer of "Monitor" at 2000 ms, and
// shows the active bus (which measures its maximum rate when it is new).
int CB_ShowBusMonitor(GwCore* widget, GwEvent* event, GwUD userData);
// Timer binding of "Monitor": shows the bus, then one update of the counters.
int CB_TimerBusMonitor(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ReInitBusStatistic(GwCore* widget, GwEvent* event, GwUD userData);
// Measures the maximum rate into "MaxTel".
int CB_StartMaxBusTest(GwCore* widget, GwEvent* event, GwUD userData);

// Both monitors' callbacks under their names, ended by the null entry; the
// program joins it into its general table.
const GwFuncDesc* BusMonitorCallbacks();

inline constexpr char kSioMonitorWindow[] = "SioMonitor";
inline constexpr char kBusMonitorWindow[] = "BusMonitor";
