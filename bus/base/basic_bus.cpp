#include "bus/base/basic_bus.h"

#include "app/services/message_text.h"
#include "bus/base/device_kind.h"
#include "motor/datalogger/data_logger.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"

BusRequestCounterSet BusRequestCounters;

namespace {

// The last error text of any bus; every call of GetErrorText overwrites it,
// and a pointer once handed out stays valid.
char g_errorText[kBusErrorTextSize];

platform::ResetHook ResetState([] {
    BusRequestCounters = BusRequestCounterSet();
    g_errorText[0] = '\0';
});

bool IsDeviceAddress(int address) { return address >= 0 && address <= kHighestDeviceAddress; }

}  // namespace

BasicBus::BasicBus() { ClearStatistics(); }

BasicBus::~BasicBus() = default;

const char* BasicBus::GetErrorText() {
    const std::string section = std::string(name_.Text()) + "-Messages";
    const std::string key = platform::Format("%s_M%02u", name_.Text(), unsigned{lastError_});
    GetMessageTextFrom(g_errorText, section.c_str(), key.c_str(), kBusErrorTextSize);
    TheDataLogger().WriteEntry(std::string("BasicBus message: ") + g_errorText);
    return g_errorText;
}

void BasicBus::ClearStatistics() {
    categoryCounts_.fill(0);
    BusRequestCounters = BusRequestCounterSet();
}

void BasicBus::CountErrorCategory(uint32_t category) {
    if (category >= kErrorCategoryCount) return;
    ++categoryCounts_[category];
    lastCategory_ = category;
}

void BasicBus::SetErrorBookkeeping(ErrorCategoryOf categoryOf, LastErrorOnSuccess onSuccess) {
    categoryOf_ = categoryOf;
    onSuccess_ = onSuccess;
}

void BasicBus::SetError(int code) {
    lastError_ = static_cast<uint16_t>(code);
    const int category = categoryOf_ != nullptr ? categoryOf_(code) : -1;
    if (category >= 0) CountErrorCategory(static_cast<uint32_t>(category));
}

bool BasicBus::Finish(int code) {
    if (code != 0) {
        SetError(code);
        ++BusRequestCounters.failed;
        return false;
    }
    if (onSuccess_ == LastErrorOnSuccess::kCleared) lastError_ = 0;
    ++BusRequestCounters.succeeded;
    return true;
}

void BasicBus::ClearDevices() {
    for (auto& record : devices_) record.reset();
    deviceCount_ = 0;
}

BusDeviceRecord* BasicBus::GetDevice(int address) const {
    return IsDeviceAddress(address) ? devices_[address].get() : nullptr;
}

uint32_t BasicBus::GetCategoryCount(int category) const {
    return category >= 0 && category < kErrorCategoryCount ? categoryCounts_[category] : 0;
}

bool DataBus::AddDevice(int address, uint16_t typeNumber, float version) {
    if (!IsDeviceAddress(address)) return false;
    if (devices_[address]) RemoveDevice(address);
    auto record = std::make_unique<BusDeviceRecord>();
    record->typeNumber = typeNumber;
    record->version = version;
    devices_[address] = std::move(record);
    ++deviceCount_;
    return true;
}

void DataBus::RemoveDevice(int address) {
    if (!IsDeviceAddress(address) || !devices_[address]) return;
    devices_[address].reset();
    if (deviceCount_ > 0) --deviceCount_;
}

int DataBus::GetDeviceKind(int address) const {
    const BusDeviceRecord* record = GetDevice(address);
    return record != nullptr ? DeviceKindFromTypeNumber(record->typeNumber) : 0;
}

uint16_t DataBus::ReadDeviceState(int address) {
    const int kind = GetDeviceKind(address);
    if (kind < 3 || kind > 8) return kDeviceStateNoDevice;
    int32_t value = 0;
    if (!ReadParameterValue(kDeviceStateParameter, value, address)) return kDeviceStateReadFailed;
    const uint32_t raw = static_cast<uint32_t>(value);
    if (kind == 3 || kind == 4 || kind == 8) return static_cast<uint16_t>((raw >> 12) & 0xF);
    return static_cast<uint16_t>(raw & 0xFFFF);
}
