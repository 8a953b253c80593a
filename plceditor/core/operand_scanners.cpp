// Number and name scanners of the line compilers.
#include "plceditor/core/operand_scanners.h"

#include <bit>
#include <limits>

#include "platform/base/format.h"
#include "plceditor/core/plc_language.h"

namespace plc {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsTextNameChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsDigit(c) || c == '_'; }

// Reads decimal digits into `value` in extended precision, which cannot
// overflow for any line length. False when there was no digit.
bool ScanDigits(SourceCursor& cursor, long double& value) {
    const std::size_t start = cursor.pos;
    while (IsDigit(cursor.Peek())) {
        value = value * 10 + (cursor.Peek() - '0');
        ++cursor.pos;
    }
    return cursor.pos != start;
}

// The caller's bounds, and the destination's own range so that a wide bound
// can never make the conversion overflow.
template <typename T>
bool InBounds(long double value, double lower, double upper) {
    return value >= lower && value <= upper && value >= static_cast<long double>(std::numeric_limits<T>::lowest()) &&
           value <= static_cast<long double>(std::numeric_limits<T>::max());
}

template <typename T>
bool ScanUnsigned(SourceCursor& cursor, T& dest, double lower, double upper) {
    long double value = 0;
    if (!ScanDigits(cursor, value)) return false;
    if (!InBounds<T>(value, lower, upper)) return false;
    dest = static_cast<T>(value);
    return true;
}

// Consumes a leading sign; true for a minus.
bool ScanSign(SourceCursor& cursor) {
    if (cursor.Peek() == '-') {
        ++cursor.pos;
        return true;
    }
    if (cursor.Peek() == '+') ++cursor.pos;
    return false;
}

}  // namespace

bool SourceCursor::Consume(std::string_view keyword) {
    if (!Rest().starts_with(keyword)) return false;
    pos += keyword.size();
    return true;
}

int ConsumeFirstOf(SourceCursor& cursor, std::span<const std::string_view> spellings) {
    for (std::size_t i = 0; i < spellings.size(); ++i) {
        if (cursor.Consume(spellings[i])) return static_cast<int>(i);
    }
    return -1;
}

bool scanUnsigned8(SourceCursor& cursor, uint8_t& dest, double lower, double upper) {
    return ScanUnsigned(cursor, dest, lower, upper);
}

bool scanUnsigned16(SourceCursor& cursor, uint16_t& dest, double lower, double upper) {
    return ScanUnsigned(cursor, dest, lower, upper);
}

bool scanUnsigned32(SourceCursor& cursor, uint32_t& dest, double lower, double upper) {
    return ScanUnsigned(cursor, dest, lower, upper);
}

bool scanSigned32(SourceCursor& cursor, int32_t& dest, double lower, double upper) {
    const bool negative = ScanSign(cursor);
    long double value = 0;
    if (!ScanDigits(cursor, value)) return false;
    if (negative) value = -value;
    if (!InBounds<int32_t>(value, lower, upper)) return false;
    dest = static_cast<int32_t>(value);
    return true;
}

bool scanFloatSwapped(SourceCursor& cursor, uint32_t& dest, double lower, double upper) {
    const bool negative = ScanSign(cursor);
    long double value = 0;
    long double fractionScale = 1;
    bool anyDigit = false;
    bool inFraction = false;
    for (;;) {
        const char c = cursor.Peek();
        if (IsDigit(c)) {
            if (inFraction) {
                fractionScale *= 0.1L;
                value += (c - '0') * fractionScale;
            } else {
                value = value * 10 + (c - '0');
            }
            anyDigit = true;
        } else if (c == '.') {
            if (inFraction) return false;
            inFraction = true;
        } else {
            break;
        }
        ++cursor.pos;
    }
    if (!anyDigit) return false;
    if (negative) value = -value;
    if (!InBounds<float>(value, lower, upper)) return false;
    const uint32_t bits = std::bit_cast<uint32_t>(static_cast<float>(value));
    dest = unswapFloatWords(bits);
    return true;
}

std::string FloatConstantText(uint32_t stored) {
    // Ten decimals are the text of old; constants below the tenth decimal,
    // and those that need more digits than ten decimals give, get more.
    constexpr int kUsualDecimals = 10;
    constexpr int kMostDecimals = 60;  // beyond the smallest single's digits
    const double value = static_cast<double>(StoredFloatValue(stored));
    auto withDecimals = [value](int decimals) {
        return platform::Format("%." + std::to_string(decimals) + "f", value);
    };
    for (int decimals = kUsualDecimals; decimals <= kMostDecimals; ++decimals) {
        const std::string candidate = withDecimals(decimals);
        SourceCursor cursor{candidate};
        uint32_t again = 0;
        if (scanFloatSwapped(cursor, again, -std::numeric_limits<double>::max(), std::numeric_limits<double>::max()) &&
            cursor.AtEnd() && again == stored) {
            return candidate;
        }
    }
    return withDecimals(kUsualDecimals);
}

bool ScanIoCode(SourceCursor& cursor, const IoGroup& group, uint8_t& code) {
    uint8_t number = 0;
    if (!scanUnsigned8(cursor, number, 0, group.count - 1)) return false;
    code = group.codes[number];
    return true;
}

bool scanDefName(std::string& dest, SourceCursor& cursor) {
    dest.clear();
    while (dest.size() < kMaxNameChars && cursor.Peek() != '\0') {
        const auto code = static_cast<unsigned char>(cursor.Peek());
        if (code <= ' ') return false;
        dest.push_back(cursor.Peek());
        ++cursor.pos;
    }
    return !dest.empty();
}

bool scanTextName(std::string& dest, SourceCursor& cursor) {
    dest.clear();
    while (dest.size() < kMaxNameChars) {
        const char c = cursor.Peek();
        if (c == '\0' || c == ')') break;
        if (!IsTextNameChar(c)) return false;
        dest.push_back(c);
        ++cursor.pos;
    }
    return !dest.empty();
}

}  // namespace plc
