// The current-controller test signal of the controller set-up windows of
// families 5 to 7: the amplitude proposed from the rated current, and the
// run that freezes the drive's parameters, records the controller's answer
// through the drive's recorder and hands the recording to the plot tool.
#pragma once

#include "toolkit/core/gw_event.h"

class GwCore;

inline constexpr int kRatedCurrentParameter = 158;
inline constexpr int kIdentCommandParameter = 120;
inline constexpr int kIdentStateParameter = 832;
inline constexpr char kAmplitudeFieldName[] = "CurrentAmplitude";
inline constexpr char kCtrlTestSignalSetupFile[] = "..\\TMP\\CB4_CtrlTestSignal.scs";
// Activity message while the drive runs.
inline constexpr int kWaitingForDriveActivity = 26;
// Rounds of 1000 ms the signal is given to end.
inline constexpr int kTestSignalRounds = 9;

struct CurrentTestSignalState {
    // The rated current read last by the amplitude proposal; the signal
    // scales with it.
    double RatedCurrent = 0.0;
};
CurrentTestSignalState& TheCurrentTestSignalState();

int CB_Show2CurrentAmplitude(GwCore* widget, GwEvent* event, GwUD userData);
int CB_2_CtrlTestSignal(GwCore* widget, GwEvent* event, GwUD userData);
