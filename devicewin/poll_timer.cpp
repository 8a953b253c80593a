#include "devicewin/poll_timer.h"

#include <algorithm>

#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

uint32_t PollTimer::ComputeInterval() {
    ServicesHooks* hooks = GetServicesHooks();
    if (hooks == nullptr || !hooks->HasOnlineDevice()) {
        Current = kOfflinePollIntervalMs;
        return Current;
    }
    uint32_t baud = hooks->ActiveBusBaudRate();
    if (baud == 0 || baud > static_cast<uint32_t>(INT32_MAX)) baud = kReferenceBaudRate;
    Current = static_cast<uint32_t>(static_cast<double>(IntervalAt9600) * kReferenceBaudRate / baud);
    if (Current < Minimum) {
        Current = Minimum;
    } else if (Current > Maximum) {
        Current = Maximum;
    }
    const double factor = PollRateFactor > 0.0 ? PollRateFactor : 1.0;
    Current = static_cast<uint32_t>(std::min(Current / factor, 4294967295.0));
    return Current;
}

void PollTimer::Restart() {
    ComputeInterval();
    if (Widget != nullptr && Widget->is_visible()) {
        Widget->start_timer(std::clamp<uint32_t>(Current, 1, kMaxTimerIntervalMs));
    }
}
