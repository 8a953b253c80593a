// The virtual CAN bus and the driver function set it exports.
#include "sim/can_bus.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "platform/base/reset_hooks.h"
#include "platform/system/clock.h"
#include "platform/system/dynamic_library.h"

// The adapter library's name for its message record. Only its name is
// needed: the entry points take it by pointer, and a call through a pointer
// of another function type would be undefined, so Read and Write carry the
// library's own parameter type. The bytes are laid out below.
struct CanMessage;

namespace sim {

namespace {

// The adapter library's message: identifier, type (bit 0 remote), length and
// eight data bytes, padded to 16 bytes.
constexpr size_t kIdOffset = 0;
constexpr size_t kTypeOffset = 4;
constexpr size_t kLengthOffset = 5;
constexpr size_t kDataOffset = 6;
constexpr uint8_t kRemoteType = 0x01;
constexpr size_t kVersionTextMax = 255;

const platform::ResetHook kFreshBusForEachTest([] { TheVirtualCanBus().Reset(); });

CanFrame FromWire(const uint8_t* message) {
    CanFrame frame;
    std::memcpy(&frame.id, message + kIdOffset, sizeof frame.id);
    frame.remote = (message[kTypeOffset] & kRemoteType) != 0;
    frame.length = message[kLengthOffset];
    std::memcpy(frame.data.data(), message + kDataOffset, frame.data.size());
    return frame;
}

void ToWire(const CanFrame& frame, uint8_t* message) {
    std::memcpy(message + kIdOffset, &frame.id, sizeof frame.id);
    message[kTypeOffset] = frame.remote ? kRemoteType : 0;
    message[kLengthOffset] = frame.length;
    std::memcpy(message + kDataOffset, frame.data.data(), frame.data.size());
}

uint64_t Now() { return platform::TheClock().NowUs(); }

// The exported functions. The two libraries differ in their CAN_Init.
uint32_t UsbInit(uint16_t timing, int messageType) {
    AdapterInit init;
    init.usb = true;
    init.timing = timing;
    init.message_type = messageType;
    return TheVirtualCanBus().InitAdapter(init);
}

uint32_t ParallelInit(uint16_t timing, int messageType, int hardwareType, uint32_t ioPort, uint16_t interrupt) {
    AdapterInit init;
    init.timing = timing;
    init.message_type = messageType;
    init.hardware_type = hardwareType;
    init.io_port = ioPort;
    init.interrupt = interrupt;
    return TheVirtualCanBus().InitAdapter(init);
}

uint32_t ExportedClose() { return TheVirtualCanBus().Close(); }
uint32_t ExportedStatus() { return TheVirtualCanBus().Status(); }
uint32_t ExportedRead(::CanMessage* message) { return TheVirtualCanBus().Read(reinterpret_cast<uint8_t*>(message)); }
uint32_t ExportedWrite(::CanMessage* message) {
    return TheVirtualCanBus().Write(reinterpret_cast<const uint8_t*>(message));
}
uint32_t ExportedVersionInfo(char* text) { return TheVirtualCanBus().VersionInfo(text); }
uint32_t ExportedSpecialFunction(uint32_t, int) { return 0; }
int ExportedReceiveDescriptor() { return TheVirtualCanBus().ReceiveDescriptor(); }

template <typename Function>
void* Symbol(Function function) {
    return reinterpret_cast<void*>(function);
}

}  // namespace

CanFrame CanFrame::Data(uint32_t id, std::vector<uint8_t> bytes) {
    CanFrame frame;
    frame.id = id;
    frame.length = static_cast<uint8_t>(std::min<size_t>(bytes.size(), frame.data.size()));
    std::copy_n(bytes.begin(), frame.length, frame.data.begin());
    return frame;
}

CanFrame CanFrame::Remote(uint32_t id, uint8_t length) {
    CanFrame frame;
    frame.id = id;
    frame.remote = true;
    frame.length = length;
    return frame;
}

std::string HexFrameBytes(const CanFrame& frame) {
    std::string text;
    for (size_t i = 0; i < std::min<size_t>(frame.length, frame.data.size()); ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X", frame.data[i]);
        if (!text.empty()) text += ' ';
        text += pair;
    }
    return text;
}

VirtualCanBus& TheVirtualCanBus() {
    static VirtualCanBus bus;
    return bus;
}

void RegisterVirtualCanAdapter(std::string_view omit) {
    const std::map<std::string, void*> common = {
        {"CAN_Close", Symbol(&ExportedClose)},
        {"CAN_Status", Symbol(&ExportedStatus)},
        {"CAN_Read", Symbol(&ExportedRead)},
        {"CAN_Write", Symbol(&ExportedWrite)},
        {"CAN_VersionInfo", Symbol(&ExportedVersionInfo)},
        {"CAN_ReceiveDescriptor", Symbol(&ExportedReceiveDescriptor)},
    };
    auto with = [&](std::map<std::string, void*> symbols) {
        symbols.insert(common.begin(), common.end());
        symbols.erase(std::string(omit));
        return symbols;
    };
    platform::RegisterModule(kVirtualParallelLibrary, with({{"CAN_Init", Symbol(&ParallelInit)}}));
    platform::RegisterModule(
        kVirtualUsbLibrary,
        with({{"CAN_Init", Symbol(&UsbInit)}, {"CAN_SpecialFunktion", Symbol(&ExportedSpecialFunction)}}));
}

VirtualCanBus::VirtualCanBus() : receive_signal_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

VirtualCanBus::~VirtualCanBus() {
    if (receive_signal_ >= 0) close(receive_signal_);
}

void VirtualCanBus::SignalLocked() {
    const bool due = babbling_ || (!queue_.empty() && queue_.front().due_us <= Now());
    const bool signal = initialised_ && !bus_off_ && due;
    if (signal == signalled_ || receive_signal_ < 0) return;
    eventfd_t count = 0;
    if (signal) {
        eventfd_write(receive_signal_, 1);
    } else {
        eventfd_read(receive_signal_, &count);
    }
    signalled_ = signal;
}

int VirtualCanBus::ReceiveDescriptor() {
    std::lock_guard<std::mutex> lock(mutex_);
    // Whatever came due since the last look is signalled now.
    SignalLocked();
    return initialised_ ? receive_signal_ : -1;
}

void VirtualCanBus::RefuseWrites(int count, int after) {
    std::lock_guard<std::mutex> lock(mutex_);
    refuse_writes_ = count;
    refuse_after_ = after;
}

int VirtualCanBus::RefusedWrites() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return refused_writes_;
}

void VirtualCanBus::Reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    refuse_writes_ = 0;
    refuse_after_ = 0;
    refused_writes_ = 0;
    transmit_full_ = false;
    nodes_.clear();
    queue_.clear();
    capture_.clear();
    inits_.clear();
    initialised_ = false;
    closes_ = 0;
    reads_ = 0;
    bus_off_ = false;
    overrun_ = false;
    capacity_ = kDefaultReceiveCapacity;
    babbling_ = false;
    hold_writes_ = false;
    init_result_ = 0;
    version_text_ = "Virtual CAN adapter 1.0";
    version_result_ = 0;
    SignalLocked();
}

void VirtualCanBus::Attach(CanNodeDevice* node) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (std::find(nodes_.begin(), nodes_.end(), node) == nodes_.end()) nodes_.push_back(node);
}

void VirtualCanBus::Detach(CanNodeDevice* node) {
    std::lock_guard<std::mutex> lock(mutex_);
    nodes_.erase(std::remove(nodes_.begin(), nodes_.end(), node), nodes_.end());
}

void VirtualCanBus::QueueLocked(const CanFrame& frame, uint64_t due_us) {
    if (queue_.size() >= capacity_) {
        overrun_ = true;
        return;
    }
    // Frames due at the same time keep their order.
    auto at = std::upper_bound(
        queue_.begin(), queue_.end(), due_us, [](uint64_t due, const Pending& p) { return due < p.due_us; });
    queue_.insert(at, Pending{due_us, frame});
    SignalLocked();
}

void VirtualCanBus::Inject(const CanFrame& frame, uint64_t delay_us) {
    std::lock_guard<std::mutex> lock(mutex_);
    QueueLocked(frame, Now() + delay_us);
}

size_t VirtualCanBus::Waiting() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return queue_.size();
}

std::vector<CapturedFrame> VirtualCanBus::Capture() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return capture_;
}

std::vector<std::string> VirtualCanBus::Written() const {
    std::vector<std::string> lines;
    for (const CapturedFrame& captured : Capture()) {
        if (!captured.from_program) continue;
        char id[16];
        std::snprintf(id, sizeof id, "%03X", static_cast<unsigned>(captured.frame.id));
        if (captured.frame.remote) {
            lines.push_back(std::string(id) + " r" + std::to_string(captured.frame.length));
        } else {
            lines.push_back(std::string(id) + ": " + HexFrameBytes(captured.frame));
        }
    }
    return lines;
}

void VirtualCanBus::ClearCapture() {
    std::lock_guard<std::mutex> lock(mutex_);
    capture_.clear();
}

void VirtualCanBus::SetBusOff(bool on) {
    std::lock_guard<std::mutex> lock(mutex_);
    bus_off_ = on;
    SignalLocked();
}

void VirtualCanBus::SetReceiveCapacity(size_t frames) {
    std::lock_guard<std::mutex> lock(mutex_);
    capacity_ = frames;
}

void VirtualCanBus::SetBabbling(bool on, const CanFrame& frame) {
    std::lock_guard<std::mutex> lock(mutex_);
    babbling_ = on;
    babble_ = frame;
    SignalLocked();
}

void VirtualCanBus::SetInitResult(uint32_t result) {
    std::lock_guard<std::mutex> lock(mutex_);
    init_result_ = result;
}

void VirtualCanBus::SetVersionInfo(std::string text, uint32_t result) {
    std::lock_guard<std::mutex> lock(mutex_);
    version_text_ = std::move(text);
    version_result_ = result;
}

void VirtualCanBus::Activate() {
    std::lock_guard<std::mutex> lock(mutex_);
    initialised_ = true;
    SignalLocked();
}

std::vector<AdapterInit> VirtualCanBus::Inits() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return inits_;
}

int VirtualCanBus::Closes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return closes_;
}

int VirtualCanBus::Reads() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reads_;
}

bool VirtualCanBus::Initialised() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return initialised_;
}

uint32_t VirtualCanBus::InitAdapter(const AdapterInit& init) {
    std::lock_guard<std::mutex> lock(mutex_);
    inits_.push_back(init);
    initialised_ = init_result_ == 0;
    SignalLocked();
    return init_result_;
}

uint32_t VirtualCanBus::Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++closes_;
    initialised_ = false;
    SignalLocked();
    return 0;
}

uint32_t VirtualCanBus::Read(uint8_t* message) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++reads_;
    if (!initialised_) return kAdapterNotInitialised;
    if (babbling_) {
        ToWire(babble_, message);
        return 0;
    }
    if (bus_off_ || queue_.empty() || queue_.front().due_us > Now()) {
        SignalLocked();
        return kAdapterQueueEmpty;
    }
    const CanFrame frame = queue_.front().frame;
    queue_.pop_front();
    SignalLocked();
    ToWire(frame, message);
    capture_.push_back(CapturedFrame{Now(), false, frame});
    return 0;
}

void VirtualCanBus::HoldWrites(bool on) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        hold_writes_ = on;
    }
    writes_released_.notify_all();
}

uint32_t VirtualCanBus::Write(const uint8_t* message) {
    std::unique_lock<std::mutex> lock(mutex_);
    writes_released_.wait(lock, [this] { return !hold_writes_; });
    if (refuse_writes_ > 0 && refuse_after_-- <= 0) {
        --refuse_writes_;
        ++refused_writes_;
        transmit_full_ = true;
        return kAdapterTransmitFull;
    }
    transmit_full_ = false;
    const CanFrame frame = FromWire(message);
    const uint64_t now = Now();
    capture_.push_back(CapturedFrame{now, true, frame});
    if (!initialised_ || bus_off_) return 0;
    for (CanNodeDevice* node : nodes_)
        for (const CanNodeDevice::Answer& answer : node->OnFrame(frame))
            QueueLocked(answer.frame, now + answer.delay_us);
    return 0;
}

uint32_t VirtualCanBus::Status() {
    std::lock_guard<std::mutex> lock(mutex_);
    const uint32_t status = (bus_off_ ? kAdapterStatusBusOff : 0) | (overrun_ ? kAdapterStatusOverrun : 0) |
                            (transmit_full_ ? kAdapterTransmitFull : 0);
    overrun_ = false;
    return status;
}

uint32_t VirtualCanBus::VersionInfo(char* text) {
    std::lock_guard<std::mutex> lock(mutex_);
    const size_t n = std::min(version_text_.size(), kVersionTextMax);
    std::memcpy(text, version_text_.data(), n);
    text[n] = '\0';
    return version_result_;
}

}  // namespace sim
