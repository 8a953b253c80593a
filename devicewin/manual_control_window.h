// The manual control window "DeviceControl": the user drives the active
// device by hand through a device control panel (control type, reference by
// text or slider, Start, Stop, Reverse, Halt, ErrorReset) while the actual
// value is shown live. One such window exists at a time; its widgets and its
// panel are kept in one program-wide record while it is open.
#pragma once

#include <cstdint>

#include "toolkit/core/gw_ref.h"

class DeviceControl;
class GwCore;
class GwUD;
struct GwEvent;

struct ManualControlState {
    GwRef<> Window;
    GwRef<> Start;
    GwRef<> Stop;
    GwRef<> Reverse;
    GwRef<> Halt;
    GwRef<> ErrorReset;
    GwRef<> CtrlType;
    GwRef<> RefVal;
    GwRef<> RefValSlider;
    GwRef<> ActValUnit;
    GwRef<> ActVal;
    // Owned from the window's show to its destroy.
    DeviceControl* Panel = nullptr;
    // Set by every key tick; lets at most three slider events per tick reach
    // the drive.
    bool SliderThrottle = false;
    // Slider events counted over the program's life.
    int SliderEvents = 0;
};
ManualControlState& TheManualControlState();

// The poll record of both timers: maximum, interval at 9600 baud, minimum (ms).
inline constexpr uint32_t kManualControlPollMaximumMs = 100000;
inline constexpr uint32_t kManualControlPollAt9600Ms = 1000;
inline constexpr uint32_t kManualControlPollMinimumMs = 500;

// The window's callbacks; each returns 1.
int CTRL_CreateControl(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_ShowControl(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_CloseControl(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_DestroyControl(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_TimerUpdateKeys(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_TimerUpdateActVal(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_SetCtrlType(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_SetRefVal(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_SetRefValSlider(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_SetRefValSliderDirect(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_Start(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_Stop(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_Reverse(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_Halt(GwCore* widget, GwEvent* event, GwUD userData);
int CTRL_ErrorReset(GwCore* widget, GwEvent* event, GwUD userData);

// The main window's command: raises a listed "DeviceControl"; else, after
// the manual-mode risk note, takes the active drive over with its family's
// panel and opens the window on it. Returns 1.
int CB_CallDeviceControl(GwCore* widget, GwEvent* event, GwUD userData);
