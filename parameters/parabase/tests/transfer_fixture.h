// Set-up of the transfer tests: a virtual drive with a small table of every
// kind of parameter on the in-memory serial line, the serial bus, a base on
// it, and the telegrams the drive heard.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bus/serial/tarn_bus.h"
#include "parameters/parabase/tests/file_set_fixture.h"
#include "platform/testing/memory_serial_line.h"
#include "sim/virtual_drive.h"

namespace parabasetest {

inline constexpr int kDriveAddress = 5;

class TransferTest : public FileSetTest {
protected:
    void SetUp() override;
    void TearDown() override;

    struct Telegram {
        std::string text;  // "R 20080" (read) or "W 20080=FFFFFFFE" (write)
        uint64_t time_us;  // when its first character arrived
    };
    // What the drive heard since the capture was cleared, telegram by
    // telegram.
    std::vector<Telegram> Telegrams() const;
    std::vector<std::string> TelegramTexts() const;

    sim::DriveParameter& OnDrive(int number);
    // Builds base_'s table from the drive (asserting success) and clears the
    // capture.
    void ReadDevice();

    platform::MemorySerialLine line_;
    std::unique_ptr<sim::VirtualDrive> drive_;
    std::unique_ptr<TarnBus> bus_;
    std::unique_ptr<ParaBase> base_;
};

}  // namespace parabasetest
