// The device family of a drive, from the thousands digit of its type number.
#pragma once

#include <cstdint>

// Kind 1 is an unknown family; 0 means no device at all.
inline constexpr int kUnknownDeviceKind = 1;

// Thousands digit 0 -> 2, 1 -> 6, 2 -> 7, 3 -> 3, 4 -> 4, 5 -> 5, 9 -> 8,
// any other -> 1.
int DeviceKindFromTypeNumber(uint16_t typeNumber);
