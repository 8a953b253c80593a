#include "platform/system/event_pump.h"

#include <algorithm>

#include "platform/system/clock.h"

namespace platform {

namespace {
PumpHook* g_hook = nullptr;
}

void SetPumpHook(PumpHook* hook) { g_hook = hook; }

PumpHook* GetPumpHook() { return g_hook; }

void PumpEvents(std::optional<uint64_t> limit_us) {
    bool ran = g_hook != nullptr && g_hook->ProcessPending();
    VirtualClock* vc = TheVirtualClock();
    if (ran || vc == nullptr || !vc->OwnedByThisThread()) return;
    uint64_t now = vc->NowUs();
    if (limit_us && *limit_us <= now) return;  // no time left to move on
    uint64_t target = now + 1000;
    if (g_hook != nullptr) {
        if (auto due = g_hook->NextDueUs(); due && *due > now) target = *due;
    }
    if (limit_us) target = std::min(target, *limit_us);
    vc->AdvanceToUs(target);
}

}  // namespace platform
