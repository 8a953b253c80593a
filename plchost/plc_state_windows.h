// The PLC windows of the Pesco device windows: which of the two event
// programs runs, the PLC's load and last error, and the selection of the
// events that start each event program.
#pragma once

#include <cstdint>

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"

class GwCore;

inline constexpr int kPlcLoadParameter = 170;
inline constexpr int kPlcLoadElement = 13;
inline constexpr int kPlcErrorWordParameter = 469;
inline constexpr int kPlcActivityParameter = 554;
// Event selection masks A (496 low half, 497 high half) and B (556, 557),
// element p for event program p.
inline constexpr int kEventMaskALow = 496;
inline constexpr int kEventMaskAHigh = 497;
inline constexpr int kEventMaskBLow = 556;
inline constexpr int kEventMaskBHigh = 557;
inline constexpr int kEventCount = 32;
inline constexpr char kEventContainer[] = "Events";
inline constexpr char kNewPlcMainWindow[] = "5_NewPLC_Main";
inline constexpr char kPlcMainWindow[] = "5_PLC_Main";
// Poll timers: maximum, interval at 9600 baud, minimum.
inline constexpr uint32_t kPlcActivityPollMs[3] = {100000, 4000, 1000};
inline constexpr uint32_t kPlcErrorPollMs[3] = {100000, 2000, 1000};

// The last counters read and the alternation of each event program's
// indicator.
struct PlcActivityState {
    uint32_t LastCounters[2] = {0, 0};
    uint32_t Alternations[2] = {0, 0};
};
PlcActivityState& ThePlcActivityState();

int CB_1_PlcActiveStateTimer(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DvFctNewPlcTimerObject(GwCore* widget, GwEvent* event, GwUD userData);
int CB_NewPlcErrorDiagnose(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CallPlcWindow(GwCore* widget, GwEvent* event, GwUD userData);
int CB_NewPLC_ShowEP0_Events(GwCore* widget, GwEvent* event, GwUD userData);
int CB_NewPLC_ShowEP1_Events(GwCore* widget, GwEvent* event, GwUD userData);
int CB_NewPlcEP0_TakeIt(GwCore* widget, GwEvent* event, GwUD userData);
int CB_NewPlcEP1_TakeIt(GwCore* widget, GwEvent* event, GwUD userData);
int CB_NewPlcEP0_FctOK(GwCore* widget, GwEvent* event, GwUD userData);
int CB_NewPlcEP1_FctOK(GwCore* widget, GwEvent* event, GwUD userData);

// The callbacks of the PLC state and event windows, bound by name.
const GwFuncDesc* PlcStateCallbacks();
