#include "scope/recorder/tests/recorder_fixture.h"

#include <filesystem>

#include "app/services/app_files.h"
#include "app/services/program_flags.h"
#include "bus/serial/striowin.h"
#include "platform/system/serial_port.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace scopetest {

namespace {

// The recorder's parameters. 70..73 cannot be written at level 6; 350 is
// 0.0001 s, 92 is version 3.10, 304 is 1.0.
constexpr char kTable[] = R"(
drive type=5000 version=62 status=0
param 20  CFG0  USIGN16 max=0xFF
param 21  VAR0  USIGN16 max=255
param 22  CFG1  USIGN16 max=0xFF
param 23  VAR1  USIGN16 max=255
param 24  CFG2  USIGN16 max=0xFF
param 25  VAR2  USIGN16 max=255
param 26  CFG3  USIGN16 max=0xFF
param 27  VAR3  USIGN16 max=255
param 36  SCAUX INT32   min=-100000 max=100000
param 60  SCDIV USIGN16 max=999
param 62  SCLEN USIGN16 max=4000 default=1000 value=1000
param 64  TRLEV INT16
param 65  TRMOD INT16   min=-2 max=10 value=1
param 66  TRCH  USIGN8  max=3
param 67  PRETR FIXPT16 max=2000
param 68  SCCTL USIGN16 max=3
param 70  ACT0  INT16   write=15
param 71  ACT1  INT16   write=15
param 72  ACT2  INT16   write=15
param 73  ACT3  INT16   write=15
param 90  VERSA FLOAT32 value=0x40466666
param 91  TYPE  INT32   value=5000 readonly
param 92  VERS  FLOAT32 value=0x40466666 readonly
param 110 SCXFR USIGN8  max=2
param 300 CTYPE USIGN8  max=9 value=1
param 304 SCTB  FLOAT32 value=0x3F800000
param 350 BASET FLOAT32 value=0x38D1B717
)";

constexpr int kDescribed[] = {20, 21, 22, 23, 24, 25, 26, 27, 36, 60,  62,  64,  65, 66,
                              67, 68, 70, 71, 72, 73, 90, 91, 92, 110, 300, 304, 350};
constexpr int kReadAtStart[] = {90, 91, 92};

}  // namespace

void RecorderTest::SetUp() {
    OpenApplicationFiles();
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/torvan.cgw").c_str()));
    GwCore* main = new GwApplFrame("MainWindow");
    main->show();
    SetMainWindow(main);
    MessageBoxesEnabled = true;

    std::filesystem::remove(testsupport::RuntimePath(kListFile));
    std::string error;
    auto table = sim::DriveTable::Parse(kTable, "recorder", &error);
    ASSERT_TRUE(table.has_value()) << error;
    drive_ = std::make_unique<sim::VirtualDrive>(*table, kAddress);
    drive_->AttachTo(line_);
    platform::SetSerialPortOpener(line_.Opener("COM1"));
    bus_ = std::make_unique<TarnBus>(1, 9600);
    ASSERT_TRUE(bus_->IsOpen());
    bus_->AddDevice(kAddress, 5000, 3.1f);
    base_ = std::make_unique<ScopeBase>(bus_.get(), kAddress, &window_);
    for (int number : kDescribed) {
        ASSERT_EQ(base_->ReadBusDescription(number), 0) << base_->MessageBuffer;
        base_->GetEntry(number)->valid = 1;
    }
    for (int number : kReadAtStart) {
        double ignored = 0.0;
        ASSERT_EQ(base_->ReadValueDouble(number, &ignored), 0) << base_->MessageBuffer;
    }
    hooks_.active = base_.get();
    SetServicesHooks(&hooks_);
    drive_->ClearCapture();
}

void RecorderTest::TearDown() {
    SetServicesHooks(nullptr);
    base_.reset();
    bus_.reset();
    CloseSerio(false);
    platform::SetSerialPortOpener(nullptr);
    std::filesystem::remove(testsupport::RuntimePath(kListFile));
    CloseApplicationFiles();
}

void RecorderTest::SetOnDrive(int number, uint32_t raw) {
    OnDrive(number).value = raw;
    int32_t ignored = 0;
    ASSERT_EQ(base_->ReadRawValue(number, &ignored), 0) << base_->MessageBuffer;
}

void RecorderTest::WriteList(const std::string& text) {
    testsupport::WriteFile(testsupport::RuntimePath(kListFile), text);
}

std::vector<std::string> RecorderTest::BoxTexts() const {
    std::vector<std::string> texts;
    for (const GwBoxRecord& box : gwtest::Boxes()) texts.push_back(box.kind + ": " + box.text);
    return texts;
}

std::vector<std::string> RecorderTest::Telegrams() const {
    // A request is EOT, the address and either the code and ENQ (a read) or
    // STX, code=value, ETX and the check character (a write).
    std::vector<std::string> telegrams;
    const std::string heard = drive_->Capture().ToDrive();
    size_t at = heard.find('\x04');
    while (at != std::string::npos) {
        // The bus also ends each exchange with EOT; the address follows the last.
        at = heard.find_first_not_of('\x04', at);
        if (at == std::string::npos || at + 1 >= heard.size()) break;
        const size_t start = at + 1;
        size_t end;
        if (heard[start] == '\x02') {
            end = heard.find('\x03', start);
            if (end == std::string::npos) break;
            telegrams.push_back(heard.substr(start + 1, end - start - 1));
            end += 2;
        } else {
            end = heard.find('\x05', start);
            if (end == std::string::npos) break;
            telegrams.push_back(heard.substr(start, end - start));
            end += 1;
        }
        at = heard.find('\x04', end);
    }
    return telegrams;
}

std::string RecorderTest::Runtime(const std::string& relative) {
    return testsupport::ReadFile(testsupport::RuntimePath(relative));
}

bool RecorderTest::RuntimeExists(const std::string& relative) {
    return std::filesystem::exists(testsupport::RuntimePath(relative));
}

}  // namespace scopetest
