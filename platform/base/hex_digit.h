// The value of one hexadecimal digit, for every parser of the program's side
// that reads hexadecimal text (telegrams, HEX files, programme files, ids).
#pragma once

namespace platform {

// 0..15 for '0'-'9', 'A'-'F' and 'a'-'f'; -1 for any other character.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// As HexDigitValue, but only upper-case letters count as digits: -1 for
// 'a'-'f', for formats that allow no other case.
constexpr int UpperHexDigitValue(char c) { return c >= 'a' && c <= 'f' ? -1 : HexDigitValue(c); }

}  // namespace platform
