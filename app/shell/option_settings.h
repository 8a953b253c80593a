// Settings of the option book that other windows read: the serial baud codes
// of device parameter 81; and the book's shared cancel. (The plot tool
// setting lives in app/services/plot_tool_setting.h.)
#pragma once

#include <cstdint>
#include <string>

#include "toolkit/core/gw_event.h"

class GwCore;

// The code of a serial baud rate, 0 for a rate the drives do not know.
int BaudRateCode(uint32_t baud);
// The rate of a code; 9600 for a code above the table.
uint32_t BaudRateOfCode(int code);

// Hides the calling widget's frame; the cancel of the option book and of
// several small dialogs (CB_CancelPartBase, CB_CloseDebugOption,
// CB_DebugCancel). Returns 1.
int CB_CancelOption(GwCore* widget, GwEvent* event, GwUD userData);
