// The main window's watch over the active device: a changed signature
// uncouples and searches again; while an uncoupling is pending the device's
// service state is shown until it ends.
#pragma once

#include "toolkit/core/gw_event.h"

inline constexpr int kSignatureChangedMessage = 39;
inline constexpr char kSignatureChangeLog[] = "CB_CheckDeviceSignature: Signature change detected";
inline constexpr char kSignatureIgnoredLog[] = "CB_CheckDeviceSignature: Signature change ignored in user level 6";

// The timer callback of "MainContainer".
int CB_CheckDeviceSignature(GwCore* widget, GwEvent* event, GwUD userData);
// Ends the service-state messages of the watch.
void DestroyDeviceStateMessages();
