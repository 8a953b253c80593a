// The firmware download front end: finds out which device class is to be
// loaded, lets the user pick the firmware, writes the boot-loader tool's
// options, frees the serial port for the tool and runs it while its progress
// window is shown, then reopens the drive bus and reconnects the drive.
#pragma once

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"

// Shown for a class the tool has no options for.
inline constexpr char kInvalidDeviceClassText[] = "Keine gültige Geräteklasse!";

// The download procedure; 0 when the user gave up while the device was
// running, else 1.
int CB_LoadFirmwareBrenta(GwCore* widget, GwEvent* event, GwUD userData);

// The callbacks of the chooser, the progress window and the memory dump (not
// the procedure, which the main window's table holds), ended by a null entry.
const GwFuncDesc* FirmwareDownloadCallbacks();
