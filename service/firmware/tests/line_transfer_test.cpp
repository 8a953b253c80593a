// Intel-HEX files sent line by line to the virtual drive's loader over the
// in-memory line: the handshake with its rate change, ACK and NAK per line,
// line lengths, time-outs and the progress bar.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/files/text_file.h"
#include "platform/system/clock.h"
#include "service/firmware/loader_console.h"
#include "service/firmware/loader_transfer.h"
#include "service/firmware/tests/firmware_fixture.h"
#include "service/firmware/transfer_codes.h"
#include "sim/boot_drive.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/core/gw_slider.h"

namespace fwtest {
namespace {

using sim::BootFault;
using sim::BootStage;

constexpr int32_t kLineBaud = 57600;
constexpr uint8_t kBaudCode57600 = 6;
// The seed corpora of the firmware fuzz targets.
const std::filesystem::path kSeeds = TORVAN_FIRMWARE_SEEDS;

class LineTransferTest : public FirmwareTest {
protected:
    // A drive whose loader runs at 19200 and announces itself.
    sim::BootDrive& StartLoader(int wakeUp = 0, const std::vector<BootFault>& faults = {}) {
        sim::BootDriveSetup setup;
        setup.wake_up = wakeUp;
        drive_ = std::make_unique<sim::BootDrive>(setup);
        for (const BootFault& fault : faults) drive_->AddFault(fault);
        drive_->AttachTo(line_);
        drive_->RunLoader(line_);
        return *drive_;
    }
    int Send(const std::string& file, bool secondLoader = false, int32_t baud = kLineBaud, int wakeUp = 0) {
        return SendHexByLines(file, kPort, baud, true, secondLoader, wakeUp);
    }
    // Times the loader heard `line`.
    int Heard(const std::string& line) const {
        int count = 0;
        for (const std::string& heard : drive_->Loader().LinesHeard()) count += heard == line ? 1 : 0;
        return count;
    }

    const std::string line1_ = SegmentBase(0x1000);
    const std::string line2_ = DataRecord(0x0000, {1, 2, 3});
    const std::string line3_ = DataRecord(0x0010, {4, 5});
    const std::string file_ = Lines({line1_, line2_, line3_, kEndRecord});
    std::unique_ptr<sim::BootDrive> drive_;
};

TEST_F(LineTransferTest, HandshakeChangesRateThenSendsEveryLineWithoutLineEnd) {
    WriteFile("fw.hex", file_);
    sim::BootDrive& drive = StartLoader();
    EXPECT_EQ(Send("fw.hex"), kTransferSuccess);
    EXPECT_EQ(TransferText(TransferFamily::kLine), "FLM_038");

    // The loader heard the baud code at its start rate, then ACK and every
    // line at the line rate, with nothing between the lines.
    const std::string heard = drive.Capture().ToDrive();
    const std::string handshake = {static_cast<char>(kBaudCode57600), '\x06'};
    EXPECT_EQ(heard, handshake + line1_ + line2_ + line3_ + kEndRecord);
    EXPECT_EQ(drive.Capture().GarbledCount(), 0u);
    EXPECT_EQ(drive.Baud(), kLineBaud);
    EXPECT_EQ(drive.Loader().FirmwareLines(), (std::vector<std::string>{line1_, line2_, line3_, kEndRecord}));
    EXPECT_EQ(drive.Loader().FlashBytes(0x10000, 0x12, 0xFF),
              (std::vector<uint8_t>{
                  1, 2, 3, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 4, 5}));
}

TEST_F(LineTransferTest, AnswersToALine) {
    const struct {
        const char* what;
        BootFault fault;
        int code;
        const char* text;
        int sends;  // of line 2
    } cases[] = {
        {"11 NAKs, then ACK", BootFault::Nak().Times(11).AtLine(2), kTransferSuccess, "FLM_038", 12},
        {"12 NAKs", BootFault::Nak().Times(12).AtLine(2), line_code::kTooManyNaks, "FLM_041", 12},
        {"another byte",
         BootFault::Answer(BootStage::kLine, 'A').AtLine(2),
         line_code::kUnexpectedAnswer,
         "FLM_040",
         1},
        {"no answer",
         BootFault::Silence(BootStage::kLine).AtLine(2),
         line_code::kNoLineAnswer,
         "No answer to line 2",
         1},
    };
    WriteFile("fw.hex", file_);
    for (const auto& c : cases) {
        sim::BootDrive& drive = StartLoader();
        drive.AddFault(c.fault);
        EXPECT_EQ(Send("fw.hex"), c.code) << c.what;
        EXPECT_EQ(TransferText(TransferFamily::kLine), c.text) << c.what;
        EXPECT_EQ(Heard(line2_), c.sends) << c.what;
        // A failed line ends the transfer.
        EXPECT_EQ(Heard(kEndRecord), c.code == kTransferSuccess ? 1 : 0) << c.what;
    }
}

TEST_F(LineTransferTest, NoAnswerToALineEndsAfterFifteenSeconds) {
    WriteFile("fw.hex", file_);
    sim::BootDrive& drive = StartLoader();
    drive.AddFault(BootFault::Silence(BootStage::kLine).AtLine(3));
    EXPECT_EQ(Send("fw.hex"), line_code::kNoLineAnswer);
    EXPECT_EQ(TransferText(TransferFamily::kLine), "No answer to line 3");
    // Counted from the line's last character on the wire, which left a few
    // character times after the wait began.
    const uint64_t lastHeard = drive.Capture().Bytes().back().time_us;
    const uint64_t waited = platform::TheClock().NowUs() - lastHeard;
    EXPECT_GE(waited, 14990000u);
    EXPECT_LE(waited, 15002000u);
}

TEST_F(LineTransferTest, LinesOf512CharactersOrMoreAreRefusedBeforeAnyByte) {
    const std::string longest = DataRecord(0x0000, std::vector<uint8_t>(250, 0x5A));
    ASSERT_EQ(longest.size(), 511u);
    WriteFile("fw.hex", Lines({longest, kEndRecord}));
    sim::BootDrive& drive = StartLoader();
    EXPECT_EQ(Send("fw.hex"), kTransferSuccess);
    EXPECT_EQ(drive.Loader().FirmwareLines(), (std::vector<std::string>{longest, kEndRecord}));

    // The next longer record has 513 characters; the file goes nowhere.
    const std::string tooLong = DataRecord(0x0000, std::vector<uint8_t>(251, 0x5A));
    WriteFile("fw.hex", Lines({longest, tooLong, kEndRecord}));
    sim::BootDrive& second = StartLoader();
    EXPECT_EQ(Send("fw.hex"), line_code::kLineTooLong);
    EXPECT_EQ(TransferText(TransferFamily::kLine), "FLM_042");
    EXPECT_TRUE(second.Capture().ToDrive().empty());
}

// Files that are no sound Intel-HEX file never reach the drive: the check
// names the file, the line and the fault, and the line stays silent.
TEST_F(LineTransferTest, MalformedFilesAreRefusedBeforeTheDriveIsTouched) {
    const std::string base = SegmentBase(0x1000);
    const std::string data = DataRecord(0x0000, {1, 2, 3});
    auto with = [&data](size_t at, size_t count, const std::string& by) {
        std::string line = data;
        return line.replace(at, count, by);
    };
    std::string badChecksum = data;
    badChecksum.back() = badChecksum.back() == '0' ? '1' : '0';
    const std::string found = testsupport::ReadFile(kSeeds / "lines_corpus/length-field.bin");
    ASSERT_FALSE(found.empty());
    const struct {
        const char* what;
        std::string text;
        std::string fault;
    } cases[] = {
        {"length field too large", Lines({base, with(1, 2, "FF"), kEndRecord}), "line 2: field 255 for 3 bytes"},
        {"length field too small", Lines({base, with(1, 2, "01"), kEndRecord}), "line 2: field 1 for 3 bytes"},
        {"bad checksum", Lines({base, badChecksum, kEndRecord}), "line 2: FLM_060"},
        {"odd digit count", Lines({base, data + "0", kEndRecord}), "line 2: FLM_057"},
        {"non-hex character", Lines({base, with(9, 1, "G"), kEndRecord}), "line 2: FLM_056"},
        {"lower-case digit", Lines({base, with(9, 2, "0a"), kEndRecord}), "line 2: FLM_056"},
        {"blank inside a record", Lines({base, with(9, 0, " "), kEndRecord}), "line 2: FLM_056"},
        {"missing end record", Lines({base, data}), "line 3: FLM_064"},
        {"record after the end record", Lines({base, kEndRecord, data}), "line 3: FLM_063"},
        {"unknown record type", Lines({Record(0x05, 0, {0, 0, 0, 0}), kEndRecord}), "line 1: type 5"},
        {"address record of one byte", Lines({Record(0x02, 0, {0x10}), kEndRecord}), "line 1: FLM_062"},
        {"too short for a record", Lines({":0000", kEndRecord}), "line 1: FLM_058"},
        {"a text file", "Firmware 2.16 for the drive\nread me first\n", "line 1: FLM_055"},
        {"an empty file", "", "line 1: FLM_064"},
        {"NUL bytes", std::string(64, '\0'), "line 1: FLM_055"},
        {"NUL bytes in a record", Lines({base, with(9, 2, std::string(2, '\0')), kEndRecord}), "line 2: FLM_056"},
        {"CR without LF", base + "\r" + kEndRecord + "\n", "line 1: FLM_056"},
        {"fuzz find: length fields that disagree with their lines", found, "line 1: FLM_056"},
    };
    for (const auto& c : cases) {
        WriteFile("fw.hex", c.text);
        sim::BootDrive& drive = StartLoader();
        EXPECT_EQ(Send("fw.hex"), line_code::kMalformedFile) << c.what;
        EXPECT_EQ(TransferText(TransferFamily::kLine), "fw.hex " + c.fault) << c.what;
        EXPECT_TRUE(drive.Capture().ToDrive().empty()) << c.what;
        EXPECT_TRUE(drive.Loader().LinesHeard().empty()) << c.what;
        EXPECT_FALSE(line_.HostPortOpen()) << c.what;
    }
}

// What the check lets through goes to the drive as it stands: LF or CR LF
// line ends, empty lines (not sent), the seed images of the transfer.
TEST_F(LineTransferTest, WellFormedFilesReachTheLoaderByteForByte) {
    const std::vector<std::string> records = {line1_, line2_, line3_, kEndRecord};
    std::vector<std::pair<std::string, std::string>> files = {
        {"LF", file_},
        {"CR LF", line1_ + "\r\n" + line2_ + "\r\n" + line3_ + "\r\n" + kEndRecord + "\r\n"},
        {"no line end after the last", line1_ + "\n" + line2_ + "\n" + line3_ + "\n" + kEndRecord},
        {"empty lines", "\n" + line1_ + "\n\n" + line2_ + "\n" + line3_ + "\r\n\r\n" + kEndRecord + "\n\n"},
    };
    for (const char* seed : {"lines_corpus/three_records.hex",
                             "lines_corpus/crlf_no_last_end.hex",
                             "lines_corpus/empty_lines.hex",
                             "hex_corpus/oskel_segment.hex",
                             "hex_corpus/pesco_linear.hex"}) {
        files.emplace_back(seed, testsupport::ReadFile(kSeeds / seed));
    }
    for (const auto& [what, text] : files) {
        SCOPED_TRACE(what);
        ASSERT_FALSE(text.empty());
        WriteFile("fw.hex", text);
        std::vector<std::string> expected;
        for (const std::string& line : platform::SplitLines(text)) {
            if (!line.empty()) expected.push_back(line);
        }
        if (what.find("corpus") == std::string::npos) {
            EXPECT_EQ(expected, records);
        }
        sim::BootDrive& drive = StartLoader();
        EXPECT_EQ(Send("fw.hex"), kTransferSuccess);
        EXPECT_EQ(drive.Loader().FirmwareLines(), expected);
        std::string sent;
        for (const std::string& line : expected) sent += line;
        const std::string handshake = {static_cast<char>(kBaudCode57600), '\x06'};
        EXPECT_EQ(drive.Capture().ToDrive(), handshake + sent);
        EXPECT_EQ(drive.Loader().BadLines(), 0);
    }
}

TEST_F(LineTransferTest, HandshakeFailures) {
    const struct {
        const char* what;
        std::vector<BootFault> faults;
        bool secondLoader;
        int32_t baud;
        const char* file;
        int code;
        std::string text;
    } cases[] = {
        {"loader silent",
         {BootFault::Silence(BootStage::kLoaderAck)},
         false,
         kLineBaud,
         "fw.hex",
         line_code::kNoLoaderAck,
         "FLM_045"},
        {"second loader silent",
         {BootFault::Silence(BootStage::kLoaderAck)},
         true,
         kLineBaud,
         "fw.hex",
         line_code::kNoSecondLoaderAck,
         "FLM_048"},
        {"garbage, then silent",
         {BootFault::Answer(BootStage::kLoaderAck, 0x55)},
         false,
         kLineBaud,
         "fw.hex",
         line_code::kNoLoaderAck,
         "FLM_045"},
        {"no answer at the new rate",
         {BootFault::Silence(BootStage::kStartAnswer)},
         false,
         kLineBaud,
         "fw.hex",
         line_code::kNoStartAnswer,
         "FLM_043"},
        {"second loader: no answer at the new rate",
         {BootFault::Silence(BootStage::kStartAnswer)},
         true,
         kLineBaud,
         "fw.hex",
         line_code::kNoSecondStartAnswer,
         "FLM_047"},
        {"NAK at the new rate",
         {BootFault::Answer(BootStage::kStartAnswer, 0x15)},
         false,
         kLineBaud,
         "fw.hex",
         line_code::kBadStartAnswer,
         "FLM_046"},
        {"rate without baud code", {}, false, 12345, "fw.hex", 10, "Ungueltige Baudrate"},
        {"no such file", {}, false, kLineBaud, "none.hex", line_code::kFileNotOpened, "FLM_039"},
    };
    WriteFile("fw.hex", file_);
    for (const auto& c : cases) {
        sim::BootDrive& drive = StartLoader(0, c.faults);
        EXPECT_EQ(Send(c.file, c.secondLoader, c.baud), c.code) << c.what;
        EXPECT_EQ(TransferText(TransferFamily::kLine), c.text) << c.what;
        EXPECT_TRUE(drive.Loader().LinesHeard().empty()) << c.what;
    }
}

// A line that only ever delivers junk: twice as long as the wait may last,
// queued at once.
class JunkSender : public platform::LineDevice {
public:
    void OnCharacter(platform::MemorySerialLine&, const platform::LineCharacter&) override {}
};

TEST_F(LineTransferTest, JunkWithoutEndEndsTheAckWaitAtItsDeadline) {
    WriteFile("fw.hex", file_);
    JunkSender junk;
    const platform::LineAttachment attached = line_.Attach(&junk);
    const uint64_t start = platform::TheClock().NowUs();
    line_.SendToHost(&junk, std::vector<uint8_t>(20000, 0x55), {kLoaderStartBaud, 8, 'N', 1}, start + 1000);
    EXPECT_EQ(Send("fw.hex"), line_code::kNoLoaderAck);
    EXPECT_EQ(TransferText(TransferFamily::kLine), "FLM_045");
    const uint64_t waited = platform::TheClock().NowUs() - start;
    EXPECT_GE(waited, 5000000u);
    EXPECT_LT(waited, 5010000u);
}

TEST_F(LineTransferTest, WakeUpAckComesTwoSecondsAfterOpening) {
    WriteFile("fw.hex", file_);
    sim::BootDrive& drive = StartLoader(1);
    const uint64_t start = platform::TheClock().NowUs();
    EXPECT_EQ(Send("fw.hex", false, kLineBaud, 1), kTransferSuccess);
    const sim::CapturedByte& wake = drive.Capture().Bytes().front();
    EXPECT_EQ(wake.byte, 0x06);
    EXPECT_GE(wake.time_us - start, 2000000u);
    EXPECT_LT(wake.time_us - start, 2002000u);
    EXPECT_EQ(drive.Loader().FirmwareLines().size(), 4u);
}

TEST_F(LineTransferTest, ProgressBarMovesAtMost200TimesAndEndsFull) {
    std::vector<std::string> lines;
    for (uint16_t i = 0; i < 600; ++i) lines.push_back(DataRecord(static_cast<uint16_t>(i * 4), {1, 2, 3, 4}));
    lines.push_back(kEndRecord);
    const std::string file = Lines(lines);
    WriteFile("fw.hex", file);
    GwCore* window = new GwApplFrame("ProgressFirmld");
    auto* slider = new GwSlider("Slider", window, GwPROGRESS_CLASS);
    TheLoaderConsole().SetControls({window, nullptr, nullptr, slider});
    StartLoader();
    GwRecorder::Clear();
    ASSERT_EQ(Send("fw.hex"), kTransferSuccess);

    size_t updates = 0;
    for (const GwEffect& effect : GwRecorder::EffectsOf("value")) updates += effect.widget == slider->identifier();
    EXPECT_GT(updates, 150u);
    EXPECT_LE(updates, 202u);
    EXPECT_EQ(slider->end(), static_cast<double>(file.size()));
    EXPECT_EQ(slider->value(), static_cast<double>(file.size()));
}

}  // namespace
}  // namespace fwtest
