// The SDO client of the CANopen bus: each transfer's requests handed to the
// worker one at a time, and its replies given back to the transfer.
#include <cstring>

#include "bus/can/can_open_tarn.h"
#include "bus/can/sdo_transfer.h"
#include "platform/system/clock.h"

static_assert(kSdoOk == SdoTransfer::kOk && kSdoAborted == SdoTransfer::kAborted &&
              kSdoProtocolError == SdoTransfer::kProtocolError && kSdoTooLong == SdoTransfer::kTooLong);
static_assert(kCanTransferBufferSize == SdoTransfer::kLargestTransfer);

int CCanOpenTarn::RunTransfer(SdoTransfer& transfer, int node) {
    while (!transfer.Finished()) {
        // A reply that came late for an earlier request must not count for this one.
        events_[kSdoReplyEvent].Reset();
        {
            std::lock_guard<std::mutex> lock(recordsMutex_);
            sdoRequest_.node = node;
            sdoRequest_.length = 8;
            for (size_t i = 0; i < 8; ++i) sdoRequest_.data[i] = transfer.Request()[i];
        }
        Post(kSdoRequestEvent);
        const platform::Deadline deadline(sdoTimeoutMs_);
        SdoStep step = SdoStep::kIgnored;
        while (step == SdoStep::kIgnored) {
            if (!WaitEvent(kSdoReplyEvent, deadline.Remaining())) return kSdoTimedOut;
            SdoFrame reply{};
            {
                std::lock_guard<std::mutex> lock(recordsMutex_);
                for (size_t i = 0; i < 8; ++i) reply[i] = static_cast<uint8_t>(sdoReply_.data[i]);
            }
            step = transfer.TakeReply(reply);
        }
    }
    if (transfer.Result() == kSdoAborted) lastAbortCode_ = transfer.AbortCode();
    return transfer.Result();
}

int CCanOpenTarn::CanSdoUpload(uint16_t index, uint8_t subindex, uint8_t* buffer, size_t capacity, size_t& length,
                               int node, SdoOverflow overflow) {
    length = 0;
    SdoTransfer transfer = SdoTransfer::Upload(index, subindex, capacity, overflow);
    const int result = RunTransfer(transfer, node);
    if (result != kSdoOk) return result;
    const std::vector<uint8_t>& data = transfer.Data();
    if (!data.empty()) std::memmove(buffer, data.data(), data.size());
    length = data.size();
    return kSdoOk;
}

int CCanOpenTarn::CanSdoDownload(uint16_t index, uint8_t subindex, size_t length, const uint8_t* data, int node) {
    SdoTransfer transfer = SdoTransfer::Download(index, subindex, data, length);
    return RunTransfer(transfer, node);
}
