#include "families/tests/families_fixture.h"

#include <cstring>
#include <filesystem>

#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "bus/serial/striowin.h"
#include "platform/system/serial_port.h"
#include "testsupport/test_env.h"
#include "toolkit/core/gw_frame.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/testdriver/gw_test_driver.h"

namespace familiestest {

namespace {

const char* DriveTypeName(char type) {
    switch (type) {
        case kTypeFloat32:
            return "FLOAT32";
        case kTypeString:
            return "STRING";
        case kTypeUsign8:
            return "USIGN8";
        case kTypeInt16:
            return "INT16";
        default:
            return "USIGN16";
    }
}

}  // namespace

uint32_t FloatBits(float f) {
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

void FamiliesTest::SetUp() {
    ParaBaseTest::SetUp();
    sim::DriveTable table;
    table.type_number = 3012;
    drive_ = std::make_unique<sim::VirtualDrive>(table, kAddress);
    drive_->AttachTo(line_);
    platform::SetSerialPortOpener(line_.Opener("COM1"));
    bus_ = std::make_unique<TarnBus>(1, 9600);
    ASSERT_TRUE(bus_->IsOpen());
    bus_->AddDevice(kAddress, 3012, 1.0f);
    base_ = std::make_unique<ParaBase>(bus_.get(), kAddress);
    base_->TableLoaded = 1;
    // A copy takes the value texts and the description file from the
    // source's files.
    testsupport::WriteFile(testsupport::RuntimePath("LANGUAGE/044/tarn_std.PIT"), "[parameterdescription]\n");
    base_->SetPath(kDescriptionFilePath, "..\\LANGUAGE\\044\\tarn_std.PIT");
    base_->InitFile("..\\userdata\\device.00D");
    ASSERT_EQ(base_->WriteFileBase(), 0) << base_->MessageBuffer;
    drive_->ClearCapture();
}

void FamiliesTest::TearDown() {
    std::filesystem::remove(testsupport::RuntimePath("LANGUAGE/044/tarn_std.PIT"));
    base_.reset();
    bus_.reset();
    CloseSerio(false);
    platform::SetSerialPortOpener(nullptr);
    ParaBaseTest::TearDown();
}

void FamiliesTest::Both(int number, const char* name, char type, int32_t tableValue, uint32_t driveValue) {
    TableOnly(number, name, type, tableValue);
    sim::DriveParameter* p = drive_->Table().PutFullRange(number, name, DriveTypeName(type), driveValue);
    if (type == kTypeString) p->text = std::to_string(driveValue);
}

void FamiliesTest::TableOnly(int number, const char* name, char type, int32_t tableValue) {
    const bool isFloat = type == kTypeFloat32;
    const int32_t minimum = isFloat ? static_cast<int32_t>(FloatBits(-1e30f)) : INT32_MIN;
    const int32_t maximum = isFloat ? static_cast<int32_t>(FloatBits(1e30f)) : INT32_MAX;
    parabasetest::Define(
        *base_,
        {.number = number, .name = name, .type = type, .minimum = minimum, .maximum = maximum, .value = tableValue});
}

std::string FamiliesTest::Heard() const {
    std::string heard;
    for (const std::string& request : drive_->Capture().Requests()) heard += (heard.empty() ? "" : " ") + request;
    return heard;
}

void FamiliesTest::EnableBoxes() {
    ASSERT_TRUE(GwRcMgr::use(testsupport::RuntimePath("bin/torvan.cgw").c_str()));
    GwCore* main = new GwApplFrame("MainWindow");
    main->show();
    SetMainWindow(main);
    MessageBoxesEnabled = true;
    gwtest::SetDefaultBoxAnswer(GwRESULT_OK);
}

}  // namespace familiestest
