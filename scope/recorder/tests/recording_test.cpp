// A whole recording against the virtual drive's recorder: set up two
// channels and a trigger, start, wait on the virtual clock until the drive
// is done, read the buffer and export it; the value file holds the drive's
// samples scaled by the variables.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/system/clock.h"
#include "scope/recorder/scope_recorder.h"
#include "scope/recorder/tests/recorder_fixture.h"
#include "sim/drive_recorder.h"

namespace {

using scopetest::RecorderTest;

constexpr uint64_t kTriggerDelayUs = 200000;
constexpr int kWaitLimitMs = 5000;

// Raw samples of "Speed" (16 bits) and "Position" (32 bits) by row.
uint32_t SpeedSample(size_t row) { return static_cast<uint32_t>(static_cast<int>(row) * 37 - 500) & 0xFFFF; }
uint32_t PositionSample(size_t row) { return static_cast<uint32_t>(static_cast<int32_t>(row) * 0x8000 - 0x100000); }

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t at = 0;
    for (size_t next; (next = text.find(separator, at)) != std::string::npos; at = next + separator.size())
        parts.push_back(text.substr(at, next - at));
    parts.push_back(text.substr(at));
    return parts;
}

class RecordingTest : public RecorderTest {
protected:
    // Polls like the window: 1 ms sleeps between device reads; the time
    // waited in microseconds, or -1 when the state never came.
    template <typename Condition>
    int64_t WaitFor(Condition condition) {
        const uint64_t start = platform::TheClock().NowUs();
        for (int i = 0; i < kWaitLimitMs; ++i) {
            if (condition()) return static_cast<int64_t>(platform::TheClock().NowUs() - start);
            platform::Sleep(1);
        }
        return -1;
    }
};

TEST_F(RecordingTest, RecordingOfTwoChannelsEndsInTheValueFile) {
    WriteList();
    sim::DriveRecorder& recorder = drive_->AddRecorder();
    recorder.SetSignal(1, 0, SpeedSample);
    recorder.SetSignal(2, 0, PositionSample);
    recorder.SetTriggerDelayUs(kTriggerDelayUs);

    ScopeRecorder engine(base_.get(), "");
    ASSERT_TRUE(engine.IsValid());
    ASSERT_TRUE(engine.SetChannelActive(0, true));
    ASSERT_TRUE(engine.SetChannelVariable(0, "Speed"));
    ASSERT_TRUE(engine.SetChannelActive(1, true));
    ASSERT_TRUE(engine.SetChannelVariable(1, "Position"));
    ASSERT_TRUE(engine.SetTriggerChannel(1));
    ASSERT_TRUE(engine.SetTriggerMode(2));  // rising edge
    ASSERT_TRUE(engine.SetTriggerLevel(4.0));
    ASSERT_TRUE(engine.SetPreTrigger(25.0));
    // 1000 bytes of 6-byte rows: 166 rows at 0.6 ms.
    ASSERT_TRUE(engine.SetRecordTime(0.1));
    ASSERT_EQ(DriveValue(62), 1000u);
    ASSERT_EQ(DriveValue(60), 5u);
    EXPECT_NEAR(engine.GetRecordTime(), 0.0996, 1e-6);

    const uint64_t started = platform::TheClock().NowUs();
    ASSERT_TRUE(engine.Start());
    EXPECT_TRUE(engine.IsRunning());
    EXPECT_FALSE(engine.IsTriggered());
    ASSERT_GE(WaitFor([&] { return engine.IsTriggered(); }), 0);
    EXPECT_GE(platform::TheClock().NowUs() - started, kTriggerDelayUs);
    EXPECT_TRUE(engine.IsRunning());
    ASSERT_GE(WaitFor([&] { return engine.IsStopped(); }), 0);
    // 125 rows after the trigger at 0.6 ms each.
    EXPECT_GE(platform::TheClock().NowUs() - started, kTriggerDelayUs + 75000);
    EXPECT_TRUE(engine.IsTriggered());

    ASSERT_TRUE(engine.ReadAndExport());
    ASSERT_TRUE(engine.Stop());
    EXPECT_EQ(DriveValue(68), 0u);
    EXPECT_FALSE(engine.HasError());

    const std::vector<std::string> header = Split(Runtime("TMP/Scope.SDC"), "\r\n");
    ASSERT_GE(header.size(), 6u);
    EXPECT_EQ(header[0], "0 Speed [1/min]");
    EXPECT_EQ(header[1], "1 Position [Incr]");
    EXPECT_EQ(header[2], "Triggerchannel:  1");
    EXPECT_EQ(header[4], "Triggervalue:    4.000000 Incr");
    EXPECT_EQ(header[5], "Triggermode:     Steigende Flanke");

    std::vector<std::string> lines = Split(Runtime("TMP/Scope.DAT"), "\r\n");
    ASSERT_EQ(lines.back(), "");
    lines.pop_back();
    ASSERT_EQ(lines.size(), 166u);
    const int preTriggerRows = 41;  // 25 percent of 166, rounded down
    ASSERT_EQ(recorder.PreTriggerRows(), static_cast<size_t>(preTriggerRows));
    for (size_t row = 0; row < lines.size(); ++row) {
        SCOPED_TRACE(lines[row]);
        const std::vector<std::string> fields = Split(lines[row], "\t");
        ASSERT_EQ(fields.size(), 5u);
        EXPECT_DOUBLE_EQ(std::strtod(fields[0].c_str(), nullptr),
                         6 * (static_cast<int>(row) - preTriggerRows) * 0.0001);
        // Speed: 8 fraction bits, factor 2; Position: 16 fraction bits, factor 2.
        EXPECT_DOUBLE_EQ(std::strtod(fields[1].c_str(), nullptr), static_cast<int16_t>(SpeedSample(row)) / 256.0 * 2);
        EXPECT_DOUBLE_EQ(std::strtod(fields[2].c_str(), nullptr),
                         static_cast<int32_t>(PositionSample(row)) / 65536.0 * 2);
        EXPECT_EQ(fields[3], "");
        EXPECT_EQ(fields[4], "");
    }
}

}  // namespace
