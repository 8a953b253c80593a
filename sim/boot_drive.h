// A virtual drive for firmware downloads: in its chip's bootstrap mode (cold
// start) or running its firmware as a virtual drive on the telegram protocol
// until told to start its loader (warm start); then the boot loader with its
// rate changes and its flash. The boot side speaks 8N1. Joins the in-memory
// serial line (virtual clock) or is fed byte by byte (pseudo-terminal link).
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/testing/memory_serial_line.h"
#include "sim/boot_faults.h"
#include "sim/boot_loader.h"
#include "sim/boot_rom.h"
#include "sim/drive_capture.h"
#include "sim/virtual_drive.h"

namespace sim {

// Time from a received byte to the answer.
inline constexpr uint64_t kBootAnswerDelayUs = 200;
// Time from the start of the loader to its announcing ACK.
inline constexpr uint64_t kLoaderAnnounceDelayUs = 100000;
// The rate the loader starts at after a warm start.
inline constexpr int32_t kWarmLoaderBaud = 19200;
// Writing this value to this parameter makes the running drive start its loader.
inline constexpr int kLoaderStartParameter = 4;
inline constexpr uint32_t kLoaderStartValue = 0x14D;
// The firmware version a drive reports.
inline constexpr int kFirmwareVersionParameter = 92;

struct BootDriveSetup {
    uint8_t chip_identification = 0xC5;
    size_t loader_image_size = 0x400;
    int32_t bootstrap_baud = 19200;
    int wake_up = 0;             // 1: the loader waits for an ACK before its own
    bool second_loader = false;  // a cold start brings a second loader first
    uint64_t answer_delay_us = kBootAnswerDelayUs;
    uint64_t announce_delay_us = kLoaderAnnounceDelayUs;
};

class BootDrive : public platform::LineDevice {
public:
    enum class Mode { kFirmware, kBootstrap, kLoader };

    // In bootstrap mode.
    explicit BootDrive(const BootDriveSetup& setup);
    // Running `firmware` (which must outlive this drive and stay off the line).
    BootDrive(const BootDriveSetup& setup, VirtualDrive& firmware);
    BootDrive(const BootDrive&) = delete;
    BootDrive& operator=(const BootDrive&) = delete;

    void AttachTo(platform::MemorySerialLine& line) { attachment_ = line.Attach(this); }
    void Detach() { attachment_.Detach(); }

    void AddFault(BootFault fault);
    // Starts the loader now, at the bootstrap rate, as if the booter and the
    // loader image had come (tests of the line transfer alone).
    void RunLoader(platform::MemorySerialLine& line);
    // Once its loader has taken the firmware's end record, the drive runs
    // `firmware` (which must outlive this drive and stay off the line)
    // `delay_us` later, with `version` as its firmware version (parameter 92
    // and the version register); without this it stays in its loader.
    void RunFirmwareAfterDownload(VirtualDrive& firmware, uint64_t delay_us, float version);

    // Read these while no pseudo-terminal link runs.
    Mode CurrentMode() const { return mode_; }
    int32_t Baud() const { return baud_; }
    const BootRom& Rom() const { return rom_; }
    const BootLoader& Loader() const { return loader_; }
    const BootFaults& Faults() const { return faults_; }
    // The boot side's traffic (the firmware's telegrams are in its own capture).
    const DriveCapture& Capture() const { return capture_; }
    platform::SerialSettings LineSettings() const;

    // What the drive sends, from when.
    struct Output {
        uint64_t at_us = 0;
        std::vector<uint8_t> bytes;
        platform::SerialSettings settings;
    };
    // One character heard at `time_us` (`garbled`: not decodable at the
    // drive's settings); returns what the drive sends in answer.
    std::vector<Output> Receive(uint8_t byte, bool garbled, uint64_t time_us);

    void OnCharacter(platform::MemorySerialLine& line, const platform::LineCharacter& character) override;

private:
    std::vector<Output> BootReceive(uint8_t byte, bool garbled, uint64_t time_us);
    void StartLoader(uint64_t time_us, std::vector<Output>& out);
    // Queues bytes to send (and captures them).
    void Send(uint64_t at_us, const std::vector<uint8_t>& bytes, std::vector<Output>& out);
    bool FirmwareAskedForLoader() const;
    // Goes back to the firmware when its time after the download has come.
    void RestartIfDue(uint64_t time_us);

    mutable std::mutex mutex_;
    BootDriveSetup setup_;
    VirtualDrive* firmware_ = nullptr;
    Mode mode_;
    int32_t baud_;
    BootFaults faults_;
    BootRom rom_;
    BootLoader loader_;
    DriveCapture capture_;
    platform::LineAttachment attachment_;
    VirtualDrive* restart_firmware_ = nullptr;
    uint64_t restart_delay_us_ = 0;
    float restart_version_ = 0.0f;
    bool download_ended_ = false;
    uint64_t download_end_us_ = 0;
};

}  // namespace sim
