// The oscilloscope window's three timers: the channel display, one live value
// per tick, and the start, stop and read buttons of the page "Special".
#include "devicewin/state_window_support.h"
#include "scope/window/scope_window_parts.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr PollRecord kChannelPoll{100000, 1500, 700};
constexpr PollRecord kActualValuePoll{100000, 10000, 4000};
constexpr PollRecord kSpecialPagePoll{100000, 1500, 700};
constexpr bool kNeedsDevice = true;

void ShowRecorderButtons(bool running) {
    ScopeWindowState& state = TheScopeWindowState();
    if (state.ButtonsShowRunning == static_cast<int>(running)) return;
    state.ButtonsShowRunning = running ? 1 : 0;
    SetScopeEnabled(kScopeStartButton, !running);
    SetScopeEnabled(kScopeReadButton, !running);
    SetScopeEnabled(kScopeStopButton, running);
}

void UpdateRecorderButtons() {
    ScopeRecorder* engine = ScopeEngine();
    if (engine != nullptr) ShowRecorderButtons(engine->IsRunning());
}

}  // namespace

int CB_Scope_UpdateAct(GwCore* widget, GwEvent*, GwUD) {
    return PollTick(widget, kNeedsDevice, kChannelPoll, [](Main&) {
        if (ScopeWindowOpen() && CheckScopeEngineError()) ShowScopeChannels();
    });
}

int CB_Scope_StartActValTimer(GwCore*, GwEvent*, GwUD) {
    ShowScopeChannels();
    if (GwCore* timer = ScopeChild(kChActTimer)) timer->start_timer(kScopeFirstTickMs);
    return 1;
}

int CB_ActUpdate(GwCore* widget, GwEvent*, GwUD) {
    return PollTick(widget, kNeedsDevice, kActualValuePoll, [](Main&) {
        if (!ScopeWindowOpen() || !CheckScopeEngineError()) return;
        ScopeWindowState& state = TheScopeWindowState();
        const int channel = state.ActualChannel;
        state.ActualChannel = (channel + 1) % kScopeChannelCount;
        ShowScopeActualValue(channel);
    });
}

int CB_ShowSpecialPage(GwCore*, GwEvent*, GwUD) {
    TheScopeWindowState().ButtonsShowRunning = -1;
    if (GwCore* page = ScopeChild(kSpecialPage)) page->start_timer(kScopeFirstTickMs);
    UpdateRecorderButtons();
    return 1;
}

int CB_TimerSpecialPage(GwCore* widget, GwEvent*, GwUD) {
    return PollTick(widget, kNeedsDevice, kSpecialPagePoll, [](Main&) {
        if (ScopeWindowOpen() && CheckScopeEngineError()) UpdateRecorderButtons();
    });
}
