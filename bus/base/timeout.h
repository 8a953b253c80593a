// Tick-count time-outs of the drive buses, on the program's clock.
#pragma once

#include <cstdint>

// A deadline on the tick count. Made unarmed; an unarmed time-out counts as
// expired. Elapsed time is measured from the start, so the 32-bit wrap of the
// tick count never ends it early.
class CTimeout {
public:
    virtual ~CTimeout() = default;

    void Start(uint32_t milliseconds);
    bool IsExpired() const;

private:
    bool armed_ = false;
    uint32_t start_ = 0;
    uint32_t duration_ = 0;
};

// Spins on the tick count for `milliseconds` without sleeping and without
// processing events. Returns the tick count at the end.
uint32_t BusyWait(uint32_t milliseconds);
