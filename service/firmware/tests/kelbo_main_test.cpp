// Whole runs of the boot-loader tool against the virtual drive on the
// in-memory line: cold and warm starts, options, refusals and failures.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "bus/serial/striowin.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/format.h"
#include "platform/files/text_file.h"
#include "service/firmware/hex_image.h"
#include "service/firmware/kelbo_main.h"
#include "service/firmware/loader_console.h"
#include "service/firmware/tests/firmware_fixture.h"
#include "sim/boot_drive.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_kind.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace fwtest {
namespace {

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Runs the tool with the arguments after the program name.
const char* Kelbo(std::vector<std::string> args) {
    args.insert(args.begin(), "kelbo");
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return KelboMain(static_cast<int>(args.size()), argv.data());
}

std::string Failure(const char* result) { return result != nullptr ? result : "(success)"; }

class KelboTest : public FirmwareTest {
protected:
    // The image the tool builds from these files, with its checksums.
    LoaderImage ExpectedImage(int type, const std::vector<std::string>& files, bool checksums = true) {
        const LoaderDeviceType& row = *FindLoaderDeviceType(type);
        LoaderImage image = MakeLoaderImage(row);
        for (const std::string& file : files) {
            const std::string text = platform::ReadTextFile(file).value_or("");
            HexTextReader reader(text);
            uint32_t number = 0;
            EXPECT_EQ(ReadHexIntoImage(reader, image, row, number), kHexOk) << file;
        }
        if (checksums) StoreImageChecksums(image, row, ComputeImageChecksums(image, row));
        return image;
    }

    static void ExpectFlashHolds(const sim::BootLoader& loader, const LoaderImage& image) {
        size_t inside = 0;
        for (const ImageSegment& segment : image) {
            EXPECT_EQ(loader.FlashBytes(segment.Base(), segment.Length(), segment.fill), segment.bytes)
                << "segment at " << segment.start;
            for (const auto& [address, byte] : loader.Flash()) inside += address - segment.Base() < segment.Length();
        }
        EXPECT_EQ(inside, loader.Flash().size()) << "bytes written outside the image";
    }

    static std::string LinesSent(const sim::BootLoader& loader) {
        std::string text;
        for (const std::string& line : loader.FirmwareLines()) text += line;
        return text;
    }

    // A firmware file for "Oskel": some code, and bytes in the remap window.
    void WriteOskelFiles() {
        WriteFile("Oskel_bt.hx", BooterText(booter_));
        WriteFile("Oskel_ld.hx",
                  Lines({DataRecord(0x0000, Counting(32, 0x40)), DataRecord(0x02F0, Counting(10, 0x80)), kEndRecord}));
        WriteFile("fw.hex",
                  Lines({SegmentBase(0x0000),
                         DataRecord(0x0100, Counting(16, 1)),
                         DataRecord(0xFA60, {0x31, 0x32}),
                         kEndRecord}));
    }

    const std::vector<uint8_t> booter_ = Counting(32, 0xD0);
};

TEST_F(KelboTest, ColdStartOfOskel) {
    WriteOskelFiles();
    // The information box that asks for the bootstrap mode, over the
    // progress window.
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/torvan.cgw").c_str()));
    GwCore* main = new GwApplFrame("MainWindow");
    main->show();
    SetMainWindow(main);
    MessageBoxesEnabled = true;
    GwCore* progress = new GwApplFrame("ProgressFirmld", main);
    GwCore* show = new GwCore(GwTEXT_CLASS, "Show", progress);
    GwCore* state = new GwCore(GwLABEL_CLASS, "State", progress);
    TheLoaderConsole().SetControls({progress, show, state, nullptr});
    gwtest::AnswerBox(8);

    sim::BootDriveSetup setup;
    setup.chip_identification = 0x55;
    setup.loader_image_size = 0x2FA;
    setup.bootstrap_baud = 9600;
    sim::BootDrive drive(setup);
    drive.AttachTo(line_);

    const char* result = Kelbo({"-d0", "-bb9600", "-lOskel_ld.hx", "-bOskel_bt.hx", "-p2", "-ffw.hex", "-lgfirm.txt"});
    EXPECT_EQ(result, nullptr) << Failure(result);
    EXPECT_FALSE(SerioIsOpen());

    ASSERT_EQ(gwtest::Boxes().size(), 1u);
    EXPECT_EQ(gwtest::Boxes()[0].kind, "info");
    EXPECT_EQ(gwtest::Boxes()[0].text, "MN_00049!");
    EXPECT_EQ(gwtest::Boxes()[0].parent, progress->identifier());

    // The image file, with CR LF, is what went to the loader, without them.
    const std::string imageFile = ReadFile(kImageFileName);
    EXPECT_EQ(imageFile.substr(0, 17), ":020000020000FC\r\n");
    EXPECT_EQ(imageFile.substr(imageFile.size() - 13), ":00000001FF\r\n");
    const std::vector<std::string> imageLines = platform::SplitLines(imageFile);
    EXPECT_EQ(drive.Loader().FirmwareLines(), imageLines);

    std::vector<uint8_t> loaderImage(0x2FA, 0x00);
    for (int i = 0; i < 32; ++i) loaderImage[static_cast<size_t>(i)] = static_cast<uint8_t>(0x40 + i);
    for (int i = 0; i < 10; ++i) loaderImage[static_cast<size_t>(0x2F0 + i)] = static_cast<uint8_t>(0x80 + i);
    EXPECT_EQ(drive.Rom().Booter(), booter_);
    EXPECT_EQ(drive.Rom().LoaderImage(), loaderImage);
    // Sync, booter, loader, the baud code of 57600, ACK, then the lines.
    EXPECT_EQ(drive.Capture().ToDrive(),
              std::string(1, '\0') + Text(booter_) + Text(loaderImage) + "\x06\x06" + LinesSent(drive.Loader()));
    EXPECT_EQ(drive.Capture().FromDrive(), "\x55" + std::string(2 + imageLines.size(), '\x06'));
    EXPECT_EQ(drive.Baud(), 57600);

    const LoaderImage image = ExpectedImage(0, {"fw.hex"});
    ExpectFlashHolds(drive.Loader(), image);
    EXPECT_EQ(drive.Loader().FlashBytes(0x100, 2, 0xFF), (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(drive.Loader().FlashBytes(0x1FD06, 2, 0xFF), (std::vector<uint8_t>{0x31, 0x32}));

    const ImageChecksums sums = ComputeImageChecksums(image, *FindLoaderDeviceType(0));
    const std::string checksums = platform::Format("Sum %04X XOR %04X\n", unsigned{sums.sum}, unsigned{sums.xorWord});
    EXPECT_EQ(ReadFile("firm.txt"), "Loading fw.hex\nDevice Oskel\n" + checksums + "FLM_028\nFLM_031\n");
    // The transcript holds what was reported; the status line the last status.
    EXPECT_EQ(show->text(), "Loading fw.hex\nDevice Oskel\n" + checksums + "FLM_031\n");
    EXPECT_EQ(state->text(), "FLM_030");
}

TEST_F(KelboTest, ColdStartWithSecondLoader) {
    WriteFile("4000_bt.hx", BooterText(booter_));
    WriteFile("4000_ld.hx", Lines({DataRecord(0x0000, Counting(16, 0x40)), kEndRecord}));
    const std::vector<std::string> second = {SegmentBase(0xE000), DataRecord(0x0000, Counting(8, 0x90)), kEndRecord};
    WriteFile("4000_ld2.hx", Lines(second));
    WriteFile("fw.hex", Lines({SegmentBase(0x1800), DataRecord(0x0010, Counting(8, 1)), kEndRecord}));
    sim::BootDriveSetup setup;
    setup.wake_up = 1;
    setup.second_loader = true;
    sim::BootDrive drive(setup);
    drive.AttachTo(line_);

    const char* result =
        Kelbo({"-d3", "-bb19200", "-bl115200l", "-l4000_ld.hx", "-2l4000_ld2.hx", "-b4000_bt.hx", "-p2", "-ffw.hex"});
    EXPECT_EQ(result, nullptr) << Failure(result);
    EXPECT_EQ(drive.Loader().SecondLoaderLines(), second);
    EXPECT_EQ(drive.Loader().FirmwareLines(), platform::SplitLines(ReadFile(kImageFileName)));
    EXPECT_EQ(drive.Baud(), 115200);
    ExpectFlashHolds(drive.Loader(), ExpectedImage(3, {"fw.hex"}));
}

TEST_F(KelboTest, WarmStartFindsTheDriveAtItsRateAndSendsOnlyTheFirmware) {
    std::string error;
    std::optional<sim::DriveTable> table = sim::DriveTable::Parse(
        "drive type=4000 version=100 status=0\n"
        "param 4 LDCMD USIGN16\n"
        "param 82 ADDR USIGN16\n"
        "param 83 UNLOCK USIGN16\n",
        "boot.tbl",
        &error);
    ASSERT_TRUE(table) << error;
    sim::VirtualDrive firmware(*table, 1, 28800);
    sim::BootDriveSetup setup;
    setup.wake_up = 1;
    sim::BootDrive drive(setup, firmware);
    drive.AttachTo(line_);
    WriteFile("fw.hex", Lines({SegmentBase(0x8000), DataRecord(0x0000, Counting(8, 1)), kEndRecord}));
    // The option file as the download front end writes it.
    WriteFile("Kelbo.inv",
              "-d3\n-bb0\n-bl57600l\n-l4000_ld.hx\n-2l4000_ld2.hx\n-b4000_bt.hx\n-p2\n-ffw.hex\n-lgfirm.txt\n");

    const char* result = Kelbo({"-ifKelbo.inv"});
    EXPECT_EQ(result, nullptr) << Failure(result);

    // Rates tried in their order up to the one that answered.
    std::vector<std::string> tried;
    const std::string log = ProgramLog();
    for (size_t at = log.find("InitTarnBus: "); at != std::string::npos; at = log.find("InitTarnBus: ", at + 1)) {
        tried.push_back(log.substr(at, log.find('\n', at) - at));
    }
    EXPECT_EQ(tried,
              (std::vector<std::string>{"InitTarnBus: COM2, 57600 Baud",
                                        "InitTarnBus: COM2, 115200 Baud",
                                        "InitTarnBus: COM2, 9600 Baud",
                                        "InitTarnBus: COM2, 19200 Baud",
                                        "InitTarnBus: COM2, 28800 Baud"}));
    EXPECT_EQ(firmware.Capture().ToDrive(),
              "\x04@20082\x05\x04"
              "\x04@\x02"
              "20083=01D\x03\x42\x04"
              "\x04_\x02"
              "20004=014D\x03\x79");

    // The loader: wake-up ACK at 19200, baud code 6, ACK at 57600, lines.
    EXPECT_TRUE(drive.Rom().Booter().empty());
    EXPECT_TRUE(drive.Loader().SecondLoaderLines().empty());
    EXPECT_EQ(drive.Capture().ToDrive(), std::string("\x06\x06\x06") + LinesSent(drive.Loader()));
    EXPECT_EQ(drive.Capture().GarbledCount(), 0u);
    EXPECT_EQ(drive.Loader().FirmwareLines(), platform::SplitLines(ReadFile(kImageFileName)));
    ExpectFlashHolds(drive.Loader(), ExpectedImage(3, {"fw.hex"}));
    const std::string firm = ReadFile("firm.txt");
    EXPECT_EQ(firm.substr(0, firm.find("Sum")), "Loading fw.hex\nDevice Ruvex ST10\n");
    EXPECT_EQ(firm.substr(firm.find('\n', firm.find("Sum")) + 1), "FLM_021\nFLM_028\nFLM_031\n");
}

TEST_F(KelboTest, NoDriveOnTheBusFailsTheSwitch) {
    WriteFile("fw.hex", Lines({kEndRecord}));
    const char* result = Kelbo({"-bb0", "-ffw.hex", "-lgfirm.txt"});
    EXPECT_EQ(Failure(result), "FLM_022");
    EXPECT_FALSE(SerioIsOpen());
    const std::string firm = ReadFile("firm.txt");
    EXPECT_EQ(firm.substr(firm.find("FLM_021")), "FLM_021\nFLM_025\nFLM_022\n");
}

TEST_F(KelboTest, RefusalsBeforeAnyTransfer) {
    const struct {
        const char* what;
        std::vector<std::string> args;
        std::string inv;  // option file, when not empty
        std::string failure;
        std::vector<std::string> transcript;  // program log entries before the failure
    } cases[] = {
        {"usage", {"-?"}, "", "FLM_000", {"FLM_027", "FLM_026"}},
        {"unknown option", {"-ffw.hex", "-x"}, "", "Unknown option -x", {"FLM_027", "FLM_026"}},
        {"device type outside the table", {"-d8"}, "", "Unknown option -d8", {"FLM_027", "FLM_026"}},
        {"line rate without baud code", {"-bl12345"}, "", "Unknown option -bl12345", {"FLM_027", "FLM_026"}},
        {"option file missing", {"-ifnone.inv"}, "", "No option file none.inv", {}},
        {"empty line", {"-ifKelbo.inv"}, "-d1\n\n-ffw.hex\n", "Unknown option ", {}},
        {"device type in the option file", {"-ifKelbo.inv"}, "-d9\t(Ruvex)\n", "Unknown option -d9", {}},
        {"nested option file", {"-ifKelbo.inv"}, "-ifother.inv\n", "Unknown option -ifother.inv", {}},
        {"firmware file missing", {"-fnone.hex"}, "", "Cannot open none.hex", {"Loading none.hex", "Device Oskel"}},
        {"byte outside the image",
         {"-ffw.hex"},
         "",
         "\nAddress 20000 outside the image!\n",
         {"Error in fw.hex", "FLM_009"}},
        // Every Intel-HEX file of the run is checked before the drive is
        // touched, and the failure names the file and the line.
        {"unknown record type", {"-ffw3.hex"}, "", "\nfw3.hex line 1: type 3!\n", {"Error in fw3.hex", "FLM_009"}},
        {"checksum error", {"-ffw2.hex"}, "", "\nfw2.hex line 1: FLM_060!\n", {"Error in fw2.hex", "FLM_009"}},
        {"malformed loader file",
         {"-fend.hex", "-lbad.hx", "-bboot.hx"},
         "",
         "\nbad.hx line 2: field 255 for 1 bytes!\n",
         {"Error in bad.hx", "FLM_009"}},
        {"malformed second loader file",
         {"-d3", "-fend.hex", "-lend.hex", "-2lbad.hx", "-bboot.hx"},
         "",
         "\nbad.hx line 2: field 255 for 1 bytes!\n",
         {"Error in bad.hx", "FLM_009"}},
        {"malformed second loader of a warm Pesco",
         {"-d4", "-bb0", "-fend.hex", "-2lbad.hx"},
         "",
         "\nbad.hx line 2: field 255 for 1 bytes!\n",
         {"Error in bad.hx", "FLM_009"}},
    };
    WriteFile("fw.hex", Lines({SegmentBase(0x2000), DataRecord(0x0000, {1}), kEndRecord}));
    WriteFile("fw2.hex", Lines({":0100000001FF", kEndRecord}));
    WriteFile("fw3.hex", Lines({Record(0x03, 0, {0, 0, 0, 0}), kEndRecord}));
    WriteFile("end.hex", Lines({kEndRecord}));
    std::string wrongLength = DataRecord(0x0000, {1});
    wrongLength.replace(1, 2, "FF");
    WriteFile("bad.hx", Lines({SegmentBase(0), wrongLength, kEndRecord}));
    WriteFile("boot.hx", BooterText(booter_));
    for (const auto& c : cases) {
        if (!c.inv.empty()) WriteFile("Kelbo.inv", c.inv);
        sim::BootDrive drive{sim::BootDriveSetup{}};
        drive.AttachTo(line_);
        const size_t logStart = ProgramLog().size();
        EXPECT_EQ(Failure(Kelbo(c.args)), c.failure) << c.what;
        EXPECT_FALSE(line_.HostPortOpen()) << c.what;
        EXPECT_TRUE(drive.Capture().ToDrive().empty()) << c.what;
        EXPECT_TRUE(ReadFile(kImageFileName).empty()) << c.what;
        // Each entry shows in the program log twice (reported, then
        // transcribed); the failure is the last.
        const std::string log = ProgramLog().substr(logStart);
        size_t at = 0;
        for (const std::string& entry : c.transcript) {
            for (int copy = 0; copy < 2; ++copy) {
                at = log.find("\t" + entry + "\n\n", at);
                ASSERT_NE(at, std::string::npos) << c.what << ": " << entry;
                ++at;
            }
        }
        const std::string last = "\t" + c.failure + "\n\n";
        EXPECT_EQ(log.find(last, at), log.size() - 2 * last.size() - DataLogger::GetTimeText().size()) << c.what;
        EXPECT_TRUE(log.ends_with(last)) << c.what;
    }
}

TEST_F(KelboTest, OptionsStartFromTheirDefaultsInEveryRun) {
    // The files' own bytes at the checksum address of "Marlo" and of "Oskel".
    WriteFile("marlo.hex", Lines({SegmentBase(0x4800), DataRecord(0x0000, {0xAA, 0xBB, 0xCC, 0xDD}), kEndRecord}));
    WriteFile("fw.hex", Lines({SegmentBase(0x1000), DataRecord(0x0000, {0xAA, 0xBB, 0xCC, 0xDD}), kEndRecord}));
    // A default booter of 31 bytes: the second run stops there.
    WriteFile("booter.hex", BooterText(Counting(31, 0)));

    EXPECT_EQ(Failure(Kelbo({"-d1", "-nc", "-fmarlo.hex", "-bnone.hx", "-lgfirm.txt"})), "Step failed: FLM_034");
    // The label of the device type comes from the label file.
    EXPECT_EQ(ReadFile("firm.txt"), "Loading marlo.hex\nDevice Marlo drive\nStep failed: FLM_034\n");
    const std::string first = ReadFile(kImageFileName);
    EXPECT_EQ(first.substr(0, 17), ":020000024000BC\r\n");
    EXPECT_NE(first.find(":020000024800B4\r\n:20000000AABBCCDD"), std::string::npos);

    EXPECT_EQ(Failure(Kelbo({"-ffw.hex"})), "Step failed: FLM_035");
    const std::string second = ReadFile(kImageFileName);
    EXPECT_EQ(second.substr(0, 17), ":020000020000FC\r\n");
    const LoaderImage image = ExpectedImage(0, {"fw.hex"});
    const uint8_t* sums = &image[0].bytes[0x10000];
    EXPECT_NE(std::vector<uint8_t>(sums, sums + 4), (std::vector<uint8_t>{0xAA, 0xBB, 0xCC, 0xDD}));
    EXPECT_NE(second.find(platform::Format(":020000021000EC\r\n:20000000%02X%02X%02X%02X",
                                           unsigned{sums[0]},
                                           unsigned{sums[1]},
                                           unsigned{sums[2]},
                                           unsigned{sums[3]})),
              std::string::npos);
    // No log file was named the second time: the first one was closed.
    EXPECT_FALSE(TheLoaderConsole().HasLogFile());
    EXPECT_EQ(ReadFile("firm.txt").find("FLM_035"), std::string::npos);
}

TEST_F(KelboTest, SecondLoaderIsPartOfThePescoImage) {
    WriteFile("fw.hex", Lines({LinearBase(0x0010), DataRecord(0x0000, {1, 2}), kEndRecord}));
    WriteFile("ld2.hx", Lines({LinearBase(0x00C0), DataRecord(0x0100, {3, 4}), kEndRecord}));
    EXPECT_EQ(Failure(Kelbo({"-d4", "-ffw.hex", "-2lld2.hx", "-bnone.hx"})), "Step failed: FLM_034");
    const std::string image = ReadFile(kImageFileName);
    EXPECT_NE(image.find(":020000040010EA\r\n:800000000102FFFF"), std::string::npos);
    EXPECT_NE(image.find(":0200000400C03A\r\n:800100000304000000"), std::string::npos);

    EXPECT_EQ(Failure(Kelbo({"-d4", "-ffw.hex", "-2lnone.hx"})), "Cannot open none.hx");
}

TEST_F(KelboTest, ALogFileThatCannotBeOpenedIsReportedAndTheRunGoesOn) {
    WriteFile("fw.hex", Lines({kEndRecord}));
    testing::internal::CaptureStderr();
    const std::string failure = Failure(Kelbo({"-lgnodir/firm.txt", "-ffw.hex", "-bnone.hx"}));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Kann die Protokolldatei nodir/firm.txt nicht oeffnen!\n");
    EXPECT_EQ(failure, "Step failed: FLM_034");
}

}  // namespace
}  // namespace fwtest
