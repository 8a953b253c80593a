#include "platform/system/sync_event.h"

#include <algorithm>
#include <chrono>

#include "platform/base/log_sink.h"
#include "platform/system/clock.h"

namespace platform {

namespace {

// Real time a wait blocks at a stretch while it carries a virtual clock along,
// so the clock follows real time closely.
constexpr std::chrono::microseconds kVirtualSlice{1000};
// The step by which an idle-stepped wait moves a virtual clock.
constexpr uint64_t kIdleStepUs = 1000;

uint64_t RealMicrosecondsSince(std::chrono::steady_clock::time_point start) {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count());
}

}  // namespace

void AutoResetEvent::Set() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        set_ = true;
    }
    signal_.notify_one();
}

void AutoResetEvent::Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    set_ = false;
}

bool AutoResetEvent::TryWait() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ConsumeLocked();
}

bool AutoResetEvent::ConsumeLocked() {
    const bool was = set_;
    set_ = false;
    return was;
}

bool AutoResetEvent::Wait(uint32_t ms, const std::function<void()>& idle) {
    Clock& clock = TheClock();
    VirtualClock* virtualClock = clock.IsVirtual() ? static_cast<VirtualClock*>(&clock) : nullptr;
    const bool drivesClock = virtualClock != nullptr && virtualClock->OwnedByThisThread();
    const uint64_t startUs = clock.NowUs();
    const uint64_t endUs = startUs + uint64_t{ms} * 1000;
    const auto realStart = std::chrono::steady_clock::now();
    const auto isSet = [this] { return set_; };

    for (;;) {
        if (idle) idle();
        {
            std::unique_lock<std::mutex> lock(mutex_);
            if (ConsumeLocked()) return true;
            const uint64_t nowUs = clock.NowUs();
            if (nowUs >= endUs) return false;
            if (virtualClock == nullptr) {
                const auto left = std::chrono::microseconds(endUs - nowUs);
                signal_.wait_for(lock, idle ? std::min(left, kVirtualSlice) : left, isSet);
                continue;
            }
            if (drivesClock && idle) {
                lock.unlock();
                virtualClock->AdvanceToUs(std::min(nowUs + kIdleStepUs, endUs));
                continue;
            }
            signal_.wait_for(lock, kVirtualSlice, isSet);
        }
        const uint64_t realUs = RealMicrosecondsSince(realStart);
        if (drivesClock) {
            virtualClock->AdvanceToUs(std::min(startUs + realUs, endUs));
        } else if (realUs >= (uint64_t{ms} + kVirtualWaitRealGuardMs) * 1000) {
            LogLine("AutoResetEvent: a wait on a clock this thread does not move ended by its real-time guard");
            return TryWait();
        }
    }
}

bool AutoResetEvent::WaitRealUs(uint32_t us) {
    std::unique_lock<std::mutex> lock(mutex_);
    signal_.wait_for(lock, std::chrono::microseconds(us), [this] { return set_; });
    return ConsumeLocked();
}

void ThreadMutex::Lock() {
    std::unique_lock<std::mutex> lock(mutex_);
    released_.wait(lock, [this] { return !held_; });
    held_ = true;
}

bool ThreadMutex::TryLock() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (held_) return false;
    held_ = true;
    return true;
}

void ThreadMutex::Unlock() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        held_ = false;
    }
    released_.notify_one();
}

}  // namespace platform
