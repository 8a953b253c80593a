// The virtual drive on a line: decoding, timing and capture around the
// telegram engine.
#include "sim/virtual_drive.h"

namespace sim {

namespace {

// The drives' framing is fixed; only the rate can be set.
constexpr int kDriveDataBits = 7;
constexpr char kDriveParity = 'E';
constexpr int kDriveStopBits = 1;

}  // namespace

VirtualDrive::VirtualDrive(DriveTable table, int address, int32_t baud)
    : table_(std::move(table)), engine_(table_, address), baud_(baud) {}

int VirtualDrive::Address() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return engine_.Address();
}

void VirtualDrive::SetAddress(int address) {
    std::lock_guard<std::mutex> lock(mutex_);
    engine_.SetAddress(address);
}

int32_t VirtualDrive::Baud() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return baud_;
}

void VirtualDrive::SetBaud(int32_t baud) {
    std::lock_guard<std::mutex> lock(mutex_);
    baud_ = baud;
}

platform::SerialSettings VirtualDrive::LineSettings() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return SettingsAtRate();
}

platform::SerialSettings VirtualDrive::SettingsAtRate() const {
    return platform::SerialSettings{baud_, kDriveDataBits, kDriveParity, kDriveStopBits};
}

void VirtualDrive::SetReplyDelayUs(uint64_t us) {
    std::lock_guard<std::mutex> lock(mutex_);
    reply_delay_us_ = us;
}

void VirtualDrive::SetSamples(std::vector<uint8_t> samples) {
    std::lock_guard<std::mutex> lock(mutex_);
    table_.samples = std::move(samples);
    table_.sample_position = 0;
}

void VirtualDrive::SetBlockLimit(int elements) {
    std::lock_guard<std::mutex> lock(mutex_);
    engine_.SetBlockLimit(elements);
}

DriveRecorder& VirtualDrive::AddRecorder() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!recorder_) {
        recorder_ = std::make_unique<DriveRecorder>(table_);
        engine_.SetRecorder(recorder_.get());
    }
    return *recorder_;
}

void VirtualDrive::AddFault(DriveFault fault) {
    std::lock_guard<std::mutex> lock(mutex_);
    engine_.AddFault(std::move(fault));
}

size_t VirtualDrive::FaultsLeft() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return engine_.FaultsLeft();
}

void VirtualDrive::ClearFaults() {
    std::lock_guard<std::mutex> lock(mutex_);
    engine_.ClearFaults();
}

uint16_t VirtualDrive::WriteError() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return engine_.WriteError();
}

DriveCapture VirtualDrive::Capture() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return capture_;
}

void VirtualDrive::ClearCapture() {
    std::lock_guard<std::mutex> lock(mutex_);
    capture_.Clear();
}

void VirtualDrive::AttachTo(platform::MemorySerialLine& line) { attachment_ = line.Attach(this); }

void VirtualDrive::Detach() { attachment_.Detach(); }

std::vector<uint8_t> VirtualDrive::Receive(uint8_t byte, uint64_t time_us) {
    std::lock_guard<std::mutex> lock(mutex_);
    capture_.Add({true, byte, time_us, false});
    table_.ApplyDueValues(time_us);
    std::vector<uint8_t> reply = engine_.Receive(byte);
    for (uint8_t b : reply) capture_.Add({false, b, time_us, false});
    TakeRateCode();
    return reply;
}

void VirtualDrive::OnCharacter(platform::MemorySerialLine& line, const platform::LineCharacter& character) {
    std::lock_guard<std::mutex> lock(mutex_);
    const platform::SerialSettings settings = SettingsAtRate();
    const bool garbled = character.faults != 0 || !platform::SameLineFraming(character.sent_with, settings);
    capture_.Add({true, character.byte, character.end_us, garbled});
    if (garbled) {
        engine_.ReceiveGarbled();
        return;
    }
    table_.ApplyDueValues(character.end_us);
    std::vector<uint8_t> reply = engine_.Receive(character.byte);
    if (reply.empty()) return;
    // The acknowledgement still goes out at the old rate.
    std::vector<uint64_t> arrivals = line.SendToHost(this, reply, settings, character.end_us + reply_delay_us_);
    for (size_t i = 0; i < reply.size(); ++i) capture_.Add({false, reply[i], arrivals[i], false});
    TakeRateCode();
}

void VirtualDrive::TakeRateCode() {
    DriveParameter* command = table_.Find(kCommandParameter);
    const DriveParameter* code = table_.Find(kRateCodeParameter);
    if (command == nullptr || code == nullptr || command->value != kTakeRateCommand) return;
    command->value = 0;
    baud_ = code->value < kRateCodes.size() ? kRateCodes[code->value] : kRateCodes[0];
}

}  // namespace sim
