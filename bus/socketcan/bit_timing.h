// The bit rates behind the bus-timing words the adapter drivers pass to
// CAN_Init (BTR0 in the high byte, BTR1 in the low byte).
#pragma once

#include <cstdint>
#include <optional>

namespace socketcan {

// The bit rate of a timing word; none for a word the libraries do not know.
std::optional<uint32_t> BitRateOfTimingWord(uint16_t word);

}  // namespace socketcan
