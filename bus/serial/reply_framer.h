// Framing of one telegram reply, byte by byte, apart from the port, the clock
// and the log: it tells when a reply is complete (ETX and its check character,
// or ACK as the second byte), when the device refused (NAK before ETX), and
// what is wrong with a reply that is not usable.
#pragma once

#include <cstdint>
#include <string_view>

enum class FramerVerdict {
    kNeedMore,    // nothing decided yet
    kFramed,      // address, STX, body, ETX and a check character that matches
    kAck,         // ACK as the second byte: a write reply, no frame
    kNak,         // NAK before ETX: the device refused
    kBadFrame,    // ETX came, but no STX after the address character
    kBadCheck,    // the check character does not match
    kTooLong,     // a byte beyond the buffer
    kBufferFull,  // ETX came, and the buffer is full before its check character
};

// The serial port layer's code of a verdict (0 for a framed reply or ACK).
int FramerResultCode(FramerVerdict verdict);

class ReplyFramer {
public:
    // Collects the reply into `buffer` of `capacity` bytes, which the framer
    // does not own.
    ReplyFramer(uint8_t* buffer, int capacity);

    // Takes the next byte of the reply. Once a verdict other than kNeedMore
    // was given, further bytes are ignored and the same verdict returned.
    FramerVerdict Take(uint8_t byte);

    FramerVerdict Verdict() const { return verdict_; }
    // Bytes held, one NUL between the address character and STX removed once
    // the reply is framed.
    int Count() const { return count_; }
    int Room() const { return capacity_ - count_; }
    // Position of ETX in the buffer; -1 before ETX came.
    int EtxIndex() const { return etxIndex_; }
    // Parts of a framed reply: the address character, and the text between
    // STX and ETX.
    char AddressChar() const;
    std::string_view Body() const;

private:
    FramerVerdict Decide();

    uint8_t* buffer_;
    int capacity_;
    int count_ = 0;
    int etxIndex_ = -1;
    bool ackSeen_ = false;
    FramerVerdict verdict_ = FramerVerdict::kNeedMore;
};
