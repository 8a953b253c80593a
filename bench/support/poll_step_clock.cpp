#include "bench/support/poll_step_clock.h"

#include <memory>

namespace bench {

namespace {

constexpr uint64_t kUsPerMs = 1000;

}  // namespace

void PollStepClock::Sleep(uint32_t ms) {
    if (!OwnedByThisThread()) {
        VirtualClock::Sleep(ms);
        return;
    }
    if (ms == 0) {
        ++yields_;
        yield_us_ += yield_step_us_;
        AdvanceUs(yield_step_us_);
        return;
    }
    sleep_us_ += ms * kUsPerMs;
    AdvanceMs(ms);
}

void PollStepClock::BusyWait(uint32_t ms) {
    if (OwnedByThisThread()) busy_wait_us_ += ms * kUsPerMs;
    VirtualClock::BusyWait(ms);
}

PollStepClock& InstallPollStepClock(uint64_t yield_step_us) {
    auto clock = std::make_unique<PollStepClock>(yield_step_us);
    PollStepClock& installed = *clock;
    platform::InstallClock(std::move(clock));
    return installed;
}

}  // namespace bench
