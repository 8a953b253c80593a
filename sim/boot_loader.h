// The drive's boot loader as the virtual drive has it: it announces itself
// with ACK (or answers a wake-up ACK), takes a baud code and moves to that
// rate, answers the ACK at the new rate, then takes Intel-HEX lines one at a
// time, each answered ACK when it is sound (and stored) or NAK. A second
// loader, when the drive expects one first, is taken the same way and then
// starts over; the firmware goes to the flash. Fed one received byte at a
// time; it knows no line, port or clock.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/boot_faults.h"

namespace sim {

inline constexpr uint8_t kBootAck = 0x06;
inline constexpr uint8_t kBootNak = 0x15;

// The rate of a baud code; 0 for a code the loader does not know.
int32_t BootBaudOfCode(uint8_t code);

class BootLoader {
public:
    enum class State { kIdle, kWakeUp, kBaudCode, kStartAck, kLines, kDone };

    // `wake_up` 1: the loader waits for an ACK before it answers with its
    // own; else it announces itself. `second_loader_first`: the first file
    // is a second loader. `faults` must outlive the loader.
    BootLoader(int wake_up, bool second_loader_first, BootFaults& faults)
        : wake_up_(wake_up), second_loader_(second_loader_first), faults_(faults) {}

    // Starts the loader; returns what it announces itself with (sent after a
    // while by whoever carries the bytes).
    std::vector<uint8_t> Start();
    // Set when a second loader has arrived and the loader must start again.
    bool StartPending() const { return start_pending_; }

    // The answer to one received byte.
    std::vector<uint8_t> Receive(uint8_t byte);
    // A byte the loader could not decode (another rate or framing).
    void ReceiveGarbled();

    State CurrentState() const { return state_; }
    // The rate asked for by the last baud code (0 before one came).
    int32_t RequestedBaud() const { return requested_baud_; }
    bool ReceivingSecondLoader() const { return second_loader_; }

    // Every complete line heard, repeats included, and the lines taken.
    const std::vector<std::string>& LinesHeard() const { return heard_; }
    const std::vector<std::string>& FirmwareLines() const { return firmware_lines_; }
    const std::vector<std::string>& SecondLoaderLines() const { return second_lines_; }
    // Bytes the firmware wrote, by address.
    const std::map<uint32_t, uint8_t>& Flash() const { return flash_; }
    const std::map<uint32_t, uint8_t>& SecondLoaderMemory() const { return second_memory_; }
    // `length` bytes of flash from `start`; bytes never written read `erased`.
    std::vector<uint8_t> FlashBytes(uint32_t start, uint32_t length, uint8_t erased) const;
    // Lines refused because they were not sound.
    int BadLines() const { return bad_lines_; }

private:
    struct Record {
        uint8_t type = 0;
        uint16_t address = 0;
        std::vector<uint8_t> data;
    };
    bool ParseLine(const std::string& line, Record& record) const;
    void Take(const Record& record, const std::string& line);
    std::vector<uint8_t> LineComplete();

    int wake_up_;
    bool second_loader_;
    BootFaults& faults_;
    State state_ = State::kIdle;
    bool start_pending_ = false;
    int32_t requested_baud_ = 0;
    std::string line_;
    bool line_garbled_ = false;
    int line_number_ = 0;
    uint32_t base_ = 0;
    std::vector<std::string> heard_;
    std::vector<std::string> firmware_lines_;
    std::vector<std::string> second_lines_;
    std::map<uint32_t, uint8_t> flash_;
    std::map<uint32_t, uint8_t> second_memory_;
    int bad_lines_ = 0;
};

}  // namespace sim
