// A serial port as the serial layer above needs it: configure, purge, ask
// how many bytes wait or are still queued for output, read exactly what has
// arrived (never blocking) and write. Time-outs are not the port's business:
// the layer above polls on the clock. Two kinds stand behind this interface:
// a POSIX terminal, and an in-memory port whose far end is the virtual drive.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct SerialSettings {
    int32_t baud = 9600;
    int data_bits = 7;  // 5 to 8
    char parity = 'E';  // 'N', 'E' or 'O'
    int stop_bits = 1;  // 1 or 2

    bool operator==(const SerialSettings&) const = default;
};

// Whether the settings can be applied at all: a positive rate, 5 to 8 data
// bits (4 cannot be set on this system), 1 or 2 stop bits and parity N, E or
// O in either case. False with the reason in `reason`.
bool ValidSerialSettings(const SerialSettings& settings, std::string* reason);

class SerialPort {
public:
    virtual ~SerialPort() = default;

    // Applies line settings (raw mode, no flow control, no character
    // mapping). False when the settings are invalid or the system refuses
    // them; LastErrorText says why. A failed configuration closes the port,
    // so it never stays held: every later call fails and the port can be
    // opened again.
    virtual bool Configure(const SerialSettings& settings) = 0;
    virtual SerialSettings Settings() const = 0;

    virtual void PurgeInput() = 0;
    virtual void PurgeOutput() = 0;

    // Bytes received and not read yet; -1 when the line failed (a hang-up or
    // a disconnected adapter), which is a failed read, never a time-out.
    virtual int BytesWaiting() = 0;
    // Bytes still queued for output; -1 on failure.
    virtual int BytesPending() = 0;

    // Reads up to `count` bytes of what has arrived, without waiting.
    // Returns the number read, or -1 when the line failed.
    virtual int Read(uint8_t* buffer, int count) = 0;
    // Queues the bytes for output; returns how many were taken, -1 on failure.
    virtual int Write(const uint8_t* bytes, int count) = 0;

    // The system's reason for the last failure.
    virtual std::string LastErrorText() const = 0;
};

// Opens a port by its program name ("COM3": through the port map of the
// registry store) or by a device path ("/dev/ttyUSB0"), exclusively. Null on
// failure, with the system's reason in `error`.
using SerialPortOpener = std::function<std::unique_ptr<SerialPort>(const std::string& name, std::string* error)>;
std::unique_ptr<SerialPort> OpenSerialPort(const std::string& name, std::string* error);

// Tests and benchmarks replace the opener (for example with one that hands
// out in-memory ports connected to the virtual drive); null restores the
// POSIX terminal opener.
void SetSerialPortOpener(SerialPortOpener opener);

}  // namespace platform
