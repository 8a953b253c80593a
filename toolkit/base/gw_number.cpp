// Saturating 32-bit decimal parsing.
#include "toolkit/base/gw_number.h"

#include <limits>

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

int32_t GwAtol(const char* text) {
    if (text == nullptr) return 0;
    while (IsBlank(*text)) ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    // Accumulate beyond 32 bits and stop growing once past the limit, so any
    // number of digits is safe.
    constexpr int64_t kBeyondLimit = int64_t{std::numeric_limits<int32_t>::max()} + 2;
    int64_t magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > kBeyondLimit) magnitude = kBeyondLimit;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t GwAtoi(const char* text) { return GwAtol(text); }
