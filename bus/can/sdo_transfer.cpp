#include "bus/can/sdo_transfer.h"

#include <algorithm>
#include <cstring>

namespace {

// Command bytes of the client's requests.
constexpr uint8_t kInitiateUpload = 0x40;
constexpr uint8_t kUploadSegment = 0x60;
constexpr uint8_t kInitiateDownloadExpedited = 0x22;
constexpr uint8_t kInitiateDownloadSegmented = 0x21;
constexpr uint8_t kClientAbort = 0x80;
// Bits of the server's replies.
constexpr uint8_t kCommandMask = 0xE0;
constexpr uint8_t kAbortBit = 0x80;
constexpr uint8_t kInitiateUploadReply = 0x40;
constexpr uint8_t kUploadSegmentReply = 0x00;
constexpr uint8_t kInitiateDownloadReply = 0x60;
constexpr uint8_t kDownloadSegmentReply = 0x20;
constexpr uint8_t kExpeditedBit = 0x02;
constexpr uint8_t kSizeGivenBit = 0x01;
constexpr uint8_t kToggleBit = 0x10;
constexpr uint8_t kLastSegmentBit = 0x01;
constexpr int kUnusedCountShift = 1;
constexpr uint8_t kUnusedCountMask = 0x07;

constexpr size_t kExpeditedBytes = 4;
constexpr size_t kSegmentBytes = 7;
// A server that sends segments without end (or empty ones) is cut off here.
constexpr size_t kMaxUploadSegments = SdoTransfer::kLargestTransfer;

uint32_t Little32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void PutLittle32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

SdoFrame StartRequest(uint8_t command, uint16_t index, uint8_t subindex) {
    SdoFrame request{};
    request[0] = command;
    request[1] = static_cast<uint8_t>(index & 0xFF);
    request[2] = static_cast<uint8_t>(index >> 8);
    request[3] = subindex;
    return request;
}

}  // namespace

SdoTransfer::SdoTransfer(uint16_t index, uint8_t subindex, Phase phase)
    : index_(index), subindex_(subindex), phase_(phase) {}

SdoTransfer SdoTransfer::Upload(uint16_t index, uint8_t subindex, size_t capacity, SdoOverflow overflow) {
    SdoTransfer transfer(index, subindex, Phase::kInitiateUpload);
    transfer.capacity_ = capacity;
    transfer.overflow_ = overflow;
    transfer.request_ = StartRequest(kInitiateUpload, index, subindex);
    return transfer;
}

SdoTransfer SdoTransfer::Download(uint16_t index, uint8_t subindex, const uint8_t* data, size_t length) {
    SdoTransfer transfer(index, subindex, Phase::kInitiateDownload);
    if (length == 0 || data == nullptr) {
        transfer.result_ = kProtocolError;
        return transfer;
    }
    transfer.source_.assign(data, data + length);
    if (length <= kExpeditedBytes) {
        transfer.request_ = StartRequest(
            static_cast<uint8_t>(kInitiateDownloadExpedited + 4 * (kExpeditedBytes - length)), index, subindex);
        std::memcpy(transfer.request_.data() + 4, data, length);
    } else {
        transfer.request_ = StartRequest(kInitiateDownloadSegmented, index, subindex);
        PutLittle32(transfer.request_.data() + 4, static_cast<uint32_t>(length));
        transfer.segmentCount_ = (length + kSegmentBytes - 1) / kSegmentBytes;
    }
    return transfer;
}

bool SdoTransfer::NamesObject(const SdoFrame& reply) const {
    return reply[1] == (index_ & 0xFF) && reply[2] == (index_ >> 8) && reply[3] == subindex_;
}

SdoStep SdoTransfer::Finish(int result) {
    result_ = result;
    return SdoStep::kFinished;
}

SdoStep SdoTransfer::GiveUp(int result, uint32_t code) {
    clientAbort_ = code;
    return Finish(result);
}

SdoFrame SdoTransfer::AbortRequest(uint32_t code) const {
    SdoFrame request = StartRequest(kClientAbort, index_, subindex_);
    PutLittle32(request.data() + 4, code);
    return request;
}

SdoStep SdoTransfer::TakeReply(const SdoFrame& reply) {
    if (Finished()) return SdoStep::kFinished;
    // Replies that name another object belong to another request: an abort
    // always names its object, and so does the first reply of a transfer.
    const bool ours = NamesObject(reply);
    if ((reply[0] & kAbortBit) != 0) {
        if (!ours) return SdoStep::kIgnored;
        abortCode_ = Little32(reply.data() + 4);
        return Finish(kAborted);
    }
    const bool first = phase_ == Phase::kInitiateUpload || phase_ == Phase::kInitiateDownload;
    if (first && !ours) return SdoStep::kIgnored;
    answered_ = true;
    switch (phase_) {
        case Phase::kInitiateUpload:
            return TakeInitiateUpload(reply);
        case Phase::kUploadSegments:
            return TakeUploadSegment(reply);
        case Phase::kInitiateDownload:
        case Phase::kDownloadSegments:
            return TakeDownloadReply(reply);
    }
    return Finish(kProtocolError);
}

void SdoTransfer::Keep(const uint8_t* bytes, size_t count) {
    const size_t room = capacity_ > data_.size() ? capacity_ - data_.size() : 0;
    data_.insert(data_.end(), bytes, bytes + std::min(count, room));
    received_ += count;
}

void SdoTransfer::AskNextUploadSegment() {
    request_ = SdoFrame{};
    request_[0] = static_cast<uint8_t>(kUploadSegment | toggle_);
}

SdoStep SdoTransfer::TakeInitiateUpload(const SdoFrame& reply) {
    if ((reply[0] & kCommandMask) != kInitiateUploadReply) return GiveUp(kProtocolError, kSdoAbortCommand);
    if ((reply[0] & kExpeditedBit) != 0) {
        if (capacity_ < kExpeditedBytes) return Finish(kTooLong);
        Keep(reply.data() + 4, kExpeditedBytes);
        return Finish(kOk);
    }
    sizeGiven_ = (reply[0] & kSizeGivenBit) != 0;
    if (sizeGiven_) {
        announced_ = Little32(reply.data() + 4);
        if (announced_ > kLargestTransfer) return GiveUp(kTooLong, kSdoAbortOutOfMemory);
        if (announced_ > capacity_ && overflow_ == SdoOverflow::kRefuse) return GiveUp(kTooLong, kSdoAbortOutOfMemory);
    }
    phase_ = Phase::kUploadSegments;
    AskNextUploadSegment();
    return SdoStep::kNext;
}

SdoStep SdoTransfer::TakeUploadSegment(const SdoFrame& reply) {
    if ((reply[0] & kCommandMask) != kUploadSegmentReply) return GiveUp(kProtocolError, kSdoAbortCommand);
    if ((reply[0] & kToggleBit) != toggle_) return GiveUp(kProtocolError, kSdoAbortToggle);
    const size_t count = kSegmentBytes - ((reply[0] >> kUnusedCountShift) & kUnusedCountMask);
    const bool last = (reply[0] & kLastSegmentBit) != 0;
    // A server that sent its last segment has ended the transfer itself.
    const uint32_t owed = last ? 0 : kSdoAbortOutOfMemory;
    if (received_ + count > kLargestTransfer) return GiveUp(kTooLong, owed);
    // Without a size the capacity is only known to be short here.
    if (!sizeGiven_ && received_ + count > capacity_ && overflow_ == SdoOverflow::kRefuse)
        return GiveUp(kTooLong, owed);
    Keep(reply.data() + 1, count);
    ++segments_;
    if (last) {
        if (sizeGiven_) {
            if (received_ < announced_) return Finish(kProtocolError);
            // Bytes beyond the size the server announced are not the object's.
            if (data_.size() > announced_) data_.resize(announced_);
        }
        const size_t length = sizeGiven_ ? announced_ : received_;
        return Finish(length > capacity_ ? kTooLong : kOk);
    }
    if (segments_ >= kMaxUploadSegments) return GiveUp(kTooLong, kSdoAbortOutOfMemory);
    toggle_ ^= kToggleBit;
    AskNextUploadSegment();
    return SdoStep::kNext;
}

void SdoTransfer::PrepareDownloadSegment() {
    request_ = SdoFrame{};
    const size_t length = source_.size();
    const size_t offset = (segment_ - 1) * kSegmentBytes;
    const size_t bytes = std::min(kSegmentBytes, length - offset);
    request_[0] = (segment_ % 2 == 0) ? kToggleBit : 0;
    if (segment_ == segmentCount_)
        request_[0] =
            static_cast<uint8_t>(request_[0] | kLastSegmentBit | 2 * (kSegmentBytes * segmentCount_ - length));
    std::memcpy(request_.data() + 1, source_.data() + offset, bytes);
}

SdoStep SdoTransfer::TakeDownloadReply(const SdoFrame& reply) {
    if (phase_ == Phase::kInitiateDownload) {
        // Only a download confirmation says the drive took the value; any
        // other answer is no confirmation, so the write must not count as done.
        if ((reply[0] & kCommandMask) != kInitiateDownloadReply) return GiveUp(kProtocolError, kSdoAbortCommand);
        if (segmentCount_ == 0) return Finish(kOk);
        phase_ = Phase::kDownloadSegments;
    } else {
        if ((reply[0] & kCommandMask) != kDownloadSegmentReply) return GiveUp(kProtocolError, kSdoAbortCommand);
        if ((reply[0] & kToggleBit) != (request_[0] & kToggleBit)) return GiveUp(kProtocolError, kSdoAbortToggle);
        if (segment_ == segmentCount_) return Finish(kOk);
    }
    ++segment_;
    PrepareDownloadSegment();
    return SdoStep::kNext;
}
