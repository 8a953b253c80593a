// The callbacks of the motor identification window: the start of a run and
// the close of the window, bound by name in the device windows of the Ruvex
// and Pesco families.
#pragma once

#include "toolkit/core/gw_event.h"

class GwCore;
struct GwFuncDesc;

// Main messages of the start and the close.
inline constexpr int kIdentStillRunningQuestion = 123;
inline constexpr int kIdentStopRunWarning = 125;
inline constexpr int kIdentStopRunError = 126;
inline constexpr int kIdentFailedInfo = 127;
inline constexpr int kCloseControlWindowsForIdentQuestion = 148;
inline constexpr int kStoreIdentResultsQuestion = 149;
inline constexpr int kWindowElementMissingMessage = 7;

// The toggle that says the rated torque is given in place of the rated power.
inline constexpr char kRatedTorqueToggle[] = "RatedTorque";
// Operating mode of the drive during a run.
inline constexpr double kIdentOperatingModeValue = 3.0;
// Wait after stopping a run found active before asking again, ms.
inline constexpr unsigned kIdentStopWaitMs = 500;

// 1 when handled (also when the user declines), 0 after an error box.
int CB_5_IdentMotor(GwCore* widget, GwEvent* event, GwUD userData);
// 1, or 0 after an error box.
int CB_CloseMotorIdent(GwCore* widget, GwEvent* event, GwUD userData);

// Both by name, ended by the null entry.
const GwFuncDesc* MotorIdentCallbacks();
