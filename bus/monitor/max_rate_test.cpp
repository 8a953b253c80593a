#include "bus/monitor/max_rate_test.h"

#include "app/services/program_flags.h"
#include "bus/base/basic_bus.h"
#include "bus/base/timeout.h"
#include "parameters/parabase/para_base.h"
#include "toolkit/core/gw_cursor.h"

namespace {

constexpr double kTestSeconds = kMaxRateTestMs / 1000.0;

// Restores ModalFlag when the test ends.
class ModalFlagCleared {
public:
    ModalFlagCleared() : saved_(ModalFlag) { ModalFlag = false; }
    ~ModalFlagCleared() { ModalFlag = saved_; }
    ModalFlagCleared(const ModalFlagCleared&) = delete;
    ModalFlagCleared& operator=(const ModalFlagCleared&) = delete;

private:
    bool saved_;
};

}  // namespace

double MeasureMaximumRate(ParaBase* base) {
    ModalFlagCleared modal;
    uint32_t reads = 0;
    if (base != nullptr && !DevicesUncoupled) {
        GwWaitObject wait;
        CTimeout timeout;
        timeout.Start(kMaxRateTestMs);
        // DevicesUncoupled may be set by what runs while a read waits.
        while (!timeout.IsExpired() && !DevicesUncoupled) {
            const BusRequestCounterSet before = BusRequestCounters;
            uint8_t value = 0;
            // The value may not fit 8 bits; only the exchange matters here.
            base->ReadValueU8(kMaxRateTestParameter, &value);
            if (BusRequestCounters.succeeded != before.succeeded) {
                ++reads;
            } else if (BusRequestCounters.failed == before.failed) {
                // Refused before any bus took it (no bus, no such parameter):
                // every further read would end the same way at once.
                break;
            }
        }
    }
    return reads / kTestSeconds;
}
