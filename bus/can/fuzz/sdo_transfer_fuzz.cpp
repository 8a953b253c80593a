// Feeds arbitrary reply frames to one SDO client transfer. The first input
// byte picks the transfer (upload or download, the room or the length, the
// overflow handling); every following 8 bytes are one reply.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "bus/can/sdo_transfer.h"

namespace {

constexpr uint16_t kIndex = 0x2082;
constexpr uint8_t kSubindex = 0;
constexpr size_t kFrameBytes = 8;

void Check(bool condition) {
    if (!condition) std::abort();
}

SdoTransfer Pick(uint8_t choice, const uint8_t* source) {
    const size_t size = 1 + (choice >> 2) % SdoTransfer::kLargestTransfer;
    switch (choice & 3) {
        case 0:
            return SdoTransfer::Upload(kIndex, kSubindex, size, SdoOverflow::kRefuse);
        case 1:
            return SdoTransfer::Upload(kIndex, kSubindex, size, SdoOverflow::kDrain);
        default:
            return SdoTransfer::Download(kIndex, kSubindex, source, size);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const uint8_t source[SdoTransfer::kLargestTransfer] = {};
    const size_t capacity = 1 + (data[0] >> 2) % SdoTransfer::kLargestTransfer;
    const bool upload = (data[0] & 3) < 2;
    SdoTransfer transfer = Pick(data[0], source);
    for (size_t at = 1; at + kFrameBytes <= size && !transfer.Finished(); at += kFrameBytes) {
        SdoFrame reply{};
        for (size_t i = 0; i < kFrameBytes; ++i) reply[i] = data[at + i];
        const SdoStep step = transfer.TakeReply(reply);
        Check((step == SdoStep::kFinished) == transfer.Finished());
    }
    if (upload) Check(transfer.Data().size() <= capacity);
    if (transfer.Finished()) {
        const int r = transfer.Result();
        Check(r == SdoTransfer::kOk || r == SdoTransfer::kAborted || r == SdoTransfer::kProtocolError ||
              r == SdoTransfer::kTooLong);
    }
    return 0;
}
