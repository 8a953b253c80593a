// Every byte the virtual drive heard and sent, with clock times, so tests can
// check the exact bytes of an exchange.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// A telegram request the drive heard: "R 20452" (a read, its code) or
// "W 20450=0" (a write, its code and value), and the clock time of the EOT
// that began it, in microseconds.
struct HeardTelegram {
    std::string text;
    uint64_t time_us = 0;
};

struct CapturedByte {
    bool to_drive = true;  // heard by the drive, else sent by it
    uint8_t byte = 0;
    // Clock time in microseconds: when the character had arrived (heard), or
    // when it will have arrived at the other end (sent).
    uint64_t time_us = 0;
    bool garbled = false;  // heard but not decodable (other rate, line fault)
};

class DriveCapture {
public:
    void Add(const CapturedByte& byte) { bytes_.push_back(byte); }
    void Clear() { bytes_.clear(); }

    const std::vector<CapturedByte>& Bytes() const { return bytes_; }
    // What the drive decoded, in order (garbled characters left out).
    std::string ToDrive() const;
    // What the drive sent, in order.
    std::string FromDrive() const;
    size_t GarbledCount() const;
    // The telegram requests the drive heard, in order: "R" or "W" and the
    // code ("R20092", "W20088"), whatever address they went to.
    std::vector<std::string> Requests() const;
    // The telegram requests the drive heard, in order, with their values;
    // for order checks and read counts. TelegramTexts gives the texts alone.
    std::vector<HeardTelegram> Telegrams() const;
    std::vector<std::string> TelegramTexts() const;
    // One line per byte ("   1042 us  > 04"), for failure messages.
    std::string Dump() const;

private:
    std::vector<CapturedByte> bytes_;
};

// "04 45 02 32": bytes as spaced hex pairs, for readable comparisons.
std::string HexBytes(const std::string& bytes);

}  // namespace sim
