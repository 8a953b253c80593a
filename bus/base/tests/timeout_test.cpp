// Bus time-outs on the virtual clock, across the wrap of the tick count.
#include <gtest/gtest.h>

#include "bus/base/timeout.h"
#include "platform/system/clock.h"

namespace {

TEST(CTimeout, AnUnarmedTimeoutHasExpired) {
    CTimeout timeout;
    EXPECT_TRUE(timeout.IsExpired());
}

TEST(CTimeout, ExpiresAfterItsTimeEvenAcrossTheWrap) {
    for (uint32_t start : {0x10000u, 0xFFFFFF00u}) {
        platform::InstallClock(std::make_unique<platform::VirtualClock>(start));
        platform::VirtualClock& clock = *platform::TheVirtualClock();
        CTimeout timeout;
        timeout.Start(4000);
        clock.AdvanceMs(3999);
        EXPECT_FALSE(timeout.IsExpired()) << start;
        clock.AdvanceMs(1);
        EXPECT_TRUE(timeout.IsExpired()) << start;
    }
}

TEST(BusyWait, SpinsOnTheTickAndReturnsIt) {
    platform::InstallClock(std::make_unique<platform::VirtualClock>(0xFFFFFFF0u));
    const uint32_t before = platform::GetTickCount();
    EXPECT_EQ(BusyWait(80), before + 80);
    EXPECT_EQ(platform::GetTickCount(), before + 80);
}

}  // namespace
