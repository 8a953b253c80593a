// The firmware download front end: finds out which device class is to be
// loaded, lets the user pick the firmware, writes the boot-loader tool's
// options, frees the serial port for the tool and runs it while its progress
// window is shown, then reopens the drive bus and reconnects the drive. Also
// the callbacks of the device-class chooser, of the progress window and of the
// memory dump window.
#pragma once

#include <cstdint>

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"

inline constexpr char kChooseLoaderDeviceWindow[] = "ChooseLoaderDevice";
inline constexpr char kFirmwareProgressWindow[] = "ProgressFirmld";
// Shown for a class the tool has no options for.
inline constexpr char kInvalidDeviceClassText[] = "Keine gültige Geräteklasse!";
// Shown when the user tries to close the progress window during a download.
inline constexpr char kDownloadNotInterruptibleText[] =
    "Die Übertragung einer neuen Gerätesoftware kann nicht unterbrochen werden";

// The download procedure; 0 when the user gave up while the device was
// running, else 1.
int CB_LoadFirmwareBrenta(GwCore* widget, GwEvent* event, GwUD userData);

// The device-class chooser.
int CB_ShowDeviceClass(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ChooseDeviceClass(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CancelChooseDeviceClass(GwCore* widget, GwEvent* event, GwUD userData);

// The progress window: binds its fields to the tool's console; refuses to
// close while a download runs.
int CB_ShowFirmldProgress(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CloseFirmldProgress(GwCore* widget, GwEvent* event, GwUD userData);

// The memory dump window. They act only once its refresh counter has passed
// 4, which nothing in the program advances.
int CB_SetDumpAddress(GwCore* widget, GwEvent* event, GwUD userData);
int CB_IncrementAdr(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DecrementAdr(GwCore* widget, GwEvent* event, GwUD userData);
int CB_HideDump(GwCore* widget, GwEvent* event, GwUD userData);

// The chooser's result: the class (0 when none was selected) and the variant.
struct DeviceClassChoice {
    int deviceClass = 0;
    int variant = 0;
    bool cancelled = false;
};
const DeviceClassChoice& ChosenDeviceClass();

// Whether the last download has ended (the progress window may close).
bool FirmwareDownloadFinished();

// The memory dump window's state.
struct MemoryDumpState {
    int refreshCount = 0;
    uint32_t address = 0;
};
MemoryDumpState& TheMemoryDumpState();

// The callbacks above but the procedure itself (which the main window's table
// holds), ended by a null entry, for the table of the service windows.
const GwFuncDesc* FirmwareDownloadCallbacks();
