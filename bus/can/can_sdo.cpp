// The SDO client of the CANopen bus: each transfer's requests handed to the
// worker one at a time, and its replies given back to the transfer.
#include <cstring>

#include "bus/can/can_open_tarn.h"
#include "bus/can/sdo_transfer.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/format.h"
#include "platform/system/clock.h"

static_assert(kSdoOk == SdoTransfer::kOk && kSdoAborted == SdoTransfer::kAborted &&
              kSdoProtocolError == SdoTransfer::kProtocolError && kSdoTooLong == SdoTransfer::kTooLong);
static_assert(kCanTransferBufferSize == SdoTransfer::kLargestTransfer);

void CCanOpenTarn::PostSdoRequest(const SdoFrame& frame, int node) {
    {
        std::lock_guard<std::mutex> lock(recordsMutex_);
        sdoRequest_.node = node;
        sdoRequest_.length = kCanDataBytes;
        for (size_t i = 0; i < frame.size(); ++i) sdoRequest_.data[i] = frame[i];
    }
    Post(kSdoRequestEvent);
}

void CCanOpenTarn::SendClientAbort(const SdoTransfer& transfer, int node, uint32_t code) {
    if (code == 0) return;
    // The next transfer's request must not take the abort's place before the
    // worker sent it, so the abort is waited for.
    events_[kSdoSentEvent].Reset();
    PostSdoRequest(transfer.AbortRequest(code), node);
    WaitEvent(kSdoSentEvent, sdoTimeoutMs_);
}

void CCanOpenTarn::LogRefusedWrite(int node) {
    uint32_t result = 0;
    uint32_t status = 0;
    {
        std::lock_guard<std::mutex> lock(recordsMutex_);
        result = sdoWriteResult_;
        status = sdoWriteStatus_;
    }
    TheDataLogger().WriteEntry(platform::Format(
        "CANopen: the adapter refused the SDO request to node %d (CAN_Write 0x%04X, adapter status 0x%04X)",
        node,
        result,
        status));
}

int CCanOpenTarn::RunTransfer(SdoTransfer& transfer, int node) {
    while (!transfer.Finished()) {
        // A reply that came late for an earlier request must not count for this one.
        events_[kSdoReplyEvent].Reset();
        PostSdoRequest(transfer.Request(), node);
        const platform::Deadline deadline(sdoTimeoutMs_);
        SdoStep step = SdoStep::kIgnored;
        while (step == SdoStep::kIgnored) {
            if (!WaitEvent(kSdoReplyEvent, deadline.Remaining())) {
                // The request may have reached the server, which then waits
                // in the transfer for a client that left.
                SendClientAbort(transfer, node, kSdoAbortTimedOut);
                return kSdoTimedOut;
            }
            SdoFrame reply{};
            bool refused = false;
            {
                std::lock_guard<std::mutex> lock(recordsMutex_);
                refused = sdoWriteResult_ != kCanLibraryOk;
                for (size_t i = 0; i < 8; ++i) reply[i] = static_cast<uint8_t>(sdoReply_.data[i]);
            }
            if (refused) {
                LogRefusedWrite(node);
                // A server that answered an earlier request of this transfer
                // is still in it.
                SendClientAbort(transfer, node, transfer.ServerAnswered() ? kSdoAbortGeneral : 0);
                return kSdoAdapterRefused;
            }
            step = transfer.TakeReply(reply);
        }
    }
    SendClientAbort(transfer, node, transfer.ClientAbortCode());
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
