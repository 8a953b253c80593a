// The bus operations of the CANopen bus: parameters as SDO objects, device
// search and network scan, and the error bookkeeping.
#include <cstring>

#include "app/services/basic_slider.h"
#include "app/services/program_flags.h"
#include "bus/base/device_parameters.h"
#include "bus/can/can_open_tarn.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/format.h"

namespace {

// Parameter numbers below this are objects of the drive's parameter area.
constexpr int kFirstPlainIndex = 4096;
constexpr uint16_t kParameterAreaIndex = 0x2000;
constexpr int kHighestIndex = 0xFFFF;
constexpr int kHighestSubindex = 0xFF;
constexpr uint8_t kScalarSubindex = 0;
constexpr int kHighestCanNode = 127;
// Search and scan ask nodes 0..31; node 31 has no place in the device table.
constexpr int kScannedNodes = 32;

constexpr size_t kValueBytes = 4;

}  // namespace

// Category counted for each bus error code; -1: none.
int CanErrorCategory(int code) {
    switch (code) {
        case kCanErrorNotOpen:
            return 4;
        case kCanErrorAdapterRefused:
            return 5;
        case kCanErrorNoDeviceFound:
            return 2;
        case kCanErrorNoDeviceRecord:
            return 1;
        case kCanErrorSdoTimeout:
            return 7;
        case kCanErrorAbort:
            return 12;
        case kCanErrorValueTooLong:
            return 6;
        case kCanErrorNoObject:
            return 10;
        case kCanErrorUnsupportedAccess:
            return 9;
        case kCanErrorValueRange:
            return 11;
        case kCanErrorAdapter:
            return 5;
        case kCanErrorTransfer:
            return 15;
        default:
            return -1;
    }
}

namespace {

bool IsElementWidth(int width) { return width == 1 || width == 2 || width == 4; }

bool ObjectIndex(int number, uint16_t& index) {
    if (number < 0 || number > kHighestIndex) return false;
    index = static_cast<uint16_t>(number < kFirstPlainIndex ? kParameterAreaIndex + number : number);
    return true;
}

// The subindex of array element `element`; false beyond what a subindex holds.
bool ElementSubindex(int element, uint8_t& subindex) {
    const int value = element + CanArraySubindexOffset;
    if (element < 0 || value > kHighestSubindex) return false;
    subindex = static_cast<uint8_t>(value);
    return true;
}

uint32_t LittleValue(const uint8_t* bytes, size_t count) {
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i) value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    return value;
}

void StartSlider(BasicSlider* slider, unsigned maximum) {
    if (slider != nullptr) slider->SetMaximum(maximum);
}

void MoveSlider(BasicSlider* slider, unsigned value) {
    if (slider != nullptr) slider->SetValue(value);
}

// The short reply wait of searches and scans, restored however they end.
class ScanTimeoutScope {
public:
    explicit ScanTimeoutScope(CCanOpenTarn& bus) : bus_(bus), saved_(bus.GetSdoTimeout()) {
        bus_.SetSdoTimeout(kSdoScanTimeoutMs);
    }
    ~ScanTimeoutScope() { bus_.SetSdoTimeout(saved_); }

private:
    CCanOpenTarn& bus_;
    uint32_t saved_;
};

}  // namespace

int CanAbortToError(uint32_t abortCode) {
    switch (abortCode) {
        case kSdoAbortUnsupportedAccess:
            return kCanErrorUnsupportedAccess;
        case kSdoAbortNoObject:
            return kCanErrorNoObject;
        case kSdoAbortValueRange:
            return kCanErrorValueRange;
        default:
            return kCanErrorAbort;
    }
}

int CCanOpenTarn::CheckSlot(int address, bool needsRecord) const {
    if (!open_) return kCanErrorNotOpen;
    if (needsRecord ? GetDevice(address) == nullptr : address < 0 || address > kHighestCanNode)
        return kCanErrorNoDeviceRecord;
    return 0;
}

int CCanOpenTarn::TransferError(int sdoResult, int tooLongError) const {
    switch (sdoResult) {
        case kSdoTimedOut:
            return kCanErrorSdoTimeout;
        case kSdoAborted:
            return CanAbortToError(lastAbortCode_);
        case kSdoTooLong:
            return tooLongError;
        case kSdoAdapterRefused:
            return kCanErrorAdapterRefused;
        default:
            return kCanErrorTransfer;
    }
}

bool CCanOpenTarn::ReadParameterValue(int number, int32_t& value, int address) {
    if (const int error = CheckSlot(address, false)) return Finish(error);
    uint16_t index = 0;
    if (!ObjectIndex(number, index)) return Finish(kCanErrorValueRange);
    uint8_t bytes[kValueBytes] = {};
    size_t length = 0;
    // A longer object is still taken to its end, so the drive is not left in
    // an open transfer.
    const int result = CanSdoUpload(index, kScalarSubindex, bytes, sizeof bytes, length, address, SdoOverflow::kDrain);
    if (result != kSdoOk) return Finish(TransferError(result, kCanErrorValueTooLong));
    value = static_cast<int32_t>(LittleValue(bytes, kValueBytes));
    return Finish(0);
}

bool CCanOpenTarn::ReadParameterText(int number, dstring& text, int address) {
    if (const int error = CheckSlot(address, true)) return Finish(error);
    uint16_t index = 0;
    if (!ObjectIndex(number, index)) return Finish(kCanErrorValueRange);
    size_t length = 0;
    // Room is kept for the terminator.
    const int result = CanSdoUpload(index, kScalarSubindex, transfer_, sizeof transfer_ - 1, length, address);
    if (result != kSdoOk) return Finish(TransferError(result, kCanErrorTransfer));
    transfer_[length] = '\0';
    text.AssignText(reinterpret_cast<const char*>(transfer_));
    return Finish(0);
}

bool CCanOpenTarn::WriteParameterValue(int number, int32_t value, int address) {
    if (const int error = CheckSlot(address, true)) return Finish(error);
    uint16_t index = 0;
    if (!ObjectIndex(number, index)) return Finish(kCanErrorValueRange);
    uint8_t bytes[kValueBytes];
    for (size_t i = 0; i < kValueBytes; ++i) bytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
    const int result = CanSdoDownload(index, kScalarSubindex, kValueBytes, bytes, address);
    return Finish(result == kSdoOk ? 0 : TransferError(result, kCanErrorTransfer));
}

bool CCanOpenTarn::WriteParameterText(int number, const char* text, int address) {
    if (const int error = CheckSlot(address, true)) return Finish(error);
    uint16_t index = 0;
    if (!ObjectIndex(number, index)) return Finish(kCanErrorValueRange);
    if (text == nullptr) return Finish(kCanErrorTransfer);
    const int result =
        CanSdoDownload(index, kScalarSubindex, std::strlen(text) + 1, reinterpret_cast<const uint8_t*>(text), address);
    if (result == kSdoAdapterRefused) return Finish(kCanErrorAdapterRefused);
    return Finish(result == kSdoOk ? 0 : kCanErrorTransfer);
}

bool CCanOpenTarn::ReadBlock(int number, void* destination, int first, uint16_t& count, int width, int address) {
    const uint16_t wanted = count;
    count = 0;
    if (const int error = CheckSlot(address, true)) return Finish(error);
    uint16_t index = 0;
    if (!ObjectIndex(number, index)) return Finish(kCanErrorValueRange);
    if (!IsElementWidth(width)) return Finish(kCanErrorValueRange);
    if (destination == nullptr) return Finish(kCanErrorTransfer);
    uint8_t* out = static_cast<uint8_t*>(destination);
    for (int k = 0; k < wanted; ++k) {
        uint8_t subindex = 0;
        if (!ElementSubindex(first + k, subindex)) break;
        uint8_t bytes[kValueBytes] = {};
        size_t length = 0;
        const int result = CanSdoUpload(index, subindex, bytes, sizeof bytes, length, address);
        // An element longer than a value is no element; it is not the end,
        // and neither is an adapter that refused to send.
        if (result == kSdoTooLong) return Finish(kCanErrorValueTooLong);
        if (result == kSdoAdapterRefused) return Finish(kCanErrorAdapterRefused);
        // The array ends where the device refuses the next element.
        if (result != kSdoOk) break;
        std::memcpy(out + static_cast<size_t>(k) * static_cast<size_t>(width), bytes, static_cast<size_t>(width));
        ++count;
    }
    return Finish(count == 0 ? kCanErrorTransfer : 0);
}

bool CCanOpenTarn::WriteBlock(int number, const void* source, int first, uint16_t count, int width, int address) {
    if (const int error = CheckSlot(address, true)) return Finish(error);
    uint16_t index = 0;
    if (!ObjectIndex(number, index)) return Finish(kCanErrorValueRange);
    if (!IsElementWidth(width)) return Finish(kCanErrorValueRange);
    if (source == nullptr && count > 0) return Finish(kCanErrorTransfer);
    const uint8_t* in = static_cast<const uint8_t*>(source);
    for (int k = 0; k < count; ++k) {
        uint8_t subindex = 0;
        if (!ElementSubindex(first + k, subindex)) return Finish(kCanErrorValueRange);
        const int result = CanSdoDownload(index,
                                          subindex,
                                          static_cast<size_t>(width),
                                          in + static_cast<size_t>(k) * static_cast<size_t>(width),
                                          address);
        if (result != kSdoOk) return Finish(TransferError(result, kCanErrorTransfer));
    }
    return Finish(0);
}

bool CCanOpenTarn::ReadIdentity(int node, uint16_t& typeNumber, float& version) {
    uint16_t typeIndex = 0;
    uint16_t versionIndex = 0;
    ObjectIndex(kDeviceCodeParameter, typeIndex);
    ObjectIndex(kFirmwareVersionParameter, versionIndex);
    uint8_t type[kValueBytes] = {};
    uint8_t steps[kValueBytes] = {};
    size_t length = 0;
    if (CanSdoUpload(typeIndex, kScalarSubindex, type, sizeof type, length, node) != kSdoOk ||
        CanSdoUpload(versionIndex, kScalarSubindex, steps, sizeof steps, length, node) != kSdoOk) {
        return false;
    }
    typeNumber = static_cast<uint16_t>(LittleValue(type, 2));
    version = static_cast<float>(LittleValue(steps, 2)) * kVersionUnit;
    return true;
}

bool CCanOpenTarn::CheckDevice(BasicSlider* slider) {
    if (!open_) return Finish(kCanErrorNotOpen);
    ScanTimeoutScope scanWait(*this);
    ClearDevices();
    StartSlider(slider, kScannedNodes);
    bool found = false;
    for (int node = 0; node < kScannedNodes; ++node) {
        MoveSlider(slider, static_cast<unsigned>(node + 1));
        uint16_t typeNumber = 0;
        float version = 0.0f;
        if (!ReadIdentity(node, typeNumber, version)) continue;
        if (Register(node, typeNumber, version)) found = true;
    }
    return Finish(found ? 0 : kCanErrorNoDeviceFound);
}

bool CCanOpenTarn::Register(int node, uint16_t typeNumber, float version) {
    if (AddDevice(node, typeNumber, version)) return true;
    TheDataLogger().WriteEntry(platform::Format(
        "CANopen device search: node %d answered, but the device table holds nodes 0 to %d only; not registered",
        node,
        kHighestDeviceAddress));
    return false;
}

bool CCanOpenTarn::RegisterNode(int node) {
    int32_t type = 0;
    int32_t steps = 0;
    if (!ReadParameterValue(kDeviceCodeParameter, type, node) ||
        !ReadParameterValue(kFirmwareVersionParameter, steps, node)) {
        return false;
    }
    return Register(node, static_cast<uint16_t>(type), static_cast<float>(static_cast<uint16_t>(steps)) * kVersionUnit);
}

bool CCanOpenTarn::ConnectDevice(BasicSlider* slider) {
    if (!open_) return Finish(kCanErrorNotOpen);
    ScanTimeoutScope scanWait(*this);
    if (searchOwnNodeFirst_ && GetDevice(ownNode_) != nullptr) return Finish(RegisterNode(ownNode_) ? 0 : lastError_);
    ClearDevices();
    StartSlider(slider, kScannedNodes);
    for (int node = 0; node < kScannedNodes; ++node) {
        MoveSlider(slider, static_cast<unsigned>(node + 1));
        if (RegisterNode(node)) return Finish(0);
    }
    return Finish(kCanErrorNoDeviceFound);
}
