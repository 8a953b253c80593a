// The one clock of the program: tick count, sleeps, busy waits, deadlines and
// wall time. Every wait in the system goes through it, so tests can run a
// 65-second time-out in microseconds on the virtual clock.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <thread>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;

    // Monotonic time since the clock started, in microseconds.
    virtual uint64_t NowUs() = 0;
    uint64_t NowMs() { return NowUs() / 1000; }
    // 32-bit millisecond tick count; wraps after 49.7 days.
    virtual uint32_t Tick() = 0;

    // Gives up the processor for at least `ms` (a sleep of 0 still yields).
    virtual void Sleep(uint32_t ms) = 0;
    // Spins on the tick for `ms`; processes no events and runs no timers.
    virtual void BusyWait(uint32_t ms) = 0;

    // Seconds since 1970-01-01 UTC.
    virtual int64_t WallSeconds() = 0;

    virtual bool IsVirtual() const { return false; }
};

// Production clock over the steady and system clocks.
class RealClock : public Clock {
public:
    RealClock();
    uint64_t NowUs() override;
    uint32_t Tick() override;
    void Sleep(uint32_t ms) override;
    void BusyWait(uint32_t ms) override;
    int64_t WallSeconds() override;

private:
    int64_t start_ns_;
};

// Test clock. Time moves only by Advance, Sleep (at least 1 ms), BusyWait and
// the event pump. Only the owning thread moves it: a sleep on another thread
// waits real time and leaves virtual time alone.
class VirtualClock : public Clock {
public:
    explicit VirtualClock(uint32_t start_tick = 0x10000, int64_t start_wall_seconds = 1767225600);

    uint64_t NowUs() override;
    uint32_t Tick() override;
    void Sleep(uint32_t ms) override;
    void BusyWait(uint32_t ms) override;
    int64_t WallSeconds() override;
    bool IsVirtual() const override { return true; }

    void AdvanceUs(uint64_t us);
    void AdvanceMs(uint64_t ms) { AdvanceUs(ms * 1000); }
    // Moves the clock forward to `us` if that lies in the future.
    void AdvanceToUs(uint64_t us);
    void SetWallSeconds(int64_t seconds);
    void TakeOwnership();
    bool OwnedByThisThread() const;

private:
    std::atomic<uint64_t> now_us_{0};
    uint32_t start_tick_;
    int64_t start_wall_seconds_;
    std::thread::id owner_;
};

// The installed clock. A RealClock until something else is installed.
Clock& TheClock();
// Installs `clock` (taking ownership); null reinstalls a RealClock.
void InstallClock(std::unique_ptr<Clock> clock);
// The installed clock when it is virtual, else null.
VirtualClock* TheVirtualClock();

// Short forms for the common calls.
inline uint32_t GetTickCount() { return TheClock().Tick(); }
inline void Sleep(uint32_t ms) { TheClock().Sleep(ms); }
inline void BusyWait(uint32_t ms) { TheClock().BusyWait(ms); }

// Milliseconds from `start` to `now` on the wrapping tick.
inline uint32_t TicksSince(uint32_t start, uint32_t now) { return now - start; }

// A deadline on the tick count, safe across the 32-bit wrap.
class Deadline {
public:
    explicit Deadline(uint32_t timeout_ms) : start_(GetTickCount()), timeout_ms_(timeout_ms) {}
    bool Expired() const { return Elapsed() >= timeout_ms_; }
    uint32_t Elapsed() const { return TicksSince(start_, GetTickCount()); }
    uint32_t Remaining() const {
        uint32_t e = Elapsed();
        return e >= timeout_ms_ ? 0 : timeout_ms_ - e;
    }
    void Restart() { start_ = GetTickCount(); }

private:
    uint32_t start_;
    uint32_t timeout_ms_;
};

// Local time. The zone is the system's unless an offset east of UTC (seconds)
// was injected; tests inject 0.
void SetTimeZoneOffset(std::optional<int32_t> seconds_east);
std::tm LocalTime(int64_t wall_seconds);
std::tm LocalNow();
// Like the C runtime's ctime: 24 characters and a line feed.
std::string CTimeText(int64_t wall_seconds);

}  // namespace platform
