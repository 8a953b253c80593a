// The serial monitor: the serial bus's telegram statistics by result code,
// the exchanges per second and the monitor time.
#include <cstdint>
#include <string>

#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "app/services/window_handler.h"
#include "bus/monitor/bus_monitors.h"
#include "bus/monitor/max_rate_test.h"
#include "bus/monitor/monitor_fields.h"
#include "bus/serial/tarn_telegram.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_types.h"

namespace {

constexpr uint32_t kSioMonitorIntervalMs = 1000;

struct SioMonitorState {
    GwRef<> Window;
    uint32_t LastTick = 0;
    double AccumulatedMs = 0.0;
    uint32_t LastSucceeded = 0;  // TelegramStatistics[0] at the last update
};

SioMonitorState& State() {
    static SioMonitorState state;
    return state;
}

platform::ResetHook ResetState([] { State() = SioMonitorState(); });

// Time and statistics start now.
void RestartStatistics() {
    ClearTelegramStatistics();
    State().AccumulatedMs = 0.0;
    State().LastSucceeded = 0;
    State().LastTick = monitor::NowTick();
}

GwCore* RememberedWindow() { return State().Window; }

}  // namespace

int CB_CreateSioMonitor(GwCore* widget, GwEvent*, GwUD) {
    State().Window = monitor::WindowOf(widget);
    for (int code = 1; code < kTelegramStatisticsCount; ++code)
        monitor::SetFieldText(State().Window, platform::Format("Error%d", code), "");
    RestartStatistics();
    return 1;
}

int CB_ShowSioMonitor(GwCore* widget, GwEvent*, GwUD) {
    GwCore* window = monitor::WindowOf(widget);
    if (GwCore* timer = window != nullptr ? window->child("Monitor") : nullptr)
        timer->start_timer(kSioMonitorIntervalMs);
    // The menu that opened the window set the wait cursor.
    GwCore::set_global_cursor(GwCURSOR_ARROW);
    return 1;
}

int CB_TimerSioMonitor(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    if (main == nullptr || !main->CheckTimerIntegrity(widget, false)) return 1;
    const uint32_t interval = widget->timer_interval();
    widget->stop_timer();
    GwCore* window = monitor::WindowOf(widget);
    uint32_t failures = 0;
    for (int code = 0; code < kTelegramStatisticsCount; ++code) {
        const uint32_t count = TelegramStatistics[static_cast<size_t>(code)];
        monitor::SetFieldText(window, platform::Format("Error%d", code), platform::Format("%ld", count));
        if (code > 0) failures += count;
    }
    monitor::SetFieldText(window, "ErrorAll", platform::Format("%ld", failures));

    const uint32_t now = monitor::NowTick();
    const uint32_t elapsedMs = now - State().LastTick;
    State().AccumulatedMs += elapsedMs;
    monitor::SetFieldText(
        window, "Time", platform::Format("%ld", static_cast<int64_t>(State().AccumulatedMs / 1000.0)));
    const uint32_t succeeded = TelegramStatistics[0];
    const double rate = monitor::PerSecond(monitor::CountSince(succeeded, State().LastSucceeded), elapsedMs);
    monitor::SetFieldText(window, "BusTax", platform::Format("%0.2lf", rate));
    State().LastSucceeded = succeeded;
    State().LastTick = now;
    widget->start_timer(interval);
    return 1;
}

int CB_ReInitSioStatistic(GwCore*, GwEvent*, GwUD) {
    RestartStatistics();
    return 1;
}

int CB_StartMaxTest(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    const double rate = MeasureMaximumRate(main != nullptr ? main->ActiveParaBase() : nullptr);
    const std::string text =
        "Die momentane Buskapazität liegt bei " + platform::Format("%0.2lf", rate) + " Telegramme/s.";
    ShowInfoText(text.c_str(), monitor::WindowOf(widget));
    return 1;
}

int CB_ExitSioMonitor(GwCore* widget, GwEvent*, GwUD) {
    GwCore* window = RememberedWindow();
    if (window == nullptr) window = monitor::WindowOf(widget);
    if (window != nullptr) window->close();
    return 1;
}

int CB_DestroySioMonitor(GwCore* widget, GwEvent*, GwUD) {
    GwCore* window = RememberedWindow();
    if (window == nullptr) window = monitor::WindowOf(widget);
    if (window != nullptr) TheWindowHandler().DeleteWindow(window);
    State().Window = nullptr;
    return 1;
}
