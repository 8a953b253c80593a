// Widget timers and queued user events, run by the event pump. The toolkit
// installs itself as the platform's pump hook, so "process pending events",
// waits that pump and serial loops run due timers in due-time order; a busy
// wait runs none. Times come from the injectable clock.
#pragma once

#include <cstdint>
#include <optional>

class GwCore;

// Shortest timer period; a start with 0 ms uses this.
constexpr uint32_t kGwMinTimerIntervalMs = 1;

class GwTimerScheduler {
public:
    static void Start(GwCore* widget, uint32_t interval_ms);
    static void Cancel(GwCore* widget);
    static void PostUserEvent(GwCore* widget, int user1, int user2);
    // Runs queued user events, then every due timer in due-time order (a
    // timer fires at most once per call); returns whether anything ran.
    static bool ProcessPending();
    // The earliest of the next timer, a queued user event (now) and what the
    // installed interaction has due.
    static std::optional<uint64_t> NextDueUs();
    // Drops every timer and queued event; the pump hook stays.
    static void ClearTimers();
    // ClearTimers, and the toolkit is the pump hook again (between tests).
    static void Reset();
    // The widget whose queued user event runs next, or null.
    static GwCore* NextUserEventWidget();
};

// Runs what is pending now, without moving the clock: queued user events,
// due timers, then the installed interaction's event processing (a
// renderer's own event loop, the test driver's scheduled actions).
bool GwProcessPendingEvents();
