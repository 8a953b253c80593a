// The tables that map a device's run mode to its setup page, per family and
// firmware line, and the Pesco hand-mode table.
#pragma once

#include <cstdint>

class GwCore;

inline constexpr int32_t kMarloSetupPages200[] = {0,  1,  1,  1, 1,  5,  6,  7,  8, 10, 11, 11, 6,
                                                  14, 15, 16, 9, 17, 18, 10, 11, 0, 0,  0,  0,  0};
inline constexpr int32_t kMarloSetupPages[] = {0,  1,  2,  2, 4,  5,  6,  7,  8,  10, 11, 11, 6,
                                               14, 15, 16, 9, 17, 18, 10, 11, 21, 22, 23, 0,  0};
inline constexpr int32_t kRuvexSetupPages420[] = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 3, 11, 11, 32, 31, 31, 30, 30};
inline constexpr int32_t kRuvexSetupPages[] = {0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 11, 11, 32, 31, 31, 30, 30};
inline constexpr int32_t kPescoSetupPages200[] = {0,  201, 202, 203, 204, 205, 0, 0,  0,  8,
                                                  15, 18,  8,   18,  3,   6,   8, 12, 15, 18};
inline constexpr int32_t kPescoSetupPages[] = {0,  1,  2,  3,  3,  3,  6,  6,  8,  8,  8,  8,
                                               12, 12, 18, 15, 15, 15, 18, 18, 18, 21, 22, 22};
inline constexpr int32_t kPescoHandModes[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0};

// The window's child "Setup", or null.
GwCore* FindSetupControl(GwCore* window);
