#include "platform/base/format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace {

using platform::FormatArg;
using platform::FormatChecked;

struct Case {
    const char* format;
    std::vector<FormatArg> args;
    std::string text;
    bool ok = true;
};

void ExpectCases(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        platform::FormatResult r = FormatChecked(c.format, c.args);
        EXPECT_EQ(r.text, c.text) << "format: " << c.format;
        EXPECT_EQ(r.ok, c.ok) << "format: " << c.format;
    }
}

TEST(Format, IntegersAreThirtyTwoBitsUnlessLongLong) {
    ExpectCases({
        {"%ld", {-1}, "-1"},
        {"%lX", {-1}, "FFFFFFFF"},
        {"%08lX", {0x1A2B}, "00001A2B"},
        {"%08lx", {0xDEADBEEFu}, "deadbeef"},
        {"%08LXH", {-2}, "FFFFFFFEH"},
        {"%lu", {-1}, "4294967295"},
        {"%10lu", {42u}, "        42"},
        {"%11ld", {INT32_MIN}, "-2147483648"},
        {"%d", {int64_t{0x100000005}}, "5"},  // an int64 is taken as int
        {"%d", {uint64_t{0xFFFFFFFF}}, "-1"},
        {"%ld", {int64_t{0x80000000}}, "-2147483648"},
        {"%lld", {int64_t{0x100000005}}, "4294967301"},
        {"%llX", {int64_t{-1}}, "FFFFFFFFFFFFFFFF"},
        {"%hd", {0x18000}, "-32768"},
        {"%hu", {-1}, "65535"},
        {"%hhd", {255}, "-1"},
        {"%hhu", {257}, "1"},
        {"%03ld", {7}, "007"},
        {"%-5d|", {42}, "42   |"},
        {"%+d % d", {5, 5}, "+5  5"},
        {"%#x %#o %o", {255, 8, 8}, "0xff 010 10"},
        {"%.3d", {7}, "007"},
        {"%i", {true}, "1"},
        {"%u", {static_cast<unsigned char>(200)}, "200"},
    });
}

TEST(Format, StringsAndCharacters) {
    ExpectCases({
        {"%s", {"abc"}, "abc"},
        {"%05s", {"ab"}, "000ab"},  // zeros, as the program's formats expect
        {"%-5s|", {"ab"}, "ab   |"},
        {"%-05s|", {"ab"}, "ab   |"},
        {"%5s", {"abcdefg"}, "abcdefg"},
        {"%.2s", {"abcdefg"}, "ab"},
        {"%-60s|", {std::string("x")}, "x" + std::string(59, ' ') + "|"},
        {"%s", {static_cast<const char*>(nullptr)}, "(null)"},
        {"%s", {std::string_view("\xC3\xA4")}, "\xC3\xA4"},  // bytes, widths count bytes
        {"%3s|", {"\xC3\xA4"}, " \xC3\xA4|"},
        {"%c%c", {'O', 75}, "OK"},
        {"% c", {'x'}, "x"},
        {"%3c|%-3c|", {'a', 'b'}, "  a|b  |"},
        {"%c", {0x141}, "A"},  // the low byte
        {"100%% %s", {"done"}, "100% done"},
        {"no conversions", {}, "no conversions"},
        {"", {}, ""},
    });
}

TEST(Format, StarTakesWidthAndPrecisionFromIntegers) {
    ExpectCases({
        {"%*d|", {5, 42}, "   42|"},
        {"%*d|", {-5, 42}, "42   |"},
        {"%.*f", {2, 3.14159}, "3.14"},
        {"%.*f", {-1, 3.5}, "3.500000"},  // a negative precision counts as omitted
        {"%*.*s|", {4, 2, "abcdef"}, "  ab|"},
        {"%*d", {"5", 42}, "%*d", false},
        {"%*d", {5}, "%*d", false},
        {"%*d", {100000, 1}, "%*d", false},
        {"%*d", {INT64_MIN, 1}, "%*d", false},
    });
}

TEST(Format, FloatsAsTheCLibraryWritesThem) {
    ExpectCases({
        {"%g", {15.0}, "15"},
        {"%g", {0.00005}, "5e-05"},
        {"%e", {1e15}, "1.000000e+15"},
        {"%E", {-2.5e-7}, "-2.500000E-07"},
        {"%0.2lf", {1.005}, "1.00"},
        {"%0.2lf", {2.375}, "2.38"},
        {"%6.02f", {3.14159}, "  3.14"},
        {"%24.16lf", {0.1}, "      0.1000000000000000"},
        {"%.0lf", {2.5}, "2"},
        {"%f", {1.0f}, "1.000000"},
        {"%G", {1e-10}, "1E-10"},
        {"%#g", {1.0}, "1.00000"},
        {"%+.1F", {2.0}, "+2.0"},
        {"%f", {std::numeric_limits<double>::infinity()}, "inf"},
        {"%Lf", {0.5}, "0.500000"},
    });
}

TEST(Format, FloatsEqualTheCLibraryAcrossConversions) {
    const char* formats[] = {"%f", "%.3e", "%g", "%12.4G", "%-10.1f|", "%010.3f", "% e", "%#.0f"};
    const double values[] = {0.0, -0.0, 1.0 / 3.0, -123456.789, 1e300, 4.9e-324, 1e-5, 99999.95};
    char expected[512];
    for (const char* format : formats) {
        for (double v : values) {
            std::snprintf(expected, sizeof expected, format, v);
            EXPECT_EQ(platform::Format(format, v), expected) << format << " " << v;
        }
    }
}

TEST(Format, PointerAsTheCLibraryWritesIt) {
    int x = 0;
    char expected[64];
    std::snprintf(expected, sizeof expected, "%p", static_cast<void*>(&x));
    EXPECT_EQ(platform::Format("%p", static_cast<const void*>(&x)), expected);
}

// A conversion that cannot be filled stays as written, so a bad message text
// shows what went wrong instead of garbage.
TEST(Format, MismatchesLeaveTheConversionAsWritten) {
    ExpectCases({
        {"%d", {"text"}, "%d", false},
        {"%s", {5}, "%s", false},
        {"%s", {2.5}, "%s", false},
        {"%f", {5}, "%f", false},
        {"%d", {1.5}, "%d", false},
        {"%c", {"x"}, "%c", false},
        {"%p", {5}, "%p", false},
        {"a=%d b=%d", {1}, "a=1 b=%d", false},
        {"%s and %d", {1, 2}, "%s and 2", false},  // the wrong one still uses its argument
        {"%d", {1, 2}, "1", false},                // an argument left over
        {"%s%s%s%n", {}, "%s%s%s%n", false},
        {"%n", {1}, "%n", false},
        {"%d%n%d", {1, 2}, "1%n2", false},
        {"%y %d", {3}, "%y 3", false},
        {"%ls", {"wide"}, "wide"},
        {"tail %", {}, "tail %", false},
        {"%-", {}, "%-", false},
        {"%5.", {}, "%5.", false},
        {"%l", {1}, "%l", false},
    });
}

TEST(Format, HostileWidthsArePassedThroughNotAllocated) {
    ExpectCases({
        {"%99999d", {1}, "%99999d", false},
        {"%.999999f", {1.0}, "%.999999f", false},
        {"%99999999999999999999999s", {"x"}, "%99999999999999999999999s", false},
        {"%.*f", {1 << 30, 1.0}, "%.*f", false},
    });
    // The bound itself is allowed.
    EXPECT_EQ(platform::Format("%4096d", 1).size(), 4096u);
    EXPECT_EQ(platform::Format("%.4096f", 1e308).size(), 309u + 1 + 4096);
}

TEST(Format, TemplateFormHandsArgumentsThrough) {
    EXPECT_EQ(platform::Format("%s_V%s.TMP", std::string("MAPFILE_3"), "1_20"), "MAPFILE_3_V1_20.TMP");
    EXPECT_EQ(platform::Format("%01d_%03d_%02d", 4, 120, 3), "4_120_03");
    EXPECT_EQ(platform::Format("%d", 1, 2), "1");
}

}  // namespace
