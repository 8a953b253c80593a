// The memory dump window's callbacks. They act only once its refresh counter
// has passed 4; nothing in the program advances it, and no window definition
// offers the dump.
#pragma once

#include <cstdint>

#include "toolkit/core/gw_event.h"

struct MemoryDumpState {
    int refreshCount = 0;
    uint32_t address = 0;
};
MemoryDumpState& TheMemoryDumpState();

// Reads the address from the widget's text, in hexadecimal.
int CB_SetDumpAddress(GwCore* widget, GwEvent* event, GwUD userData);
// Move the address by 80 bytes, never below 0.
int CB_IncrementAdr(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DecrementAdr(GwCore* widget, GwEvent* event, GwUD userData);
// Hides the window and clears its state.
int CB_HideDump(GwCore* widget, GwEvent* event, GwUD userData);
