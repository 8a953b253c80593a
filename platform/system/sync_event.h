// Auto-reset events and mutexes for the one worker thread of the program (the
// CANopen bus): waits measure their deadlines on the program's clock, so a
// test on the virtual clock decides how long a wait lasts.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace platform {

// A wait on a virtual clock that another thread owns cannot move time; it
// ends after this much real time beyond its own length instead of hanging.
inline constexpr uint32_t kVirtualWaitRealGuardMs = 2000;

// An event that stays set until one wait consumes it.
class AutoResetEvent {
public:
    AutoResetEvent() = default;
    AutoResetEvent(const AutoResetEvent&) = delete;
    AutoResetEvent& operator=(const AutoResetEvent&) = delete;

    void Set();
    void Reset();
    // Consumes the signal if it is set, without waiting.
    bool TryWait();
    // Waits up to `ms` milliseconds on the clock; true (and the signal
    // consumed) when the event was or became set.
    //
    // On the real clock the wait blocks in real time. On a virtual clock that
    // this thread owns, time moves with the wait: with an `idle` step the
    // step runs and the clock moves on by 1 ms between checks (a test runs a
    // worker's rounds this way without a thread); without one the wait blocks
    // in real time and carries the clock along. On a virtual clock owned by
    // another thread the wait ends at the virtual deadline or by the real-time
    // guard, whichever comes first.
    bool Wait(uint32_t ms, const std::function<void()>& idle = {});
    // Waits up to `us` microseconds of real time, whatever clock the program
    // runs on: for a worker thread whose pauses must not hang on a virtual
    // clock that another thread moves. True (and the signal consumed) when
    // the event was or became set.
    bool WaitRealUs(uint32_t us);

private:
    bool ConsumeLocked();

    std::mutex mutex_;
    std::condition_variable signal_;
    bool set_ = false;
};

// A mutex that may be released by another thread than the one that took it,
// as the worker's stop handshake needs. Lock waits without limit.
class ThreadMutex {
public:
    ThreadMutex() = default;
    ThreadMutex(const ThreadMutex&) = delete;
    ThreadMutex& operator=(const ThreadMutex&) = delete;

    void Lock();
    bool TryLock();
    void Unlock();

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool held_ = false;
};

}  // namespace platform
