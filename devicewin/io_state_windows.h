// The I/O state windows of the five drive models: the terminals as lamps with
// their labels or function texts, the analogue voltages and the extension
// module, polled on the window's timer (lamps, voltages, module) and on the
// timer of "enpo" (function assignments); "fct" switches the terminal texts
// between labels and functions.
#pragma once

#include "toolkit/core/gw_event.h"

class GwCore;

// Whether the active device's firmware (parameter 92, read from the device)
// lies in 200 to 209; false when it cannot be read, without a message.
bool Talin_IsVersion200();

#define TORVAN_IO_STATE_CALLBACKS(Model)                                       \
    int Model##_Create_IOState(GwCore* widget, GwEvent* event, GwUD userData); \
    int Model##_Show_IOState(GwCore* widget, GwEvent* event, GwUD userData);   \
    int Model##_Hide_IOState(GwCore* widget, GwEvent* event, GwUD userData);   \
    int Model##_Timer_IOState(GwCore* widget, GwEvent* event, GwUD userData);  \
    int Model##_Timer_fct(GwCore* widget, GwEvent* event, GwUD userData);      \
    int Model##_Switch_IOStat(GwCore* widget, GwEvent* event, GwUD userData);

TORVAN_IO_STATE_CALLBACKS(Ruvex)
TORVAN_IO_STATE_CALLBACKS(Marlo)
TORVAN_IO_STATE_CALLBACKS(Pesco)
TORVAN_IO_STATE_CALLBACKS(Talin)
TORVAN_IO_STATE_CALLBACKS(Wenzo)

#undef TORVAN_IO_STATE_CALLBACKS
