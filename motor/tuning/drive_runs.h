// Runs the drive does by itself, started from the controller set-up windows
// and watched until the drive reports their end: the encoder-offset
// detection and the controller auto-tuning, with the auto-tuning's settings
// put back to their defaults.
#pragma once

#include "toolkit/core/gw_event.h"

class GwCore;

inline constexpr int kAutoTuningParameter = 896;
inline constexpr int kAutoTuningSettingsParameter = 895;
inline constexpr char kAutoTuningWindowName[] = "1_200_AdjustAutotuning";
// Activity message of the encoder-offset detection.
inline constexpr int kEncoderOffsetActivity = 27;
// Rounds of 1000 ms each run is given.
inline constexpr int kEncoderOffsetRounds = 19;
inline constexpr int kAutoTuningRounds = 9;

int CB2_DetectEncoderOffset(GwCore* widget, GwEvent* event, GwUD userData);
int CB_1_200_StartAutoTuning(GwCore* widget, GwEvent* event, GwUD userData);
int CB_1_200_DefaultAutoTuningAdjustment(GwCore* widget, GwEvent* event, GwUD userData);
