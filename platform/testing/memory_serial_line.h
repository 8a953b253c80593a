// An in-memory serial line for tests: the host end is a SerialPort, the far
// end carries simulated devices. Every character takes ten bit times at its
// sender's rate on the virtual clock, and a character sent with other line
// settings than the receiver's arrives as garbage. Single-threaded: the line
// delivers due characters to its devices whenever the host end is asked for
// bytes, so a device reacts without threads of its own.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/system/serial_port.h"

namespace platform {

// Bits on the wire per character: start, data, parity and stop bits of 7E1.
inline constexpr int kLineBitsPerCharacter = 10;
// What a receiver reads from a character it could not decode.
inline constexpr uint8_t kGarbledCharacter = 0x7F;

// Microseconds one character occupies the line at `baud`, rounded to the
// nearest microsecond (87 at 115200, 1042 at 9600).
uint64_t CharacterTimeUs(int32_t baud);

// Whether a receiver set to `receiver` decodes what a sender set to `sender`
// sends: same rate and framing (parity letters compared without case).
bool SameLineFraming(const SerialSettings& sender, const SerialSettings& receiver);

// Faults a character can carry. An injected parity error flips the lowest
// data bit, a framing error makes the character read as 0.
enum LineFault : uint8_t {
    kLineParityError = 0x01,
    kLineFramingError = 0x02,
    kLineCollision = 0x04,  // two devices sent at once
};

struct LineCharacter {
    uint8_t byte = 0;
    SerialSettings sent_with;      // the sender's settings
    uint64_t start_us = 0;         // first bit on the wire (clock time)
    uint64_t end_us = 0;           // last bit: the character has arrived
    uint8_t faults = 0;            // LineFault bits
    const void* sender = nullptr;  // the device that sent it; null for the host
};

class MemorySerialLine;

// A device at the far end of the line.
class LineDevice {
public:
    virtual ~LineDevice() = default;
    // Called once for every character from the host, in order, as soon as the
    // line is serviced at or after its arrival time (character.end_us). The
    // device answers through MemorySerialLine::SendToHost.
    virtual void OnCharacter(MemorySerialLine& line, const LineCharacter& character) = 0;
};

class MemorySerialLineState;

// Keeps a device attached while it lives; detaches it when destroyed. Safe to
// outlive the line.
class LineAttachment {
public:
    LineAttachment() = default;
    LineAttachment(std::weak_ptr<MemorySerialLineState> state, LineDevice* device);
    LineAttachment(LineAttachment&& other) noexcept;
    LineAttachment& operator=(LineAttachment&& other) noexcept;
    ~LineAttachment();
    void Detach();

private:
    std::weak_ptr<MemorySerialLineState> state_;
    LineDevice* device_ = nullptr;
};

class MemorySerialLine {
public:
    MemorySerialLine();
    // Detaches every device; a host port still open then fails like an
    // unplugged adapter.
    ~MemorySerialLine();
    MemorySerialLine(const MemorySerialLine&) = delete;
    MemorySerialLine& operator=(const MemorySerialLine&) = delete;

    // The host end, configured 9600 7E1 until Configure. Only one host end is
    // open at a time: a second open fails ("Device or resource busy").
    // Characters that arrive while no host end is open are lost.
    std::unique_ptr<SerialPort> OpenHostPort(std::string* error);
    bool HostPortOpen() const;

    // An opener for SetSerialPortOpener that gives this line's host end for
    // `port_name` (compared without case) and refuses every other name.
    SerialPortOpener Opener(const std::string& port_name);

    [[nodiscard]] LineAttachment Attach(LineDevice* device);

    // Sends `bytes` from `device` to the host with `settings`, the first
    // character starting at `start_us` or when the device's previous
    // characters are out, whichever is later. Returns the arrival times.
    std::vector<uint64_t> SendToHost(const LineDevice* device, const std::vector<uint8_t>& bytes,
                                     const SerialSettings& settings, uint64_t start_us);

    // Hands every character due by now to the devices. The host end calls it;
    // a test may call it after moving the clock.
    void Service();

    // Faults for tests. The next `count` characters toward the host (or toward
    // the devices) carry `faults`.
    void InjectFaultsToHost(uint8_t faults, int count);
    void InjectFaultsToDevices(uint8_t faults, int count);
    // The host end reports `bytes` as still queued for output, for ever (0
    // ends it): an output queue that never drains.
    void SetStuckOutput(int bytes);
    // The next host write takes only `bytes` of what it is given.
    void LimitNextWrite(int bytes);
    // Every host call fails as on an unplugged adapter, until cleared.
    void SetDisconnected(bool disconnected);

private:
    std::shared_ptr<MemorySerialLineState> state_;
};

}  // namespace platform
