// Reading the recorder's sample buffer from the device, block by block.
#include <algorithm>
#include <limits>
#include <new>

#include "app/services/program_flags.h"
#include "bus/base/basic_bus.h"
#include "parameters/parabase/para_base.h"
#include "scope/recorder/scope_parameters.h"

namespace {

constexpr float kPercent = 100.0f;
constexpr float kProgressEnd = -1.0f;

}  // namespace

int ParaBase::ReadScopeBuffer() {
    BusTransferGuard transfer;
    BusWriteReportPause quiet;

    uint16_t length = 0;
    if (const int r = ReadValueU16(kScopeLengthParameter, &length)) return r;
    if (const int r = WriteValueU8(kScopeTransferParameter, kScopeTransferFirstBlock)) return r;

    recorder_.samples.clear();
    recorder_.bufferLength = length;
    recorder_.bytesReceived = 0;
    try {
        recorder_.samples.assign(static_cast<size_t>(length) + kScopeBufferReserve, 0);
    } catch (const std::bad_alloc&) {
        recorder_.samples = {};
        return SetMessage(kParaNoScopeMemory);
    }

    // An uncoupled device delivers nothing.
    bool last = DevicesUncoupled;
    while (!last && recorder_.bytesReceived < length) {
        // The bus refuses a block that would pass the end of the buffer.
        const size_t room = recorder_.samples.size() - recorder_.bytesReceived;
        uint16_t count = static_cast<uint16_t>(std::min<size_t>(room, std::numeric_limits<uint16_t>::max()));
        const uint16_t asked = count;
        const bool read =
            bus_ != nullptr &&
            bus_->ReadSampleBlock(recorder_.samples.data() + recorder_.bytesReceived, count, last, address_);
        if (!read || count > asked) {
            ContinueProgress(kProgressEnd);
            if (bus_ == nullptr) return SetMessage(kParaNoBus);
            CurrentParameter = 0;
            return CheckBusResult(false);
        }
        // An empty block that is not the last moves nothing on: asking again
        // would never end.
        if (count == 0 && !last) {
            ContinueProgress(kProgressEnd);
            return SetMessage(kParaInvalidData, {kScopeTransferParameter, GetParameterName(kScopeTransferParameter)});
        }
        if (const int r = WriteValueU8(kScopeTransferParameter, kScopeTransferNextBlock)) {
            ContinueProgress(kProgressEnd);
            return r;
        }
        if (!ContinueProgress(static_cast<float>(recorder_.bytesReceived) / length * kPercent)) {
            ContinueProgress(kProgressEnd);
            return SetMessage(kParaCancelled);
        }
        if (last) ContinueProgress(kPercent);
        recorder_.bytesReceived += count;
    }
    ContinueProgress(kProgressEnd);
    return kParaOk;
}
