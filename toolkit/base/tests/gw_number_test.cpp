#include "toolkit/base/gw_number.h"

#include <gtest/gtest.h>

namespace {

TEST(GwAtol, ParsesLikeAtolInThirtyTwoBitsWithSaturation) {
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"123", 123},
        {"  \t\n-42", -42},
        {"+7", 7},
        {"12abc", 12},
        {"1 2", 1},
        {"0x10", 0},
        {"abc", 0},
        {"-", 0},
        {"+-1", 0},
        {"- 1", 0},
        {"", 0},
        {nullptr, 0},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-2147483649", -2147483647 - 1},
        {"4294967295", 2147483647},  // not wrapped to -1
        {"99999999999999999999999999999", 2147483647},
        {"-99999999999999999999999999999", -2147483647 - 1},
        {"000000000000000000000000000012", 12},
    };
    for (const Case& c : cases) {
        const char* label = c.text != nullptr ? c.text : "(null)";
        EXPECT_EQ(GwAtol(c.text), c.value) << label;
        EXPECT_EQ(GwAtoi(c.text), c.value) << label;
    }
}

}  // namespace
