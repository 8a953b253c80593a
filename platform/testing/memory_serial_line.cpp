// The in-memory serial line: two character queues stamped with clock times,
// and the host end's SerialPort over them.
#include "platform/testing/memory_serial_line.h"

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "platform/files/paths.h"
#include "platform/files/text_file.h"
#include "platform/system/clock.h"

namespace platform {

uint64_t CharacterTimeUs(int32_t baud) {
    if (baud <= 0) return 0;
    const uint64_t bit_us_times_baud = uint64_t{kLineBitsPerCharacter} * 1000000;
    return (bit_us_times_baud + static_cast<uint64_t>(baud) / 2) / static_cast<uint64_t>(baud);
}

namespace {

char UpperParity(char parity) { return static_cast<char>(std::toupper(static_cast<unsigned char>(parity))); }

}  // namespace

bool SameLineFraming(const SerialSettings& sender, const SerialSettings& receiver) {
    return sender.baud == receiver.baud && sender.data_bits == receiver.data_bits &&
           sender.stop_bits == receiver.stop_bits && UpperParity(sender.parity) == UpperParity(receiver.parity);
}

namespace {

uint8_t DataMask(int data_bits) { return static_cast<uint8_t>((1u << data_bits) - 1); }

struct FaultBudget {
    uint8_t faults = 0;
    int count = 0;

    uint8_t Take() {
        if (count <= 0) return 0;
        --count;
        return faults;
    }
};

}  // namespace

class MemorySerialLineState {
public:
    MemorySerialLine* line = nullptr;  // null once the line is gone
    std::vector<LineDevice*> devices;
    std::deque<LineCharacter> to_devices;
    std::deque<LineCharacter> to_host;  // ordered by arrival
    std::vector<std::pair<const void*, uint64_t>> device_free_us;
    bool host_open = false;
    SerialSettings host_settings;
    uint64_t host_free_us = 0;
    FaultBudget faults_to_host;
    FaultBudget faults_to_devices;
    int stuck_output = 0;
    int write_limit = -1;
    bool disconnected = false;
    bool servicing = false;

    bool Unplugged() const { return line == nullptr || disconnected; }

    void Service() {
        if (servicing || line == nullptr) return;
        servicing = true;
        const uint64_t now = TheClock().NowUs();
        while (!to_devices.empty() && to_devices.front().end_us <= now) {
            LineCharacter character = to_devices.front();
            to_devices.pop_front();
            std::vector<LineDevice*> listeners = devices;
            for (LineDevice* device : listeners) {
                if (line == nullptr) break;
                device->OnCharacter(*line, character);
            }
        }
        servicing = false;
    }

    // Whatever arrived at a closed host end, or before a purge, is gone.
    void DropArrivedAtHost() {
        const uint64_t now = TheClock().NowUs();
        while (!to_host.empty() && to_host.front().end_us <= now) to_host.pop_front();
    }

    uint64_t& DeviceFreeUs(const void* device) {
        for (auto& [who, free_us] : device_free_us)
            if (who == device) return free_us;
        device_free_us.emplace_back(device, 0);
        return device_free_us.back().second;
    }

    void QueueToHost(LineCharacter character) {
        // The queue is ordered by end time: only characters that end after
        // this one starts can share the wire with it, so a long burst queued
        // at once costs no pass over everything queued before it.
        auto from = std::upper_bound(
            to_host.begin(), to_host.end(), character.start_us, [](uint64_t start_us, const LineCharacter& queued) {
                return start_us < queued.end_us;
            });
        for (auto it = from; it != to_host.end(); ++it) {
            LineCharacter& other = *it;
            if (other.sender != character.sender && other.start_us < character.end_us &&
                character.start_us < other.end_us) {
                other.faults |= kLineCollision;
                character.faults |= kLineCollision;
            }
        }
        auto at = std::upper_bound(
            to_host.begin(), to_host.end(), character.end_us, [](uint64_t end_us, const LineCharacter& queued) {
                return end_us < queued.end_us;
            });
        to_host.insert(at, character);
    }

    // What the host end reads for a character that has arrived.
    uint8_t Received(const LineCharacter& character) const {
        if ((character.faults & kLineCollision) != 0 || !SameLineFraming(character.sent_with, host_settings))
            return kGarbledCharacter;
        if ((character.faults & kLineFramingError) != 0) return 0;
        uint8_t byte = character.byte;
        if ((character.faults & kLineParityError) != 0) byte ^= 0x01;
        return byte & DataMask(host_settings.data_bits);
    }
};

namespace {

class MemoryHostPort : public SerialPort {
public:
    explicit MemoryHostPort(std::shared_ptr<MemorySerialLineState> state) : state_(std::move(state)) {}
    ~MemoryHostPort() override { Close(); }

    bool Configure(const SerialSettings& settings) override {
        if (!Usable()) return false;
        std::string reason;
        if (!ValidSerialSettings(settings, &reason)) {
            error_ = reason;
            Close();
            return false;
        }
        state_->host_settings = settings;
        return true;
    }

    SerialSettings Settings() const override { return state_->host_settings; }

    void PurgeInput() override {
        if (!Usable()) return;
        state_->Service();
        state_->DropArrivedAtHost();
    }

    // Written characters leave the output queue at once (see Write).
    void PurgeOutput() override {}

    int BytesWaiting() override {
        if (!Usable()) return -1;
        state_->Service();
        const uint64_t now = TheClock().NowUs();
        int waiting = 0;
        for (const LineCharacter& character : state_->to_host) {
            if (character.end_us > now) break;
            ++waiting;
        }
        return waiting;
    }

    int BytesPending() override {
        if (!Usable()) return -1;
        state_->Service();
        return state_->stuck_output;
    }

    int Read(uint8_t* buffer, int count) override {
        if (!Usable()) return -1;
        state_->Service();
        const uint64_t now = TheClock().NowUs();
        int got = 0;
        while (got < count && !state_->to_host.empty() && state_->to_host.front().end_us <= now) {
            buffer[got++] = state_->Received(state_->to_host.front());
            state_->to_host.pop_front();
        }
        return got;
    }

    // The characters go on the wire back to back from now (or after those
    // still being sent) and count as transmitted, not queued, so nothing
    // waits on the output queue.
    int Write(const uint8_t* bytes, int count) override {
        if (!Usable()) return -1;
        if (state_->write_limit >= 0) {
            count = std::min(count, state_->write_limit);
            state_->write_limit = -1;
        }
        const SerialSettings& settings = state_->host_settings;
        const uint64_t character_us = CharacterTimeUs(settings.baud);
        uint64_t start = std::max(TheClock().NowUs(), state_->host_free_us);
        for (int i = 0; i < count; ++i) {
            LineCharacter character;
            character.byte = bytes[i] & DataMask(settings.data_bits);
            character.sent_with = settings;
            character.start_us = start;
            character.end_us = start + character_us;
            character.faults = state_->faults_to_devices.Take();
            state_->to_devices.push_back(character);
            start = character.end_us;
        }
        state_->host_free_us = start;
        state_->Service();
        return count;
    }

    std::string LastErrorText() const override { return error_; }

private:
    bool Usable() {
        if (!open_) {
            if (error_.empty()) error_ = SystemErrorText(EBADF);
            return false;
        }
        if (state_->Unplugged()) {
            error_ = SystemErrorText(EIO);
            return false;
        }
        return true;
    }

    void Close() {
        if (!open_) return;
        open_ = false;
        state_->Service();
        state_->DropArrivedAtHost();
        state_->host_open = false;
    }

    std::shared_ptr<MemorySerialLineState> state_;
    bool open_ = true;
    std::string error_;
};

std::unique_ptr<SerialPort> OpenHostEnd(const std::shared_ptr<MemorySerialLineState>& state, std::string* error) {
    if (state == nullptr || state->line == nullptr) {
        if (error != nullptr) *error = SystemErrorText(ENOENT);
        return nullptr;
    }
    if (state->host_open) {
        if (error != nullptr) *error = SystemErrorText(EBUSY);
        return nullptr;
    }
    state->Service();
    state->DropArrivedAtHost();
    state->host_open = true;
    state->host_settings = SerialSettings{};
    return std::make_unique<MemoryHostPort>(state);
}

}  // namespace

LineAttachment::LineAttachment(std::weak_ptr<MemorySerialLineState> state, LineDevice* device)
    : state_(std::move(state)), device_(device) {}

LineAttachment::LineAttachment(LineAttachment&& other) noexcept
    : state_(std::move(other.state_)), device_(other.device_) {
    other.device_ = nullptr;
}

LineAttachment& LineAttachment::operator=(LineAttachment&& other) noexcept {
    if (this != &other) {
        Detach();
        state_ = std::move(other.state_);
        device_ = other.device_;
        other.device_ = nullptr;
    }
    return *this;
}

LineAttachment::~LineAttachment() { Detach(); }

void LineAttachment::Detach() {
    if (auto state = state_.lock(); state != nullptr && device_ != nullptr) {
        auto& devices = state->devices;
        devices.erase(std::remove(devices.begin(), devices.end(), device_), devices.end());
    }
    state_.reset();
    device_ = nullptr;
}

MemorySerialLine::MemorySerialLine() : state_(std::make_shared<MemorySerialLineState>()) { state_->line = this; }

MemorySerialLine::~MemorySerialLine() {
    state_->line = nullptr;
    state_->devices.clear();
}

std::unique_ptr<SerialPort> MemorySerialLine::OpenHostPort(std::string* error) { return OpenHostEnd(state_, error); }

bool MemorySerialLine::HostPortOpen() const { return state_->host_open; }

SerialPortOpener MemorySerialLine::Opener(const std::string& port_name) {
    std::weak_ptr<MemorySerialLineState> weak = state_;
    return [weak, port_name](const std::string& name, std::string* error) {
        if (!EqualNoCase(name, port_name)) {
            if (error != nullptr) *error = SystemErrorText(ENOENT);
            return std::unique_ptr<SerialPort>();
        }
        return OpenHostEnd(weak.lock(), error);
    };
}

LineAttachment MemorySerialLine::Attach(LineDevice* device) {
    state_->devices.push_back(device);
    return LineAttachment(state_, device);
}

std::vector<uint64_t> MemorySerialLine::SendToHost(const LineDevice* device, const std::vector<uint8_t>& bytes,
                                                   const SerialSettings& settings, uint64_t start_us) {
    std::vector<uint64_t> arrivals;
    arrivals.reserve(bytes.size());
    uint64_t& free_us = state_->DeviceFreeUs(device);
    uint64_t start = std::max(start_us, free_us);
    const uint64_t character_us = CharacterTimeUs(settings.baud);
    for (uint8_t byte : bytes) {
        LineCharacter character;
        character.byte = byte & DataMask(std::clamp(settings.data_bits, 5, 8));
        character.sent_with = settings;
        character.start_us = start;
        character.end_us = start + character_us;
        character.faults = state_->faults_to_host.Take();
        character.sender = device;
        state_->QueueToHost(character);
        arrivals.push_back(character.end_us);
        start = character.end_us;
    }
    free_us = start;
    return arrivals;
}

void MemorySerialLine::Service() { state_->Service(); }

void MemorySerialLine::InjectFaultsToHost(uint8_t faults, int count) { state_->faults_to_host = {faults, count}; }

void MemorySerialLine::InjectFaultsToDevices(uint8_t faults, int count) { state_->faults_to_devices = {faults, count}; }

void MemorySerialLine::SetStuckOutput(int bytes) { state_->stuck_output = std::max(bytes, 0); }

void MemorySerialLine::LimitNextWrite(int bytes) { state_->write_limit = std::max(bytes, 0); }

void MemorySerialLine::SetDisconnected(bool disconnected) { state_->disconnected = disconnected; }

}  // namespace platform
