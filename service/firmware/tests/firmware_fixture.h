// What the firmware download tests share: a working directory of their own
// with a message file that gives the loader messages with arguments a
// recognisable text (the others read as their keys), an in-memory serial
// line opened as "COM2", and helpers for Intel-HEX texts and the logs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/testing/memory_serial_line.h"

namespace fwtest {

inline constexpr unsigned kPort = 2;

// One Intel-HEX record line (without line end) with its checksum.
std::string Record(uint8_t type, uint16_t address, const std::vector<uint8_t>& data);
std::string DataRecord(uint16_t address, const std::vector<uint8_t>& data);
std::string SegmentBase(uint16_t base);
std::string LinearBase(uint16_t base);
inline constexpr char kEndRecord[] = ":00000001FF";
// Lines joined, each followed by "\n".
std::string Lines(const std::vector<std::string>& lines);
// `count` bytes counting up from `first`.
std::vector<uint8_t> Counting(size_t count, uint8_t first);
// A booter file as they are written: hexadecimal pairs in lines of 16
// bytes, with blanks and tabs between them and CR LF line ends.
std::string BooterText(const std::vector<uint8_t>& bytes);

class FirmwareTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a file in the working directory.
    static void WriteFile(const std::string& name, const std::string& bytes);
    static std::string ReadFile(const std::string& name);
    // The program log written since the test began.
    static std::string ProgramLog();

    platform::MemorySerialLine line_;
};

}  // namespace fwtest
