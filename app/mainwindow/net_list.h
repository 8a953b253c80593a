// The network list: the active bus (name, speed, device count), one row per
// device with its live state, and the active device with its picture, type
// and alias. Also the serial monitor and text viewer callbacks of the main
// menu.
#pragma once

#include <cstdint>

#include "toolkit/core/gw_event.h"

inline constexpr char kNetListWindow[] = "NetList";
inline constexpr char kNoDevicePicture[] = "NIX.PCX";
inline constexpr char kDefaultDevicePicture[] = "DefaultDevice";
// The list's refresh before the poll-timer rule takes over.
inline constexpr uint32_t kNetListFirstRefreshMs = 500;

namespace netlist {

// Each does nothing while no network list is open.
void FillBusFields();
void FillDeviceList();
void FillActiveDeviceFields();
void ClearActiveDeviceFields();
// The open list's frame, or null.
GwCore* Window();

}  // namespace netlist

int NetList_show(GwCore* widget, GwEvent* event, GwUD userData);
int CB_UpdateDeviceState(GwCore* widget, GwEvent* event, GwUD userData);
int DeviceList_Default(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetAliasName(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CloseNetList(GwCore* widget, GwEvent* event, GwUD userData);
int CB_Netlist_Key(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SioMonitor(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CreateTextViewer(GwCore* widget, GwEvent* event, GwUD userData);
