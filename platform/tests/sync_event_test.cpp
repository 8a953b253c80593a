#include "platform/system/sync_event.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/system/clock.h"
#include "platform/system/descriptor_wait.h"

namespace {

using platform::AutoResetEvent;
using platform::TheVirtualClock;

TEST(AutoResetEvent, OneWaitConsumesTheSignal) {
    AutoResetEvent event;
    EXPECT_FALSE(event.TryWait());
    event.Set();
    event.Set();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_FALSE(event.Wait(0));
    event.Set();
    event.Reset();
    EXPECT_FALSE(event.TryWait());
}

TEST(AutoResetEvent, AnIdleStepRunsBetweenChecksAndMovesTheVirtualClockByOneMillisecond) {
    AutoResetEvent event;
    int steps = 0;
    const uint64_t start = TheVirtualClock()->NowMs();
    EXPECT_FALSE(event.Wait(50, [&] { ++steps; }));
    EXPECT_EQ(TheVirtualClock()->NowMs() - start, 50u);
    EXPECT_EQ(steps, 51);

    // The step that sets the event ends the wait at that moment.
    steps = 0;
    const uint64_t again = TheVirtualClock()->NowMs();
    EXPECT_TRUE(event.Wait(50, [&] {
        if (++steps == 10) event.Set();
    }));
    EXPECT_EQ(TheVirtualClock()->NowMs() - again, 9u);
}

TEST(AutoResetEvent, AWaitOnItsOwnVirtualClockCarriesTheClockAlongInRealTime) {
    AutoResetEvent event;
    const uint64_t start = TheVirtualClock()->NowMs();
    const auto realStart = std::chrono::steady_clock::now();
    EXPECT_FALSE(event.Wait(15));
    EXPECT_EQ(TheVirtualClock()->NowMs() - start, 15u);
    EXPECT_GE(std::chrono::steady_clock::now() - realStart, std::chrono::milliseconds(15));

    std::thread setter([&] { event.Set(); });
    EXPECT_TRUE(event.Wait(5000));
    setter.join();
    EXPECT_LT(TheVirtualClock()->NowMs() - start, 5000u);
}

TEST(AutoResetEvent, AWaitOnAnotherThreadsVirtualClockEndsWhenThatThreadMovesPastTheDeadline) {
    AutoResetEvent event;
    std::atomic<bool> done{false};
    bool result = true;
    std::thread waiter([&] {
        result = event.Wait(100);
        done = true;
    });
    while (!done) {
        TheVirtualClock()->AdvanceMs(1);
        std::this_thread::yield();
    }
    waiter.join();
    EXPECT_FALSE(result);
}

TEST(AutoResetEvent, OnTheRealClockAWaitBlocksUntilSetOrItsTime) {
    platform::InstallClock(nullptr);
    AutoResetEvent event;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(event.Wait(10));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(10));
    std::thread setter([&] { event.Set(); });
    EXPECT_TRUE(event.Wait(5000));
    setter.join();
}

TEST(ThreadMutex, MayBeReleasedByAnotherThreadThanTheOneThatTookIt) {
    platform::ThreadMutex mutex;
    mutex.Lock();
    EXPECT_FALSE(mutex.TryLock());
    std::thread other([&] { mutex.Unlock(); });
    other.join();
    EXPECT_TRUE(mutex.TryLock());

    // Lock waits until the holder lets go.
    std::thread waiter([&] {
        mutex.Lock();
        mutex.Unlock();
    });
    mutex.Unlock();
    waiter.join();
    EXPECT_TRUE(mutex.TryLock());
}

// A worker's pause on a virtual clock nobody moves still ends in real time,
// and a signal ends it at once.
TEST(AutoResetEvent, ARealTimeWaitIgnoresTheVirtualClock) {
    AutoResetEvent event;
    const uint64_t start = TheVirtualClock()->NowUs();
    const auto realStart = std::chrono::steady_clock::now();
    EXPECT_FALSE(event.WaitRealUs(2000));
    EXPECT_GE(std::chrono::steady_clock::now() - realStart, std::chrono::microseconds(2000));
    EXPECT_EQ(TheVirtualClock()->NowUs(), start);

    event.Set();
    EXPECT_TRUE(event.WaitRealUs(60'000'000));
    EXPECT_FALSE(event.TryWait());

    std::thread setter([&] { event.Set(); });
    EXPECT_TRUE(event.WaitRealUs(60'000'000)) << "the signal of another thread ends the wait";
    setter.join();
}

// What ends a wait on a wake-up and a descriptor; every case is ready before
// the wait begins, so no case depends on another thread's timing.
TEST(DescriptorWait, AWakeUpADescriptorOrTheLimitEndsTheWait) {
    platform::DescriptorWait wait;
    int pipeEnds[2] = {-1, -1};
    ASSERT_EQ(pipe(pipeEnds), 0);
    using Woken = platform::DescriptorWait::Woken;

    EXPECT_EQ(wait.WaitRealUs(100, pipeEnds[0]), Woken::kTimeout);
    wait.Wake();
    wait.Wake();
    // Two wake-ups before one wait are one, and win over a readable descriptor.
    ASSERT_EQ(write(pipeEnds[1], "x", 1), 1);
    EXPECT_EQ(wait.WaitRealUs(10'000'000, pipeEnds[0]), Woken::kWakeUp);
    EXPECT_EQ(wait.WaitRealUs(10'000'000, pipeEnds[0]), Woken::kDescriptor);
    // Without a descriptor only the wake-up counts.
    EXPECT_EQ(wait.WaitRealUs(100), Woken::kTimeout);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    // A descriptor that is no open file cannot be waited on.
    EXPECT_EQ(wait.WaitRealUs(10'000'000, pipeEnds[0]), Woken::kBadDescriptor);
}

}  // namespace
