// The manual positioning window of Pesco (family-5) drives: hand mode takes
// the parameter write lock and protects the hand-mode parameters, motion goes
// through the bits of the positioning control word 236 and the control word
// 231, and leaving waits for standstill, writes the saved values back and
// gives the lock back.
#pragma once

#include <cstdint>

#include "devicewin/poll_timer.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_ud.h"

class GwCore;
class ParaBase;
struct GwEvent;

inline constexpr int kPescoControlWord = 231;
inline constexpr int kPescoModeWord = 233;
inline constexpr int kPescoTargetPosition = 234;
inline constexpr int kPescoPositioningWord = 236;
inline constexpr int kPescoStatusWord = 237;
inline constexpr int kPescoDriveStatus = 232;
inline constexpr int kPescoPositionTable = 272;
inline constexpr int kPescoActualPosition = 754;
inline constexpr int kPescoHomingValue = 730;
inline constexpr int kPescoWayUnit = 792;
// Main messages: the lock is taken; an invalid table index.
inline constexpr int kPescoLockTakenMessage = 140;
inline constexpr int kPescoInvalidIndexMessage = 147;
inline constexpr char kPescoStartKeyName[] = "ControlStart";
inline constexpr char kPescoStopKeyName[] = "ControlStop";
inline constexpr char kPescoCancelName[] = "Cancel";
inline constexpr char kPescoIndexName[] = "Tidx";
inline constexpr char kPescoSpeedGroupName[] = "Speed_TippPos";
inline constexpr char kPescoHomingValueName[] = "_PN_730";
inline constexpr char kPescoTableViewMark[] = "_AOP_";
// The states PosHand5_GetDriveState gives beyond the drive's own.
inline constexpr int kPescoHandNoDevice = 10;
inline constexpr int kPescoHandUnknown = 11;
inline constexpr unsigned kPescoEdgeMs = 10;
inline constexpr unsigned kPescoLeavePassMs = 200;
inline constexpr unsigned kPescoRestoreWaitMs = 500;
inline constexpr int kPescoLeaveAskEvery = 22;

struct PescoHandKeys {
    bool Start, Stop;
};
// Keys by the state PosHand5_GetDriveState gives, 0 to 11.
PescoHandKeys PescoHandKeysOf(int state);

struct PescoHandState {
    bool HandMode = false;
    bool Jogging = false;
    GwRef<> JogButton;
    double Saved280 = 0.0;
    double Saved281 = 0.0;
    double Saved260 = 0.0;
    int32_t Owner = 0;
    GwRef<> Window;  // the window whose hand mode holds the lock
    PollTimer ControlTimer{100000, 2000, 1000, {}, 0};
    PollTimer StateTimer{100000, 2000, 600, {}, 0};
    PollTimer HomingTimer{100000, 6000, 3000, {}, 0};
};
PescoHandState& ThePescoHandState();

int PosHand5_GetDriveState(ParaBase* base);
bool PosHand5_IsHighSpeed(GwCore* widget);
bool PosHand5_EnableControl(ParaBase* base);
bool PosHand5_DisableControl(ParaBase* base);
bool PosHand5_StopMotion(ParaBase* base);

// All take the calling widget and return 1 (the jog keys 0 after an error).
int CB_5_PosHand_SetHandMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_ResetHandMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_ControlStart(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_ControlStop(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_TippPlus(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_TippMinus(GwCore* widget, GwEvent* event, GwUD userData);
int CB5_LeaveTipp(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_SetWayUnit(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_PositionStart(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_PositionStop(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_StopRef(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_StopSet(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_StartRef(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_RefTimer(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_TeachIn(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_StartNext(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_StartSet(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_ActivateTippMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_ActivatePosMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_ActivateRefMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_ActivateTabMode(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_CheckControlState(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_ShowState(GwCore* widget, GwEvent* event, GwUD userData);
