// The program's current user level (1 lowest .. 6), which gates parameter
// writes, menu entries and tools.
#pragma once

#include <cstdint>

// The level from program start until a device or a file sets it.
inline constexpr uint16_t kStartUserLevel = 4;

uint16_t GetUserLevel();
void SetUserLevel(uint16_t level);
