// The serial port on a POSIX terminal: raw mode, never blocking, held
// exclusively while open.
#pragma once

#include <memory>
#include <string>

#include "platform/system/serial_port.h"

namespace platform {

// The device path a port name stands for: "COMn" (any case) through the port
// map, anything else taken as a path. Empty with the reason in `error` when the
// map has no such port.
std::string SerialPortDevicePath(const std::string& name, std::string* error);

// Opens the terminal named by `name` (see SerialPortDevicePath) for reading
// and writing without becoming its controlling process. A port that another
// open already holds, or a file that is no terminal, is refused. Null with
// the system's reason in `error` on failure.
std::unique_ptr<SerialPort> OpenPosixSerialPort(const std::string& name, std::string* error);

}  // namespace platform
