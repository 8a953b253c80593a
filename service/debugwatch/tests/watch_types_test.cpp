#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "service/debugwatch/watch_types.h"

namespace {

constexpr uint32_t kEven = 0x00F01234;
constexpr uint32_t kOdd = 0x00F01235;

TEST(WatchTypes, FormatsEachTypeFromTheWordsAtTheAddress) {
    struct Case {
        const char* type;
        uint32_t address;
        uint16_t w0;
        uint16_t w1;
        std::optional<std::string> text;
    };
    // clang-format off
    const Case cases[] = {
        {"byte", kOdd, 0x80FF, 0x1234, "80"},
        {"usign8", kOdd, 0x80FF, 0x1234, "128"},
        {"int8", kOdd, 0x80FF, 0x1234, "128"},
        {"byte", kEven, 0x80FF, 0x1234, "FF"},
        {"usign8", kEven, 0x80FF, 0x1234, "255"},
        {"int8", kEven, 0x80FF, 0x1234, "-1"},
        {"word", kEven, 0x80FF, 0x1234, "80FF"},
        {"usign16", kEven, 0x80FF, 0x1234, "33023"},
        {"int16", kEven, 0x80FF, 0x1234, "-32513"},
        {"dword", kEven, 0x80FF, 0x1234, "123480FF"},
        {"usign32", kEven, 0x80FF, 0x1234, "305430783"},
        {"int32", kEven, 0x80FF, 0x1234, "305430783"},
        {"int32Q16", kEven, 0x80FF, 0x1234, "4660.503891"},
        {"int32", kEven, 0xFFFF, 0xFFFF, "-1"},
        {"usign32", kEven, 0xFFFF, 0xFFFF, "4294967295"},
        // The odd address takes the high byte, unsigned even for int8.
        {"int8", kOdd, 0x00FF, 0, "0"},
        {"int8", kOdd, 0xFF00, 0, "255"},
        // float32 puts w0 in the high half, the other way round from dword.
        {"float32", kEven, 0x3F80, 0, "1.000000"},
        {"fixpoint16", kEven, 1234, 0, "61.70"},
        {"Word", kEven, 0x80FF, 0x1234, std::nullopt},
        {"", kEven, 0x80FF, 0x1234, std::nullopt},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(FormatWatchValue(c.type, c.address, c.w0, c.w1), c.text) << c.type << " at " << std::hex << c.address;
    }
}

TEST(WatchTypes, TheTwelveNamesAndTheirWidths) {
    int doubles = 0;
    for (const char* name : kWatchTypeNames) {
        EXPECT_TRUE(IsWatchType(name));
        EXPECT_TRUE(FormatWatchValue(name, kEven, 1, 2).has_value()) << name;
        doubles += IsDoubleWordType(name) ? 1 : 0;
    }
    EXPECT_EQ(doubles, 5);
    EXPECT_FALSE(IsWatchType("float"));
}

}  // namespace
