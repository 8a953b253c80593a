// Scripted misbehaviour of the virtual drive: what it does wrong, to which
// telegrams, and how often.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

enum class DriveFaultKind {
    kNak,           // answers NAK; the status word then reports `status`
    kWrongCheck,    // the check character of the reply is off by one bit
    kNulBeforeStx,  // a NUL between the address character and STX
    kPartialReply,  // only the first `length` bytes of the reply
    kLongReply,     // the reply's value padded with '0' to `length` bytes in all
    kSilence,       // no answer at all
    kWrongAddress,  // the reply carries the address character of `address`
    kRawReply,      // answers exactly `bytes`
};

inline constexpr int kForever = -1;

struct DriveFault {
    DriveFaultKind kind = DriveFaultKind::kSilence;
    std::string code;  // telegrams with this code; empty: any telegram to the drive
    int times = 1;     // how many telegrams, or kForever
    int skip = 0;      // matching telegrams answered normally before the fault starts
    uint16_t status = 0;
    size_t length = 0;
    int address = 0;
    std::vector<uint8_t> bytes;

    static DriveFault Nak(uint16_t status) { return Make(DriveFaultKind::kNak).WithStatus(status); }
    static DriveFault WrongCheck() { return Make(DriveFaultKind::kWrongCheck); }
    static DriveFault NulBeforeStx() { return Make(DriveFaultKind::kNulBeforeStx); }
    static DriveFault PartialReply(size_t length) { return Make(DriveFaultKind::kPartialReply).WithLength(length); }
    static DriveFault LongReply(size_t length) { return Make(DriveFaultKind::kLongReply).WithLength(length); }
    static DriveFault Silence() { return Make(DriveFaultKind::kSilence); }
    static DriveFault WrongAddress(int address) {
        DriveFault f = Make(DriveFaultKind::kWrongAddress);
        f.address = address;
        return f;
    }
    static DriveFault RawReply(std::vector<uint8_t> bytes) {
        DriveFault f = Make(DriveFaultKind::kRawReply);
        f.bytes = std::move(bytes);
        return f;
    }

    DriveFault For(std::string telegram_code) const {
        DriveFault f = *this;
        f.code = std::move(telegram_code);
        return f;
    }
    // The fault starts with the (count + 1)th matching telegram, so a test
    // can let a write through and refuse the reads that follow it.
    DriveFault After(int count) const {
        DriveFault f = *this;
        f.skip = count;
        return f;
    }
    DriveFault Times(int count) const {
        DriveFault f = *this;
        f.times = count;
        return f;
    }

private:
    static DriveFault Make(DriveFaultKind kind) {
        DriveFault f;
        f.kind = kind;
        return f;
    }
    DriveFault WithStatus(uint16_t s) const {
        DriveFault f = *this;
        f.status = s;
        return f;
    }
    DriveFault WithLength(size_t n) const {
        DriveFault f = *this;
        f.length = n;
        return f;
    }
};

}  // namespace sim
