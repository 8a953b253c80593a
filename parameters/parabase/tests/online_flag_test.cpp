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

TEST_F(OnlineFlagTest, ValueAccessGoesToTheDeviceOnlyWhenOnline) {
    ReadDevice();
    base_->InitFile(UserPath("onoff.00D").c_str());
    ASSERT_EQ(base_->WriteFileBase(), 0) << base_->MessageBuffer;
    OnOffBase online(*base_, true);
    OnOffBase offline(*base_, false);
    // The drive's values now differ from the copied tables (1.0 and 1, 2, 3).
    constexpr uint32_t kTwoAndAHalf = 0x40200000;
    constexpr uint32_t kOneAndThreeQuarters = 0x3FE00000;
    OnDrive(125).value = kTwoAndAHalf;
    OnDrive(200).elements[2] = 40;
    drive_->ClearCapture();

    double v = 0;
    ASSERT_EQ(offline.ReadValue(125, &v), 0);
    EXPECT_EQ(v, 1.0);
    ASSERT_EQ(offline.ReadValue(200, &v, 2), 0);
    EXPECT_EQ(v, 3.0);
    ASSERT_EQ(offline.WriteValue(125, 1.75), 0);
    ASSERT_EQ(offline.WriteValue(200, 7.0, 1), 0);
    EXPECT_EQ(TelegramTexts(), std::vector<std::string>{});
    ASSERT_EQ(offline.GetValueDouble(125, &v), 0);
    EXPECT_EQ(v, 1.75);
    ASSERT_EQ(offline.GetValueDouble(200, &v, 1), 0);
    EXPECT_EQ(v, 7.0);
    EXPECT_EQ(OnDrive(125).value, kTwoAndAHalf);
    EXPECT_EQ(OnDrive(200).elements[1], 2u);

    ASSERT_EQ(online.ReadValue(125, &v), 0);
    EXPECT_EQ(v, 2.5);
    ASSERT_EQ(online.ReadValue(200, &v, 2), 0);
    EXPECT_EQ(v, 40.0);
    ASSERT_EQ(online.WriteValue(125, 1.75), 0);
    ASSERT_EQ(online.WriteValue(200, 9.0, 1), 0);
    EXPECT_EQ(TelegramTexts().size(), 4u);
    EXPECT_EQ(OnDrive(125).value, kOneAndThreeQuarters);
    EXPECT_EQ(OnDrive(200).elements[1], 9u);
    ASSERT_EQ(online.GetValueDouble(200, &v, 1), 0);
    EXPECT_EQ(v, 9.0);

    // The limits hold both ways: the table keeps its value and the drive
    // takes no write.
    drive_->ClearCapture();
    EXPECT_NE(offline.WriteValue(125, 150.0), 0);
    EXPECT_EQ(TelegramTexts(), std::vector<std::string>{});
    EXPECT_NE(online.WriteValue(125, 150.0), 0);
    ASSERT_EQ(online.GetValueDouble(125, &v), 0);
    EXPECT_EQ(v, 1.75);
    EXPECT_EQ(OnDrive(125).value, kOneAndThreeQuarters);
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
