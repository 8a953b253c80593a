// The device menus of the main window ("M_LoadFromOther", "M_Store2Other",
// "M_ChooseDevice", "M_KillDevice"), one item per found device with its bus
// address as argument, and the menu and tool callbacks that search, scan,
// choose and uncouple devices.
#pragma once

#include "toolkit/core/gw_event.h"

// Question asked before online work with the active device ends.
inline constexpr int kEndOnlineWorkQuestion = 20;

int CB_SearchDevice(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ScanNetwork(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetActiveDevice(GwCore* widget, GwEvent* event, GwUD userData);
int CB_KillAllDevices(GwCore* widget, GwEvent* event, GwUD userData);

// The per-device items; the argument is the bus address.
int CB_LoadFromOtherDevice(GwCore* widget, GwEvent* event, GwUD address);
int CB_StoreToOtherDevice(GwCore* widget, GwEvent* event, GwUD address);
int CB_ChooseDevice(GwCore* widget, GwEvent* event, GwUD address);
int CB_KillDevice(GwCore* widget, GwEvent* event, GwUD address);
