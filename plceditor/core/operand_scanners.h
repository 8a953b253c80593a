// Scanners that read numbers and names out of a normalised source line for
// the line compilers of all three code generators. Each one starts at a
// cursor, moves it past what it reads and checks the value against the
// caller's bounds; the caller turns a false result into the message of the
// operand's kind.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace plc {

struct IoGroup;

// A read position in a line. Reading past the end gives '\0'.
struct SourceCursor {
    std::string_view text;
    std::size_t pos = 0;

    char Peek() const { return pos < text.size() ? text[pos] : '\0'; }
    bool AtEnd() const { return pos >= text.size(); }
    std::string_view Rest() const { return pos < text.size() ? text.substr(pos) : std::string_view(); }
    // Moves past `keyword` when the rest starts with it.
    bool Consume(std::string_view keyword);
};

// The first of `spellings` that starts the rest, tried in list order (a list
// puts the longer spelling first where one starts another: ">=" before ">"),
// with the cursor moved past it; its index, or -1 with the cursor unchanged.
int ConsumeFirstOf(SourceCursor& cursor, std::span<const std::string_view> spellings);

// Unsigned decimal digits into the given width. No digit: false with the
// cursor unchanged. A value outside lower..upper (or outside the width): false
// with the cursor behind the digits.
bool scanUnsigned8(SourceCursor& cursor, uint8_t& dest, double lower, double upper);
bool scanUnsigned16(SourceCursor& cursor, uint16_t& dest, double lower, double upper);
bool scanUnsigned32(SourceCursor& cursor, uint32_t& dest, double lower, double upper);

// An optional sign, then digits. A sign without digits: false with the cursor
// behind the sign. The sign applies before the range test ("-0" is 0).
bool scanSigned32(SourceCursor& cursor, int32_t& dest, double lower, double upper);

// An optional sign and decimal digits with at most one point (".5" and "5."
// are numbers). The value, rounded to an IEEE single, is stored with its two
// 16-bit halves exchanged: 1.0 (0x3F800000) is stored as 0x00003F80.
bool scanFloatSwapped(SourceCursor& cursor, uint32_t& dest, double lower, double upper);

// Bounds of the constants a source line may write.
constexpr double kMaxFloatConstant = 3.37e38;
constexpr double kMaxIntegerConstant = 2147483647.0;

// Undoes the exchange of scanFloatSwapped: the IEEE single bits of a stored
// float constant.
constexpr uint32_t unswapFloatWords(uint32_t stored) { return (stored << 16) | (stored >> 16); }

// The value of a float constant as scanFloatSwapped stored it.
constexpr float StoredFloatValue(uint32_t stored) { return std::bit_cast<float>(unswapFloatWords(stored)); }

// The source text of a stored float constant: "%.10f" when scanFloatSwapped
// reads that back to the same word, else as many decimals as it needs to.
std::string FloatConstantText(uint32_t stored);

// The number behind an input or output family's letters ("IS" 02), as the
// family's I/O code. False for a missing number or one outside 0..count-1.
bool ScanIoCode(SourceCursor& cursor, const IoGroup& group, uint8_t& code);

// A DEF name: characters above blank, up to the end of the line or 32
// characters. False when nothing was copied or a control character or blank
// is met first.
bool scanDefName(std::string& dest, SourceCursor& cursor);

// A %TEXT name: ASCII letters, digits and '_', up to ')', the end of the line
// or 32 characters. False when nothing was copied or another character is met
// first; the cursor then stands on it.
bool scanTextName(std::string& dest, SourceCursor& cursor);

}  // namespace plc
