// The maximum-rate test of both monitors: reads one parameter of a device as
// fast as its bus carries the requests, for four seconds.
#pragma once

#include <cstdint>

class ParaBase;

inline constexpr uint32_t kMaxRateTestMs = 4000;
// The parameter read: the device's type number, present in every device.
inline constexpr int kMaxRateTestParameter = 91;

// Requests per second that reached the device through `base` (null: none,
// 0). A read counts only when its bus carried it successfully, so while the
// devices are uncoupled (reads succeed at once without traffic) the result
// is 0 and nothing is sent; a read that never reaches the bus ends the test.
// ModalFlag is clear while the test runs and restored afterwards.
double MeasureMaximumRate(ParaBase* base);
