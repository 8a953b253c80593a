#include "bus/base/timeout.h"

#include "platform/system/clock.h"

void CTimeout::Start(uint32_t milliseconds) {
    armed_ = true;
    start_ = platform::GetTickCount();
    duration_ = milliseconds;
}

bool CTimeout::IsExpired() const {
    if (!armed_) return true;
    return platform::TicksSince(start_, platform::GetTickCount()) >= duration_;
}

uint32_t BusyWait(uint32_t milliseconds) {
    platform::BusyWait(milliseconds);
    return platform::GetTickCount();
}
