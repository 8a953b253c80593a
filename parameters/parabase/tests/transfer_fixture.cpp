#include "parameters/parabase/tests/transfer_fixture.h"

#include "bus/serial/striowin.h"
#include "platform/system/serial_port.h"

namespace parabasetest {

namespace {

// Values as raw bits: 3.55f, 3.6f, 1.0f, 100.0f.
constexpr char kDriveTable[] = R"(
drive type=5123 version=72 status=0x0000
param 15  DLEND  USIGN8  max=1
param 80  DLHS   INT16
param 90  VERS2  FLOAT32 value=0x40633333 readonly
param 91  TYPE   USIGN16 value=5123 readonly
param 92  VERS   FLOAT32 value=0x40666666 readonly
param 115 CSXOR  USIGN32 value=0x1234 hex readonly
param 116 CSADD  USIGN32 value=0xABCD hex readonly
param 120 MODE   USIGN8  max=2 value=1 sc=1
text 120 0 Off
text 120 1 Speed control
text 120 2 Position
param 121 DIR    USIGN8  max=2 sc=1
text 121 0 Left
text 121 2 Right
param 123 SPEED  INT32   min=-6000 max=6000 value=1500 sc=2
param 125 GAIN   FLOAT32 min=0 max=0x42C80000 value=0x3F800000 sc=2
param 130 AXNAME STRING  value="Axis one" sc=3
param 140 ERR    ERR_STRUC max=5
text 140 0 E_NONE
text 140 1 E_OVER
text 140 2 -----
text 140 3 E_LATE
param 200 TABLE  USIGN16 elements=300 values=1,2,3 sc=4
param 201 OFFS   INT8    elements=8 values=-1,2,-3 sc=4
param 300 LOCKD  INT16   value=5 readonly sc=2
param 301 NOSC   INT16   value=7
param 727 LA     INT16   value=1
param 728 LB     USIGN16 elements=3 sc=5
param 729 LC     STRING  value="abc"
param 730 LD     FLOAT32 value=0x3F800000
)";

}  // namespace

void TransferTest::SetUp() {
    FileSetTest::SetUp();
    std::string error;
    auto table = sim::DriveTable::Parse(kDriveTable, "transfer", &error);
    ASSERT_TRUE(table.has_value()) << error;
    drive_ = std::make_unique<sim::VirtualDrive>(*table, kDriveAddress);
    drive_->AttachTo(line_);
    platform::SetSerialPortOpener(line_.Opener("COM1"));
    bus_ = std::make_unique<TarnBus>(1, 9600);
    ASSERT_TRUE(bus_->IsOpen());
    bus_->AddDevice(kDriveAddress, kDeviceCode, 3.6f);
    base_ = std::make_unique<ParaBase>(bus_.get(), kDriveAddress);
    drive_->ClearCapture();
}

void TransferTest::TearDown() {
    base_.reset();
    bus_.reset();
    CloseSerio(false);
    platform::SetSerialPortOpener(nullptr);
    FileSetTest::TearDown();
}

std::vector<TransferTest::Telegram> TransferTest::Telegrams() const {
    std::vector<Telegram> telegrams;
    for (const sim::HeardTelegram& t : drive_->Capture().Telegrams()) telegrams.push_back({t.text, t.time_us});
    return telegrams;
}

std::vector<std::string> TransferTest::TelegramTexts() const {
    std::vector<std::string> texts;
    for (const Telegram& t : Telegrams()) texts.push_back(t.text);
    return texts;
}

sim::DriveParameter& TransferTest::OnDrive(int number) { return *drive_->Table().Find(number); }

void TransferTest::ReadDevice() {
    ASSERT_EQ(base_->ReadBusBase(), 0) << base_->MessageBuffer;
    drive_->ClearCapture();
}

}  // namespace parabasetest
