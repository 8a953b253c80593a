// The export of a buffer read from the virtual drive into the header, value
// and raw files, checked byte for byte against texts worked out by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "parameters/parabase/para_description_file.h"
#include "scope/recorder/scope_recorder.h"
#include "scope/recorder/tests/recorder_fixture.h"
#include "testsupport/test_env.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using scopetest::RecorderTest;

constexpr char kHeader[] = "TMP/Scope.SDC";
constexpr char kValues[] = "TMP/Scope.DAT";
constexpr char kRaw[] = "TMP/Scope.HEX";

// Two rows of channel 2 (32 bits, 16 fraction bits, factor 2 from the
// factor table) and channel 0 (16 bits, 8 fraction bits, factor 2):
// row 0 -2.0 and 1.5, row 1 1.5 and -0.5 before the factors.
const std::vector<uint8_t> kTwoRows = {0xFF, 0xFE, 0x00, 0x00, 0x01, 0x80, 0x00, 0x01, 0x80, 0x00, 0xFF, 0x80};

constexpr char kGoldenHeader[] =
    "0 Current [Nm]\r\n"
    "2 Actual position [Incr]\r\n"
    "Triggerchannel:  2\r\n"
    "Triggervariable: Actual position\r\n"
    "Triggervalue:    -6.000000 Incr\r\n"
    "Triggermode:     Steigende Flanke\r\n";
constexpr char kGoldenValues[] =
    "   -0.0002000000000000\t      3.0000000000000000\t\t     -4.0000000000000000\t\r\n"
    "    0.0000000000000000\t     -1.0000000000000000\t\t      3.0000000000000000\t\r\n";
constexpr char kGoldenRaw[] =
    "   -0.0002000000000000\t0180\t\tFFFE0000\t\r\n"
    "    0.0000000000000000\tFF80\t\t00018000\t\r\n";

class ExportTest : public RecorderTest {
protected:
    void SetUp() override {
        RecorderTest::SetUp();
        drive_->AddRecorder();
        WriteList();
        testsupport::WriteFile(testsupport::RuntimePath("TMP/scope.pit"),
                               "[parameterdescription]\nP020=Channel\n"
                               "[ScopeEntryIntroduction]\nPosition=Actual position\n");
        base_->SetDescriptionFile(std::make_unique<ParaDescriptionFile>("..\\TMP\\scope.pit"));
        ASSERT_EQ(base_->LoadScopeVariableList(), 0) << base_->MessageBuffer;

        // Channel 0: "Current" (16 bits); channel 1 off ("Speed"); channel 2:
        // "Position" (32 bits); channel 3 off ("Torque").
        const uint32_t settings[][2] = {{20, 0x20},
                                        {21, 1},
                                        {22, 0x00},
                                        {23, 0},
                                        {24, 0x60},
                                        {25, 0},
                                        {26, 0},
                                        {27, 2},
                                        {66, 2},
                                        {64, 0xFFFFFFFD},
                                        {65, 2},
                                        {60, 1},
                                        {67, 1000},
                                        {300, 1}};
        for (const auto& s : settings) SetOnDrive(static_cast<int>(s[0]), s[1]);
    }
    // The drive's buffer holds `samples`, of which `length` make the recording.
    void ReadBuffer(const std::vector<uint8_t>& samples, uint32_t length) {
        drive_->SetSamples(samples);
        SetOnDrive(62, length);
        ASSERT_EQ(base_->ReadScopeBuffer(), 0) << base_->MessageBuffer;
    }
    std::string LastHeaderLine() {
        const std::string header = Runtime(kHeader);
        const size_t end = header.rfind("\r\n");
        return header.substr(header.rfind("\r\n", end - 1) + 2, end - header.rfind("\r\n", end - 1) - 2);
    }
};

TEST_F(ExportTest, TwoChannelsGiveTheHeaderValueAndRawLines) {
    ReadBuffer(kTwoRows, 12);
    ASSERT_EQ(base_->ExportScopeData(), 0) << base_->MessageBuffer;
    EXPECT_EQ(Runtime(kHeader), kGoldenHeader);
    EXPECT_EQ(Runtime(kValues), kGoldenValues);
    EXPECT_EQ(Runtime(kRaw), kGoldenRaw);
}

TEST_F(ExportTest, RowsBeyondTheLengthAreNotExported) {
    std::vector<uint8_t> samples = kTwoRows;
    samples.insert(samples.end(), {1, 2, 3, 4, 5, 6});
    ReadBuffer(samples, 12);
    ASSERT_EQ(base_->Recording().bytesReceived, 18u);
    ASSERT_EQ(base_->ExportScopeData(), 0) << base_->MessageBuffer;
    EXPECT_EQ(Runtime(kValues), kGoldenValues);
}

TEST_F(ExportTest, TriggerModeLineNamesTheModeOrUnknown) {
    struct Case {
        uint32_t raw;
        const char* line;
    };
    const Case cases[] = {
        {0xFFFFFFFE, "Triggermode:     unbekannt"},  // -2
        {0xFFFFFFFF, "Triggermode:     Scope aus"},  // -1
        {0, "Triggermode:     DA-Ausgabe"},
        {1, "Triggermode:     Automatik"},
        {8, "Triggermode:     Warnung"},
        {9, "Triggermode:     Fehler"},
        {10, "Triggermode:     unbekannt"},
    };
    ReadBuffer(kTwoRows, 12);
    for (const Case& c : cases) {
        SetOnDrive(65, c.raw);
        ASSERT_EQ(base_->ExportScopeData(), 0) << base_->MessageBuffer;
        EXPECT_EQ(LastHeaderLine(), c.line);
    }
}

TEST_F(ExportTest, PreTriggerPutsRowsBeforeTimeZero) {
    struct Case {
        uint32_t steps;  // of 0.05 percent
        const char* firstTimes;
    };
    // Two rows at an interval of 0.2 ms.
    const Case cases[] = {
        {0, "    0.0000000000000000|    0.0002000000000000"},
        {1000, "   -0.0002000000000000|    0.0000000000000000"},
        {2000, "   -0.0004000000000000|   -0.0002000000000000"},
    };
    ReadBuffer(kTwoRows, 12);
    for (const Case& c : cases) {
        SetOnDrive(67, c.steps);
        ASSERT_EQ(base_->ExportScopeData(), 0) << base_->MessageBuffer;
        const std::string values = Runtime(kValues);
        const size_t second = values.find("\r\n") + 2;
        EXPECT_EQ(values.substr(0, 22) + "|" + values.substr(second, 22), c.firstTimes) << c.steps;
    }
}

TEST_F(ExportTest, NoActiveChannelSucceedsWithoutTouchingAnyFile) {
    ReadBuffer(kTwoRows, 12);
    SetOnDrive(20, 0);
    SetOnDrive(24, 0x40);  // 32 bits but off
    EXPECT_EQ(base_->ExportScopeData(), 0);
    EXPECT_FALSE(RuntimeExists(kHeader));
    EXPECT_FALSE(RuntimeExists(kValues));
    EXPECT_FALSE(RuntimeExists(kRaw));

    for (const char* file : {kHeader, kValues, kRaw}) testsupport::WriteFile(testsupport::RuntimePath(file), "old");
    EXPECT_EQ(base_->ExportScopeData(), 0);
    for (const char* file : {kHeader, kValues, kRaw}) EXPECT_EQ(Runtime(file), "old") << file;
}

TEST_F(ExportTest, MissingVariableOfAnInactiveChannelFailsAndLeavesTheFiles) {
    ReadBuffer(kTwoRows, 12);
    for (const char* file : {kHeader, kValues, kRaw}) testsupport::WriteFile(testsupport::RuntimePath(file), "old");
    SetOnDrive(27, 9);  // channel 3 is off
    EXPECT_EQ(base_->ExportScopeData(), 16);
    // The shipped text has places for the channel and the list's path.
    EXPECT_STREQ(base_->MessageBuffer,
                 "There are no parameters available in actual parametergroup (channel 3, variable list "
                 "\"..\\FIRMDATA\\5_003_10.MCW\")");
    for (const char* file : {kHeader, kValues, kRaw}) EXPECT_EQ(Runtime(file), "old") << file;
}

TEST_F(ExportTest, ExportToNamesHeaderAndValueFilesAfterThePath) {
    ReadBuffer(kTwoRows, 12);
    ScopeRecorder engine(base_.get(), "");
    ASSERT_TRUE(engine.IsValid());
    ASSERT_TRUE(engine.ExportTo("..\\userdata\\run3.dat"));
    EXPECT_EQ(Runtime("userdata/run3.SDC"), kGoldenHeader);
    EXPECT_EQ(Runtime("userdata/run3.DAT"), kGoldenValues);
    EXPECT_EQ(Runtime(kRaw), kGoldenRaw);
    EXPECT_FALSE(RuntimeExists(kHeader));
    EXPECT_FALSE(RuntimeExists(kValues));
}

TEST_F(ExportTest, FailedExportShowsTheErrorAndCompletesNoFile) {
    ReadBuffer(kTwoRows, 12);
    ScopeRecorder engine(base_.get(), "");
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(engine.ExportTo("..\\nowhere\\run.dat"));
    EXPECT_TRUE(engine.HasError());
    const std::vector<std::string> boxes = {"error: Cannot open file \"..\\nowhere\\run.SDC\"!"};
    EXPECT_EQ(BoxTexts(), boxes);
    EXPECT_FALSE(RuntimeExists(kRaw));

    // A raw file that cannot be written after the other two could: neither
    // of them is put in place.
    std::filesystem::create_directories(testsupport::RuntimePath("TMP/Scope.HEX"));
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(engine.ExportTo("..\\userdata\\run.dat"));
    EXPECT_FALSE(RuntimeExists("userdata/run.SDC"));
    EXPECT_FALSE(RuntimeExists("userdata/run.DAT"));
    EXPECT_EQ(std::filesystem::directory_iterator(testsupport::RuntimePath("userdata")),
              std::filesystem::directory_iterator());
}

}  // namespace
