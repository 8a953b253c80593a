// The poll timer of every polling window: its interval follows the active
// bus's baud rate between a minimum and a maximum, is divided by the
// program-wide poll-rate factor, and is 1500 ms while no device is online.
#pragma once

#include <cstdint>

#include "toolkit/core/gw_ref.h"

class GwCore;

// Interval while no device is online, in ms.
inline constexpr uint32_t kOfflinePollIntervalMs = 1500;
// The rate at which a record's weight is its interval.
inline constexpr uint32_t kReferenceBaudRate = 9600;
// Longest interval the toolkit timer is given, in ms.
inline constexpr uint32_t kMaxTimerIntervalMs = 65535;
// The generic device-window timers' record: maximum, weight, minimum.
inline constexpr uint32_t kDeviceWindowPollMaximumMs = 100000;
inline constexpr uint32_t kDeviceWindowPollWeightMs = 4000;
inline constexpr uint32_t kDeviceWindowPollMinimumMs = 1000;

struct PollTimer {
    uint32_t Maximum = 0;
    uint32_t IntervalAt9600 = 0;  // the interval when the bus runs at 9600 baud
    uint32_t Minimum = 0;
    GwRef<> Widget;
    uint32_t Current = 0;  // the last computed interval

    // Sets and returns Current: 1500 without an online device, else the
    // weight scaled to the active bus's rate (a rate of 0 counts as 9600),
    // held between minimum and maximum, then divided by PollRateFactor (one
    // of 0 or below counts as 1.0).
    uint32_t ComputeInterval();
    // Computes the interval and, when the widget exists and is visible,
    // starts its timer with it, held in 1 to 65535 ms.
    void Restart();
};

// Restarts the timer when it goes out of scope, so that a tick restarts its
// timer on every way out, an error or an exception included.
class PollTimerRestartAtEnd {
public:
    explicit PollTimerRestartAtEnd(PollTimer& timer) : timer_(timer) {}
    ~PollTimerRestartAtEnd() { timer_.Restart(); }
    PollTimerRestartAtEnd(const PollTimerRestartAtEnd&) = delete;
    PollTimerRestartAtEnd& operator=(const PollTimerRestartAtEnd&) = delete;

private:
    PollTimer& timer_;
};
