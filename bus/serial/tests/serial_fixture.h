// What the serial bus tests share: an in-memory line opened as "COM1" on the
// virtual clock, virtual drives with a small parameter table, a device that
// sends bytes exactly when a test says, and the program log.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/testing/memory_serial_line.h"
#include "sim/virtual_drive.h"

namespace bustest {

// Parameters of the standard table.
inline constexpr int kValueParameter = 91;  // 5000
inline constexpr int kWritableParameter = 123;
inline constexpr int kStateParameter = 403;
inline constexpr int kTextParameter = 300;   // STRING "Motor A"
inline constexpr int kArrayParameter = 200;  // 40 USIGN16 elements: 3 * index
inline constexpr int kEnumParameter = 17;    // value texts 0 "AUS", 1 "EIN"
inline constexpr int kUnitParameter = 107;   // value texts 3 "rpm", 4 "-"
inline constexpr uint16_t kTypeNumber = 4120;
inline constexpr uint32_t kVersionSteps = 100;  // 5.0

sim::DriveTable StandardTable();

// Sends bytes to the host only when told to.
class ByteSource : public platform::LineDevice {
public:
    void OnCharacter(platform::MemorySerialLine&, const platform::LineCharacter& c) override {
        heard.push_back(static_cast<char>(c.byte));
    }
    std::string heard;
};

class SerialLineTest : public ::testing::Test {
protected:
    SerialLineTest();
    ~SerialLineTest() override;

    // A drive with the standard table on the line.
    sim::VirtualDrive& AddDrive(int address, int32_t baud = 9600);
    // Bytes that start arriving `delayUs` from now at `baud`, 7E1.
    void SendFromSource(const std::string& bytes, uint64_t delayUs = 0, int32_t baud = 9600);

    static std::string Log();
    // How often `text` occurs in the program log.
    static int LogCount(const std::string& text);

    platform::MemorySerialLine line_;
    ByteSource source_;
    platform::LineAttachment sourceAttachment_;
    std::vector<std::unique_ptr<sim::VirtualDrive>> drives_;
};

// A frame as drives send it: address character, STX, body, ETX, check.
std::string Frame(char addressChar, const std::string& body);
// Bytes as "04 45 02 ..." for readable comparisons.
std::string Hex(const std::string& bytes);

}  // namespace bustest
