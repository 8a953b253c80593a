// Number and name scanners of the line compilers.
#include "plceditor/core/operand_scanners.h"

#include <gtest/gtest.h>

#include <string>

#include "plceditor/core/plc_language.h"

namespace plc {
namespace {

enum class Scanner { kU8, kU16, kU32, kS32, kFloat };

struct NumberCase {
    const char* text;
    Scanner scanner;
    double lower;
    double upper;
    bool ok;
    int64_t value;   // stored value (floats: the stored 32-bit word)
    size_t advance;  // cursor movement
};

// Runs one scanner into a destination of its width, which starts at a marker
// so that a false result can be seen to store nothing.
template <typename T>
bool RunAs(bool (*scan)(SourceCursor&, T&, double, double), const NumberCase& c, SourceCursor& cursor, int64_t& value) {
    T v = 0x5A;
    const bool ok = scan(cursor, v, c.lower, c.upper);
    value = v;
    return ok;
}

bool RunScanner(const NumberCase& c, SourceCursor& cursor, int64_t& value) {
    switch (c.scanner) {
        case Scanner::kU8:
            return RunAs(scanUnsigned8, c, cursor, value);
        case Scanner::kU16:
            return RunAs(scanUnsigned16, c, cursor, value);
        case Scanner::kU32:
            return RunAs(scanUnsigned32, c, cursor, value);
        case Scanner::kS32:
            return RunAs(scanSigned32, c, cursor, value);
        case Scanner::kFloat:
            return RunAs(scanFloatSwapped, c, cursor, value);
    }
    return false;
}

TEST(OperandScanners, NumbersTable) {
    constexpr double kIntMax = 2147483647.0;
    constexpr double kFloatMax = 3.37e38;
    const NumberCase cases[] = {
        {"007", Scanner::kU8, 0, 127, true, 7, 3},
        {"007)", Scanner::kU8, 0, 127, true, 7, 3},
        {"300", Scanner::kU8, 0, 255, false, 0x5A, 3},
        {"255", Scanner::kU8, 0, 255, true, 255, 3},
        {"X1", Scanner::kU8, 0, 255, false, 0x5A, 0},
        {"-1", Scanner::kU8, 0, 255, false, 0x5A, 0},
        {"65535", Scanner::kU16, 1, 65535, true, 65535, 5},
        {"0", Scanner::kU16, 1, 65535, false, 0x5A, 1},
        {"4294967295", Scanner::kU32, 0, 4294967295.0, true, 4294967295LL, 10},
        {"4294967296", Scanner::kU32, 0, 4294967295.0, false, 0x5A, 10},
        {"-0", Scanner::kS32, 0, 0, true, 0, 2},
        {"+5", Scanner::kS32, 0, 0, false, 0x5A, 2},
        {"-", Scanner::kS32, -kIntMax, kIntMax, false, 0x5A, 1},
        {"+", Scanner::kS32, -kIntMax, kIntMax, false, 0x5A, 1},
        {"-2147483647", Scanner::kS32, -kIntMax, kIntMax, true, -2147483647LL, 11},
        {"2147483648", Scanner::kS32, -kIntMax, kIntMax, false, 0x5A, 10},
        {"-7N20", Scanner::kS32, -kIntMax, kIntMax, true, -7, 2},
        {"1.0", Scanner::kFloat, -kFloatMax, kFloatMax, true, 0x00003F80, 3},
        {"-.25", Scanner::kFloat, -kFloatMax, kFloatMax, true, 0x0000BE80, 4},
        {"5.", Scanner::kFloat, -kFloatMax, kFloatMax, true, 0x000040A0, 2},
        {"+1.5)", Scanner::kFloat, -kFloatMax, kFloatMax, true, 0x00003FC0, 4},
        {"1.2.3", Scanner::kFloat, -kFloatMax, kFloatMax, false, 0x5A, 3},
        {".", Scanner::kFloat, -kFloatMax, kFloatMax, false, 0x5A, 1},
        {"-", Scanner::kFloat, -kFloatMax, kFloatMax, false, 0x5A, 1},
        {"0", Scanner::kFloat, 0, 0, true, 0, 1},
        {"0.5", Scanner::kFloat, 0, 0, false, 0x5A, 3},
        {"400000000000000000000000000000000000000", Scanner::kFloat, -kFloatMax, kFloatMax, false, 0x5A, 39},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        SourceCursor cursor{c.text};
        int64_t value = 0;
        EXPECT_EQ(RunScanner(c, cursor, value), c.ok);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(cursor.pos, c.advance);
    }
}

TEST(OperandScanners, FloatWordsSwapBack) {
    EXPECT_EQ(unswapFloatWords(0x00003F80u), 0x3F800000u);
    EXPECT_EQ(unswapFloatWords(0x12345678u), 0x56781234u);
    EXPECT_EQ(StoredFloatValue(0x00003F80u), 1.0f);
    EXPECT_EQ(StoredFloatValue(0x0000C0A0u), -5.0f);
    SourceCursor cursor{"-2.5"};
    uint32_t stored = 0;
    ASSERT_TRUE(scanFloatSwapped(cursor, stored, -kMaxFloatConstant, kMaxFloatConstant));
    EXPECT_EQ(StoredFloatValue(stored), -2.5f);
}

TEST(OperandScanners, TextNameStopsAtParenthesisAfterAtMost32Characters) {
    const std::string name32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ_abc09";
    ASSERT_EQ(name32.size(), 32u);
    struct Case {
        std::string text;
        bool ok;
        std::string name;
        size_t advance;
    } cases[] = {
        {name32 + ")", true, name32, 32},
        {name32 + "X)", true, name32, 32},  // caller finds no ')' and reports the length
        {"Speed_1", true, "Speed_1", 7},
        {"Speed-Max)", false, "Speed", 5},
        {")", false, "", 0},
        {"", false, "", 0},
        {"Sp\xC3\xA4t)", false, "Sp", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SourceCursor cursor{c.text};
        std::string name;
        EXPECT_EQ(scanTextName(name, cursor), c.ok);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(cursor.pos, c.advance);
    }
}

// Every family maps its numbers 0..count-1 to its own codes and refuses the
// number after its last.
TEST(OperandScanners, IoNumberBecomesTheFamilysCode) {
    for (const IoGroup& group : kIoGroups) {
        SCOPED_TRACE(std::string(group.prefix));
        for (int n = 0; n < group.count; ++n) {
            const std::string text = std::to_string(n);
            SourceCursor cursor{text};
            uint8_t code = 0xEE;
            ASSERT_TRUE(ScanIoCode(cursor, group, code));
            EXPECT_EQ(code, group.codes[n]);
        }
        for (const std::string& text : {std::to_string(group.count), std::string("X")}) {
            SourceCursor cursor{text};
            uint8_t code = 0xEE;
            EXPECT_FALSE(ScanIoCode(cursor, group, code)) << text;
            EXPECT_EQ(code, 0xEE);
        }
    }
    SourceCursor is02{"02"};
    uint8_t code = 0;
    ASSERT_TRUE(ScanIoCode(is02, kIoGroups[0], code));
    std::string name;
    ASSERT_TRUE(ioName(kIoGroups[0].output, code, name));
    EXPECT_EQ(name, std::string(kIoGroups[0].prefix) + "02");
}

TEST(OperandScanners, DefNameTakesEverythingAboveBlank) {
    struct Case {
        std::string text;
        bool ok;
        std::string name;
    } cases[] = {
        {"Speed_Max", true, "Speed_Max"},
        {"Drehzahl-\xC3\xA4(1)", true, "Drehzahl-\xC3\xA4(1)"},
        {std::string(40, 'n'), true, std::string(32, 'n')},
        {"Bad\x01Name", false, "Bad"},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SourceCursor cursor{c.text};
        std::string name;
        EXPECT_EQ(scanDefName(name, cursor), c.ok);
        EXPECT_EQ(name, c.name);
    }
}

// The comparison list relies on its order: a longer spelling stands before
// the shorter one it starts with.
TEST(OperandScanners, FirstSpellingInListOrderIsConsumed) {
    struct Case {
        const char* text;
        int index;  // -1: none
        size_t pos;
    } cases[] = {
        {"=H1", 0, 1},
        {"!=H1", 1, 2},
        {">=F2", 2, 2},
        {">F2", 3, 1},
        {"<=1", 4, 2},
        {"<H1", 5, 1},
        {"!H1", -1, 0},
        {"+F1", -1, 0},
        {"", -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        SourceCursor cursor{c.text};
        EXPECT_EQ(ConsumeFirstOf(cursor, kCompareOperators), c.index);
        EXPECT_EQ(cursor.pos, c.pos);
    }
}

}  // namespace
}  // namespace plc
