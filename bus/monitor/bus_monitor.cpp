// The bus monitor: the active bus's failures by category, its requests per
// second and their load against the maximum rate measured on that bus.
#include <cstdint>
#include <string>

#include "app/main/main_object.h"
#include "bus/base/basic_bus.h"
#include "bus/monitor/bus_monitors.h"
#include "bus/monitor/max_rate_test.h"
#include "bus/monitor/monitor_fields.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_types.h"

namespace {

constexpr uint32_t kBusMonitorIntervalMs = 2000;
// Categories shown: 1 to 15 (0 is none).
constexpr int kFirstShownCategory = 1;
constexpr double kPercent = 100.0;

struct BusMonitorState {
    int16_t BusType = 0;  // 0: no bus shown yet, or none was active
    uint32_t BaudRate = 0;
    int ActivationCount = 0;
    double AccumulatedSeconds = 0.0;
    uint32_t LastSucceeded = 0;
    uint32_t LastTick = 0;
    double MaximumRate = 0.0;
};

BusMonitorState& State() {
    static BusMonitorState state;
    return state;
}

platform::ResetHook ResetState([] { State() = BusMonitorState(); });

DataBus* ActiveBus(Main* main) { return main != nullptr ? main->GetActiveBus() : nullptr; }

// The bus's statistics start afresh, and so does the rate's count.
void ClearBusStatistics(DataBus* bus) {
    bus->ClearStatistics();
    State().LastSucceeded = 0;
}

// The maximum-rate test on the online active device into "MaxTel"; the load
// starts at 0 against the new maximum.
void RunMaxRateTest(GwCore* window) {
    Main* main = GetMain();
    ParaBase* base = main != nullptr && main->HasOnlineDevice() ? main->ActiveParaBase() : nullptr;
    State().MaximumRate = MeasureMaximumRate(base);
    monitor::SetFieldText(window, "MaxTel", platform::Format("%0.2lf", State().MaximumRate));
    monitor::SetFieldValue(window, "LoadSlider", 0.0);
}

void FillBusFields(GwCore* window, const DataBus* bus) {
    monitor::SetFieldText(window, "BusName", bus->GetName().Text());
    monitor::SetFieldText(window, "BusBaud", bus->GetSettingsText().Text());
}

bool IsBusShown(const DataBus* bus, const Main* main) {
    return bus->GetBusType() == State().BusType && bus->GetBaudRate() == State().BaudRate &&
           main->GetActivationCount() == State().ActivationCount;
}

// Shows the active bus; a bus other than the one last shown (type, rate) or
// a device activated since gets its statistics cleared and its maximum rate
// measured.
void ShowBus(GwCore* window) {
    Main* main = GetMain();
    DataBus* bus = ActiveBus(main);
    if (bus == nullptr) {
        State().BusType = 0;
        monitor::SetFieldText(window, "BusName", "");
        monitor::SetFieldText(window, "BusBaud", "");
        RunMaxRateTest(window);
        return;
    }
    if (IsBusShown(bus, main)) return;
    ClearBusStatistics(bus);
    State().BusType = bus->GetBusType();
    State().BaudRate = bus->GetBaudRate();
    State().ActivationCount = main->GetActivationCount();
    FillBusFields(window, bus);
    RunMaxRateTest(window);
}

void EmptyCounterFields(GwCore* window) {
    for (int category = kFirstShownCategory; category < kErrorCategoryCount; ++category)
        monitor::SetFieldText(window, platform::Format("Error%d", category), "");
    for (const char* name : {"ErrorAll", "OkAll", "BusTax"}) monitor::SetFieldText(window, name, "");
    monitor::SetFieldValue(window, "LoadSlider", 0.0);
}

}  // namespace

int CB_ShowBusMonitor(GwCore* widget, GwEvent*, GwUD) {
    GwCore* window = monitor::WindowOf(widget);
    State().AccumulatedSeconds = 0.0;
    State().LastTick = monitor::NowTick();
    if (GwCore* timer = window != nullptr ? window->child("Monitor") : nullptr)
        timer->start_timer(kBusMonitorIntervalMs);
    Main* main = GetMain();
    DataBus* bus = ActiveBus(main);
    // A window opened again on the bus already shown gets its fields from the
    // kept state rather than a second test.
    if (bus != nullptr && IsBusShown(bus, main)) {
        FillBusFields(window, bus);
        monitor::SetFieldText(window, "MaxTel", platform::Format("%0.2lf", State().MaximumRate));
    } else {
        ShowBus(window);
    }
    // The menu that opened the window set the wait cursor.
    GwCore::set_global_cursor(GwCURSOR_ARROW);
    return 1;
}

int CB_TimerBusMonitor(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    if (main == nullptr || !main->CheckTimerIntegrity(widget, false)) return 1;
    const uint32_t interval = widget->timer_interval();
    widget->stop_timer();
    GwCore* window = monitor::WindowOf(widget);
    ShowBus(window);
    // The window may have been closed while a test let events run.
    if (!GwRcMgr::is_valid_child(widget)) return 1;

    const uint32_t now = monitor::NowTick();
    const uint32_t elapsedMs = now - State().LastTick;
    State().AccumulatedSeconds += elapsedMs / 1000.0;
    monitor::SetFieldText(window, "Time", platform::Format("%0.2lf", State().AccumulatedSeconds));
    const uint32_t succeeded = BusRequestCounters.succeeded;
    DataBus* bus = ActiveBus(main);
    if (bus == nullptr) {
        EmptyCounterFields(window);
    } else {
        for (int category = kFirstShownCategory; category < kErrorCategoryCount; ++category)
            monitor::SetFieldText(window,
                                  platform::Format("Error%d", category),
                                  platform::Format("%lu", bus->GetCategoryCount(category)));
        monitor::SetFieldText(window, "ErrorAll", platform::Format("%lu", BusRequestCounters.failed));
        const double rate = monitor::PerSecond(monitor::CountSince(succeeded, State().LastSucceeded), elapsedMs);
        monitor::SetFieldText(window, "BusTax", platform::Format("%0.2lf", rate));
        monitor::SetFieldText(window, "OkAll", platform::Format("%lu", succeeded));
        // Without a measured maximum there is no load to show.
        monitor::SetFieldValue(
            window, "LoadSlider", State().MaximumRate > 0.0 ? rate / State().MaximumRate * kPercent : 0.0);
    }
    State().LastSucceeded = succeeded;
    State().LastTick = now;
    widget->start_timer(interval);
    return 1;
}

int CB_ReInitBusStatistic(GwCore*, GwEvent*, GwUD) {
    State().AccumulatedSeconds = 0.0;
    if (DataBus* bus = ActiveBus(GetMain())) ClearBusStatistics(bus);
    return 1;
}

int CB_StartMaxBusTest(GwCore* widget, GwEvent*, GwUD) {
    RunMaxRateTest(monitor::WindowOf(widget));
    return 1;
}
