// Display and fixed-width texts of raw values, plain number texts, the
// conversions of raw values and fixed-point numbers, and the group names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_description_file.h"
#include "parameters/parabase/tests/parabase_fixture.h"
#include "parameters/parabase/value_text_table.h"
#include "parameters/values/dstring.h"
#include "testsupport/test_env.h"

namespace {

using parabasetest::Define;
using parabasetest::ParaBaseTest;
using parabasetest::Param;

constexpr int kP = 300;

class FormattingTest : public ParaBaseTest {
protected:
    ParaBase base;
};

TEST_F(FormattingTest, DisplayAndFixedWidthTextsByType) {
    struct Case {
        const char* what;
        char type;
        uint16_t flags;
        int32_t raw;
        const char* shown;  // FormatRawValue without number
        const char* fixed;  // FormatRawValueFixed
        const char* plain;  // RawValueToString
    };
    // clang-format off
    const Case cases[] = {
        {"USIGN8", kTypeUsign8, 0, 0x1FF, "255", "255", "255"},
        {"USIGN8 hex", kTypeUsign8, kFlagHex, 0x1AB, "1ABH", "1ABH", "171"},
        {"USIGN16", kTypeUsign16, 0, 0x10007, "7", "    7", "7"},
        {"USIGN16 hex", kTypeUsign16, kFlagHex, 255, "00FFH", "00FFH", "255"},
        {"PASSWORD", kTypePassword, 0, 1234, "1234", " 1234", ""},
        {"USIGN32", kTypeUsign32, 0, -1, "4294967295", "4294967295", "4294967295"},
        {"USIGN32 hex", kTypeUsign32, kFlagHex, 0x1234, "00001234H", "00001234H", "4660"},
        {"FIXPT16", kTypeFixpt16, 0, 1, "0.05", "   0.05", "0.050000"},
        {"INT8", kTypeInt8, 0, 0x80, "-128", "-128", "-128"},
        {"INT16", kTypeInt16, 0, 0xFFFE, "-2", "    -2", "-2"},
        {"INT32", kTypeInt32, 0, -5, "-5", "         -5", "-5"},
        {"INT32Q16", kTypeInt32Q16, 0, 98304, "1.5", "     1.5", "1.500000"},
        {"INT32Q16 whole", kTypeInt32Q16, 0, -131072, "-2", "    -2", "-2.000000"},
        {"FLOAT32", kTypeFloat32, 0, BitsOfFloat(100.0f), "100", "100", "100.000000"},
        {"FLOAT32 long", kTypeFloat32, 0, BitsOfFloat(1e15f), "1.000000e+15", "1.000000e+15",
         "999999986991104.000000"},
        {"FLOAT32 fourteen characters", kTypeFloat32, 0, BitsOfFloat(5e13f), "50000000188416",
         "50000000188416", "50000000188416.000000"},
        {"FLOAT32 fifteen characters", kTypeFloat32, 0, BitsOfFloat(1e14f), "1.000000e+14",
         "1.000000e+14", "100000000376832.000000"},
        {"ERR_STRUC", kTypeErrStruc, 0, 0x00050103, "E03-1,5h", "E0003-01,  5h\n", "3"},
        {"BINARY16", kTypeBinary16, 0, 5, "", "", ""},
        {"STRING", kTypeString, 0, 5, "", "", ""},
        {"BEGRIFF", kTypeBegriff, 0, 5, "", "", ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Define(base, {.number = kP, .name = "VALUE", .type = c.type, .flags = c.flags});
        EXPECT_STREQ(base.FormatRawValue(kP, c.raw, false), c.shown);
        EXPECT_STREQ(base.FormatRawValueFixed(kP, c.raw), c.fixed);
        dstring plain;
        EXPECT_STREQ(base.RawValueToString(plain, kP, c.raw).Text(), c.plain);
    }
}

TEST_F(FormattingTest, TextsOfValuesWithValueTexts) {
    Define(base, {.number = kP, .name = "MODE", .type = kTypeUsign8, .maximum = 2, .flags = kFlagValueTexts});
    Define(base, {.number = 301, .name = "ERROR", .type = kTypeErrStruc, .flags = kFlagValueTexts});
    ValueTextTable& texts = base.GetValueTextTable();
    texts.AddFirstText(kP, "OFF");
    texts.AddNextText(kP, "  ON");
    texts.AddFirstText(301, "-----");
    texts.AddNextText(301, "  OVERV");
    texts.AddNextText(301, "LONGNAME");

    EXPECT_STREQ(base.FormatRawValue(kP, 1, true), "ON (1)");
    EXPECT_STREQ(base.FormatRawValueFixed(kP, 1), "   ON");
    EXPECT_STREQ(base.FormatRawValueFixed(kP, 2), "");
    dstring plain;
    EXPECT_STREQ(base.RawValueToString(plain, kP, 1).Text(), "1");

    struct Case {
        int32_t raw;
        const char* shown;
        const char* fixed;
    };
    const Case cases[] = {
        {0x00020001, "OVERV- 0,2h", "OVERV-00,  2h\n"},
        {0x00000300, "   E0- 3,0h", "000E0-03,  0h\n"},  // "-----" reads as a blank text
        {0x00010102, "LONGNAME- 1,1h", "LONGNAME-01,  1h\n"},
        {0x00000009, "E09-0,0h", "E0009-00,  0h\n"},  // no text for error 9
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_STREQ(base.FormatRawValue(301, c.raw, false), c.shown);
        EXPECT_STREQ(base.FormatRawValueFixed(301, c.raw), c.fixed);
    }
}

TEST_F(FormattingTest, TypedFormattersConvertTheirNumberToTheType) {
    struct Case {
        char type;
        const char* unsignedText;  // FormatUnsignedValue of 3
        const char* signedText;    // FormatSignedValue of -3
        const char* doubleText;    // FormatDoubleValue of 2.5
    };
    const Case cases[] = {
        {kTypeUsign8, "3", "", "2"},
        {kTypeUsign16, "3", "", "2"},
        {kTypeFixpt16, "0.15", "", "2.50"},
        {kTypeInt16, "3", "-3", "2"},
        {kTypeInt32Q16, "0.000046", "-0.000046", "2.5"},
        {kTypeFloat32, "3", "-3", "2.5"},
        {kTypeInt32, "3", "-3", "2"},
        {kTypeUsign32, "3", "", "2"},
        {kTypeBinary16, "", "", ""},
        {kTypeString, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(TypeName(c.type));
        Define(base, {.number = kP, .name = "VALUE", .type = c.type});
        EXPECT_STREQ(base.FormatUnsignedValue(kP, 3, false), c.unsignedText);
        EXPECT_STREQ(base.FormatU16Value(kP, 3, false), c.unsignedText);
        EXPECT_STREQ(base.FormatSignedValue(kP, -3, false), c.signedText);
        EXPECT_STREQ(base.FormatDoubleValue(kP, 2.5, false), c.doubleText);
    }
    // The smallest positive numbers of the scaled types are one step, not 0.
    Define(base, {.number = kP, .name = "VALUE", .type = kTypeFixpt16});
    EXPECT_STREQ(base.FormatDoubleValue(kP, 0.001, false), "0.05");
    Define(base, {.number = kP, .name = "VALUE", .type = kTypeInt32Q16});
    EXPECT_STREQ(base.FormatDoubleValue(kP, -1e-9, false), "-0.000015");
    // Numbers beyond 32 bits are held at the end of the range.
    Define(base, {.number = kP, .name = "VALUE", .type = kTypeInt32});
    EXPECT_STREQ(base.FormatDoubleValue(kP, -1e30, false), "-2147483648");
}

TEST_F(FormattingTest, EmptyTextsAreTheSharedEmptyText) {
    Define(base, {.number = kP, .name = "VALUE", .type = kTypeBinary16});
    const char* empty = base.FormatRawValue(kP, 1, false);
    EXPECT_STREQ(empty, "");
    EXPECT_NE(empty, base.DisplayText);
    EXPECT_EQ(base.FormatRawValue(999, 1, false), empty);  // absent entry
    EXPECT_EQ(base.FormatStoredValue(kP, 0, false), empty);
}

TEST_F(FormattingTest, RawToDoubleAndTheLimitsAsNumbers) {
    Define(base,
           {.number = kP, .name = "VALUE", .type = kTypeFixpt16, .minimum = 20, .maximum = 0x1FFFF, .defaultValue = 3});
    double v = 0;
    ASSERT_EQ(base.GetMinimumAsDouble(kP, &v), 0);
    EXPECT_DOUBLE_EQ(v, 1.0);
    ASSERT_EQ(base.GetMaximumAsDouble(kP, &v), 0);
    EXPECT_DOUBLE_EQ(v, 65535 * 0.05);
    ASSERT_EQ(base.GetDefaultAsDouble(kP, &v), 0);
    EXPECT_DOUBLE_EQ(v, 0.15);
    Define(base, {.number = kP, .name = "VALUE", .type = kTypeErrStruc});
    EXPECT_EQ(base.RawToDouble(kP, 1, &v), kParaTypeMismatch);
    EXPECT_EQ(base.GetMaximumAsDouble(998, &v), kParaNoParameter);
}

TEST(TrimTrailingZeros, RemovesZerosAfterThePointOnly) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"12.500", "12.5"}, {"12.000", "12"}, {"1200", "1200"}, {"0.0", "0"}, {"-3.10", "-3.1"}, {"", ""}};
    for (const Case& c : cases) {
        char text[16];
        std::strcpy(text, c.in);
        EXPECT_STREQ(TrimTrailingZeros(text), c.out) << c.in;
    }
}

TEST(FixedPoint, ConversionsBothWays) {
    EXPECT_EQ(FloatToFixedPoint16(1.5f, 8), 384);
    EXPECT_EQ(FloatToFixedPoint16(200.0f, 8), 0);  // beyond 16 bits
    EXPECT_EQ(FloatToFixedPoint16(-1.5f, 8), -384);
    EXPECT_EQ(FloatToFixedPoint16(-0.25f, 4), -4);
    EXPECT_EQ(FloatToFixedPoint16(-128.0f, 8), -32768);
    EXPECT_EQ(FloatToFixedPoint16(127.99f, 8), 32765);
    EXPECT_EQ(FloatToFixedPoint32(1.5f, 16), 98304);
    EXPECT_EQ(FloatToFixedPoint32(-1.5f, 16), -98304);
    EXPECT_EQ(FloatToFixedPoint32(1.75f, 20), 0x100000);  // the fraction keeps 16 bits
    EXPECT_EQ(FloatToFixedPoint32(40000.0f, 16), 0);
    EXPECT_EQ(FloatToFixedPoint32(0.0f, 200), 0);

    EXPECT_DOUBLE_EQ(FixedPoint16ToDouble(384, 8), 1.5);
    EXPECT_DOUBLE_EQ(FixedPoint16ToDouble(-384, 8), -1.5);
    EXPECT_DOUBLE_EQ(FixedPoint16ToDouble(-1, 16), -1.0 / 65536);
    EXPECT_DOUBLE_EQ(FixedPoint16ToDouble(7, 0), 7.0);
    EXPECT_DOUBLE_EQ(FixedPoint32ToDouble(-98304, 16), -1.5);
    EXPECT_DOUBLE_EQ(FixedPoint32ToDouble(-1, 32), 4294967295.0 / 4294967296.0);
    EXPECT_DOUBLE_EQ(FixedPoint32ToDouble(-7, 0), -7.0);
    EXPECT_DOUBLE_EQ(FixedPoint32ToDouble(2, 256 + 1), 1.0);  // n is taken as a byte
}

class GroupTest : public FormattingTest {
protected:
    // A loaded table of device class 5 with keypad group texts 0..5 and SC
    // groups 1..3.
    void SetUp() override {
        FormattingTest::SetUp();
        base.TableLoaded = 1;
        Define(
            base,
            {.number = kDeviceCodeParameter, .name = "TYPE", .type = kTypeUsign16, .maximum = 0xFFFF, .value = 5120});
        Define(base,
               {.number = kKeypadGroupParameter,
                .name = "KPGRP",
                .type = kTypeUsign8,
                .maximum = 5,
                .flags = kFlagValueTexts});
        base.GetValueTextTable().AddFirstText(kKeypadGroupParameter, "BASIC");
        for (const char* t : {"MOTOR", "SPEED", "POS", "IO", "COMM"})
            base.GetValueTextTable().AddNextText(kKeypadGroupParameter, t);
        Define(base,
               {.number = kSCGroupParameter,
                .name = "SCGRP",
                .type = kTypeUsign8,
                .maximum = 3,
                .flags = kFlagValueTexts});
        base.GetValueTextTable().AddFirstText(kSCGroupParameter, "NONE");
        for (const char* t : {"DRIVE", "LIMITS", "APPL"}) base.GetValueTextTable().AddNextText(kSCGroupParameter, t);
    }
};

TEST_F(GroupTest, GroupNamesFollowTheGroupParametersTexts) {
    EXPECT_EQ(base.GetDeviceKind(), 5);
    ASSERT_EQ(base.GetKPGroupCount(), 9);
    const char* keypad[] = {"BASIC", "MOTOR", "SPEED", "POS", "IO", "COMM", "_NONE", "_MENU", "_VAL"};
    for (int g = 0; g < 9; ++g) EXPECT_STREQ(base.GetKPGroupName(g), keypad[g]) << g;
    EXPECT_EQ(base.GetKPGroupName(9), nullptr);
    EXPECT_EQ(base.GetKPGroupName(-1), nullptr);

    ASSERT_EQ(base.GetSCGroupCount(), 3);
    EXPECT_STREQ(base.GetSCGroupName(0), "-----");
    EXPECT_STREQ(base.GetSCGroupName(2), "LIMITS");
    EXPECT_STREQ(base.GetSCGroupName(3), "APPL");
    EXPECT_EQ(base.GetSCGroupName(4), nullptr);
}

TEST_F(GroupTest, UnknownDeviceKindHasOneGroup) {
    base.GetEntry(kDeviceCodeParameter)->value = 7000;
    EXPECT_EQ(base.GetDeviceKind(), 1);
    EXPECT_EQ(base.GetKPGroupCount(), 1);
    EXPECT_STREQ(base.GetKPGroupName(0), "_Parameter");
    EXPECT_EQ(base.GetKPGroupName(1), nullptr);
    EXPECT_EQ(base.GetSCGroupCount(), 1);
    EXPECT_STREQ(base.GetSCGroupName(1), "_Parameter");
    // Without a loaded table there is no kind.
    base.TableLoaded = 0;
    EXPECT_EQ(base.GetDeviceKind(), 0);
}

TEST_F(GroupTest, GroupMembershipAndSelections) {
    ParameterEntry& used = Define(base, {.number = 400, .name = "A", .type = kTypeUsign8});
    used.KPGroup = 2;
    used.SCGroup = 1;
    ParameterEntry& unused = Define(base, {.number = 401, .name = "B", .type = kTypeUsign8});
    unused.KPGroup = 2;
    unused.SCGroup = 3;
    unused.transfer = 0;
    ParameterEntry& absent = Define(base, {.number = 402, .name = "C", .type = kTypeUsign8});
    absent.KPGroup = 4;
    absent.valid = 0;

    EXPECT_TRUE(base.HasUsedInKPGroup(2));
    EXPECT_TRUE(base.HasUnusedInKPGroup(2));
    EXPECT_FALSE(base.HasValidInKPGroup(4));
    EXPECT_TRUE(base.HasValidInSCGroup(3));
    EXPECT_FALSE(base.HasUsedInSCGroup(3));

    base.SelectByKeypadGroup(2, false);
    EXPECT_EQ(used.markA, 1);
    EXPECT_EQ(unused.markA, 0);  // not in the data set
    EXPECT_TRUE(base.KPGroupHasMarkedParameter(2, false));
    EXPECT_FALSE(base.KPGroupHasMarkedParameter(2, true));
    base.SelectBySCGroup(1, true);
    EXPECT_EQ(used.markB, 1);
    base.DeselectAll(true);
    EXPECT_EQ(used.markB, 0);

    EXPECT_EQ(base.SelectParameter(402, true), kParaNoParameter);
    EXPECT_STREQ(base.MessageBuffer, "There's no valid parameter on number 402");
    EXPECT_EQ(base.SelectParameter(401, true), 0);
    EXPECT_EQ(unused.markB, 0);
    base.SetAllValidUsed();
    EXPECT_EQ(unused.transfer, 1);
    EXPECT_EQ(absent.transfer, 0);
    base.SelectAll(false);
    EXPECT_EQ(unused.markA, 1);
    EXPECT_EQ(absent.markA, 0);

    // Read and write levels narrow a selection.
    used.access = 0x52;
    unused.access = 0x21;
    base.RestrictSelectionToReadLevel(1, false);
    EXPECT_EQ(used.markA, 0);
    EXPECT_EQ(unused.markA, 1);
    base.SelectAll(false);
    base.RestrictSelectionToWriteLevel(3, false);
    EXPECT_EQ(used.markA, 0);
    EXPECT_EQ(unused.markA, 1);
    base.DeselectParameter(401, false);
    EXPECT_EQ(unused.markA, 0);
    base.SetAllUnused();
    EXPECT_FALSE(base.HasUsedInKPGroup(2));
}

TEST_F(GroupTest, DispatchedTextsAndBitTextsUseTheDeviceClass) {
    testsupport::WriteFile(testsupport::RuntimePath("TMP/desc.PIT"),
                           "[parameterdescription]\n"
                           "P300=Operating mode\n"
                           "[ValueTextDispatcher]\n"
                           "5_MODE=Mode5\n"
                           "[Mode5]\n"
                           "ON=Switched on\n"
                           "2=Two\n"
                           "[RunModeX-Mode5]\n"
                           "ON=X on\n"
                           "[MAIN-BIT-EXPLORER]\n"
                           "5_MODE-0=ModeBits\n"
                           "[ModeBits]\n"
                           "1=Bit one of the mode\n");
    Define(base,
           {.number = kP, .name = "MODE", .type = kTypeUsign8, .maximum = 2, .value = 1, .flags = kFlagValueTexts});
    base.GetValueTextTable().AddFirstText(kP, "OFF");
    base.GetValueTextTable().AddNextText(kP, "ON");
    Define(base, {.number = 301, .name = "MODE", .type = kTypeUsign16, .maximum = 9});

    EXPECT_STREQ(base.GetDispatchedValueText(kP), "ON");  // no description file yet
    EXPECT_STREQ(base.GetParameterDescription(kP), "");
    base.SetDescriptionFile(std::make_unique<ParaDescriptionFile>("..\\TMP\\desc.PIT"));
    EXPECT_STREQ(base.GetParameterDescription(kP), "Operating mode");
    EXPECT_STREQ(base.GetParameterDescription(301), "");
    EXPECT_STREQ(base.GetDispatchedValueText(kP), "Switched on");
    EXPECT_STREQ(base.GetDispatchedValueTextEx(kP, 'X'), "X on");
    EXPECT_STREQ(base.GetDispatchedDoubleText(kP, 0.0), "OFF");
    EXPECT_STREQ(base.GetDispatchedDoubleTextEx(301, 'X', 2.0), "Two");

    EXPECT_STREQ(base.GetBitText(kP, 1, 0), "Bit one of the mode");
    // Not explained: the base has no bus to read the value, and names the bit.
    EXPECT_STREQ(base.GetBitText(kP, 2, 0), "300-MODE[0] Bit 2");
    base.GetEntry(kDeviceCodeParameter)->value = 3000;
    EXPECT_STREQ(base.GetDispatchedValueText(kP), "ON");
}

}  // namespace
