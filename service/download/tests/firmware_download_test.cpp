// The firmware download procedure over the application object, on the
// virtual clock: the questions and refusals before the download, the option
// file it writes for a drive found online or a class the user chose, the
// device-class chooser, and a whole warm download against the virtual boot
// drive with the reconnection afterwards.
#include "service/download/firmware_download.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/main/tests/main_fixture.h"
#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "bus/can/can_open_tarn.h"
#include "bus/serial/tarn_bus.h"
#include "platform/base/format.h"
#include "platform/files/text_file.h"
#include "service/download/device_class_chooser.h"
#include "service/download/firmld_progress.h"
#include "service/download/memory_dump.h"
#include "service/download/void_slider.h"
#include "service/firmware/loader_console.h"
#include "sim/boot_drive.h"
#include "sim/can_bus.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_recorder.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace {

using maintest::FloatBits;
using maintest::kAddress;

constexpr int kRiskNoteConfirm = 6;
constexpr int kServiceStateParameter = 132;
const std::string kQuestion47 = "question: Load new firmware into the active device?";
const std::string kQuestion48 = "question: No device is online. Load firmware into a device in boot mode?";
const std::string kInvalidClass = std::string("info: ") + kInvalidDeviceClassText;

std::string Golden(const std::string& name) {
    return platform::ReadBinaryFile(std::string(DOWNLOAD_GOLDEN_DIR) + "/" + name + ".inv").value_or("(missing)");
}

// A drive of the type with what activation and the download read: the
// firmware version in single precision, the service state and the command
// parameter that starts the loader.
sim::DriveTable DriveOfType(uint16_t type, float version) {
    sim::DriveTable table = maintest::ActivationTable(type);
    table.Find(92)->value = FloatBits(version);
    table.PutFullRange(kServiceStateParameter, "SERV", "USIGN8", 0);
    table.PutFullRange(sim::kLoaderStartParameter, "CMD", "USIGN16", 0);
    // What the tool's switch into the loader reads and writes.
    table.PutFullRange(82, "ADDR", "USIGN16", kAddress);
    table.PutFullRange(83, "UNLOCK", "USIGN16", 0);
    return table;
}

class DownloadTest : public maintest::MainTest {
protected:
    void SetUp() override {
        MainTest::SetUp();
        ASSERT_NE(GwRcMgr::use_func_desc(FirmwareDownloadCallbacks()), 0);
        std::filesystem::remove_all(testsupport::RuntimePath("bin/Kelbo.inv"));
        // Parameter bases cached by earlier tests would stand in for the
        // drives of this one.
        for (const auto& entry : std::filesystem::directory_iterator(testsupport::RuntimePath("FIRMDATA"))) {
            if (entry.path().filename() != ".keep") std::filesystem::remove_all(entry.path());
        }
    }

    // The drive at kAddress, online and active.
    void ActivateDrive(sim::DriveTable table) {
        AddDrive(kAddress, std::move(table));
        OpenSerialBus();
        ASSERT_TRUE(main_->SetActiveDevice(kAddress));
        ASSERT_TRUE(main_->HasOnlineDevice());
    }

    // The user's answers from question 47 of a warm start to the risk note,
    // choosing `file`.
    static void ConfirmUpToTheTool(const std::string& file) {
        gwtest::AnswerBox(GwRESULT_YES);
        gwtest::AnswerFile(file);
        gwtest::AnswerBox(GwRESULT_YES);
        gwtest::AnswerModal(kRiskNoteConfirm, "RiskNote_AdjustmentChanged");
    }

    static std::string OptionFile() { return platform::ReadBinaryFile("Kelbo.inv").value_or("(none)"); }

    static int Download() { return CB_LoadFirmwareBrenta(GetMainWindow(), nullptr, GwUD()); }
};

// --- what the user is asked, and where he can stop ----------------------------

TEST_F(DownloadTest, RefusalsEndTheProcedureWithTheBusUntouched) {
    enum Setup { kPlain, kRunning, kServiceState, kScanned };
    const struct {
        const char* what;
        Setup setup;
        std::vector<int> answers;  // boxes, in order
        bool reachesFile;
        bool fileCancelled;
        bool riskNoteRefused;
        int result;
        std::vector<std::string> boxes;
    } cases[] = {
        {"running drive",
         kRunning,
         {GwRESULT_NO},
         false,
         false,
         false,
         0,
         {"warning: The active device is running. Continue!"}},
        {"service state",
         kServiceState,
         {GwRESULT_NO},
         false,
         false,
         false,
         1,
         {"warning: The device is in service mode. Continue!"}},
        {"no to 47", kPlain, {GwRESULT_NO}, false, false, false, 1, {kQuestion47}},
        {"file cancelled", kPlain, {GwRESULT_YES}, true, true, false, 1, {kQuestion47}},
        {"no to 55",
         kPlain,
         {GwRESULT_YES, GwRESULT_NO},
         true,
         false,
         false,
         1,
         {kQuestion47, "question: Load the firmware file fw.hex into the device?"}},
        {"risk note",
         kPlain,
         {GwRESULT_YES, GwRESULT_YES},
         true,
         false,
         true,
         1,
         {kQuestion47, "question: Load the firmware file fw.hex into the device?"}},
        // Last: nothing but a search clears what the scan leaves.
        {"found by a scan",
         kScanned,
         {GwRESULT_YES, GwRESULT_OK},
         false,
         false,
         false,
         1,
         {kQuestion47,
          "warning: The devices were found by a network scan. Search the device before loading firmware!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        sim::DriveTable table = DriveOfType(3100, 2.5f);
        if (c.setup == kRunning) table.Find(403)->value = 0x3000;
        if (c.setup == kServiceState) table.Find(kServiceStateParameter)->value = 1;
        drives_.clear();
        ActivateDrive(std::move(table));
        if (c.setup == kScanned) {
            main_->ScanNet();
            ASSERT_TRUE(main_->SetActiveDevice(kAddress));
        }
        TarnBus* bus = main_->GetSerialBus();
        const size_t boxesBefore = gwtest::Boxes().size();
        for (int answer : c.answers) gwtest::AnswerBox(answer);
        if (c.fileCancelled) {
            gwtest::CancelFile();
        } else if (c.reachesFile) {
            gwtest::AnswerFile("fw.hex");
        }
        if (c.riskNoteRefused) gwtest::AnswerModal(2, "RiskNote_AdjustmentChanged");

        EXPECT_EQ(Download(), c.result);
        std::vector<std::string> boxes = BoxTexts();
        boxes.erase(boxes.begin(), boxes.begin() + static_cast<long>(boxesBefore));
        EXPECT_EQ(boxes, c.boxes);
        EXPECT_EQ(gwtest::UnusedAnswers(), 0);
        EXPECT_EQ(main_->GetSerialBus(), bus);
        EXPECT_EQ(main_->GetActiveAddress(), kAddress);
        EXPECT_FALSE(std::filesystem::exists("Kelbo.inv"));
        EXPECT_FALSE(DeviceBusyFlag);
    }
}

TEST_F(DownloadTest, AnActiveCanOpenBusEndsItWithNothingAsked) {
    sim::RegisterVirtualCanAdapter();
    ASSERT_TRUE(main_->OpenCanBus(3, kHardwareUsb, 0, 0, true));
    EXPECT_EQ(Download(), 1);
    EXPECT_TRUE(gwtest::Boxes().empty());
    EXPECT_TRUE(GwRecorder::FileRequests().empty());
    EXPECT_EQ(main_->GetActiveBus(), main_->GetCanBus());
    main_->CloseCanBus();
}

// --- the option file -----------------------------------------------------------

struct WarmCase {
    const char* golden;
    uint16_t type;
    float version;
    const char* parameter17;  // name of parameter 17, null without one
    uint32_t hardwareId;
};

class WarmOptionFileTest : public DownloadTest, public ::testing::WithParamInterface<WarmCase> {};

// The tool fails at once (no firmware file), so the run also shows how a
// failure is reported and the bus comes back.
TEST_P(WarmOptionFileTest, TheOnlineDriveSelectsTheOptionSet) {
    const WarmCase& c = GetParam();
    sim::DriveTable table = DriveOfType(c.type, c.version);
    if (c.parameter17 != nullptr) table.PutFullRange(17, c.parameter17, "USIGN16", c.hardwareId);
    ActivateDrive(std::move(table));
    ConfirmUpToTheTool("fw.hex");
    gwtest::AnswerBox(GwRESULT_OK);

    EXPECT_EQ(Download(), 1);
    EXPECT_EQ(OptionFile(), Golden(c.golden));
    EXPECT_EQ(
        BoxTexts(),
        (std::vector<std::string>{kQuestion47,
                                  "question: Load the firmware file fw.hex into the device?",
                                  "error: The firmware download failed:\nFile fw.hex cannot be opened or written!"}));
    // Back on its old port and rate, but not reconnected after a failure.
    ASSERT_NE(main_->GetSerialBus(), nullptr);
    EXPECT_EQ(main_->GetActiveBus(), main_->GetSerialBus());
    EXPECT_EQ(main_->GetSerialBus()->GetPortNumber(), 1u);
    EXPECT_EQ(main_->GetSerialBus()->GetBaudRate(), 9600u);
    EXPECT_EQ(main_->GetActiveAddress(), -1);
    EXPECT_FALSE(DeviceBusyFlag);
    EXPECT_FALSE(UncouplingPending);
    EXPECT_TRUE(FirmwareDownloadFinished());
}

INSTANTIATE_TEST_SUITE_P(
    Classes, WarmOptionFileTest,
    ::testing::Values(
        // The drive stores 2.15 in single precision: it counts as 2.15.
        WarmCase{"marlo_warm_215", 3100, 2.15f, nullptr, 0}, WarmCase{"marlo_warm_216", 3100, 2.16f, nullptr, 0},
        WarmCase{"ruvex_warm", 4120, 1.3f, nullptr, 0}, WarmCase{"pesco_warm_hwid1", 5000, 1.0f, "HWID", 1},
        WarmCase{"pesco_warm_hwid1", 5000, 1.0f, " HWID ", 1}, WarmCase{"pesco_warm_other", 5000, 1.0f, "HWID", 0},
        WarmCase{"pesco_warm_other", 5000, 1.0f, "HWIX", 1}, WarmCase{"pesco_warm_other", 5000, 1.0f, nullptr, 0},
        WarmCase{"talin_warm", 1000, 1.0f, nullptr, 0}, WarmCase{"wenzo_warm", 2000, 1.0f, nullptr, 0}));

TEST_F(DownloadTest, AWarmPescoWithAnUnknownHardwareIdEndsBeforeTheBusIsClosed) {
    sim::DriveTable table = DriveOfType(5000, 1.0f);
    table.PutFullRange(17, "HWID", "USIGN16", 2);
    ActivateDrive(std::move(table));
    TarnBus* bus = main_->GetSerialBus();
    ConfirmUpToTheTool("fw.hex");
    gwtest::AnswerBox(GwRESULT_OK);

    EXPECT_EQ(Download(), 1);
    EXPECT_EQ(BoxTexts().back(), kInvalidClass);
    EXPECT_FALSE(std::filesystem::exists("Kelbo.inv"));
    EXPECT_EQ(main_->GetSerialBus(), bus);
    EXPECT_EQ(main_->GetActiveAddress(), kAddress);
}

struct ColdCase {
    const char* what;
    const char* widget;  // null: nothing selected
    const char* variants;
    int variant;
    const char* golden;  // null: no valid class
};

TEST_F(DownloadTest, TheChosenClassSelectsTheColdOptionSet) {
    const ColdCase cases[] = {
        {"Oskel", "Oskel", nullptr, 0, "oskel_cold"},
        {"Marlo", "Marlo", nullptr, 0, "marlo_cold"},
        {"Ruvex 1", "Ruvex", "RuvexVariants", 1, "ruvex_cold_1"},
        {"Ruvex 2", "Ruvex", "RuvexVariants", 2, "ruvex_cold_2"},
        {"Ruvex 0", "Ruvex", "RuvexVariants", 0, "ruvex_cold_other"},
        {"Pesco 0", "Pesco", "PescoVariants", 0, "pesco_cold_0"},
        {"Pesco 1", "Pesco", "PescoVariants", 1, "pesco_cold_1"},
        {"Pesco none", "Pesco", nullptr, 0, nullptr},
        {"Talin", "Talin", nullptr, 0, "talin_cold"},
        {"Wenzo", "Wenzo", nullptr, 0, "wenzo_cold"},
        {"nothing", nullptr, nullptr, 0, nullptr},
    };
    OpenSerialBus();
    for (const ColdCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove("Kelbo.inv");
        const size_t boxesBefore = gwtest::Boxes().size();
        gwtest::AnswerBox(GwRESULT_YES);
        gwtest::ScriptModal(kChooseLoaderDeviceWindow, [&c](GwCore*) {
            if (c.widget != nullptr) gwtest::Toggle(std::string(kChooseLoaderDeviceWindow) + "/" + c.widget);
            if (c.variants != nullptr)
                gwtest::Select(std::string(kChooseLoaderDeviceWindow) + "/" + c.variants, c.variant);
            gwtest::Click(std::string(kChooseLoaderDeviceWindow) + "/OK");
        });
        gwtest::AnswerFile("fw.hex");
        gwtest::AnswerBox(GwRESULT_YES);
        gwtest::AnswerModal(kRiskNoteConfirm, "RiskNote_AdjustmentChanged");
        gwtest::AnswerBox(GwRESULT_OK);

        EXPECT_EQ(Download(), 1);
        EXPECT_EQ(gwtest::UnusedAnswers(), 0);
        EXPECT_EQ(gwtest::Find(kChooseLoaderDeviceWindow), nullptr);
        std::vector<std::string> boxes = BoxTexts();
        boxes.erase(boxes.begin(), boxes.begin() + static_cast<long>(boxesBefore));
        ASSERT_EQ(boxes.size(), 3u);
        EXPECT_EQ(boxes[0], kQuestion48);
        if (c.golden == nullptr) {
            EXPECT_EQ(boxes[2], kInvalidClass);
            EXPECT_FALSE(std::filesystem::exists("Kelbo.inv"));
        } else {
            EXPECT_EQ(OptionFile(), Golden(c.golden));
            EXPECT_EQ(boxes[2].substr(0, 7), "error: ");
        }
    }
}

TEST_F(DownloadTest, TheLoaderRateComesFromTheMainProfile) {
    UseMainProfile("[Options]\nLanguage=44\n[TarnBus]\nLoaderrate=115200\n");
    OpenSerialBus();
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::ScriptModal(kChooseLoaderDeviceWindow, [](GwCore*) {
        gwtest::Toggle("ChooseLoaderDevice/Marlo");
        gwtest::Click("ChooseLoaderDevice/OK");
    });
    gwtest::AnswerFile("fw.hex");
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::AnswerModal(kRiskNoteConfirm, "RiskNote_AdjustmentChanged");
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(Download(), 1);
    EXPECT_EQ(OptionFile(), Golden("marlo_cold_115200"));
}

TEST_F(DownloadTest, WithoutAnOptionFileTheOptionsAreArgumentsOfTheirOwn) {
    // A directory where the option file belongs: it cannot be created.
    std::filesystem::create_directory("Kelbo.inv");
    ActivateDrive(DriveOfType(1000, 1.0f));
    ConfirmUpToTheTool("..\\FIRMDATA\\new firmware.hex");
    gwtest::AnswerBox(GwRESULT_OK);
    EXPECT_EQ(Download(), 1);
    // The path with its blank reached the tool whole.
    EXPECT_EQ(BoxTexts().back(),
              "error: The firmware download failed:\nFile ..\\FIRMDATA\\new firmware.hex cannot be opened or written!");
    std::filesystem::remove_all("Kelbo.inv");
}

// --- whole downloads against the virtual boot drive -------------------------------

// The drive restarts its firmware this long after the end of the download.
constexpr uint64_t kRestartDelayUs = 2500000;
const char kFirmwareHex[] = ":020000021800E4\n:080010000102030405060708C4\n:00000001FF\n";

TEST_F(DownloadTest, AWarmDownloadRunsTheToolWithTheBusClosedAndReconnectsTheDrive) {
    sim::VirtualDrive firmware(DriveOfType(4120, 1.3f), kAddress, 9600);
    sim::BootDriveSetup setup;
    setup.wake_up = 1;
    sim::BootDrive boot(setup, firmware);
    boot.RunFirmwareAfterDownload(firmware, kRestartDelayUs, 1.35f);
    boot.AttachTo(line_);
    ASSERT_TRUE(main_->OpenTarnBus(9600, 1, true));
    main_->GetSerialBus()->AddDevice(kAddress, 4120, 1.3f);
    RebuildDeviceList();
    ASSERT_TRUE(main_->SetActiveDevice(kAddress));
    WriteTreeFile("FIRMDATA/fw.hex", kFirmwareHex);

    struct {
        bool seen = false;
        bool busClosed = false;
        bool busy = false;
        bool closed = true;
        bool visible = false;
    } during;
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::AnswerFile("..\\FIRMDATA\\fw.hex");
    gwtest::AnswerBox(GwRESULT_YES);
    // A close request a little after the tool has started.
    gwtest::ScriptModal(
        "RiskNote_AdjustmentChanged",
        [&during](GwCore*) {
            gwtest::At(50, [&during] {
                during.seen = true;
                during.busClosed = GetMain()->GetSerialBus() == nullptr;
                during.busy = DeviceBusyFlag;
                during.visible = gwtest::IsVisible(kFirmwareProgressWindow);
                during.closed = gwtest::Close(kFirmwareProgressWindow);
            });
        },
        kRiskNoteConfirm);
    gwtest::AnswerBox(GwRESULT_OK);  // the refused close
    gwtest::AnswerBox(GwRESULT_OK);  // what was loaded

    EXPECT_EQ(Download(), 1);
    EXPECT_EQ(gwtest::UnusedAnswers(), 0);
    EXPECT_EQ(BoxTexts(),
              (std::vector<std::string>{kQuestion47,
                                        "question: Load the firmware file ..\\FIRMDATA\\fw.hex into the device?",
                                        std::string("info: ") + kDownloadNotInterruptibleText,
                                        "info: The firmware was loaded (warm start). Firmware version: 1.35!"}));
    EXPECT_EQ(
        OptionFile(),
        "-d3\n-bb0\n-bl57600l\n-l4000_ld.hx\n-2l4000_ld2.hx\n-b4000_bt.hx\n-p1\n-f..\\FIRMDATA\\fw.hex\n-lgfirm.txt\n");
    ASSERT_FALSE(GwRecorder::FileRequests().empty());
    const GwFileRequest& request = GwRecorder::FileRequests().back();
    EXPECT_EQ(request.title, "Choose firmware file");
    EXPECT_EQ(request.directory, ".\\");
    EXPECT_EQ(request.filter, "*.hex|*.hex|");
    ASSERT_TRUE(MainProfile()->select_section("Directories"));
    EXPECT_STREQ(MainProfile()->read("FirmwareDir"), "..\\FIRMDATA\\");

    // While the tool ran: the bus closed, the device busy, the window there
    // and not to be closed.
    EXPECT_TRUE(during.seen);
    EXPECT_TRUE(during.busClosed);
    EXPECT_TRUE(during.busy);
    EXPECT_TRUE(during.visible);
    EXPECT_FALSE(during.closed);
    EXPECT_EQ(TheLoaderConsole().Language(), static_cast<char>(44));

    // The reconnection showed its progress window.
    bool connecting = false;
    for (const GwEffect& effect : gwtest::Effects("text")) connecting |= effect.value == "Connecting to the device ...";
    EXPECT_TRUE(connecting);

    // The firmware reached the flash; the drive runs it and is active again.
    EXPECT_EQ(boot.Loader().FlashBytes(0x18010, 8, 0xFF), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(boot.CurrentMode(), sim::BootDrive::Mode::kFirmware);
    ASSERT_NE(main_->GetSerialBus(), nullptr);
    EXPECT_EQ(main_->GetActiveBus(), main_->GetSerialBus());
    EXPECT_EQ(main_->GetSerialBus()->GetPortNumber(), 1u);
    EXPECT_EQ(main_->GetSerialBus()->GetBaudRate(), 9600u);
    EXPECT_EQ(main_->GetActiveAddress(), kAddress);
    EXPECT_TRUE(main_->HasOnlineDevice());
    EXPECT_FALSE(main_->LastSearchWasScan());
    EXPECT_FALSE(DeviceBusyFlag);
    EXPECT_FALSE(UncouplingPending);
    EXPECT_TRUE(FirmwareDownloadFinished());
    EXPECT_EQ(gwtest::Find(kFirmwareProgressWindow), nullptr);
}

std::string BooterText(size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += platform::Format("%02x", static_cast<unsigned>(0xD0 + i));
        text += i % 16 == 15 ? "\r\n" : " ";
    }
    return text;
}

// A drive in bootstrap mode: the class comes from the chooser, and the drive
// to activate afterwards from the search.
TEST_F(DownloadTest, AColdDownloadActivatesTheDriveTheSearchFinds) {
    for (const bool restarts : {true, false}) {
        SCOPED_TRACE(restarts ? "drive restarts" : "drive stays in its loader");
        sim::VirtualDrive firmware(DriveOfType(100, 1.0f), 4, 9600);
        sim::BootDriveSetup setup;
        setup.loader_image_size = 0x2FA;
        setup.bootstrap_baud = 9600;
        sim::BootDrive boot(setup);
        if (restarts) boot.RunFirmwareAfterDownload(firmware, kRestartDelayUs, 1.1f);
        boot.AttachTo(line_);
        OpenSerialBus();
        WriteTreeFile("bin/Oskel_bt.hx", BooterText(32));
        WriteTreeFile("bin/Oskel_ld.hx", ":080000004041424344454647DC\n:00000001FF\n");
        WriteTreeFile("FIRMDATA/fw.hex", ":080100000102030405060708D3\n:00000001FF\n");
        const size_t boxesBefore = gwtest::Boxes().size();
        gwtest::AnswerBox(GwRESULT_YES);
        gwtest::ScriptModal(kChooseLoaderDeviceWindow, [](GwCore*) {
            gwtest::Toggle("ChooseLoaderDevice/Oskel");
            gwtest::Click("ChooseLoaderDevice/OK");
        });
        gwtest::AnswerFile("..\\FIRMDATA\\fw.hex");
        gwtest::AnswerBox(GwRESULT_YES);
        gwtest::AnswerModal(kRiskNoteConfirm, "RiskNote_AdjustmentChanged");
        gwtest::AnswerBox(GwRESULT_OK);  // the tool asks for the bootstrap mode
        gwtest::AnswerBox(GwRESULT_OK);

        EXPECT_EQ(Download(), 1);
        EXPECT_EQ(gwtest::UnusedAnswers(), 0);
        std::vector<std::string> boxes = BoxTexts();
        boxes.erase(boxes.begin(), boxes.begin() + static_cast<long>(boxesBefore));
        ASSERT_EQ(boxes.size(), 4u);
        EXPECT_EQ(boxes[0], kQuestion48);
        EXPECT_EQ(boxes[3],
                  restarts ? "info: The firmware was loaded (cold start). Firmware version: 1.1!"
                           : "info: The firmware was loaded. No device was found on the bus!");
        EXPECT_EQ(boot.Loader().FlashBytes(0x100, 8, 0xFF), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
        EXPECT_EQ(main_->GetActiveAddress(), restarts ? 4 : -1);
        EXPECT_EQ(main_->GetActiveBus(), main_->GetSerialBus());
        boot.Detach();
    }
}

// --- the chooser and the progress window ----------------------------------------

TEST_F(DownloadTest, TheChooserTakesItsLabelsFromTheLabelFile) {
    WriteTreeFile("LANGUAGE/044/BLabel.dat", "[OfflineLoader]\nTalin=disable\nMarlo=Marlo (all versions)\nWenzo=\n");
    OpenApplicationFiles();
    GwCore* chooser = GwRcMgr::load(GetMainWindow(), kChooseLoaderDeviceWindow, 1);
    ASSERT_NE(chooser, nullptr);
    chooser->show();
    EXPECT_FALSE(gwtest::IsVisible("ChooseLoaderDevice/Talin"));
    EXPECT_EQ(gwtest::Text("ChooseLoaderDevice/Marlo"), "Marlo (all versions)");
    EXPECT_TRUE(gwtest::IsVisible("ChooseLoaderDevice/Wenzo"));
    EXPECT_EQ(gwtest::Text("ChooseLoaderDevice/Wenzo"), "Wenzo");
    EXPECT_EQ(gwtest::Text("ChooseLoaderDevice/Oskel"), "Oskel");
    chooser->destroy();
}

TEST_F(DownloadTest, CancellingTheChooserEndsTheProcedure) {
    OpenSerialBus();
    gwtest::AnswerBox(GwRESULT_YES);
    gwtest::ScriptModal(kChooseLoaderDeviceWindow, [](GwCore*) {
        gwtest::Toggle("ChooseLoaderDevice/Oskel");
        gwtest::Click("ChooseLoaderDevice/Cancel");
    });
    EXPECT_EQ(Download(), 1);
    EXPECT_TRUE(ChosenDeviceClass().cancelled);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{kQuestion48});
    EXPECT_TRUE(GwRecorder::FileRequests().empty());
}

TEST(VoidSlider, StoresAndStepsItsFields) {
    VoidSlider slider;
    BasicSlider& sink = slider;
    sink.SetMinimum(2);
    sink.SetMaximum(40);
    sink.SetStep(5);
    sink.SetValue(10);
    sink.StepIt();
    EXPECT_EQ(sink.GetValue(), 15);
    sink.StepBy(7);
    EXPECT_EQ(sink.GetValue(), 22);
    EXPECT_EQ(sink.GetMinimum(), 2);
    EXPECT_EQ(sink.GetMaximum(), 40);
    EXPECT_EQ(sink.GetStep(), 5);
}

TEST(MemoryDump, CallbacksActOnlyOnceTheRefreshCountHasPassedFour) {
    ASSERT_TRUE(GwRcMgr::use_text("dialogframe Dump { edit Address { } }\n", "dump.cgw"));
    GwCore* window = GwRcMgr::load(nullptr, "Dump", 1);
    window->show();
    GwCore* address = window->child("Address");
    address->set_text("1f40");
    MemoryDumpState& state = TheMemoryDumpState();
    state = {};
    state.refreshCount = 4;
    CB_SetDumpAddress(address, nullptr, GwUD());
    CB_IncrementAdr(address, nullptr, GwUD());
    EXPECT_EQ(state.address, 0u);

    state.refreshCount = 5;
    CB_SetDumpAddress(address, nullptr, GwUD());
    EXPECT_EQ(state.address, 0x1F40u);
    CB_IncrementAdr(address, nullptr, GwUD());
    EXPECT_EQ(state.address, 0x1F90u);
    state.address = 50;
    CB_DecrementAdr(address, nullptr, GwUD());
    EXPECT_EQ(state.address, 0u);  // never below 0
    CB_HideDump(address, nullptr, GwUD());
    EXPECT_FALSE(window->is_visible());
    EXPECT_EQ(state.refreshCount, 0);
    window->destroy();
}

}  // namespace
