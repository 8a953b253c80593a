#include "bus/can/can_peak.h"

#include <algorithm>
#include <cstring>

namespace {

struct TimingEntry {
    int32_t baudRate;
    uint16_t word;  // BTR0 in the high byte, BTR1 in the low byte
};
constexpr TimingEntry kTimingTable[] = {
    {50000, 0x472F},
    {125000, 0x031C},
    {250000, 0x011C},
    {500000, 0x001C},
    {1000000, 0x0014},
};

template <typename Function>
Function Entry(platform::ModuleHandle library, const char* name) {
    return reinterpret_cast<Function>(platform::GetProcAddress(library, name));
}

bool IsMessageObject(int object) { return object >= 0 && object < kCanMessageObjects; }

}  // namespace

std::optional<uint16_t> CanTimingWord(int32_t baudRate) {
    for (const TimingEntry& entry : kTimingTable)
        if (entry.baudRate == baudRate) return entry.word;
    return std::nullopt;
}

CanAdapterDriver::CanAdapterDriver(const char* libraryName, bool withSpecialFunction) {
    platform::ModuleHandle library = platform::LoadLibraryA(libraryName);
    if (library == nullptr) return;
    initEntry_ = platform::GetProcAddress(library, kCanInitName);
    close_ = Entry<CanCloseFunction>(library, kCanCloseName);
    status_ = Entry<CanStatusFunction>(library, kCanStatusName);
    write_ = Entry<CanWriteFunction>(library, kCanWriteName);
    read_ = Entry<CanReadFunction>(library, kCanReadName);
    versionInfo_ = Entry<CanVersionInfoFunction>(library, kCanVersionInfoName);
    receiveDescriptor_ = Entry<CanReceiveDescriptorFunction>(library, kCanReceiveDescriptorName);
    const bool special = !withSpecialFunction || platform::GetProcAddress(library, kCanSpecialFunctionName) != nullptr;
    if (initEntry_ == nullptr || close_ == nullptr || status_ == nullptr || write_ == nullptr || read_ == nullptr ||
        versionInfo_ == nullptr || !special) {
        // A library without its whole function set leaves the driver inert.
        platform::FreeLibrary(library);
        initEntry_ = nullptr;
        receiveDescriptor_ = nullptr;
        return;
    }
    library_ = library;
}

CanAdapterDriver::~CanAdapterDriver() {
    if (library_ != nullptr) {
        close_();
        platform::FreeLibrary(library_);
    }
}

int CanAdapterDriver::Init(const CanAdapterSettings& settings) {
    settings_ = settings;
    if (library_ == nullptr) return kCanDriverNoLibrary;
    const std::optional<uint16_t> timing = CanTimingWord(settings.baudRate);
    if (!timing) return kCanDriverBaudNotSupported;
    const uint32_t result = CallInit(*timing);
    {
        // Frames that waited in the adapter belong to no request of ours.
        std::lock_guard<std::mutex> lock(receiveMutex_);
        CanMessage discarded;
        for (int n = 0; n < kMaxFramesPerPoll && read_(&discarded) == kCanLibraryOk; ++n) {}
    }
    return result == kCanLibraryOk ? kCanDriverOk : kCanDriverInitFailed;
}

void CanAdapterDriver::Close() {
    if (library_ != nullptr) close_();
}

bool CanAdapterDriver::IsBusOff() { return library_ != nullptr && status_() == kCanStatusBusOff; }

void CanAdapterDriver::SetMessageObject(int object, uint32_t cobId, int length, const CanDataValues& data) {
    if (!IsMessageObject(object)) return;
    std::lock_guard<std::mutex> lock(receiveMutex_);
    MessageObject& target = objects_[static_cast<size_t>(object)];
    target.message.id = cobId;
    target.message.messageType = (length & kCanRemoteLengthFlag) != 0 ? kCanMessageRemote : kCanMessageStandard;
    target.message.length = static_cast<uint8_t>(std::clamp(length & ~kCanRemoteLengthFlag, 0, kCanDataBytes));
    for (int i = 0; i < kCanDataBytes; ++i) target.message.data[i] = static_cast<uint8_t>(data[static_cast<size_t>(i)]);
    target.pending = 0;
}

void CanAdapterDriver::Poll() {
    if (library_ == nullptr) return;
    std::lock_guard<std::mutex> lock(receiveMutex_);
    CanMessage message;
    for (int n = 0; n < kMaxFramesPerPoll && read_(&message) == kCanLibraryOk; ++n) {
        message.length = std::min<uint8_t>(message.length, kCanDataBytes);
        if (monitorOn_) {
            std::lock_guard<std::mutex> ringLock(monitorMutex_);
            RecordLocked(message, true);
        }
        for (MessageObject& object : objects_) {
            if (object.message.id != message.id) continue;
            object.message.length = message.length;
            std::memcpy(object.message.data, message.data, kCanDataBytes);
            object.pending = 1;
        }
    }
}

void CanAdapterDriver::RecordLocked(const CanMessage& message, bool clearWhenFull) {
    MonitorEntry& entry = ring_[static_cast<size_t>(writePosition_)];
    entry.identifier = message.id;
    entry.messageType = message.messageType;
    entry.length = message.length;
    std::memcpy(entry.data, message.data, kCanDataBytes);
    entry.inUse = 1;
    ++entriesWritten_;
    writePosition_ = (writePosition_ + 1) % kMonitorRingEntries;
    // A full ring that nobody read is started afresh.
    if (clearWhenFull && writePosition_ == readPosition_) {
        ring_.fill(MonitorEntry{});
        ++overruns_;
    }
}

bool CanAdapterDriver::ReadMessageObject(int object, int& length, CanDataValues& data) {
    if (!IsMessageObject(object)) return false;
    Poll();
    std::lock_guard<std::mutex> lock(receiveMutex_);
    MessageObject& source = objects_[static_cast<size_t>(object)];
    if (source.pending == 0) return false;
    length = source.message.length;
    for (int i = 0; i < kCanDataBytes; ++i) data[static_cast<size_t>(i)] = source.message.data[i];
    source.pending = 0;
    return true;
}

int CanAdapterDriver::ReadMonitorEntry(uint32_t& identifier, int& length, CanDataValues& data) {
    Poll();
    if (!monitorOn_) return 0;
    std::lock_guard<std::mutex> lock(monitorMutex_);
    while (readPosition_ != writePosition_) {
        MonitorEntry& entry = ring_[static_cast<size_t>(readPosition_)];
        readPosition_ = (readPosition_ + 1) % kMonitorRingEntries;
        if (entry.inUse == 0) continue;
        identifier = entry.identifier;
        length = entry.length;
        for (int i = 0; i < kCanDataBytes; ++i) data[static_cast<size_t>(i)] = entry.data[i];
        entry.inUse = 0;
        ++entriesRead_;
        return 1;
    }
    return 0;
}

uint32_t CanAdapterDriver::SendMessageObject(int object) {
    if (library_ == nullptr || !IsMessageObject(object)) return kCanLibraryOk;
    CanMessage message;
    {
        std::lock_guard<std::mutex> lock(receiveMutex_);
        message = objects_[static_cast<size_t>(object)].message;
    }
    uint32_t result = kCanLibraryOk;
    {
        std::lock_guard<std::mutex> lock(sendMutex_);
        result = write_(&message);
    }
    // The monitor shows what went onto the bus, so a refused frame is left out.
    if (result == kCanLibraryOk && monitorOn_) {
        std::lock_guard<std::mutex> lock(monitorMutex_);
        RecordLocked(message, false);
    }
    return result;
}

uint32_t CanAdapterDriver::AdapterStatus() { return library_ != nullptr ? status_() : 0; }

int CanAdapterDriver::ReceiveDescriptor() {
    return library_ != nullptr && receiveDescriptor_ != nullptr ? receiveDescriptor_() : -1;
}

uint32_t CanAdapterDriver::MonitorOverruns() {
    std::lock_guard<std::mutex> lock(monitorMutex_);
    return overruns_;
}

CCanPeak::CCanPeak() : CanAdapterDriver(kParallelAdapterLibrary, false) {
    settings_.ioPort = kDefaultParallelIoPort;
    settings_.interrupt = kDefaultParallelInterrupt;
}

uint32_t CCanPeak::CallInit(uint16_t timing) {
    return reinterpret_cast<CanInitParallelFunction>(initEntry_)(timing,
                                                                 kCanMessageStandard,
                                                                 kParallelHardwareType,
                                                                 settings_.ioPort,
                                                                 static_cast<uint16_t>(settings_.interrupt));
}

void CCanPeak::GetVersionInfo(char* text) {
    if (!LibraryLoaded()) {
        text[0] = '\0';
        return;
    }
    if (CallVersionInfo(text) == kCanLibraryOk) text[0] = '\0';
}

int CCanPeak::InitBaud(int32_t baudRate) {
    CanAdapterSettings settings = settings_;
    settings.baudRate = baudRate;
    settings.ioPort = kDefaultParallelIoPort;
    settings.interrupt = kDefaultParallelInterrupt;
    return Init(settings);
}

CCanPeakUSB::CCanPeakUSB() : CanAdapterDriver(kUsbAdapterLibrary, true) {}

uint32_t CCanPeakUSB::CallInit(uint16_t timing) {
    return reinterpret_cast<CanInitUsbFunction>(initEntry_)(timing, kCanMessageStandard);
}

void CCanPeakUSB::GetVersionInfo(char* text) {
    if (!LibraryLoaded() || CallVersionInfo(text) != kCanLibraryOk) text[0] = '\0';
}

int CCanPeakUSB::InitBaud(int32_t baudRate) {
    CanAdapterSettings settings = settings_;
    settings.baudRate = baudRate;
    return Init(settings);
}
