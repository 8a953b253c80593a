#include "platform/system/sound.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/paths.h"
#include "platform/system/program_start.h"
#include "testsupport/test_env.h"

namespace {

using platform::ProgramStart;
using platform::SoundRequest;

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override { testsupport::WriteFile(testsupport::RuntimePath("bin/chord.wav"), "RIFF"); }
    static const std::vector<std::string>& Log() { return testsupport::LoggedLines(); }
};

TEST_F(SoundTest, RequestsAreRecordedInOrderAndPlayNothingWhileOutputIsOff) {
    platform::PlaySoundFile(".\\chord.wav");
    platform::Beep(400, 300);
    platform::PlaySoundFile(".\\missing.wav");
    EXPECT_EQ(platform::RecordedSounds(),
              (std::vector<SoundRequest>{{".\\chord.wav", 0, 0}, {"", 400, 300}, {".\\missing.wav", 0, 0}}));
    EXPECT_TRUE(platform::RecordedProgramStarts().empty());
    EXPECT_TRUE(Log().empty());
}

TEST_F(SoundTest, WithOutputOnThePlayerGetsTheNativePathWithoutAShell) {
    platform::SetSoundOutput(true);
    platform::PlaySoundFile(".\\chord.wav");
    const std::string chord = *platform::FindExisting(".\\chord.wav");
    ASSERT_EQ(platform::RecordedProgramStarts(), (std::vector<ProgramStart>{{"paplay", {"paplay", chord}, false}}));

    platform::Beep(400, 300);
    const std::vector<ProgramStart> starts = platform::RecordedProgramStarts();
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[1].program, "paplay");
    ASSERT_EQ(starts[1].args.size(), 2u);
    const std::optional<std::string> tone = platform::FindExisting("..\\TMP\\tone_400_300.wav");
    ASSERT_TRUE(tone.has_value());
    EXPECT_EQ(starts[1].args[1], *tone);
    // 8000 samples a second for 0.3 s after the 44-byte header.
    EXPECT_EQ(std::filesystem::file_size(*tone), 44u + 2400u);
    EXPECT_TRUE(Log().empty());
}

TEST_F(SoundTest, AMissingPlayerOrFileGivesOneLogLine) {
    platform::SetSoundOutput(true);
    platform::PlaySoundFile(".\\missing.wav");
    EXPECT_TRUE(platform::RecordedProgramStarts().empty());
    EXPECT_EQ(Log().size(), 1u);

    testsupport::ClearLoggedLines();
    platform::SetProgramStartHandler([](const ProgramStart&) { return -1; });
    platform::PlaySoundFile(".\\chord.wav");
    ASSERT_EQ(platform::RecordedProgramStarts().size(), 2u);
    EXPECT_EQ(platform::RecordedProgramStarts()[1].program, "aplay");
    EXPECT_EQ(Log().size(), 1u);
}

}  // namespace
