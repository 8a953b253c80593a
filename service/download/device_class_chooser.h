// The device-class chooser of a firmware download into a drive in boot mode:
// the user picks the class (and for Ruvex and Pesco the variant); the label
// file may relabel or hide each class.
#pragma once

#include "toolkit/core/gw_event.h"

inline constexpr char kChooseLoaderDeviceWindow[] = "ChooseLoaderDevice";

struct DeviceClassChoice {
    int deviceClass = 0;  // 0 when none was selected
    int variant = 0;      // the variant chooser's selection index
    bool cancelled = false;
};

// Runs the chooser modally over the main window and gives its choice; false
// when it was cancelled or closed without OK.
bool RunDeviceClassChooser(DeviceClassChoice& choice);
// The last choice.
const DeviceClassChoice& ChosenDeviceClass();

int CB_ShowDeviceClass(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ChooseDeviceClass(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CancelChooseDeviceClass(GwCore* widget, GwEvent* event, GwUD userData);
