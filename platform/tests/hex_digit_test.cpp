#include "platform/base/hex_digit.h"

#include <gtest/gtest.h>

namespace {

struct DigitCase {
    char c;
    int value;
    int upperValue;
};

// The edges of each digit range and the characters beside them.
constexpr DigitCase kDigits[] = {
    {'0', 0, 0},
    {'9', 9, 9},
    {'A', 10, 10},
    {'F', 15, 15},
    {'a', 10, -1},
    {'f', 15, -1},
    {'/', -1, -1},
    {':', -1, -1},
    {'@', -1, -1},
    {'G', -1, -1},
    {'`', -1, -1},
    {'g', -1, -1},
    {'x', -1, -1},
    {' ', -1, -1},
    {'\0', -1, -1},
    {'\xC4', -1, -1},
};

TEST(HexDigit, ValuesOfDigitsInEitherCaseAndOfUpperCaseOnly) {
    for (const DigitCase& d : kDigits) {
        EXPECT_EQ(platform::HexDigitValue(d.c), d.value) << "character " << static_cast<int>(d.c);
        EXPECT_EQ(platform::UpperHexDigitValue(d.c), d.upperValue) << "character " << static_cast<int>(d.c);
    }
}

}  // namespace
