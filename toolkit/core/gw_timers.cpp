#include "toolkit/core/gw_timers.h"

#include <deque>
#include <set>
#include <tuple>
#include <vector>

#include "platform/base/reset_hooks.h"
#include "platform/system/clock.h"
#include "platform/system/event_pump.h"
#include "platform/system/termination_signal.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_interaction.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_widget_store.h"

namespace {

using TimerKey = std::tuple<uint64_t, uint64_t, GwCore*>;  // due, sequence, widget

struct UserEvent {
    GwRef<> widget;
    int user1;
    int user2;
};

struct TimerState {
    std::set<TimerKey> timers;
    std::deque<UserEvent> user_events;
    uint64_t sequence = 0;
};

TimerState& State() {
    static TimerState state;
    return state;
}

class ToolkitPump : public platform::PumpHook {
public:
    bool ProcessPending() override { return GwProcessPendingEvents(); }
    std::optional<uint64_t> NextDueUs() override { return GwTimerScheduler::NextDueUs(); }
};

ToolkitPump g_pump;

// The toolkit is the pump hook from the moment it is loaded.
struct InstallPump {
    InstallPump() { platform::SetPumpHook(&g_pump); }
} g_install_pump;

platform::ResetHook ResetState([] { GwTimerScheduler::Reset(); });

}  // namespace

void GwTimerScheduler::Start(GwCore* widget, uint32_t interval_ms) {
    auto& st = State();
    Cancel(widget);
    if (interval_ms < kGwMinTimerIntervalMs) interval_ms = kGwMinTimerIntervalMs;
    widget->timer_interval_ms_ = interval_ms;
    widget->timer_running_ = true;
    widget->timer_due_us_ = platform::TheClock().NowUs() + uint64_t{interval_ms} * 1000;
    widget->timer_sequence_ = ++st.sequence;
    st.timers.emplace(widget->timer_due_us_, widget->timer_sequence_, widget);
}

void GwTimerScheduler::Cancel(GwCore* widget) {
    if (!widget->timer_running_) return;
    State().timers.erase(TimerKey{widget->timer_due_us_, widget->timer_sequence_, widget});
    widget->timer_running_ = false;
}

void GwTimerScheduler::PostUserEvent(GwCore* widget, int user1, int user2) {
    State().user_events.push_back({widget, user1, user2});
}

bool GwTimerScheduler::ProcessPending() {
    auto& st = State();
    auto& store = GwWidgetStore::Get();
    GwDispatchGuard guard;
    bool ran = false;
    // Only the events queued before this call; those that callbacks post run
    // on the next call.
    size_t queued = st.user_events.size();
    for (size_t i = 0; i < queued && !st.user_events.empty(); ++i) {
        UserEvent ue = st.user_events.front();
        st.user_events.pop_front();
        GwCore* widget = ue.widget;
        if (widget == nullptr) continue;
        GwEvent ev;
        ev.user1 = ue.user1;
        ev.user2 = ue.user2;
        widget->fire(GwCB_USER, ev);
        ran = true;
    }
    uint64_t now = platform::TheClock().NowUs();
    while (!st.timers.empty()) {
        auto [due, seq, widget] = *st.timers.begin();
        if (due > now) break;
        st.timers.erase(st.timers.begin());
        // Periodic: the next period counts from this due time, or from now
        // when the pump came too late for it.
        uint64_t period = uint64_t{widget->timer_interval_ms_} * 1000;
        uint64_t next = due + period;
        if (next <= now) next = now + period;
        widget->timer_due_us_ = next;
        widget->timer_sequence_ = ++st.sequence;
        st.timers.emplace(next, widget->timer_sequence_, widget);
        if (widget->timer_in_callback_) continue;
        widget->timer_in_callback_ = true;
        GwEvent ev;
        widget->fire(GwCB_TIMER, ev);
        if (store.IsLive(widget)) widget->timer_in_callback_ = false;
        ran = true;
    }
    return ran;
}

std::optional<uint64_t> GwTimerScheduler::NextDueUs() {
    auto& st = State();
    if (!st.user_events.empty()) return platform::TheClock().NowUs();
    std::optional<uint64_t> due;
    if (!st.timers.empty()) due = std::get<0>(*st.timers.begin());
    if (auto other = GwGetInteraction().NextDueUs(); other && (!due || *other < *due)) due = other;
    return due;
}

GwCore* GwTimerScheduler::NextUserEventWidget() {
    auto& st = State();
    return st.user_events.empty() ? nullptr : st.user_events.front().widget;
}

void GwTimerScheduler::ClearTimers() {
    auto& st = State();
    for (const auto& [due, seq, widget] : st.timers)
        if (GwWidgetStore::Get().IsLive(widget)) widget->timer_running_ = false;
    st.timers.clear();
    st.user_events.clear();
    st.sequence = 0;
}

void GwTimerScheduler::Reset() {
    auto& st = State();
    st.timers.clear();
    st.user_events.clear();
    st.sequence = 0;
    platform::SetPumpHook(&g_pump);
}

namespace {

// Once a signal has asked the program to end, no modal run lasts: each
// returns to its caller as cancelled, down to the main window's, after
// which the program runs its exit from its main loop.
void EndModalRunsOnTermination() {
    if (platform::TerminationSignal() == 0) return;
    std::vector<GwCore*> running;
    for (const GwCore* widget : GwWidgetStore::Get().live) {
        if (widget->in_modal_run() && !widget->modal_ended()) running.push_back(const_cast<GwCore*>(widget));
    }
    for (GwCore* widget : running) widget->end_modal(GwRESULT_CANCEL);
}

}  // namespace

bool GwProcessPendingEvents() {
    EndModalRunsOnTermination();
    GwAnnounceCreatedWidgets();
    bool ran = GwTimerScheduler::ProcessPending();
    GwDispatchGuard guard;
    return GwGetInteraction().ProcessEvents() || ran;
}
