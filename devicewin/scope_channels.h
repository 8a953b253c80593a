// Assigning oscilloscope variables to the recorder's channels from a device
// window: the program's one recorder made on the window's parameter base,
// the variable widgets' tips, and the channel popup "DS_Popup" whose toggles
// "0" to "3" stand for the channels.
#pragma once

#include <memory>

class GwCore;
class GwUD;
class ScopeRecorder;
struct GwEvent;

inline constexpr char kChannelPopupName[] = "DS_Popup";
inline constexpr int kScopeChannelCount = 4;
// The variable a channel records when it is taken off.
inline constexpr char kNullVariable[] = "Null";

// The recorder the channel callbacks work on; null until CB_DS_Init made a
// valid one.
struct ScopeChannelState {
    std::unique_ptr<ScopeRecorder> Recorder;
};
ScopeChannelState& ScopeChannels();

// Replaces the recorder by one on the window's base; one without a valid
// state is destroyed again with the calling window. Returns 1.
int CB_DS_Init(GwCore* widget, GwEvent* event, GwUD userData);
// A widget whose text names a known variable is enabled, with the name and
// its introduction as tip; one naming an unknown variable is disabled.
int CB_DS_SetTipText(GwCore* widget, GwEvent* event, GwUD userData);
// Runs "DS_Popup" modally for the widget's variable, its channel toggles
// checked where the channel records that variable already.
int CB_DS_Popup(GwCore* widget, GwEvent* event, GwUD userData);
// A channel toggle (user data: the channel): checked, the channel records the
// popup's variable; unchecked, "Null".
int CB_DS_SetToCh(GwCore* widget, GwEvent* event, GwUD userData);
