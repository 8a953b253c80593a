// The positioning-program transfers against a family-4 virtual drive: what
// the drive's program channel heard, the file an upload writes, the boxes
// shown and the answers that end or repeat a step.
#include "families/pos_program_transfer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"
#include "families/tests/pos_program_drive.h"
#include "sim/drive_faults.h"
#include "sim/pos_program_channel.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace devicewintest {
namespace {

const std::string kEnd = sim::kPosProgramEndMarker;

class PosProgramTransferTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = PosProgramDriveTable();
        table.pos_programs.programs = {{"01", {"POS100", "GOA5"}}, {"07", {"GO 0"}}};
        table.pos_programs.listing = {"P01", "XYZ", "P07"};
        return table;
    }
    sim::PosProgramChannel& Channel() { return Drive().Table().pos_programs; }
    // Every text the program channel took, in order.
    std::vector<std::string>& ChannelLog() { return Drive().Table().Find(sim::kPosProgramChannelParameter)->text_log; }
    static std::string Path(const std::string& name) { return testsupport::RuntimePath("userdata/" + name).string(); }
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (const GwBoxRecord& box : NewBoxes()) texts.push_back(box.text);
        return texts;
    }
};

TEST_F(PosProgramTransferTest, UploadReadsEveryListedProgramIntoOneFile) {
    MarkBoxes();
    EXPECT_TRUE(UploadPosPrograms(Path("all.prg").c_str()));
    EXPECT_EQ(ChannelLog(), (std::vector<std::string>{"%DIR", "%RDP01", "%RDP07"}));
    EXPECT_EQ(testsupport::ReadFile(Path("all.prg")), "POS100\r\nGOA5\r\n\r\nGO 0\r\n\r\n");
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_EQ(PosProgramParameter(), 751);
}

TEST_F(PosProgramTransferTest, UploadAppendsTheExtensionOnlyToAPathWithoutDot) {
    for (const auto& [given, written] : {std::pair{"prog", "prog.prg"}, std::pair{"a.b", "a.b"}}) {
        EXPECT_TRUE(UploadPosPrograms(Path(given).c_str())) << given;
        EXPECT_EQ(testsupport::ReadFile(Path(written)), "POS100\r\nGOA5\r\n\r\nGO 0\r\n\r\n") << given;
    }
}

TEST_F(PosProgramTransferTest, UploadFailuresShowTheirMessage) {
    struct Case {
        const char* what;
        std::string path;
        void (*script)(sim::PosProgramChannel&);
        bool result;
        std::vector<std::string> written;
        std::vector<std::string> boxes;
        std::string file;  // what the file holds afterwards ("-": no file)
    };
    const std::vector<Case> cases = {
        {"empty path",
         "",
         [](sim::PosProgramChannel&) {},
         false,
         {},
         {"The positioning program file could not be opened!"},
         "-"},
        {"file not created",
         Path("missing/dir/x.prg"),
         [](sim::PosProgramChannel&) {},
         false,
         {},
         {"The positioning program file could not be opened!"},
         "-"},
        {"listing refused",
         Path("r.prg"),
         [](sim::PosProgramChannel& c) { c.refused = {"%DIR"}; },
         false,
         {},
         {"The positioning programs could not be read from the device!"},
         ""},
        {"second program refused",
         Path("s.prg"),
         [](sim::PosProgramChannel& c) { c.refused = {"%RDP07"}; },
         false,
         {"%DIR", "%RDP01"},
         {"The positioning programs could not be read from the device!"},
         "POS100\r\nGOA5\r\n\r\n"},
        {"listing ended by a failed read",
         Path("f.prg"),
         [](sim::PosProgramChannel& c) { c.listing_ends = false; },
         true,
         {"%DIR", "%RDP01", "%RDP07"},
         {},
         "POS100\r\nGOA5\r\n\r\nGO 0\r\n\r\n"},
        {"lines never end",
         Path("n.prg"),
         [](sim::PosProgramChannel& c) { c.programs_end = false; },
         false,
         {"%DIR", "%RDP01"},
         {"The positioning programs could not be read from the device!"},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::PosProgramChannel& channel = Channel();
        ChannelLog().clear();
        channel.refused.clear();
        channel.listing_ends = true;
        channel.programs_end = true;
        c.script(channel);
        MarkBoxes();
        EXPECT_EQ(UploadPosPrograms(c.path.c_str()), c.result);
        EXPECT_EQ(ChannelLog(), c.written);
        EXPECT_EQ(Texts(), c.boxes);
        if (c.file == "-") {
            EXPECT_TRUE(c.path.empty() || !std::filesystem::exists(c.path));
        } else {
            EXPECT_EQ(testsupport::ReadFile(c.path), c.file);
        }
    }
}

TEST_F(PosProgramTransferTest, UploadGivesUpAfterTenFailedLineReads) {
    Channel().programs_end = false;
    ClearCaptures();
    EXPECT_FALSE(UploadPosPrograms(Path("n.prg").c_str()));
    int refusedReads = 0;
    for (const sim::HeardTelegram& t : Drive().Capture().Telegrams())
        if (t.text == "R 20751") ++refusedReads;
    // Three replies of the listing and its end marker, two lines, then ten
    // reads that the drive refused.
    EXPECT_EQ(refusedReads, 4 + 2 + 10);
}

// The scrambled form: header, 32-bit little-endian length, scrambled bytes.
std::string Scrambled(const std::string& text, uint32_t length) {
    std::string bytes = "\x50\x4d\x8b\x16";
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((length >> (8 * i)) & 0xFF);
    for (char ch : text) {
        uint8_t b = static_cast<uint8_t>(static_cast<uint8_t>(ch) ^ 0x96);
        b = static_cast<uint8_t>((b << 1) | (b >> 7));
        bytes += static_cast<char>(b ^ 0x3C);
    }
    return bytes;
}

TEST_F(PosProgramTransferTest, UnscrambleRestoresTheGoldenBytes) {
    uint8_t bytes[] = {0xD3, 0xD5, 0xD7};
    UnscramblePosProgram(bytes, 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), 3), "abc");
    EXPECT_EQ(Scrambled("abc", 3), std::string("\x50\x4d\x8b\x16\x03\x00\x00\x00\xd3\xd5\xd7", 11));
}

TEST_F(PosProgramTransferTest, DownloadSendsTheCleanedLines) {
    const std::string plain = "  pos 100 ; go\r\n; c\r\n   \r\nGOA 5\r\n";
    struct Case {
        const char* what;
        std::string file;
        bool result;
        std::vector<std::string> written;
        std::vector<std::string> boxes;
    };
    const std::vector<std::string> sent = {"%CLPxx", "POS100", "GOA5", kEnd, "%SAV"};
    const std::vector<Case> cases = {
        {"plain CR LF", plain, true, sent, {}},
        {"plain LF", "  pos 100 ; go\n; c\n   \nGOA 5\n", true, sent, {}},
        {"control character",
         "  pos 100 ; go\r\n; c\r\nG\x01O\r\nGOA 5\r\n",
         false,
         {"%CLPxx", "POS100", "END", kEnd},
         {"Error in line 3 of the positioning program"}},
        {"DEL passes", "GO\x7f\r\n", true, {"%CLPxx", "GO\x7f", kEnd, "%SAV"}, {}},
        {"byte above DEL",
         "POS1\r\nGO\x80\r\n",
         false,
         {"%CLPxx", "POS1", "END", kEnd},
         {"Error in line 2 of the positioning program"}},
        {"scrambled",
         std::string("\x50\x4d\x8b\x16\x03\x00\x00\x00\xd3\xd5\xd7", 11),
         true,
         {"%CLPxx", "ABC", kEnd, "%SAV"},
         {}},
        {"scrambled lines keep blanks and CR",
         Scrambled("go a\r\n\n\nx;y\n", 13),
         true,
         {"%CLPxx", "GO A\r", "X", kEnd, "%SAV"},
         {}},
        {"scrambled length beyond the file", Scrambled("abc", 100), true, {"%CLPxx", "ABC", kEnd, "%SAV"}, {}},
        {"scrambled header alone",
         Scrambled("", 5),
         false,
         {"%CLPxx", "END", kEnd},
         {"The positioning program file could not be read!"}},
        // A length of 0 reads nothing, whatever follows: the drive must not
        // store an empty program in place of its own.
        {"scrambled length 0 before bytes",
         Scrambled("abc", 0),
         false,
         {"%CLPxx", "END", kEnd},
         {"The positioning program file could not be read!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::WriteFile(Path("d.prg"), c.file);
        ChannelLog().clear();
        MarkBoxes();
        EXPECT_EQ(DownloadPosProgram(Path("d.prg").c_str()), c.result);
        EXPECT_EQ(ChannelLog(), c.written);
        EXPECT_EQ(Texts(), c.boxes);
    }
}

TEST_F(PosProgramTransferTest, DownloadFailuresEndWithTheAbortTexts) {
    const std::string plain = "  pos 100 ; go\r\n; c\r\n   \r\nGOA 5\r\n";
    testsupport::WriteFile(Path("d.prg"), plain);
    const std::string missing = Path("none.prg");
    struct Case {
        const char* what;
        std::string path;
        std::vector<int> answers;
        std::string refused;
        std::vector<std::string> written;
        std::vector<std::string> boxes;
    };
    const std::vector<Case> cases = {
        {"file missing, OK then Quit",
         missing,
         {GwRESULT_OK, GwRESULT_CANCEL},
         "",
         {"END", kEnd},
         {"The positioning program file could not be opened!", "The positioning program file could not be opened!"}},
        {"start refused, Quit",
         Path("d.prg"),
         {GwRESULT_CANCEL},
         "%CLPxx",
         {"END", kEnd},
         {"The device did not accept the positioning program!"}},
        {"store refused",
         Path("d.prg"),
         {},
         "%SAV",
         {"%CLPxx", "POS100", "GOA5", kEnd, "END", kEnd},
         {"The positioning program could not be stored in the device (4 lines read)"}},
        {"empty path, Quit",
         "",
         {GwRESULT_CANCEL},
         "",
         {"END", kEnd},
         {"No active device or no file for the positioning program!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ChannelLog().clear();
        Channel().refused.clear();
        if (!c.refused.empty()) Channel().refused.insert(c.refused);
        MarkBoxes();
        for (int answer : c.answers) gwtest::AnswerBox(answer);
        EXPECT_FALSE(DownloadPosProgram(c.path.c_str()));
        EXPECT_EQ(ChannelLog(), c.written);
        EXPECT_EQ(Texts(), c.boxes);
    }
}

TEST_F(PosProgramTransferTest, DownloadIsFalseAfterARepeatedStepSucceeded) {
    testsupport::WriteFile(Path("d.prg"), "GO\r\n");
    Drive().AddFault(sim::DriveFault::Nak(sim::kStatusInvalidValue).For("20751"));
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_FALSE(DownloadPosProgram(Path("d.prg").c_str()));
    EXPECT_EQ(ChannelLog(), (std::vector<std::string>{"%CLPxx", "GO", kEnd, "%SAV"}));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"The device did not accept the positioning program!"}));
}

class PosProgramOtherFamilyTest : public PosProgramTransferTest {
public:
    sim::DriveTable MakeTable() override {
        sim::DriveTable table = PosProgramTransferTest::MakeTable();
        table.type_number = 3012;
        table.Find(91)->value = 3012;
        return table;
    }
};

TEST_F(PosProgramOtherFamilyTest, BothTransfersShowNoDeviceAndSendNothing) {
    testsupport::WriteFile(Path("d.prg"), "GO\r\n");
    MarkBoxes();
    gwtest::AnswerBox(GwRESULT_CANCEL);  // the upload's box
    gwtest::AnswerBox(GwRESULT_CANCEL);  // the download's: "Quit"
    EXPECT_FALSE(UploadPosPrograms(Path("u.prg").c_str()));
    EXPECT_FALSE(DownloadPosProgram(Path("d.prg").c_str()));
    EXPECT_TRUE(ChannelLog().empty());
    const std::string box = "No active device or no file for the positioning program!";
    EXPECT_EQ(Texts(), (std::vector<std::string>{box, box}));
}

}  // namespace
}  // namespace devicewintest
