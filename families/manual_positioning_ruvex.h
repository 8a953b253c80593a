// The manual positioning window of Ruvex (family-4) drives: hand mode puts a
// few drive parameters to hand-mode values, motion goes as text commands into
// the command parameter 751, a 100 ms watchdog stops a jog whose key lost the
// focus, and leaving waits for standstill and writes the saved values back.
#pragma once

#include <array>
#include <string>

#include "devicewin/poll_timer.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_ud.h"

class GwCore;
class ParaBase;
struct GwEvent;

inline constexpr int kRuvexControlWord = 551;
inline constexpr int kRuvexCommandParameter = 751;
inline constexpr int kRuvexHandModeGate = 757;
inline constexpr int kRuvexOptionalHandParameter = 771;
inline constexpr int kRuvexHighJogSpeed = 715;
inline constexpr int kRuvexLowJogSpeed = 716;
inline constexpr int kRuvexReferenceType = 722;
inline constexpr int kRuvexWayUnit = 766;
inline constexpr int kRuvexSpeedUnit = 767;
// Main messages: a refused command, and a gate value that forbids hand mode.
inline constexpr int kRuvexCommandRefusedMessage = 84;
inline constexpr int kRuvexHandModeForbiddenMessage = 83;
inline constexpr char kRuvexCommandBoxName[] = "Command";
inline constexpr char kRuvexStartKeyName[] = "DeviceStart";
inline constexpr char kRuvexStopKeyName[] = "DeviceStop";
inline constexpr char kRuvexStopCommand[] = "STOP B";
inline constexpr char kRuvexHomingCommand[] = "GO 0";
inline constexpr char kRuvexEnterCommand[] = "%+R";
inline constexpr char kRuvexLeaveCommand[] = "%-R";
// The states PosHand4_GetDriveState gives beyond the drive's own.
inline constexpr int kRuvexHandNoDevice = 12;
inline constexpr int kRuvexHandUnknown = 13;
inline constexpr unsigned kRuvexJogWatchdogMs = 100;
inline constexpr unsigned kRuvexLeavePassMs = 100;
inline constexpr int kRuvexLeaveAskEvery = 22;

struct RuvexHandKeys {
    bool Start, Stop;
};
// Keys by the state PosHand4_GetDriveState gives, 0 to 13.
extern const std::array<RuvexHandKeys, 14> kRuvexHandKeys;

struct RuvexHandState {
    bool HandMode = false;
    bool Jogging = false;
    GwRef<> JogButton;
    double Saved280 = 0.0;
    double Saved260 = 0.0;
    double Saved771 = 0.0;
    int LastDriveState = 0;
    PollTimer ControlTimer{100000, 1000, 500, {}, 0};
};
RuvexHandState& TheRuvexHandState();

int PosHand4_GetDriveState(ParaBase* base);
bool PosHand4_DriveStart(ParaBase* base);
bool PosHand4_DriveStop(ParaBase* base);
// Writes the command into 751; on failure shows the error and returns the
// box's answer.
bool PosHand4_SendCommand(GwCore* widget, const std::string& command);
double PosHand4_GetJogSpeed(GwCore* widget);

// All take the calling widget and return 1.
int CB_4_PosHand_SetHandMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_ResetHandMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_TippPlus(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_TippMinus(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_PositionStart(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_PositionStop(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_StartRef(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_SetCommand(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_SetWayUnit(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_SetSpeedUnit(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_ShowHighSpeed(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_ShowLowSpeed(GwCore* widget, GwEvent* event, GwUD userData);
// When the calling toggle is checked, "UserSpeed" takes typed input again
// (the high and low speed toggles make it read-only).
int CB_4_PosHand_ShowUserSpeed(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_ShowRefType(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_DeviceStart(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_PosHand_DeviceStop(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_CheckControlState(GwCore* widget, GwEvent* event, GwUD userData);
int CB_StartTipWdgTimer(GwCore* widget, GwEvent* event, GwUD userData);
int CB_TimerTipWdg(GwCore* widget, GwEvent* event, GwUD userData);
