// Setup files of the recorder: the lines written from the virtual drive, the
// lines taken back into it, and the boxes for files that cannot be used.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scope/recorder/scope_recorder.h"
#include "scope/recorder/tests/recorder_fixture.h"
#include "testsupport/test_env.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using scopetest::RecorderTest;

constexpr char kSetupPath[] = "..\\userdata\\trace.scs";
constexpr char kSetupFile[] = "userdata/trace.scs";

class SetupFileTest : public RecorderTest {
protected:
    void SetUp() override {
        RecorderTest::SetUp();
        WriteList();
        const uint32_t settings[][2] = {{20, 0x20},
                                        {22, 0},
                                        {24, 0x60},
                                        {26, 0},
                                        {21, 1},
                                        {23, 0},
                                        {25, 0},
                                        {27, 2},
                                        {36, 0xFFFFFB2E},
                                        {60, 4},
                                        {62, 1000},
                                        {64, 0xFFFFFFFD},
                                        {65, 2},
                                        {66, 2},
                                        {67, 1000}};
        for (const auto& s : settings) OnDrive(static_cast<int>(s[0])).value = s[1];
    }
    void WriteSetup(const std::string& text) { testsupport::WriteFile(testsupport::RuntimePath(kSetupFile), text); }
};

TEST_F(SetupFileTest, WritesTheWritableRecorderParametersInOrder) {
    base_->GetEntry(36)->access = 7 << 4;  // like 70..73, not writable at level 6
    ScopeRecorder engine(base_.get(), "");
    ASSERT_TRUE(engine.WriteSetupFile(kSetupPath));
    EXPECT_EQ(Runtime(kSetupFile),
              "20=32.000000\r\n22=0.000000\r\n24=96.000000\r\n26=0.000000\r\n"
              "21=1.000000\r\n23=0.000000\r\n25=0.000000\r\n27=2.000000\r\n"
              "60=4.000000\r\n62=1000.000000\r\n64=-3.000000\r\n65=2.000000\r\n"
              "66=2.000000\r\n67=50.000000\r\n");
}

TEST_F(SetupFileTest, FailedReadKeepsTheOldFile) {
    WriteSetup("old");
    drive_->AddFault(sim::DriveFault::Silence().For("20062").Times(sim::kForever));
    ScopeRecorder engine(base_.get(), "");
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(engine.WriteSetupFile(kSetupPath));
    EXPECT_EQ(Runtime(kSetupFile), "old");
    EXPECT_EQ(BoxTexts().size(), 1u);
}

TEST_F(SetupFileTest, ReadsOnlyRecorderParametersFromLinesItUnderstands) {
    OnDrive(62).value = 500;
    OnDrive(60).value = 0;
    OnDrive(64).value = 0;
    WriteSetup(
        "62=1000.000000\r\n"
        "60 = 7\n"
        "garbage\r\n"
        "65=\r\n"
        "=4\r\n"
        "66=two\r\n"
        "66=2x\r\n"
        "91=7000.000000\r\n"  // a parameter outside the recorder
        "1000=1.000000\r\n"
        "-1=3.000000\r\n"
        "67=nan\r\n"
        "67=" +
        std::string(130, '1') +
        "\r\n"
        "64=-3.000000");
    ScopeRecorder engine(base_.get(), "");
    drive_->ClearCapture();
    ASSERT_TRUE(engine.ReadSetupFile(kSetupPath));
    EXPECT_EQ(DriveValue(62), 1000u);
    EXPECT_EQ(DriveValue(60), 7u);
    EXPECT_EQ(static_cast<int32_t>(DriveValue(64)), -3);
    const std::vector<std::string> heard = {"20062=3E8", "20060=7", "20064=FFFFFFFD"};
    EXPECT_EQ(Telegrams(), heard);
    EXPECT_TRUE(gwtest::Boxes().empty());
}

TEST_F(SetupFileTest, RefusedWriteShowsTheErrorAndGoesOn) {
    WriteSetup("60=7.000000\r\n62=1000.000000\r\n");
    OnDrive(62).value = 500;
    drive_->AddFault(sim::DriveFault::Nak(0x40).For("20060").Times(sim::kForever));
    ScopeRecorder engine(base_.get(), "");
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_TRUE(engine.ReadSetupFile(kSetupPath));
    EXPECT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(DriveValue(62), 1000u);
}

TEST_F(SetupFileTest, FilesThatCannotBeUsedShowTheirMessageWithTheName) {
    ScopeRecorder engine(base_.get(), "");
    gwtest::AnswerBox(GwRESULT_OK);
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(engine.ReadSetupFile("..\\userdata\\missing.scs"));
    EXPECT_FALSE(engine.WriteSetupFile("..\\nowhere\\trace.scs"));
    const std::vector<std::string> boxes = {
        "error: The file ..\\userdata\\missing.scs cannot be read",
        "error: The file ..\\nowhere\\trace.scs cannot be created",
    };
    EXPECT_EQ(BoxTexts(), boxes);
}

TEST_F(SetupFileTest, EngineWithASetupFileRestoresTheSettingsAtTheEnd) {
    {
        ScopeRecorder engine(base_.get(), kSetupPath);
        ASSERT_TRUE(engine.IsValid());
        EXPECT_STREQ(engine.GetSetupFileName().Text(), kSetupPath);
        ASSERT_TRUE(engine.SetTriggerChannel(0));
        ASSERT_TRUE(engine.SetTimeBase(10.0));
        ASSERT_TRUE(engine.SetChannelActive(2, false));
        ASSERT_EQ(DriveValue(66), 0u);
    }
    EXPECT_EQ(DriveValue(66), 2u);
    EXPECT_EQ(DriveValue(60), 4u);
    EXPECT_EQ(DriveValue(24), 0x60u);
}

TEST_F(SetupFileTest, EngineWhoseSetupFileCannotBeWrittenRestoresNothing) {
    gwtest::AnswerBox(GwRESULT_OK);
    {
        ScopeRecorder engine(base_.get(), "..\\nowhere\\trace.scs");
        ASSERT_TRUE(engine.IsValid());
        EXPECT_STREQ(engine.GetSetupFileName().Text(), "");
        ASSERT_TRUE(engine.SetTriggerChannel(0));
    }
    EXPECT_EQ(DriveValue(66), 0u);
    EXPECT_EQ(BoxTexts().size(), 1u);
}

}  // namespace
