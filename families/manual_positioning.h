// What the manual positioning windows of both positioning families share:
// reading and writing a value by the window's rule (the drive online, the
// table offline), the way and direction fields, closing the window, and the
// timer of the window's status widget.
#pragma once

#include <string>

#include "toolkit/core/gw_ud.h"

class DeviceSetupContext;
class GwCore;
class ParaBase;
struct GwEvent;

inline constexpr char kPosHandWayName[] = "PositionWay";
inline constexpr char kPosHandAbsoluteName[] = "PositionAbsolut";
inline constexpr char kPosHandLowSpeedName[] = "TippLowSpeed";
inline constexpr char kPosHandHighSpeedName[] = "TippHighSpeed";
inline constexpr char kPosHandUserSpeedToggleName[] = "TippUserSpeed";
inline constexpr char kPosHandUserSpeedName[] = "UserSpeed";
// Main messages of the window.
inline constexpr int kPosHandDeviceError = 5;
inline constexpr int kPosHandMissingWidgets = 7;
inline constexpr int kPosHandStateForbids = 30;
inline constexpr int kPosHandStillMoving = 34;
inline constexpr int kPosHandNoAnswer = 35;
// Activity messages of the leaving.
inline constexpr int kPosHandWaitingActivity = 6;
inline constexpr int kPosHandRestoringActivity = 10;
// Interval of the status widget's timer online, in ms.
inline constexpr unsigned kPosHandInitTimerMs = 500;

// Value access by the window's rule: online the drive, offline the table.
int PosHandRead(ParaBase* base, int number, double* out);
int PosHandWrite(ParaBase* base, int number, double value);
int PosHandReadText(ParaBase* base, int number, std::string* out);
int PosHandWriteText(ParaBase* base, int number, const std::string& text);

// Destroys the frame of the widget (the window), unless it is gone already.
void PosHandCloseWindow(GwCore* widget);
// Sets the unit suffix of the calling edit to the text of `number`; a failed
// read shows device error 5 and closes the window when that is declined.
void PosHandSetUnit(GwCore* widget, DeviceSetupContext* context, int number);
// Whether a toggle of that name in the widget's window is checked; false when
// missing.
bool PosHandChecked(GwCore* widget, const char* name);

// The "PositionWay" text as a number; 0 when missing or empty.
double PosHand_GetPositionWay(GwCore* widget);
// True when "PositionAbsolut" is missing or not checked.
bool PosHand_IsRelative(GwCore* widget);

// Starts the calling widget's timer with 500 ms when the window's base is
// online, else stops it. Returns 1.
int CB_4_PosHand_InitTimer(GwCore* widget, GwEvent* event, GwUD userData);
int CB_5_PosHand_InitTimer(GwCore* widget, GwEvent* event, GwUD userData);
