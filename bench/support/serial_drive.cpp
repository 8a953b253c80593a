#include "bench/support/serial_drive.h"

#include "bench/support/full_set_table.h"
#include "bus/serial/striowin.h"
#include "platform/system/serial_port.h"

namespace bench {

namespace {

constexpr unsigned kPort = 1;
constexpr char kPortName[] = "COM1";

}  // namespace

SerialDrive::SerialDrive(const sim::DriveTable& table, int32_t baud) : drive_(table, kSerialDriveAddress, baud) {
    drive_.AttachTo(line_);
    platform::SetSerialPortOpener(line_.Opener(kPortName));
    bus_ = std::make_unique<TarnBus>(kPort, baud);
    if (bus_->IsOpen()) bus_->AddDevice(kSerialDriveAddress, kFullSetDeviceCode, kFullSetVersion);
}

SerialDrive::~SerialDrive() {
    bus_.reset();
    CloseSerio(false);
    platform::SetSerialPortOpener(nullptr);
}

}  // namespace bench
