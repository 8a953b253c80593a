// The cogging-torque teach of a Ruvex drive of firmware 2.00 and the
// compensation (anticogging) it makes possible: the teach button starts the
// run in the drive and its timer shows the progress over the expected time;
// the run ends on time, when the drive stops, or when the user interrupts or
// closes the window. The compensation switch asks the drive to prepare and
// then switches the compensation on.
#pragma once

#include "toolkit/core/gw_event.h"

class GwCore;
class ParaBase;

inline constexpr int kTeachTimeParameter = 918;
inline constexpr int kTeachCommandParameter = 919;
inline constexpr int kAntiCoggingParameter = 921;
inline constexpr char kTeachTextName[] = "TeachText";
inline constexpr char kTeachProgressName[] = "TeachProgress";
inline constexpr char kAntiCoggingStateName[] = "AntiCogingState";
inline constexpr unsigned kTeachTickMs = 500;
// Main messages: start question, finished, interrupted.
inline constexpr int kTeachStartQuestion = 151;
inline constexpr int kTeachFinishedMessage = 152;
inline constexpr int kTeachInterruptedMessage = 153;

// One teach at a time: its expected duration and the time elapsed, in
// seconds.
struct CoggingTeachState {
    double TeachSeconds = 0.0;
    double ElapsedSeconds = 0.0;
};
CoggingTeachState& TheCoggingTeachState();

// Ends a run of the drive of `base` seen from `widget`'s window.
void FinishCoggingTeach(GwCore* widget, ParaBase* base, bool interrupted);

int CB_4_200_TeachCogingTorque(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_ShowTeachingProgress(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_InterruptTeachFunction(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_CloseControlWindow(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_ShowAnticoging(GwCore* widget, GwEvent* event, GwUD userData);
int CB_4_200_ActivateAnticoging(GwCore* widget, GwEvent* event, GwUD userData);
