// The SDO client of the CANopen bus: expedited and segmented uploads and
// downloads, one request and its reply at a time, through the worker.
#include <algorithm>
#include <cstring>

#include "bus/can/can_open_tarn.h"
#include "platform/system/clock.h"

namespace {

// Command bytes of the client's requests.
constexpr uint8_t kInitiateUpload = 0x40;
constexpr uint8_t kUploadSegment = 0x60;
constexpr uint8_t kInitiateDownloadExpedited = 0x22;
constexpr uint8_t kInitiateDownloadSegmented = 0x21;
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
constexpr size_t kMaxUploadSegments = kCanTransferBufferSize;

uint32_t Little32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void PutLittle32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

bool NamesObject(const uint8_t (&reply)[8], uint16_t index, uint8_t subindex) {
    return reply[1] == (index & 0xFF) && reply[2] == (index >> 8) && reply[3] == subindex;
}

void StartRequest(uint8_t (&request)[8], uint8_t command, uint16_t index, uint8_t subindex) {
    std::memset(request, 0, sizeof request);
    request[0] = command;
    request[1] = static_cast<uint8_t>(index & 0xFF);
    request[2] = static_cast<uint8_t>(index >> 8);
    request[3] = subindex;
}

}  // namespace

int CCanOpenTarn::SdoExchange(int node, const uint8_t (&request)[8], uint8_t (&reply)[8], uint16_t index,
                              uint8_t subindex, bool firstOfTransfer) {
    // A reply that came late for an earlier request must not count for this one.
    events_[kSdoReplyEvent].Reset();
    {
        std::lock_guard<std::mutex> lock(recordsMutex_);
        sdoRequest_.node = node;
        sdoRequest_.length = 8;
        for (size_t i = 0; i < 8; ++i) sdoRequest_.data[i] = request[i];
    }
    events_[kSdoRequestEvent].Set();
    const platform::Deadline deadline(sdoTimeoutMs_);
    for (;;) {
        if (!WaitEvent(kSdoReplyEvent, deadline.Remaining())) return kSdoTimedOut;
        {
            std::lock_guard<std::mutex> lock(recordsMutex_);
            for (size_t i = 0; i < 8; ++i) reply[i] = static_cast<uint8_t>(sdoReply_.data[i]);
        }
        // Replies that name another object belong to another request.
        const bool ours = NamesObject(reply, index, subindex);
        if ((reply[0] & kAbortBit) != 0) {
            if (!ours) continue;
            lastAbortCode_ = Little32(reply + 4);
            return kSdoAborted;
        }
        if (firstOfTransfer && !ours) continue;
        return kSdoOk;
    }
}

int CCanOpenTarn::CanSdoUpload(uint16_t index, uint8_t subindex, uint8_t* buffer, size_t capacity,
                               size_t& length, int node) {
    length = 0;
    uint8_t request[8];
    uint8_t reply[8];
    StartRequest(request, kInitiateUpload, index, subindex);
    if (const int result = SdoExchange(node, request, reply, index, subindex, true); result != kSdoOk) return result;
    if ((reply[0] & kCommandMask) != kInitiateUploadReply) return kSdoProtocolError;
    if ((reply[0] & kExpeditedBit) != 0) {
        if (capacity < kExpeditedBytes) return kSdoTooLong;
        std::memcpy(buffer, reply + 4, kExpeditedBytes);
        length = kExpeditedBytes;
        return kSdoOk;
    }
    if ((reply[0] & kSizeGivenBit) == 0) return kSdoOk;
    const uint32_t size = Little32(reply + 4);
    if (size > capacity || size > kCanTransferBufferSize) return kSdoTooLong;
    size_t received = 0;
    if (const int result = UploadSegments(node, index, subindex, received); result != kSdoOk) return result;
    if (received < size) return kSdoProtocolError;
    std::memmove(buffer, transfer_, size);
    length = size;
    return kSdoOk;
}

int CCanOpenTarn::UploadSegments(int node, uint16_t index, uint8_t subindex, size_t& received) {
    uint8_t toggle = 0;
    uint8_t request[8];
    uint8_t reply[8];
    for (size_t segment = 0; segment < kMaxUploadSegments; ++segment) {
        std::memset(request, 0, sizeof request);
        request[0] = static_cast<uint8_t>(kUploadSegment | toggle);
        if (const int result = SdoExchange(node, request, reply, index, subindex, false); result != kSdoOk)
            return result;
        if ((reply[0] & kCommandMask) != kUploadSegmentReply || (reply[0] & kToggleBit) != toggle)
            return kSdoProtocolError;
        const size_t count = kSegmentBytes - ((reply[0] >> kUnusedCountShift) & kUnusedCountMask);
        if (received + count > kCanTransferBufferSize) return kSdoTooLong;
        std::memcpy(transfer_ + received, reply + 1, count);
        received += count;
        if ((reply[0] & kLastSegmentBit) != 0) return kSdoOk;
        toggle ^= kToggleBit;
    }
    return kSdoTooLong;
}

int CCanOpenTarn::CanSdoDownload(uint16_t index, uint8_t subindex, size_t length, const uint8_t* data, int node) {
    if (length == 0 || data == nullptr) return kSdoProtocolError;
    uint8_t request[8];
    uint8_t reply[8];
    if (length <= kExpeditedBytes) {
        StartRequest(request, static_cast<uint8_t>(kInitiateDownloadExpedited + 4 * (kExpeditedBytes - length)),
                     index, subindex);
        std::memcpy(request + 4, data, length);
    } else {
        StartRequest(request, kInitiateDownloadSegmented, index, subindex);
        PutLittle32(request + 4, static_cast<uint32_t>(length));
    }
    if (const int result = SdoExchange(node, request, reply, index, subindex, true); result != kSdoOk) return result;
    // Only a download confirmation says the drive took the value; any other
    // answer is no confirmation, so the write must not count as done.
    if ((reply[0] & kCommandMask) != kInitiateDownloadReply) return kSdoProtocolError;
    if (length <= kExpeditedBytes) return kSdoOk;

    const size_t count = (length + kSegmentBytes - 1) / kSegmentBytes;
    for (size_t i = 1; i <= count; ++i) {
        std::memset(request, 0, sizeof request);
        const size_t offset = (i - 1) * kSegmentBytes;
        const size_t bytes = std::min(kSegmentBytes, length - offset);
        request[0] = (i % 2 == 0) ? kToggleBit : 0;
        if (i == count)
            request[0] = static_cast<uint8_t>(request[0] | kLastSegmentBit | 2 * (kSegmentBytes * count - length));
        std::memcpy(request + 1, data + offset, bytes);
        if (const int result = SdoExchange(node, request, reply, index, subindex, false); result != kSdoOk)
            return result;
        if ((reply[0] & kCommandMask) != kDownloadSegmentReply || (reply[0] & kToggleBit) != (request[0] & kToggleBit))
            return kSdoProtocolError;
    }
    return kSdoOk;
}
