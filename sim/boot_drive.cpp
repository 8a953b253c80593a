// The virtual drive's boot side on a line.
#include "sim/boot_drive.h"

#include <cmath>
#include <cstring>

#include "platform/system/clock.h"

namespace sim {

namespace {

// The boot ROM and the loader speak 8N1.
constexpr int kBootDataBits = 8;
constexpr char kBootParity = 'N';
constexpr int kBootStopBits = 1;

}  // namespace

BootDrive::BootDrive(const BootDriveSetup& setup)
    : setup_(setup),
      mode_(Mode::kBootstrap),
      baud_(setup.bootstrap_baud),
      rom_(setup.chip_identification, setup.loader_image_size, faults_),
      loader_(setup.wake_up, setup.second_loader, faults_) {}

BootDrive::BootDrive(const BootDriveSetup& setup, VirtualDrive& firmware)
    : setup_(setup),
      firmware_(&firmware),
      mode_(Mode::kFirmware),
      baud_(kWarmLoaderBaud),
      rom_(setup.chip_identification, setup.loader_image_size, faults_),
      // A running drive starts its loader for the firmware alone.
      loader_(setup.wake_up, false, faults_) {}

void BootDrive::AddFault(BootFault fault) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.Add(fault);
}

void BootDrive::RunLoader(platform::MemorySerialLine& line) {
    std::vector<Output> out;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        StartLoader(platform::TheClock().NowUs(), out);
    }
    for (const Output& o : out) line.SendToHost(this, o.bytes, o.settings, o.at_us);
}

void BootDrive::RunFirmwareAfterDownload(VirtualDrive& firmware, uint64_t delay_us, float version) {
    std::lock_guard<std::mutex> lock(mutex_);
    restart_firmware_ = &firmware;
    restart_delay_us_ = delay_us;
    restart_version_ = version;
}

void BootDrive::RestartIfDue(uint64_t time_us) {
    if (mode_ != Mode::kLoader || !download_ended_ || restart_firmware_ == nullptr) return;
    if (time_us < download_end_us_ + restart_delay_us_) return;
    DriveTable& table = restart_firmware_->Table();
    table.version = static_cast<uint32_t>(std::lround(restart_version_ * 20.0f));
    if (DriveParameter* version = table.Find(kFirmwareVersionParameter)) {
        if (version->type != nullptr && version->type->is_float) {
            std::memcpy(&version->value, &restart_version_, sizeof version->value);
        } else {
            version->value = static_cast<uint32_t>(std::lround(restart_version_ * 100.0f));
        }
    }
    // The new firmware starts without the command that started the loader.
    if (DriveParameter* command = table.Find(kLoaderStartParameter)) command->value = 0;
    firmware_ = restart_firmware_;
    mode_ = Mode::kFirmware;
    download_ended_ = false;
}

platform::SerialSettings BootDrive::LineSettings() const {
    return platform::SerialSettings{baud_, kBootDataBits, kBootParity, kBootStopBits};
}

bool BootDrive::FirmwareAskedForLoader() const {
    const DriveParameter* command = firmware_->Table().Find(kLoaderStartParameter);
    return command != nullptr && command->value == kLoaderStartValue;
}

void BootDrive::Send(uint64_t at_us, const std::vector<uint8_t>& bytes, std::vector<Output>& out) {
    if (bytes.empty()) return;
    out.push_back({at_us, bytes, LineSettings()});
    for (uint8_t b : bytes) capture_.Add({false, b, at_us, false});
}

void BootDrive::StartLoader(uint64_t time_us, std::vector<Output>& out) {
    mode_ = Mode::kLoader;
    Send(time_us + setup_.announce_delay_us, loader_.Start(), out);
}

std::vector<BootDrive::Output> BootDrive::BootReceive(uint8_t byte, bool garbled, uint64_t time_us) {
    capture_.Add({true, byte, time_us, garbled});
    std::vector<Output> out;
    std::vector<uint8_t> answer;
    if (mode_ == Mode::kBootstrap) {
        if (garbled) {
            rom_.ReceiveGarbled();
        } else {
            answer = rom_.Receive(byte);
        }
        Send(time_us + setup_.answer_delay_us, answer, out);
        if (rom_.CurrentPhase() == BootRom::Phase::kDone) StartLoader(time_us, out);
    } else {
        if (garbled) {
            loader_.ReceiveGarbled();
        } else {
            answer = loader_.Receive(byte);
        }
        // A baud code moves the loader to its rate at once.
        if (loader_.RequestedBaud() != 0) baud_ = loader_.RequestedBaud();
        Send(time_us + setup_.answer_delay_us, answer, out);
        if (loader_.CurrentState() == BootLoader::State::kDone && !download_ended_) {
            download_ended_ = true;
            download_end_us_ = time_us;
        }
        if (loader_.StartPending()) StartLoader(time_us, out);
    }
    return out;
}

std::vector<BootDrive::Output> BootDrive::Receive(uint8_t byte, bool garbled, uint64_t time_us) {
    std::lock_guard<std::mutex> lock(mutex_);
    RestartIfDue(time_us);
    if (mode_ != Mode::kFirmware) return BootReceive(byte, garbled, time_us);
    std::vector<Output> out;
    std::vector<uint8_t> reply = firmware_->Receive(byte, time_us);
    if (!reply.empty()) out.push_back({time_us, reply, firmware_->LineSettings()});
    if (FirmwareAskedForLoader()) StartLoader(time_us, out);
    return out;
}

void BootDrive::OnCharacter(platform::MemorySerialLine& line, const platform::LineCharacter& character) {
    std::vector<Output> out;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        RestartIfDue(character.end_us);
        if (mode_ == Mode::kFirmware) {
            firmware_->OnCharacter(line, character);
            if (FirmwareAskedForLoader()) StartLoader(character.end_us, out);
        } else {
            const bool garbled =
                character.faults != 0 || !platform::SameLineFraming(character.sent_with, LineSettings());
            out = BootReceive(character.byte, garbled, character.end_us);
        }
    }
    for (const Output& o : out) line.SendToHost(this, o.bytes, o.settings, o.at_us);
}

}  // namespace sim
