// The drive side of the serial telegram protocol, fed one received character
// at a time. It knows no line, port or clock: whoever carries the bytes hands
// them in and sends back what it returns.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "sim/drive_faults.h"
#include "sim/drive_table.h"

namespace sim {

class DriveRecorder;

// Largest element count one block reply carries, whatever was asked.
inline constexpr int kMaxBlockValueCharacters = 128;
// Bytes of the sample buffer sent per block.
inline constexpr size_t kSampleBlockBytes = 60;
// The register that selects which value text "61nnn" returns.
inline constexpr int kValueTextIndexParameter = 108;

class TelegramEngine {
public:
    // The engine works on `table`, which must outlive it.
    TelegramEngine(DriveTable& table, int address);

    int Address() const { return address_; }
    void SetAddress(int address) { address_ = address; }

    // One decoded character from the line. Returns the drive's answer once a
    // telegram is complete (empty while it is not, or when the drive stays
    // silent).
    std::vector<uint8_t> Receive(uint8_t byte);
    // A character the drive could not decode (another rate, a parity or
    // framing error). A telegram that contains one is not executed: a write
    // is refused with the telegram-checksum bit, a read gets no answer.
    void ReceiveGarbled();

    // Misbehaviour for the telegrams to come, applied in the order added.
    void AddFault(DriveFault fault) { faults_.push_back(std::move(fault)); }
    size_t FaultsLeft() const { return faults_.size(); }
    void ClearFaults() { faults_.clear(); }

    // Status bits of the last refused write (0 after an accepted one).
    uint16_t WriteError() const { return write_error_; }
    // Most elements a block reply carries (0: as many as fit the value).
    void SetBlockLimit(int elements) { block_limit_ = elements; }
    // The recorder that follows every telegram and answers the sample block
    // requests (null: the table's samples are streamed without it).
    void SetRecorder(DriveRecorder* recorder) { recorder_ = recorder; }

private:
    enum class State { kIdle, kAddress, kCode, kText, kCheck, kIgnore };

    struct Answer {
        bool refused = false;
        std::string code;  // echoed code
        std::string value;
    };

    std::vector<uint8_t> Complete(bool write);
    Answer Read(const std::string& code);
    uint16_t Write(const std::string& code, const std::string& value);
    std::string BlockRead(const DriveParameter& p, int first, int count, int* delivered) const;
    uint16_t BlockWrite(int number, int first, int count, const std::string& value);
    std::vector<uint8_t> Frame(const std::string& code, const std::string& value) const;
    std::vector<uint8_t> Short(uint8_t answer) const;
    bool TakeFault(const std::string& code, DriveFault* fault);
    void ApplyFault(const DriveFault& fault, std::vector<uint8_t>& reply) const;
    uint8_t AddressCharacter() const;
    uint8_t ValueTextIndex() const;

    DriveTable& table_;
    int address_;
    State state_ = State::kIdle;
    bool broadcast_ = false;
    bool damaged_ = false;
    std::string code_;
    std::string text_;
    uint8_t check_ = 0;
    uint16_t write_error_ = 0;
    uint8_t value_text_index_ = 0;  // when the table has no parameter 108
    int block_limit_ = 0;
    std::deque<DriveFault> faults_;
    DriveRecorder* recorder_ = nullptr;
};

// The telegram check character: exclusive-or of every byte of `bytes`.
uint8_t TelegramCheck(const std::string& bytes);

}  // namespace sim
