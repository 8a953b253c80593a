// Reading the recorder's sample buffer from the virtual drive: the blocks and
// their acknowledgements, the progress shown in the window, cancelling, bus
// failures and a block that would pass the end of the buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scope/recorder/tests/recorder_fixture.h"

namespace {

using scopetest::RecorderTest;

std::vector<uint8_t> Counting(size_t n) {
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    return bytes;
}

class BufferReadTest : public RecorderTest {
protected:
    void SetUp() override {
        RecorderTest::SetUp();
        drive_->AddRecorder();
    }
    // The recorder holds `samples` and the buffer length is `length`.
    void Recorded(const std::vector<uint8_t>& samples, uint32_t length) {
        drive_->SetSamples(samples);
        SetOnDrive(62, length);
        drive_->ClearCapture();
    }
};

TEST_F(BufferReadTest, BlocksOfSixtyFourBytesMakeTheWholeBuffer) {
    const std::vector<uint8_t> samples = Counting(184);
    Recorded(samples, 184);

    ASSERT_EQ(base_->ReadScopeBuffer(), 0) << base_->MessageBuffer;

    EXPECT_EQ(base_->Recording().bufferLength, 184);
    EXPECT_EQ(base_->Recording().bytesReceived, 184u);
    ASSERT_EQ(base_->Recording().samples.size(), 184u + 50u);
    EXPECT_EQ(std::vector<uint8_t>(base_->Recording().samples.begin(), base_->Recording().samples.begin() + 184),
              samples);
    // The length, the transfer start, then each block acknowledged.
    const std::vector<std::string> expected = {
        "20062", "20110=2", "60002", "20110=1", "60002", "20110=1", "60002", "20110=1"};
    EXPECT_EQ(Telegrams(), expected);
    // Progress is shown before each block is counted: 0, 64 and 128 of 184
    // bytes, 100 with the last block, then the end.
    const std::vector<float> moves = {0.0f, 64.0f / 184 * 100, 128.0f / 184 * 100, 100.0f};
    EXPECT_EQ(window_.moves, moves);
    EXPECT_EQ(window_.resets, 1);
}

TEST_F(BufferReadTest, RecordingLongerThanTheLengthIsKeptButCountedWhole) {
    // A drive that delivers more than the length asked for: it fits the
    // buffer's reserve and is received, the export counts only the length.
    Recorded(Counting(60), 12);
    ASSERT_EQ(base_->ReadScopeBuffer(), 0) << base_->MessageBuffer;
    EXPECT_EQ(base_->Recording().bytesReceived, 60u);
    EXPECT_EQ(base_->Recording().bufferLength, 12);
}

TEST_F(BufferReadTest, EmptyRecordingReadsNoBlock) {
    Recorded(Counting(10), 0);
    ASSERT_EQ(base_->ReadScopeBuffer(), 0) << base_->MessageBuffer;
    const std::vector<std::string> expected = {"20062", "20110=2"};
    EXPECT_EQ(Telegrams(), expected);
    EXPECT_EQ(base_->Recording().bytesReceived, 0u);
    EXPECT_TRUE(window_.moves.empty());
    EXPECT_EQ(window_.resets, 1);
}

TEST_F(BufferReadTest, CancelDuringTheSecondBlockEndsTheProgress) {
    Recorded(Counting(184), 184);
    window_.stopAtMove = 2;

    EXPECT_EQ(base_->ReadScopeBuffer(), 24);

    EXPECT_STREQ(base_->MessageBuffer, "Operation cancelled");
    EXPECT_EQ(window_.moves.size(), 2u);
    EXPECT_EQ(window_.resets, 1);
    const std::vector<std::string> expected = {"20062", "20110=2", "60002", "20110=1", "60002", "20110=1"};
    EXPECT_EQ(Telegrams(), expected);
}

TEST_F(BufferReadTest, WindowWithoutEngineStopsAtTheFirstBlock) {
    Recorded(Counting(184), 184);
    window_.engine = false;
    EXPECT_EQ(base_->ReadScopeBuffer(), 24);
    EXPECT_TRUE(window_.moves.empty());
}

TEST_F(BufferReadTest, SilentDriveIsABusFailureAndEndsTheProgress) {
    Recorded(Counting(184), 184);
    drive_->AddFault(sim::DriveFault::Silence().For("60002").Times(sim::kForever));
    EXPECT_EQ(base_->ReadScopeBuffer(), 13);
    EXPECT_TRUE(window_.moves.empty());
    EXPECT_EQ(window_.resets, 1);
}

TEST_F(BufferReadTest, RefusedAcknowledgementEndsWithItsErrorAndTheProgressEnd) {
    // The drive takes 2 but no longer 1 for the transfer parameter.
    Recorded(Counting(184), 184);
    OnDrive(110).minimum = 2;
    base_->GetEntry(110)->minimum = 2;
    EXPECT_EQ(base_->ReadScopeBuffer(), 11) << base_->MessageBuffer;
    EXPECT_TRUE(window_.moves.empty());
    EXPECT_EQ(window_.resets, 1);
    EXPECT_EQ(base_->Recording().bytesReceived, 0u);
}

TEST_F(BufferReadTest, EmptyBlockThatIsNotTheLastEndsTheRead) {
    // A drive answering every block request with no bytes and no end mark
    // would otherwise be asked again without end.
    Recorded(Counting(184), 184);
    std::vector<uint8_t> reply = {static_cast<uint8_t>('@' + scopetest::kAddress), 0x02};
    const std::string text = "60002=\x03";
    reply.insert(reply.end(), text.begin(), text.end());
    uint8_t check = 0;
    for (char c : text) check ^= static_cast<uint8_t>(c);
    reply.push_back(check);
    drive_->AddFault(sim::DriveFault::RawReply(reply).For("60002").Times(sim::kForever));

    EXPECT_EQ(base_->ReadScopeBuffer(), 12);
    EXPECT_STREQ(base_->MessageBuffer, "Data of parameter 110-SCXFR is invalid");
    EXPECT_EQ(base_->Recording().bytesReceived, 0u);
    EXPECT_EQ(window_.resets, 1);
    const std::vector<std::string> expected = {"20062", "20110=2", "60002"};
    EXPECT_EQ(Telegrams(), expected);
}

TEST_F(BufferReadTest, BlockPassingTheEndOfTheBufferIsABusFailure) {
    // 12 bytes and the reserve of 50 leave room for 62; the drive's first
    // block is 64 bytes.
    Recorded(Counting(100), 12);
    EXPECT_EQ(base_->ReadScopeBuffer(), 13);
    EXPECT_EQ(base_->Recording().bytesReceived, 0u);
    EXPECT_EQ(window_.resets, 1);
    const std::vector<std::string> expected = {"20062", "20110=2", "60002"};
    EXPECT_EQ(Telegrams(), expected);
}

}  // namespace
