#include "app/main/tests/main_fixture.h"

#include <algorithm>
#include <cstring>

#include "app/main/user_levels.h"
#include "app/services/activity_message.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "bus/serial/striowin.h"
#include "bus/serial/tarn_bus.h"
#include "platform/system/serial_port.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace maintest {

namespace {

const GwFuncDesc kCallbacks[] = {
    {"CB_Info_StartVideo", CB_Info_StartVideo},
    {"Ident_Show", Ident_Show},
    {"Ident_SetEbene", Ident_SetEbene},
    {"CB_IdentOk", CB_IdentOk},
    {"CB_ShowIdent", CB_ShowIdent},
    {"CB_SetPassword", CB_SetPassword},
    {"CB_EnableGlobalHandMode", CB_EnableGlobalHandMode},
    {"CB_GetUserLevelTextById", CB_GetUserLevelTextById},
    {nullptr, nullptr},
};

}  // namespace

size_t RecordingDisplay::Count(const std::string& call) const {
    return static_cast<size_t>(std::count(calls.begin(), calls.end(), call));
}

uint32_t FloatBits(float f) {
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

sim::DriveTable ActivationTable(uint32_t typeNumber, uint32_t versionSteps) {
    sim::DriveTable table;
    table.type_number = typeNumber;
    table.version = versionSteps;
    const float version = static_cast<float>(versionSteps) / 20.0f;
    table.PutFullRange(88, "PWRON", "USIGN8", 0);
    // Float limits as numbers: the whole range of bit patterns is no range.
    for (int number : {90, 92}) {
        sim::DriveParameter* p =
            table.PutFullRange(number, number == 90 ? "VERS2" : "VERS", "FLOAT32", FloatBits(version));
        p->minimum = FloatBits(-1e6f);
        p->maximum = FloatBits(1e6f);
    }
    table.PutFullRange(91, "TYPE", "USIGN16", typeNumber);
    table.PutFullRange(115, "CSXOR", "USIGN32", 0x1234);
    table.PutFullRange(116, "CSADD", "USIGN32", 0xABCD);
    table.PutFullRange(127, "S_NR", "STRING", 0)->text = "SN-0042";
    table.PutFullRange(130, "NAME", "STRING", 0)->text = "Axis one";
    table.PutFullRange(151, "MODE", "USIGN16", 2);
    table.PutFullRange(165, "UDSAC", "USIGN16", 77);
    table.PutFullRange(403, "STATE", "USIGN16", 0);
    return table;
}

void MainTest::SetUp() {
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/torvan.cgw").c_str()));
    ASSERT_NE(GwRcMgr::use_func_desc(kCallbacks), 0);
    mainWindow_ = new GwApplFrame("MainWindow");
    mainWindow_->show();
    SetMainWindow(mainWindow_);
    MessageBoxesEnabled = true;
    SetMainDisplay(&display_);
    platform::SetSerialPortOpener(line_.Opener("COM1"));
    WriteTreeFile("LANGUAGE/044/tarn_std.PIT", "[parameterdescription]\nP092=Firmware version\n");
    WriteTreeFile("bin/Type4.xdl", "");
    ASSERT_TRUE(CreateMainObject());
    main_ = GetMain();
}

void MainTest::TearDown() {
    DestroyMainObject();
    if (!shippedProfile_.empty()) testsupport::WriteFile(testsupport::RuntimePath("bin/Torvan.ini"), shippedProfile_);
    CloseSerio(false);
    platform::SetSerialPortOpener(nullptr);
    RemoveCache();
    // Last written first, so a shipped file written over twice gets its own
    // bytes back.
    for (auto it = written_.rbegin(); it != written_.rend(); ++it) {
        if (it->second) {
            testsupport::WriteFile(it->first, *it->second);
        } else {
            std::filesystem::remove(it->first);
        }
    }
}

sim::VirtualDrive& MainTest::AddDrive(int address, sim::DriveTable table) {
    auto drive = std::make_unique<sim::VirtualDrive>(std::move(table), address);
    drive->AttachTo(line_);
    sim::VirtualDrive& d = *drive;
    drives_[address] = std::move(drive);
    return d;
}

void MainTest::OpenSerialBus() {
    ASSERT_TRUE(main_->OpenTarnBus(9600, 1, true));
    for (auto& [address, drive] : drives_) {
        const float version = static_cast<float>(drive->Table().version) / 20.0f;
        main_->GetSerialBus()->AddDevice(address, static_cast<uint16_t>(drive->Table().type_number), version);
    }
    RebuildDeviceList();
}

void MainTest::Activate() {
    if (drives_.count(kAddress) == 0) AddDrive(kAddress);
    if (main_->GetActiveBus() == nullptr) OpenSerialBus();
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
    ASSERT_TRUE(main_->SetActiveDevice(kAddress)) << gwtest::Boxes().size();
    ClearCaptures();
}

std::vector<std::string> MainTest::Requests(int address) { return drives_.at(address)->Capture().Requests(); }

void MainTest::ClearCaptures() {
    for (auto& [address, drive] : drives_) drive->ClearCapture();
}

void MainTest::WriteTreeFile(const std::string& relative, const std::string& bytes) {
    const std::filesystem::path path = testsupport::RuntimePath(relative);
    std::optional<std::string> before;
    if (std::filesystem::exists(path)) before = testsupport::ReadFile(path);
    written_.emplace_back(path, std::move(before));
    testsupport::WriteFile(path, bytes);
}

void MainTest::RemoveTreeFile(const std::string& relative) {
    std::filesystem::remove(testsupport::RuntimePath(relative));
}

void MainTest::UseMainProfile(const std::string& text) {
    const std::filesystem::path path = testsupport::RuntimePath("bin/Torvan.ini");
    if (shippedProfile_.empty()) shippedProfile_ = testsupport::ReadFile(path);
    testsupport::WriteFile(path, text);
    ASSERT_TRUE(CreateMainObject());
    main_ = GetMain();
}

std::string MainTest::NewLogText() {
    const std::string log = ProgramLog();
    const std::string added = log.size() > logSeen_ ? log.substr(logSeen_) : std::string();
    logSeen_ = log.size();
    return added;
}

std::string MainTest::ProgramLog() { return testsupport::ReadFile(testsupport::RuntimePath("TMP/DataLogger.txt")); }

std::vector<std::string> MainTest::BoxTexts() {
    std::vector<std::string> texts;
    for (const GwBoxRecord& box : gwtest::Boxes()) texts.push_back(box.kind + ": " + box.text);
    return texts;
}

GwCore* MainTest::ListedOnlineWindow(const char* name, GwCore* parent) {
    EXPECT_TRUE(GwRcMgr::use_text(std::string("dialogframe ") + name + " { }\n", "test.cgw"));
    GwCore* window = GwRcMgr::load(parent != nullptr ? parent : mainWindow_, name, 1);
    window->set_close_mode(GwCLOSE_DESTROY);
    window->show();
    EXPECT_EQ(TheWindowHandler().Add(window, 1), 1);
    return window;
}

void MainTest::RemoveCache() {
    for (const char* extension : {"D", "X", "T"}) std::filesystem::remove(CachePath(extension));
}

std::string MainTest::CachePath(const std::string& extension) {
    return testsupport::RuntimePath("FIRMDATA/4120_001.30" + extension).string();
}

}  // namespace maintest
