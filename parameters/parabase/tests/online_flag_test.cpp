// The online flag of a base, the bases whose maker chooses it, and the tests
// of a parameter's name (the PLC project among them).
#include <gtest/gtest.h>

#include "parameters/parabase/on_off_base.h"
#include "parameters/parabase/parameter_name.h"
#include "parameters/parabase/plc_project.h"
#include "parameters/parabase/tests/transfer_fixture.h"

namespace {

using parabasetest::Define;
using parabasetest::TransferTest;

class OnlineFlagTest : public TransferTest {};

TEST_F(OnlineFlagTest, OnlyABaseMadeForABusIsOnlineUnlessItsMakerChooses) {
    ReadDevice();
    // A copy takes its value texts from the source's files.
    base_->InitFile(UserPath("onoff.00D").c_str());
    ASSERT_EQ(base_->WriteFileBase(), 0) << base_->MessageBuffer;
    ParaBase empty;
    ParaBase copy(*base_);
    OnOffBase offlineEmpty(false);
    OnOffBase onlineEmpty(true);
    OnOffBase onlineCopy(*base_, true);
    OnOffBase offlineCopy(*base_, false);
    struct Case {
        const char* what;
        const ParaBase& base;
        bool online;
    } cases[] = {
        {"bus base", *base_, true},
        {"empty", empty, false},
        {"copy", copy, false},
        {"on-off empty offline", offlineEmpty, false},
        {"on-off empty online", onlineEmpty, true},
        {"on-off copy online", onlineCopy, true},
        {"on-off copy offline", offlineCopy, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.base.IsOnline(), c.online) << c.what;
    // The copies carry the device's table and bus.
    uint16_t type = 0;
    EXPECT_EQ(onlineCopy.GetValueU16(91, &type), 0);
    EXPECT_EQ(type, 5123);
    EXPECT_EQ(offlineCopy.GetBus(), bus_.get());
    EXPECT_EQ(offlineCopy.GetAddress(), parabasetest::kDriveAddress);
}

TEST_F(OnlineFlagTest, NamesComparedExactlyOrTrimmed) {
    ParaBase base;
    Define(base, {.number = 468, .name = "PLCPJ", .type = kTypeString});
    Define(base, {.number = 130, .name = "NAME", .type = kTypeString});  // stored "NAME "
    Define(base, {.number = 88, .name = "PWRON"});
    base.GetEntry(88)->valid = 0;
    EXPECT_TRUE(HasPlcProject(&base));
    EXPECT_FALSE(HasPlcProject(nullptr));
    EXPECT_FALSE(HasParameterNamed(base, 130, "NAME"));
    EXPECT_TRUE(HasParameterTrimmedNamed(base, 130, "NAME"));
    EXPECT_EQ(PresentParameterName(base, 130), "NAME ");
    EXPECT_FALSE(HasParameterNamed(base, 88, "PWRON"));  // not valid
    EXPECT_EQ(PresentParameterName(base, 88), "");

    Define(base, {.number = 468, .name = "PLCP", .type = kTypeString});
    EXPECT_FALSE(HasPlcProject(&base));
}

}  // namespace
