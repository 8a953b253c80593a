// The engine's protocol over the recorder's parameters of the virtual drive:
// trigger modes, time base and recording time, channels and their variables,
// trigger levels, and what a failed device access shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/services/user_level.h"
#include "scope/recorder/scope_recorder.h"
#include "scope/recorder/tests/recorder_fixture.h"
#include "testsupport/test_env.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using scopetest::RecorderTest;

constexpr char kVariableMissingBox[] = "error: The variable is not in the variable list!";

class EngineTest : public RecorderTest {
protected:
    void SetUp() override {
        RecorderTest::SetUp();
        WriteList();
        engine_ = std::make_unique<ScopeRecorder>(base_.get(), "");
        ASSERT_TRUE(engine_->IsValid());
        drive_->ClearCapture();
    }
    void TearDown() override {
        engine_.reset();
        RecorderTest::TearDown();
    }
    int32_t DriveSigned(int number) { return static_cast<int32_t>(DriveValue(number)); }

    std::unique_ptr<ScopeRecorder> engine_;
};

TEST(TriggerModeTable, IndexAndValueOfParameter65) {
    const int16_t values[] = {4, 3, 2, 1, -1};
    for (int index = 0; index < kScopeTriggerModeCount; ++index) {
        int16_t value = 0;
        ASSERT_TRUE(ScopeTriggerModeValue(index, &value));
        EXPECT_EQ(value, values[index]) << index;
        EXPECT_EQ(ScopeTriggerModeIndex(values[index]), index);
    }
    int16_t untouched = 77;
    EXPECT_FALSE(ScopeTriggerModeValue(-1, &untouched));
    EXPECT_FALSE(ScopeTriggerModeValue(5, &untouched));
    EXPECT_EQ(untouched, 77);
    // Values outside the table, DA output among them, read as both edges.
    for (int16_t value : {0, 5, 9, -2}) EXPECT_EQ(ScopeTriggerModeIndex(value), 0) << value;
}

TEST_F(EngineTest, TriggerModeGoesThroughTheTableBothWays) {
    ASSERT_TRUE(engine_->SetTriggerMode(2));
    EXPECT_EQ(DriveSigned(65), 2);
    ASSERT_TRUE(engine_->SetTriggerMode(4));
    EXPECT_EQ(DriveSigned(65), -1);
    EXPECT_FALSE(engine_->SetTriggerMode(7));
    EXPECT_EQ(DriveSigned(65), -1);

    OnDrive(65).value = 0;  // DA output
    EXPECT_EQ(engine_->GetTriggerMode(), 0);
    OnDrive(65).value = 1;
    EXPECT_EQ(engine_->GetTriggerMode(), kScopeAutomaticTriggerIndex);
}

TEST_F(EngineTest, TimeBaseWritesTheRoundedDividerOfTheSinglePrecisionBaseTime) {
    struct Case {
        double ms;
        uint32_t baseTime;  // FLOAT32 bits
        uint32_t divider;
    };
    const Case cases[] = {
        {0.25, 0x38D1B717, 2},   // 0.0001 s: 2.5000001 intervals round up to 3
        {0.15, 0x38D1B717, 1},   // 1.5000000 up to 2
        {0.35, 0x38D1B717, 3},   // 3.5000001 up to 4
        {0.75, 0x399D4952, 1},   // 0.0003 s held as 0.00030000001: 2.4999999 down to 2
        {1e9, 0x38D1B717, 999},  // above the longest interval: the largest divider
        {-5.0, 0x38D1B717, 0},
    };
    for (const Case& c : cases) {
        OnDrive(350).value = c.baseTime;
        OnDrive(60).value = 77;
        ASSERT_TRUE(engine_->SetTimeBase(c.ms)) << c.ms;
        EXPECT_EQ(DriveValue(60), c.divider) << c.ms;
    }
}

TEST_F(EngineTest, TimeBaseZeroFirstRestoresTheSampleCountWhenWritable) {
    struct Case {
        uint8_t writeLevel;
        uint32_t length;
    };
    const Case cases[] = {{0, 1000}, {7, 500}};
    for (const Case& c : cases) {
        base_->GetEntry(62)->access = static_cast<uint8_t>(c.writeLevel << 4);
        OnDrive(62).value = 500;
        OnDrive(60).value = 9;
        ASSERT_TRUE(engine_->SetTimeBase(0));
        EXPECT_EQ(DriveValue(62), c.length) << int{c.writeLevel};
        EXPECT_EQ(DriveValue(60), 0u);
    }
}

TEST_F(EngineTest, RecordTimeChoosesSampleCountAndDivider) {
    // Channels 0 (16 bits) and 2 (32 bits): 6 bytes a row; 62 has the
    // default 1000 and the maximum 4000; the base time is 0.0001 s.
    OnDrive(20).value = 0x20;
    OnDrive(24).value = 0x60;
    struct Case {
        double seconds;
        uint32_t length;
        uint32_t divider;
    };
    const Case cases[] = {
        {1.0, 1000, 59},    // 166 rows of 6 ms
        {20.0, 4000, 299},  // longer than 1000 bytes allow: the largest count
        {0.001, 60, 0},     // shorter than 166 rows of the shortest interval
        {0.00001, 600, 0},  // below one interval: 100 intervals
    };
    for (const Case& c : cases) {
        OnDrive(62).value = 123;
        ASSERT_TRUE(engine_->SetRecordTime(c.seconds)) << c.seconds;
        EXPECT_EQ(DriveValue(62), c.length) << c.seconds;
        EXPECT_EQ(DriveValue(60), c.divider) << c.seconds;
    }

    // A sample count that may not be written stays; only the divider moves.
    base_->GetEntry(62)->access = 7 << 4;
    OnDrive(62).value = 500;
    ASSERT_TRUE(engine_->SetRecordTime(1.0));
    EXPECT_EQ(DriveValue(62), 500u);
    EXPECT_EQ(DriveValue(60), 119u);
}

TEST_F(EngineTest, ChannelBitsAreChangedByReadModifyWrite) {
    OnDrive(24).value = 0x40;
    ASSERT_TRUE(engine_->SetChannelActive(2, true));
    EXPECT_EQ(DriveValue(24), 0x60u);
    EXPECT_TRUE(engine_->IsChannelActive(2));
    EXPECT_EQ(engine_->GetBytesPerRow(), 4);
    ASSERT_TRUE(engine_->SetChannelActive(2, false));
    EXPECT_EQ(DriveValue(24), 0x40u);
    EXPECT_FALSE(engine_->IsChannelActive(2));
    EXPECT_FALSE(engine_->SetChannelActive(4, true));

    // A variable chosen by name sets the width bit and the index within the
    // width kind.
    OnDrive(20).value = 0x20;
    ASSERT_TRUE(engine_->SetChannelVariable(0, "POSITION"));
    EXPECT_EQ(DriveValue(20), 0x60u);
    EXPECT_EQ(DriveValue(21), 0u);
    EXPECT_EQ(engine_->GetChannelVariableName(0), "Position");
    ASSERT_TRUE(engine_->SetChannelVariable(0, "Torque"));
    EXPECT_EQ(DriveValue(20), 0x20u);
    EXPECT_EQ(DriveValue(21), 2u);
    EXPECT_EQ(engine_->GetBytesPerRow(), 2);

    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(engine_->SetChannelVariable(0, "Voltage"));
    EXPECT_EQ(DriveValue(21), 2u);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kVariableMissingBox});
}

TEST_F(EngineTest, UnitsOfVariablesAndControlTypes) {
    struct Case {
        uint32_t deviceCode;
        uint32_t controlType;
        const char* unit;
    };
    const Case cases[] = {
        {5000, 0, "Hz"},
        {5000, 1, "Nm"},
        {5000, 2, "1/min"},
        {5000, 3, "incr"},
        {5000, 4, "none"},
        {3500, 1, "Hz"},
    };
    OnDrive(21).value = 1;  // "Current", unit "variable"
    for (const Case& c : cases) {
        base_->SetValueDouble(91, c.deviceCode);
        OnDrive(300).value = c.controlType;
        EXPECT_EQ(engine_->GetChannelUnit(0), c.unit) << c.deviceCode << " " << c.controlType;
    }
    base_->SetValueDouble(91, 5000);
    OnDrive(21).value = 2;  // "Torque", unit "none"
    EXPECT_EQ(engine_->GetChannelUnit(0), "");
    OnDrive(21).value = 0;
    EXPECT_EQ(engine_->GetChannelUnit(0), "1/min");
    OnDrive(66).value = 0;
    EXPECT_EQ(engine_->GetTriggerUnit(), "1/min");
}

TEST_F(EngineTest, TriggerLevelIsConvertedWithTheTriggerChannelsVariable) {
    struct Case {
        uint32_t config;
        uint32_t variable;
        double level;
        int32_t raw;
        int integerWidth;
        double readBack;
    };
    const Case cases[] = {
        // "Current": 8 fraction bits, factor 2; lowest level -256.
        {0x20, 1, 3.0, 384, 5, 3.0},
        {0x20, 1, -1.0, -128, 5, -1.0},
        // "Position": 32 bits, 16 fraction bits, factor 2; the level is the
        // upper half; lowest level -65536.
        {0x60, 0, -6.0, -3, 7, -6.0},
        {0x60, 0, 5.0, 2, 7, 4.0},  // 2.5 keeps its whole part
    };
    OnDrive(66).value = 1;
    for (const Case& c : cases) {
        OnDrive(22).value = c.config;
        OnDrive(23).value = c.variable;
        ASSERT_TRUE(engine_->SetTriggerLevel(c.level)) << c.level;
        EXPECT_EQ(DriveSigned(64), c.raw) << c.level;
        EXPECT_EQ(engine_->GetTriggerLevel(), c.readBack) << c.level;
        EXPECT_EQ(engine_->GetLevelIntegerWidth(), c.integerWidth) << c.level;
    }

    // A trigger channel whose variable is not in the list.
    OnDrive(23).value = 9;
    OnDrive(64).value = 11;
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(engine_->SetTriggerLevel(1.0));
    EXPECT_EQ(DriveValue(64), 11u);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kVariableMissingBox});
}

TEST_F(EngineTest, ActualValueOfAChannelVariable) {
    OnDrive(72).value = static_cast<uint32_t>(-3);
    EXPECT_EQ(engine_->GetChannelValue(2, "position"), -6.0);
    OnDrive(70).value = 0x0180;
    EXPECT_EQ(engine_->GetChannelValue(0, "Current"), 3.0);
}

TEST_F(EngineTest, FailedAccessShowsTheDeviceErrorAndFallsBackToTheStoredValue) {
    OnDrive(66).value = 2;
    ASSERT_EQ(engine_->GetTriggerChannel(), 2);
    OnDrive(66).value = 3;
    drive_->AddFault(sim::DriveFault::Silence().For("20066").Times(sim::kForever));
    drive_->AddFault(sim::DriveFault::Silence().For("20068").Times(sim::kForever));
    gwtest::AnswerBox(GwRESULT_OK);
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(engine_->GetTriggerChannel(), 2);
    EXPECT_TRUE(engine_->HasError());
    EXPECT_FALSE(engine_->IsRunning());
    const std::vector<std::string> boxes = {
        "error: RS232 transmission error in parameter 66-TRCH : \nNo acknowlege of device!",
        "error: RS232 transmission error in parameter 68-SCCTL: \nNo acknowlege of device!",
    };
    EXPECT_EQ(BoxTexts(), boxes);
    engine_->ClearError();
    EXPECT_FALSE(engine_->HasError());
}

TEST_F(EngineTest, VisibleVariablesFollowTheUserLevel) {
    auto names = [&] {
        std::vector<std::string> seen;
        for (const char* name = engine_->NextVisibleVariable(); name != nullptr; name = engine_->NextVisibleVariable())
            seen.push_back(name);
        return seen;
    };
    SetUserLevel(4);
    const std::vector<std::string> level4 = {"Speed", "Current", "Position"};
    EXPECT_EQ(names(), level4);
    EXPECT_EQ(names(), level4);  // the cursor went back to the start
    SetUserLevel(5);
    const std::vector<std::string> level5 = {"Speed", "Current", "Position", "Torque"};
    EXPECT_EQ(names(), level5);
}

TEST_F(EngineTest, EngineWithoutAListIsNotValid) {
    std::filesystem::remove(testsupport::RuntimePath(scopetest::kListFile));
    gwtest::AnswerBox(GwRESULT_OK);
    ScopeRecorder engine(base_.get(), "");
    EXPECT_FALSE(engine.IsValid());
    EXPECT_TRUE(engine.HasError());
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"error: Cannot open file \"..\\FIRMDATA\\5_003_10.MCW\"!"});
}

}  // namespace
