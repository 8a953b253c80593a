#include "bus/monitor/bus_monitors.h"

namespace {

const GwFuncDesc kBusMonitorCallbacks[] = {
    {"CB_CreateSioMonitor", CB_CreateSioMonitor},
    {"CB_ShowSioMonitor", CB_ShowSioMonitor},
    {"CB_TimerSioMonitor", CB_TimerSioMonitor},
    {"CB_ReInitSioStatistic", CB_ReInitSioStatistic},
    {"CB_StartMaxTest", CB_StartMaxTest},
    {"CB_ExitSioMonitor", CB_ExitSioMonitor},
    {"CB_DestroySioMonitor", CB_DestroySioMonitor},
    {"CB_ShowBusMonitor", CB_ShowBusMonitor},
    {"CB_TimerBusMonitor", CB_TimerBusMonitor},
    {"CB_ReInitBusStatistic", CB_ReInitBusStatistic},
    {"CB_StartMaxBusTest", CB_StartMaxBusTest},
    {nullptr, nullptr},
};

}  // namespace

const GwFuncDesc* BusMonitorCallbacks() { return kBusMonitorCallbacks; }
