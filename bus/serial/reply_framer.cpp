#include "bus/serial/reply_framer.h"

#include <cstring>

#include "bus/serial/striowin.h"

namespace {

// Positions in a reply: the address character, then STX.
constexpr int kStxPosition = 1;
constexpr int kAckPosition = 1;
// The first byte of the text the check character covers.
constexpr int kCheckedFrom = 2;

}  // namespace

int FramerResultCode(FramerVerdict verdict) {
    switch (verdict) {
        case FramerVerdict::kFramed:
        case FramerVerdict::kAck:
            return kSerioOk;
        case FramerVerdict::kNak:
            return kSerioNak;
        case FramerVerdict::kBadFrame:
            return kSerioBadFrame;
        case FramerVerdict::kBadCheck:
            return kSerioBadCheck;
        case FramerVerdict::kTooLong:
            return kSerioTooLong;
        case FramerVerdict::kBufferFull:
            return kSerioBufferFull;
        case FramerVerdict::kNeedMore:
            break;
    }
    return kSerioPartialReply;
}

ReplyFramer::ReplyFramer(uint8_t* buffer, int capacity)
    : buffer_(buffer), capacity_(buffer != nullptr && capacity > 0 ? capacity : 0) {}

FramerVerdict ReplyFramer::Take(uint8_t byte) {
    if (verdict_ != FramerVerdict::kNeedMore) return verdict_;
    if (count_ >= capacity_) return verdict_ = FramerVerdict::kTooLong;
    const int p = count_;
    buffer_[count_++] = byte;
    if (byte == kETX && etxIndex_ < 0) {
        etxIndex_ = p;
    } else if (p == kAckPosition && byte == kACK) {
        ackSeen_ = true;
    } else if (byte == kNAK && etxIndex_ < 0) {
        return verdict_ = FramerVerdict::kNak;
    }
    return verdict_ = Decide();
}

FramerVerdict ReplyFramer::Decide() {
    bool complete = false;
    if (etxIndex_ >= 0) {
        // No room is left for the check character.
        if (count_ == capacity_) return FramerVerdict::kBufferFull;
        complete = count_ > etxIndex_ + 1;
    }
    if (!complete && !ackSeen_) return FramerVerdict::kNeedMore;
    if (etxIndex_ >= 0) {
        // One NUL between the address character and STX is dropped.
        const bool nulBeforeStx = buffer_[kStxPosition] == kNUL && count_ > kStxPosition + 1 &&
                                  buffer_[kStxPosition + 1] == kSTX && etxIndex_ > kStxPosition + 1;
        if (nulBeforeStx) {
            std::memmove(
                buffer_ + kStxPosition, buffer_ + kStxPosition + 1, static_cast<size_t>(count_ - kStxPosition - 1));
            --count_;
            --etxIndex_;
            buffer_[count_] = 0;
        } else if (buffer_[kStxPosition] != kSTX || etxIndex_ < kCheckedFrom) {
            return FramerVerdict::kBadFrame;
        }
    }
    if (!complete) return FramerVerdict::kAck;
    uint8_t bcc = 0;
    for (int p = kCheckedFrom; p <= etxIndex_; ++p) bcc ^= buffer_[p];
    return bcc == buffer_[etxIndex_ + 1] ? FramerVerdict::kFramed : FramerVerdict::kBadCheck;
}

char ReplyFramer::AddressChar() const { return count_ > 0 ? static_cast<char>(buffer_[0]) : '\0'; }

std::string_view ReplyFramer::Body() const {
    if (verdict_ != FramerVerdict::kFramed) return {};
    return std::string_view(reinterpret_cast<const char*>(buffer_ + kCheckedFrom),
                            static_cast<size_t>(etxIndex_ - kCheckedFrom));
}
