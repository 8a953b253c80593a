// Numbers in the hexadecimal text that drives send and expect.
#pragma once

#include <cstdint>
#include <string_view>

// The value of `digits` read as "0X" followed by the digits: hexadecimal
// digits up to the first other character, 0 when there are none, and
// 0xFFFFFFFF for a value beyond 32 bits.
uint32_t HexFieldValue(std::string_view digits);

// Copies `text` into `destination` of `size` bytes (terminator included),
// cut to fit.
void CopyCut(char* destination, int size, std::string_view text);
