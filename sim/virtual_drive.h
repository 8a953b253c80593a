// A virtual drive: a parameter table answering the serial telegram protocol
// at a bus address and a line rate, over the in-memory serial line (on the
// virtual clock) or fed byte by byte (the pseudo-terminal link), with a
// capture of all its traffic.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/testing/memory_serial_line.h"
#include "sim/drive_capture.h"
#include "sim/drive_faults.h"
#include "sim/drive_recorder.h"
#include "sim/drive_table.h"
#include "sim/telegram_engine.h"

namespace sim {

// The rate change of a drive: the code parameter, the command parameter and
// the command that takes the code, and the rates of the codes.
inline constexpr int kRateCodeParameter = 81;
inline constexpr int kCommandParameter = 4;
inline constexpr uint32_t kTakeRateCommand = 111;
inline constexpr std::array<int32_t, 8> kRateCodes = {9600, 4800, 2400, 1200, 19200, 28800, 57600, 115200};

// Time from the last character of a request to the first of the answer.
inline constexpr uint64_t kDefaultReplyDelayUs = 1000;

class VirtualDrive : public platform::LineDevice {
public:
    VirtualDrive(DriveTable table, int address, int32_t baud = 9600);
    VirtualDrive(const VirtualDrive&) = delete;
    VirtualDrive& operator=(const VirtualDrive&) = delete;

    int Address() const;
    void SetAddress(int address);
    // The drive always speaks 7E1; only its rate changes.
    int32_t Baud() const;
    void SetBaud(int32_t baud);
    platform::SerialSettings LineSettings() const;
    void SetReplyDelayUs(uint64_t us);

    // The table itself; change it only while no pseudo-terminal link runs.
    DriveTable& Table() { return table_; }
    void SetSamples(std::vector<uint8_t> samples);
    void SetBlockLimit(int elements);
    // Gives the drive its recorder (once; later calls return the same one).
    DriveRecorder& AddRecorder();

    void AddFault(DriveFault fault);
    size_t FaultsLeft() const;
    // Drops the faults still to come (a test's next case starts clean).
    void ClearFaults();
    uint16_t WriteError() const;

    DriveCapture Capture() const;
    void ClearCapture();

    // Joins the in-memory line (leaving the one it was on).
    void AttachTo(platform::MemorySerialLine& line);
    void Detach();

    // One character heard at `time_us`; returns the answer, which the caller
    // sends at once (captured as sent at `time_us`).
    std::vector<uint8_t> Receive(uint8_t byte, uint64_t time_us);

    void OnCharacter(platform::MemorySerialLine& line, const platform::LineCharacter& character) override;

private:
    platform::SerialSettings SettingsAtRate() const;
    // After 111 was written to parameter 4, a drive with parameter 81 talks
    // at the rate of the code in 81 (the acknowledgement of the write still
    // at the old one).
    void TakeRateCode();

    mutable std::mutex mutex_;
    DriveTable table_;
    TelegramEngine engine_;
    std::unique_ptr<DriveRecorder> recorder_;
    int32_t baud_;
    uint64_t reply_delay_us_ = kDefaultReplyDelayUs;
    DriveCapture capture_;
    platform::LineAttachment attachment_;
};

}  // namespace sim
