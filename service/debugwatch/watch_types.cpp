#include "service/debugwatch/watch_types.h"

#include <algorithm>
#include <cstring>

#include "platform/base/format.h"

namespace {

constexpr double kQ16Scale = 65536.0;
constexpr double kFixpointStep = 0.05;

uint8_t SelectedByte(uint32_t address, uint16_t w0) {
    return static_cast<uint8_t>((address & 1u) != 0 ? w0 >> 8 : w0 & 0xFF);
}

uint32_t DoubleWord(uint16_t w0, uint16_t w1) { return (static_cast<uint32_t>(w1) << 16) | w0; }

float FloatOf(uint16_t high, uint16_t low) {
    const uint32_t bits = (static_cast<uint32_t>(high) << 16) | low;
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

bool IsWatchType(std::string_view type) {
    return std::any_of(
        kWatchTypeNames.begin(), kWatchTypeNames.end(), [type](const char* name) { return type == name; });
}

bool IsDoubleWordType(std::string_view type) {
    return type == "dword" || type == "usign32" || type == "int32" || type == "int32Q16" || type == "float32";
}

std::optional<std::string> FormatWatchValue(std::string_view type, uint32_t address, uint16_t w0, uint16_t w1) {
    const uint8_t byte = SelectedByte(address, w0);
    const uint32_t dword = DoubleWord(w0, w1);
    const auto signedDword = static_cast<int32_t>(dword);
    if (type == "byte") return platform::Format("%02X", byte);
    if (type == "word") return platform::Format("%04X", w0);
    if (type == "dword") return platform::Format("%08lX", dword);
    if (type == "usign8") return platform::Format("%u", byte);
    if (type == "usign16") return platform::Format("%u", w0);
    if (type == "usign32") return platform::Format("%lu", dword);
    if (type == "int8") {
        // Only the low byte is taken as signed; the high byte stays unsigned.
        const int value = (address & 1u) != 0 ? byte : static_cast<int8_t>(byte);
        return platform::Format("%d", value);
    }
    if (type == "int16") return platform::Format("%d", static_cast<int16_t>(w0));
    if (type == "int32") return platform::Format("%ld", signedDword);
    if (type == "int32Q16") return platform::Format("%lf", signedDword / kQ16Scale);
    if (type == "float32") return platform::Format("%f", static_cast<double>(FloatOf(w0, w1)));
    if (type == "fixpoint16") return platform::Format("%0.2f", w0 * kFixpointStep);
    return std::nullopt;
}
