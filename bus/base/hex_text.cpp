#include "bus/base/hex_text.h"

#include <algorithm>
#include <cstring>

#include "platform/base/hex_digit.h"

uint32_t HexFieldValue(std::string_view digits) {
    uint64_t value = 0;
    for (char c : digits) {
        const int digit = platform::HexDigitValue(c);
        if (digit < 0) break;
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > UINT32_MAX) return UINT32_MAX;
    }
    return static_cast<uint32_t>(value);
}

uint32_t HexFieldValue(std::string_view record, TextField field) {
    if (field.pos >= record.size()) return 0;
    return HexFieldValue(record.substr(field.pos, field.length));
}

void CopyCut(char* destination, int size, std::string_view text) {
    if (destination == nullptr || size < 1) return;
    const size_t length = std::min(text.size(), static_cast<size_t>(size - 1));
    if (length > 0) std::memcpy(destination, text.data(), length);
    destination[length] = '\0';
}
