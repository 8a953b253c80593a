// The motor identification that a Marlo (family-3) drive runs by itself:
// the start button checks the drive's state, takes the page over and writes
// 163 := 1.0; a progress window with a slider and an animation watches 167
// until the drive reports the end, and its stop button writes 163 := 0.
#pragma once

#include <cstdint>

#include "devicewin/poll_timer.h"

class GwCore;
class GwUD;
struct GwEvent;

inline constexpr int kIdentCommandParameter = 163;
inline constexpr int kIdentProgressParameter = 167;
inline constexpr char kIdentProgressWindowName[] = "3_IdentProgressWin";
inline constexpr char kIdentProgressWindowStillName[] = "3_IdentProgressWinNonAnimated";
inline constexpr char kIdentProgressSliderName[] = "ScProgress";
inline constexpr char kIdentMediaName[] = "MediaShow";
inline constexpr char kIdentClip[] = "IdentMot.avi";
inline constexpr char kIdentNoClip[] = "NONE.avi";
// Main messages: finished, ended without completion, state forbids the start.
inline constexpr int kIdentFinishedMessage = 80;
inline constexpr int kIdentEndedMessage = 81;
inline constexpr int kIdentStateMessage = 82;
// Busy waits of the start, in ms.
inline constexpr uint32_t kIdentStateWaitMs = 1000;
inline constexpr uint32_t kIdentStartPollMs = 500;
inline constexpr int kIdentStartPolls = 5;
inline constexpr uint32_t kIdentFirstTickMs = 500;
// Every third tick of a running identification restarts the animation.
inline constexpr int kIdentAnimationTicks = 3;

struct MarloIdentState {
    bool Started = false;    // a progress other than 0 was seen since the window showed
    int AnimationTicks = 0;  // ticks of a running identification, never reset
    PollTimer ProgressTimer{100000, 2000, 1000, {}};
};
MarloIdentState& TheMarloIdentState();

// All take the calling widget and return 1.
int CB3_StartMotorIdent(GwCore* widget, GwEvent* event, GwUD userData);
int CB_3_ShowIdent(GwCore* widget, GwEvent* event, GwUD userData);
int CB_3_HideIdent(GwCore* widget, GwEvent* event, GwUD userData);
int CB_3_StopIdent(GwCore* widget, GwEvent* event, GwUD userData);
int CB_3_CheckIdentProgress(GwCore* widget, GwEvent* event, GwUD userData);
