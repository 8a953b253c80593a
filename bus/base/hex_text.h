// Numbers in the hexadecimal text that drives send and expect.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The value of `digits` read as "0X" followed by the digits: hexadecimal
// digits up to the first other character, 0 when there are none, and
// 0xFFFFFFFF for a value beyond 32 bits.
uint32_t HexFieldValue(std::string_view digits);

// A field of a record that drives send, by character position.
struct TextField {
    size_t pos;
    size_t length;
};
// The field read as HexFieldValue; the part beyond the record's end is empty.
uint32_t HexFieldValue(std::string_view record, TextField field);

// Copies `text` into `destination` of `size` bytes (terminator included),
// cut to fit.
void CopyCut(char* destination, int size, std::string_view text);
