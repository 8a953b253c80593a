// Halfword packing, programme CRC and usage figures.
#include "plceditor/core/program_words.h"

#include <array>

#include "platform/base/format.h"

namespace plc {

namespace {

constexpr int kHalfwordsPerRecord = 3;
constexpr uint32_t kCrcPolynomial = 0xEDB88320;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (kCrcPolynomial ^ (c >> 1)) : (c >> 1);
        table[n] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

// Record and halfword index of halfword `stream` of the packed image.
struct HalfwordPlace {
    std::size_t record;
    int halfword;
};

HalfwordPlace PlaceOf(std::size_t stream) {
    return {stream / kHalfwordsPerRecord, CodeRecord::kDeviceHalfwords[stream % kHalfwordsPerRecord]};
}

bool Holds(std::span<const CodeRecord> code, int capacity, std::size_t record) {
    return capacity > 0 && record < static_cast<std::size_t>(capacity) && record < code.size();
}

}  // namespace

void PackProgramWords(std::span<const CodeRecord> code, int capacity, std::span<uint32_t> words) {
    for (std::size_t k = 0; k < words.size(); ++k) {
        uint32_t word = 0;
        for (int half = 0; half < 2; ++half) {
            const HalfwordPlace place = PlaceOf(2 * k + half);
            if (Holds(code, capacity, place.record)) {
                word |= static_cast<uint32_t>(code[place.record].Halfword(place.halfword)) << (16 * half);
            }
        }
        words[k] = word;
    }
}

void UnpackProgramWords(std::span<const uint32_t> words, int capacity, std::span<CodeRecord> code) {
    for (std::size_t k = 0; k < words.size(); ++k) {
        for (int half = 0; half < 2; ++half) {
            const HalfwordPlace place = PlaceOf(2 * k + half);
            if (!Holds(code, capacity, place.record)) return;
            code[place.record].SetHalfword(place.halfword, static_cast<uint16_t>(words[k] >> (16 * half)));
        }
    }
}

uint32_t programCrc32(const uint8_t* data, uint32_t length) {
    if (data == nullptr || length == 0) return kZeroCrc;
    uint32_t crc = static_cast<uint32_t>(data[0]) + 1;
    for (uint32_t i = 0; i < length; ++i) crc = (crc >> 8) ^ kCrcTable[(crc ^ data[i]) & 0xFF];
    return crc == 0 ? kZeroCrc : crc;
}

double UsagePercent(int used, int capacity) {
    if (capacity <= 0) return 0.0;
    return static_cast<double>(used) / capacity * 100.0;
}

std::string ChecksumText(uint32_t crc, double percent, int used, int capacity) {
    return platform::Format(
        "0x%08X CRC - %.1lf%% (%ld/%ld)", crc, percent, static_cast<int32_t>(used), static_cast<int32_t>(capacity));
}

}  // namespace plc
