#include "toolkit/base/gw_string.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/system/clock.h"

namespace {

TEST(GwString, BuildsAndAppendsBytes) {
    GwString s("Scope");
    s += ".";
    s += std::string("dat");
    s += '\t';
    s.Append(GwString("x"));
    EXPECT_STREQ(s.c_str(), "Scope.dat\tx");
    EXPECT_EQ(s.length(), 11u);
    EXPECT_FALSE(s.empty());

    GwString bytes(std::string_view("a\0b", 3));  // bytes, not C text
    EXPECT_EQ(bytes.length(), 3u);

    const char* none = nullptr;
    EXPECT_TRUE(GwString(none).empty());
    EXPECT_STREQ(GwString().c_str(), "");
    EXPECT_EQ(GwString("ab") + "cd", GwString("abcd"));
}

TEST(GwString, FromDoubleIsPrintfG) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {15.0, "15"},
        {0.5, "0.5"},
        {-2.25, "-2.25"},
        {0.00005, "5e-05"},
        {1e15, "1e+15"},
        {123456789.0, "1.23457e+08"},
        {1.0 / 3.0, "0.333333"},
        {0.0, "0"},
        {-0.0, "-0"},
        {NAN, "nan"},
    };
    for (const Case& c : cases) EXPECT_STREQ(GwString::FromDouble(c.value).c_str(), c.text) << c.text;
}

TEST(GwString, DateTimeIsTheClocksLocalTime) {
    platform::VirtualClock* clock = platform::TheVirtualClock();
    ASSERT_NE(clock, nullptr);
    clock->SetWallSeconds(1767225600);  // 2026-01-01 00:00:00 UTC
    EXPECT_STREQ(GwString::CurrentDateTime().c_str(), "01.01.2026 00:00:00");
    clock->SetWallSeconds(1709251199);  // 2024-02-29 23:59:59 UTC
    EXPECT_STREQ(GwString::CurrentDateTime().c_str(), "29.02.2024 23:59:59");
    platform::SetTimeZoneOffset(3600);
    EXPECT_STREQ(GwString::CurrentDateTime().c_str(), "01.03.2024 00:59:59");
    platform::SetTimeZoneOffset(0);
}

}  // namespace
