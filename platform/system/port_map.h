// Which device path a serial port name ("COM3") stands for. The map comes
// from $TORVAN_COMMAP ("COM1=/dev/ttyS0,COM3=/dev/pts/7"), else from the
// registry key HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\SERIALCOMM (value name
// the device path, data "COMn"), else COM1 to COM4 are /dev/ttyS0 to /dev/ttyS3.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

inline constexpr std::string_view kSerialPortMapKey = "HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\SERIALCOMM";

struct SerialPortEntry {
    std::string port_name;    // "COM3", as the map spells it
    std::string device_path;  // "/dev/pts/7"
};

struct SerialPortMap {
    std::vector<SerialPortEntry> ports;  // in map order; a port name appears once
    // Empty when the map could be read; else why not (the registry store is
    // damaged), and `ports` is empty.
    std::string error;
};

SerialPortMap ReadSerialPortMap();

// The device path of a port name, compared without regard to case; null when
// the map has no such port or cannot be read.
std::optional<std::string> SerialDevicePath(std::string_view port_name);

}  // namespace platform
