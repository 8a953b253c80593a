// The device messages window: polls the number the drive reports in
// parameter 205, turns it into a text from the device's message file and
// keeps a log with the newest line first, which lives in the device's text
// file while the window is closed.
#pragma once

#include "toolkit/core/gw_event.h"

class GwCore;

// Parameter through which the drive reports a message number.
inline constexpr int kDeviceMessageParameter = 205;
// The log is emptied before a new line when its length and this exceed the
// widget's maximum length.
inline constexpr size_t kDeviceMessageHeadroom = 2048;

int DMSG_Show(GwCore* widget, GwEvent* event, GwUD userData);
int DMSG_Hide(GwCore* widget, GwEvent* event, GwUD userData);
int DMSG_Timer(GwCore* widget, GwEvent* event, GwUD userData);
int DMSG_Reset(GwCore* widget, GwEvent* event, GwUD userData);
int DMSG_SaveAs(GwCore* widget, GwEvent* event, GwUD userData);
