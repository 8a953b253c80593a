// Small functions of the Ruvex setup windows: the positioning programs edited
// in the external editor, the CPU-load display and its reset, the error
// reset, the fitted bus option modules and two visibility rules.
#pragma once

#include <string>

#include "devicewin/poll_timer.h"

class GwCore;
class GwUD;
class ParaBase;
struct GwEvent;

// The CPU-load parameters: 170 to 172 are shown element by element in the
// widgets "PN_<number>[<element>]"; 1 written to 173 resets the measurement.
inline constexpr int kCpuLoadFirstParameter = 170;
inline constexpr int kCpuLoadLastParameter = 172;
inline constexpr int kCpuLoadResetParameter = 173;
// 1 written to 74 resets the device error.
inline constexpr int kDeviceErrorResetParameter = 74;
// The bus option modules: the module types of the two slots and the bus
// protocol text.
inline constexpr int kOptionSlot2Parameter = 579;
inline constexpr int kOptionSlot1Parameter = 578;
inline constexpr int kBusProtocolParameter = 654;

struct RuvexSideWindowsState {
    // The CPU-load window's timer: at most 100 s, 2.5 s at 9600 baud, at
    // least 1 s.
    PollTimer CpuLoadTimer{kDeviceWindowPollMaximumMs, 2500, kDeviceWindowPollMinimumMs, {}};
};
RuvexSideWindowsState& TheRuvexSideWindowsState();

// The path of the base's parameter file with its extension replaced by
// `extension` ("prg", "01d").
std::string FileSetPathOf(const ParaBase& base, const char* extension);

// Online: the device's programs uploaded into the exchange file, edited with
// "/p" and downloaded after a change until the download succeeds or the user
// declines. Offline: the program file beside the window's parameter file
// edited, nothing transferred.
int CB_4_CallProgramEditor(GwCore* widget, GwEvent* event, GwUD userData);
// Timer of the CPU-load window: reads and shows 170 to 172.
int CB_Timer_CPU_LOAD(GwCore* widget, GwEvent* event, GwUD userData);
// Writes 173 := 1; a refusal shows error 5.
int CB_4_ResetCPULoad(GwCore* widget, GwEvent* event, GwUD userData);
// Writes 74 := 1; the result is not reported.
int CB_4_ResetError(GwCore* widget, GwEvent* event, GwUD userData);
// Show callback of the bus-system page: the marks "NoCM_CAN1", "NoCM_CAN2"
// and "NoProfibus" for the modules the drive lacks.
int CB_DvFctShowBusSystemRuvex(GwCore* widget, GwEvent* event, GwUD userData);
// "CPU_Load" is considered from user level 5 on.
int CB_ShowActValues(GwCore* widget, GwEvent* event, GwUD userData);
// "PRSEL" is shown when the base holds parameter 654.
int CB4_ShowPRESEL(GwCore* widget, GwEvent* event, GwUD userData);
