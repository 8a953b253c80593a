// The full set's virtual drive on the in-memory serial line, with the serial
// bus opened on that line and the drive registered at its address, as the
// device search would leave it.
#pragma once

#include <cstdint>
#include <memory>

#include "bus/serial/tarn_bus.h"
#include "platform/testing/memory_serial_line.h"
#include "sim/virtual_drive.h"

namespace bench {

inline constexpr int kSerialDriveAddress = 1;

class SerialDrive {
public:
    SerialDrive(const sim::DriveTable& table, int32_t baud);
    // Closes the bus and the port and lets go of the line.
    ~SerialDrive();
    SerialDrive(const SerialDrive&) = delete;
    SerialDrive& operator=(const SerialDrive&) = delete;

    bool IsOpen() const { return bus_->IsOpen(); }
    TarnBus& Bus() { return *bus_; }
    sim::VirtualDrive& Drive() { return drive_; }

private:
    platform::MemorySerialLine line_;
    sim::VirtualDrive drive_;
    std::unique_ptr<TarnBus> bus_;
};

}  // namespace bench
