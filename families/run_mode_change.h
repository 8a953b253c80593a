// Changing a drive's run mode: after the application parameter (152) was
// written, the drive takes a while to report the new mode in its run-mode
// parameter (151); the program waits for it, asking again while it reports
// another one.
#pragma once

#include <cstdint>

class DeviceSetupContext;
class GwCore;

// Parameter that selects the run mode; parameter 151 confirms it.
inline constexpr int kRunModeSelectParameter = 152;
// Tries to reach a run mode, each after a wait without events, ms.
inline constexpr int kRunModeTries = 9;
inline constexpr uint32_t kRunModeSettleMs = 1000;
// The error text when the drive never reported the mode (the entry's text).
inline constexpr char kRunModeNotReachedFormat[] = "Fehler bei beim Umschalten auf Betriebsart \"%s\"";

enum class RunModeReached { kYes, kNo, kWriteFailed };

// Up to kRunModeTries times: waits kRunModeSettleMs without processing
// events and reads 151 by the context's read rule (a failed read uses up the
// try); when it reports `mode`, kYes; else writes `mode` to 152 again by the
// write rule. A refused write shows device error 5 for the context's base
// over `errorParent` and gives kWriteFailed.
RunModeReached AwaitRunMode(DeviceSetupContext& context, int mode, GwCore* errorParent);
