#include "bus/socketcan/bit_timing.h"

namespace socketcan {

namespace {

struct TimingWord {
    uint16_t word;
    uint32_t bitRate;
};
// The words of the classic 16 MHz controller clock; a SocketCAN interface
// computes its own timing from the bit rate.
constexpr TimingWord kTimingWords[] = {
    {0x472F, 50000},
    {0x031C, 125000},
    {0x011C, 250000},
    {0x001C, 500000},
    {0x0014, 1000000},
};

}  // namespace

std::optional<uint32_t> BitRateOfTimingWord(uint16_t word) {
    for (const TimingWord& entry : kTimingWords)
        if (entry.word == word) return entry.bitRate;
    return std::nullopt;
}

}  // namespace socketcan
