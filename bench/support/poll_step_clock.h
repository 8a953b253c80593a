// A virtual clock for the bus benchmarks. The test clock moves a yield
// (Sleep(0)) on by a whole millisecond; on a PC a yield returns within
// microseconds, so a receive loop that polls with yields would otherwise show
// the clock's millisecond instead of the line. Here a yield moves time by a
// step the benchmark chooses (1000 us behaves exactly as the test clock), and
// the clock counts how its time was moved.
#pragma once

#include <cstdint>

#include "platform/system/clock.h"

namespace bench {

class PollStepClock : public platform::VirtualClock {
public:
    explicit PollStepClock(uint64_t yield_step_us) : yield_step_us_(yield_step_us) {}

    void Sleep(uint32_t ms) override;
    void BusyWait(uint32_t ms) override;

    uint64_t YieldStepUs() const { return yield_step_us_; }
    // Yields of the owning thread and the time they moved the clock.
    uint64_t Yields() const { return yields_; }
    uint64_t YieldUs() const { return yield_us_; }
    // Sleeps of 1 ms and more, and busy waits, of the owning thread.
    uint64_t SleepUs() const { return sleep_us_; }
    uint64_t BusyWaitUs() const { return busy_wait_us_; }

private:
    uint64_t yield_step_us_;
    uint64_t yields_ = 0;
    uint64_t yield_us_ = 0;
    uint64_t sleep_us_ = 0;
    uint64_t busy_wait_us_ = 0;
};

// Installs a fresh PollStepClock and returns it (owned by the platform until
// the next install).
PollStepClock& InstallPollStepClock(uint64_t yield_step_us);

}  // namespace bench
