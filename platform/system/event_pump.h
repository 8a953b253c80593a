// The event pump hook. The toolkit owns timers and queued events; the platform
// only knows how to ask it to run what is due, so serial loops and waits in
// lower layers can keep the user interface alive without depending on it.
#pragma once

#include <cstdint>
#include <optional>

namespace platform {

class PumpHook {
public:
    virtual ~PumpHook() = default;
    // Runs every due timer and queued event; returns whether anything ran.
    virtual bool ProcessPending() = 0;
    // Clock time (microseconds) at which the next timer falls due, if any.
    virtual std::optional<uint64_t> NextDueUs() = 0;
};

// Installs the hook (null removes it). The hook is not owned.
void SetPumpHook(PumpHook* hook);
PumpHook* GetPumpHook();

// Runs what is due. On a virtual clock owned by this thread, when nothing was
// due, time moves on to the next timer or by 1 ms, but never past `limit_us`
// (clock time in microseconds) when one is given.
void PumpEvents(std::optional<uint64_t> limit_us = std::nullopt);

}  // namespace platform
