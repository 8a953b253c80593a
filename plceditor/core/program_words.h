// The code array as the device holds it: three 16-bit halfwords per record
// (bytes 0-1, 4-5, 6-7) packed into 32-bit words, its CRC-32 variant and the
// usage figures the editor shows after a translation.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "plceditor/core/code_record.h"

namespace plc {

// Fills `words` (one per word of memory) from the records: halfwords in turn,
// the first of two being the low half of a word; records at or beyond
// `capacity` give 0.
void PackProgramWords(std::span<const CodeRecord> code, int capacity, std::span<uint32_t> words);

// Stores the halfwords of `words` into bytes 0, 1 and 4-7 of the records in
// turn; halfwords of records at or beyond `capacity` are dropped.
void UnpackProgramWords(std::span<const uint32_t> words, int capacity, std::span<CodeRecord> code);

// The CRC-32 variant of the programme: the reflected table of polynomial
// 0xEDB88320, started at the first byte's value + 1, no final XOR. A result
// of 0, and an empty buffer, give kZeroCrc.
uint32_t programCrc32(const uint8_t* data, uint32_t length);
constexpr uint32_t kZeroCrc = 0xA0A0A0A0;

// used / capacity x 100; 0 when there is no capacity.
double UsagePercent(int used, int capacity);

// The checksum line of the editor: "0x%08X CRC - %.1lf%% (%ld/%ld)".
std::string ChecksumText(uint32_t crc, double percent, int used, int capacity);

}  // namespace plc
