// One parameter's description and value as the parameter database keeps it
// in memory; a bus fills the description part from the device.
#pragma once

#include <cstdint>

// Sizes of the entry's text fields, terminator included.
inline constexpr int kEntryNameSize = 6;
inline constexpr int kEntryUnitSize = 16;

struct ParameterEntry {
    int16_t number = 0;  // 0 = no parameter in this slot
    char name[kEntryNameSize] = {};
    char unit[kEntryUnitSize] = {};
    char kind = 0;  // '1': a value read from the device is stored without range check
    char type = 0;  // type code '0' .. '>'
    uint8_t spare26[2] = {};
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t defaultValue = 0;
    int32_t value = 0;
    uint8_t access = 0;  // low nibble read level, high nibble write level
    uint8_t spare45 = 0;
    uint16_t flags = 0;
    uint16_t extraWords[2] = {};  // the two 16-bit words the device sends after the flags
    uint8_t KPGroup = 0;
    uint8_t SCGroup = 0;
    uint8_t valid = 0;
    uint8_t markA = 0;
    uint8_t transfer = 0;
    uint8_t markB = 0;
    uint8_t spare62[2] = {};
};
