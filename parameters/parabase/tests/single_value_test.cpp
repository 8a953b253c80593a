// Single values as the device windows show them: the raw form of a number,
// its display text by type, the limits as numbers and the run-mode option.
#include <gtest/gtest.h>

#include <string>

#include "parameters/parabase/para_base.h"
#include "parameters/parabase/tests/parabase_fixture.h"
#include "parameters/parabase/value_text_table.h"

namespace {

using parabasetest::Define;
using parabasetest::ParaBaseTest;
using parabasetest::Param;

constexpr int kP = 40;

class SingleValueTest : public ParaBaseTest {
protected:
    ParaBase base;
};

TEST_F(SingleValueTest, RawFormAndDisplayTextByType) {
    struct Case {
        const char* what;
        char type;
        uint16_t flags;
        double value;
        int error;
        int32_t raw;  // when error is 0
        const char* shown;
    };
    // clang-format off
    const Case cases[] = {
        {"USIGN8 with a text", kTypeUsign8, kFlagValueTexts, 3.0, 0, 3, "Off (3)"},
        {"USIGN8 without a text", kTypeUsign8, kFlagValueTexts, 7.0, 0, 7, ""},
        {"USIGN8", kTypeUsign8, 0, 200.9, 0, 200, "200"},
        {"USIGN8 hex", kTypeUsign8, kFlagHex, 18.0, 0, 18, "12H"},
        {"USIGN16 hex", kTypeUsign16, kFlagHex, 6703.0, 0, 6703, "1A2FH"},
        {"PASSWORD", kTypePassword, 0, 1234.0, 0, 1234, "1234"},
        {"USIGN32 hex", kTypeUsign32, kFlagHex, 26.0, 0, 26, "0000001AH"},
        {"USIGN32", kTypeUsign32, 0, 4000000000.0, 0, static_cast<int32_t>(4000000000u), "4000000000"},
        {"FIXPT16 small", kTypeFixpt16, 0, 0.01, 0, 1, "0.01"},
        {"FIXPT16 small negative", kTypeFixpt16, 0, -0.01, kParaTypeMismatch, 0, ""},
        {"FIXPT16", kTypeFixpt16, 0, 2.5, 0, 50, "2.50"},
        {"INT32Q16", kTypeInt32Q16, 0, 1.5, 0, 98304, "1.5"},
        {"INT32Q16 whole", kTypeInt32Q16, 0, 2.0, 0, 131072, "2"},
        {"INT32Q16 tiny negative", kTypeInt32Q16, 0, -1e-9, 0, -1, "-0"},
        {"FLOAT32", kTypeFloat32, 0, 0.25, 0, 0x3E800000, "0.25"},
        {"INT16", kTypeInt16, 0, -5.0, 0, -5, "-5"},
        {"INT8", kTypeInt8, 0, -3.7, 0, -3, "-3"},
        {"INT32", kTypeInt32, 0, -70000.0, 0, -70000, "-70000"},
        {"BEGRIFF", kTypeBegriff, 0, 1.0, kParaTypeMismatch, 0, ""},
        {"BINARY8", kTypeBinary8, 0, 1.0, kParaTypeMismatch, 0, ""},
        {"BINARY16", kTypeBinary16, 0, 1.0, kParaTypeMismatch, 0, ""},
        {"ERR_STRUC", kTypeErrStruc, 0, 1.0, kParaTypeMismatch, 0, ""},
        {"STRING", kTypeString, 0, 1.0, kParaTypeMismatch, 0, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        base.GetValueTextTable().Clear();
        Define(base, {.number = kP, .name = "VAL", .type = c.type, .maximum = -1, .flags = c.flags});
        if ((c.flags & kFlagValueTexts) != 0) {
            ValueTextTable& texts = base.GetValueTextTable();
            texts.AddFirstText(kP, "Zero");
            texts.AddNextText(kP, "One");
            texts.AddNextText(kP, "Two");
            texts.AddNextText(kP, "  Off mode");
        }
        int32_t raw = 0;
        EXPECT_EQ(base.DoubleToRaw(kP, c.value, &raw), c.error) << c.what;
        if (c.error == 0) {
            EXPECT_EQ(raw, c.raw) << c.what;
        }
        if (c.error == kParaTypeMismatch) {
            EXPECT_NE(std::string(base.MessageBuffer).find("of parameter 40-VAL"), std::string::npos) << c.what;
        }
        EXPECT_EQ(base.FormatValue(kP, c.value), c.shown) << c.what;
    }
}

TEST_F(SingleValueTest, AbsentParameterGivesSixWithItsNumber) {
    int32_t raw = 0;
    EXPECT_EQ(base.DoubleToRaw(123, 1.0, &raw), kParaNoParameter);
    EXPECT_STREQ(base.MessageBuffer, "There's no valid parameter on number 123");
    EXPECT_EQ(base.FormatValue(123, 1.0), "");
}

TEST_F(SingleValueTest, LimitsAsNumbersAndRunModeOption) {
    Define(base,
           {.number = kP,
            .name = "Q16",
            .type = kTypeInt32Q16,
            .minimum = -65536,
            .maximum = 655360,
            .defaultValue = 32768});
    EXPECT_DOUBLE_EQ(base.GetMinimum(kP), -1.0);
    EXPECT_DOUBLE_EQ(base.GetMaximum(kP), 10.0);
    EXPECT_DOUBLE_EQ(base.GetDefault(kP), 0.5);
    Define(base, {.number = kP + 1, .name = "TXT", .type = kTypeString, .maximum = 5});
    EXPECT_DOUBLE_EQ(base.GetMaximum(kP + 1), 0.0);
    EXPECT_DOUBLE_EQ(base.GetMinimum(999), 0.0);

    EXPECT_EQ(base.GetRunModeChar(), 0);
    Define(base, {.number = 151, .name = "MODE", .type = kTypeUsign16, .maximum = 65535, .value = 0x1234});
    EXPECT_EQ(base.GetRunModeChar(), 0x34);
}

}  // namespace
