// The get and set families on the table: conversions by type, type and range
// errors with their messages, write levels and array elements.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "app/services/app_files.h"
#include "app/services/user_level.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/tests/parabase_fixture.h"
#include "parameters/parabase/value_text_table.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"

namespace {

using parabasetest::Define;
using parabasetest::ParaBaseTest;
using parabasetest::Param;

constexpr int kP = 120;  // the parameter most cases define
constexpr int32_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int32_t kInt32Max = std::numeric_limits<int32_t>::max();

class TypedAccessTest : public ParaBaseTest {
protected:
    ParaBase base;
};

TEST_F(TypedAccessTest, TypeMismatchNamesTheTypeAndTheRequestedForm) {
    struct Case {
        char type;
        int (*act)(ParaBase&);
        const char* message;
    };
    // clang-format off
    const Case cases[] = {
        {kTypeInt16, [](ParaBase& b) { uint32_t v; return b.GetValueU32(kP, &v); },
         "Mismatch by type (INT16) of parameter 120-SPEED and type of delivered variable "
         "((usign32)) of actual function"},
        {kTypeUsign8, [](ParaBase& b) { int32_t v; return b.GetValueS32(kP, &v); },
         "Mismatch by type (USIGN8) of parameter 120-SPEED and type of delivered variable "
         "((int32)) of actual function"},
        {kTypeErrStruc, [](ParaBase& b) { float v; return b.GetValueFloat(kP, &v); },
         "Mismatch by type (ERR_STRUC) of parameter 120-SPEED and type of delivered variable "
         "((float32)) of actual function"},
        {kTypeErrStruc, [](ParaBase& b) { return b.SetValueDouble(kP, 1.0); },
         "Mismatch by type (ERR_STRUC) of parameter 120-SPEED and type of delivered variable "
         "((float32)) of actual function"},
        {kTypeString, [](ParaBase& b) { int32_t v; return b.GetRawValue(kP, &v); },
         "Mismatch by type (STRING) of parameter 120-SPEED and type of delivered variable "
         "((MultiDataType)) of actual function"},
        {kTypeString, [](ParaBase& b) { return b.SetRawValue(kP, 1); },
         "Mismatch by type (STRING) of parameter 120-SPEED and type of delivered variable "
         "((MultiDataType)) of actual function"},
        {kTypeBinary16, [](ParaBase& b) { return b.SetValueString(kP, dstring("1")); },
         "Mismatch by type (BINARY16) of parameter 120-SPEED and type of delivered variable "
         "((dstring)) of actual function"},
        {kTypeString, [](ParaBase& b) { double v; return b.RawToDouble(kP, 1, &v); },
         "Mismatch by type (STRING) of parameter 120-SPEED and type of delivered variable "
         "((double)) of actual function"},
        {kTypeFixpt16, [](ParaBase& b) { return b.SetValueS32(kP, 1); },
         "Mismatch by type (FIXPT16) of parameter 120-SPEED and type of delivered variable "
         "((int32)) of actual function"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(TypeName(c.type));
        Define(base, {.number = kP, .name = "SPEED", .type = c.type, .maximum = 100});
        EXPECT_EQ(c.act(base), kParaTypeMismatch);
        EXPECT_STREQ(base.MessageBuffer, c.message);
    }
}

TEST_F(TypedAccessTest, SetValueDoubleStoresByTypeAndShowsTheValue) {
    struct Case {
        const char* what;
        char type;
        int32_t minimum, maximum;
        double v;
        int code;
        int32_t raw;        // stored, when code is 0
        const char* shown;  // display text of the stored value, or the value text of message 11
    };
    // clang-format off
    const Case cases[] = {
        {"FIXPT16 highest", kTypeFixpt16, 0, 0xFFFF, 3276.0, 0, 65520, "3276.00"},
        {"FIXPT16 above", kTypeFixpt16, 0, 0xFFFF, 3276.01, 11, 0, "3276.010000"},
        {"FIXPT16 small", kTypeFixpt16, 0, 0xFFFF, 0.01, 0, 1, "0.05"},
        {"FIXPT16 small negative", kTypeFixpt16, 0, 0xFFFF, -0.01, 11, 0, "-0.010000"},
        {"FIXPT16 negative", kTypeFixpt16, 0, 0xFFFF, -5.0, 11, 0, "-5.000000"},
        {"FIXPT16 limit", kTypeFixpt16, 0, 200, 10.05, 11, 0, "10.05"},
        {"INT32Q16 tiny", kTypeInt32Q16, kInt32Min, kInt32Max, 0.000001, 0, 1, "0.000015"},
        {"INT32Q16 tiny negative", kTypeInt32Q16, kInt32Min, kInt32Max, -0.000001, 0, -1,
         "-0.000015"},
        {"INT32Q16 one and a half", kTypeInt32Q16, kInt32Min, kInt32Max, 1.5, 0, 98304, "1.5"},
        {"INT32Q16 above", kTypeInt32Q16, kInt32Min, kInt32Max, 40000.0, 11, 0, "40000.000000"},
        {"INT32Q16 limit", kTypeInt32Q16, 0, 65536, 1.5, 11, 0, "1.5"},
        {"FLOAT32 100", kTypeFloat32, BitsOfFloat(-1e30f), BitsOfFloat(1e30f), 100.0, 0,
         BitsOfFloat(100.0f), "100"},
        {"FLOAT32 1.5", kTypeFloat32, BitsOfFloat(-1e30f), BitsOfFloat(1e30f), 1.5, 0,
         BitsOfFloat(1.5f), "1.5"},
        {"FLOAT32 long", kTypeFloat32, BitsOfFloat(-1e30f), BitsOfFloat(1e30f), 1e15, 0,
         BitsOfFloat(1e15f), "1.000000e+15"},
        {"FLOAT32 limit", kTypeFloat32, 0, BitsOfFloat(100.0f), 100.5, 11, 0, "100.5"},
        {"USIGN8 truncated", kTypeUsign8, 0, 255, 254.9, 0, 254, "254"},
        {"USIGN8 fraction above the maximum", kTypeUsign8, 0, 255, 255.5, 11, 0, "255"},
        {"USIGN8 above", kTypeUsign8, 0, 200, 201.0, 11, 0, "201"},
        {"INT16 truncated toward zero", kTypeInt16, -100, 100, -99.9, 0, -99, "-99"},
        {"INT16 below", kTypeInt16, -100, 100, -100.5, 11, 0, "-100"},
        {"INT8 lowest", kTypeInt8, -128, 127, -128.0, 0, -128, "-128"},
        {"USIGN32 above 2^31", kTypeUsign32, 0, -1, 4000000000.0, 0,
         static_cast<int32_t>(4000000000u), "4000000000"},
        {"USIGN16 not a number", kTypeUsign16, 0, 0xFFFF, std::nan(""), 11, 0, "0"},
        {"INT32 not a number", kTypeInt32, kInt32Min, kInt32Max, std::nan(""), 11, 0, "0"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Define(base,
               {.number = kP,
                .name = "SPEED",
                .type = c.type,
                .minimum = c.minimum,
                .maximum = c.maximum,
                .value = 7,
                .unit = "rpm"});
        ASSERT_EQ(base.SetValueDouble(kP, c.v), c.code) << base.MessageBuffer;
        if (c.code == 0) {
            EXPECT_EQ(base.GetEntry(kP)->value, c.raw);
            EXPECT_STREQ(base.FormatStoredValue(kP, 0, false), c.shown);
        } else {
            EXPECT_EQ(base.GetEntry(kP)->value, 7);
            EXPECT_EQ(std::string(base.MessageBuffer),
                      std::string("New Value for parameter 120-SPEED (") + c.shown + " rpm) is out of valid range");
        }
    }
}

TEST_F(TypedAccessTest, GettersDeliverTheTypesNumbers) {
    struct Case {
        char type;
        int32_t raw;
        double number;    // GetValueDouble
        int64_t integer;  // GetValueU32 or GetValueS32, whichever the type takes
    };
    const Case cases[] = {
        {kTypeUsign8, 0x1FF, 255, 255},
        {kTypeUsign16, 0x12FFFF, 65535, 65535},
        {kTypeFixpt16, 0x10014, 1.0, 20},
        {kTypePassword, -1, 65535, 65535},
        {kTypeInt16, 0xFFFF, -1, -1},
        {kTypeInt8, 0x80, -128, -128},
        {kTypeInt32Q16, 98304, 1.5, 98304},
        {kTypeInt32, -7, -7, -7},
        {kTypeUsign32, -1, 4294967295.0, 4294967295},
        {kTypeErrStruc, static_cast<int32_t>(0xFFFF0103), 4294902019.0, 4294902019},
        {kTypeFloat32, BitsOfFloat(0.1f), 0.1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(TypeName(c.type));
        Define(base, {.number = kP, .name = "SPEED", .type = c.type, .value = c.raw});
        double d = 0;
        ASSERT_EQ(base.GetValueDouble(kP, &d), 0);
        EXPECT_DOUBLE_EQ(d, c.number);
        uint32_t u = 0;
        int32_t s = 0;
        if (base.GetValueU32(kP, &u) == 0)
            EXPECT_EQ(u, c.integer);
        else if (base.GetValueS32(kP, &s) == 0)
            EXPECT_EQ(s, c.integer);
        else
            EXPECT_EQ(c.type, kTypeFloat32);
        int32_t raw = 0;
        ASSERT_EQ(base.GetRawValue(kP, &raw), 0);
        EXPECT_EQ(raw, c.raw);
    }
    // The float getter keeps the float, the double getter rounds it to eight
    // digits; an error record has no float form.
    float f = 0;
    ASSERT_EQ(base.GetValueFloat(kP, &f), 0);
    EXPECT_EQ(f, 0.1f);
    Define(base, {.number = kP, .name = "SPEED", .type = kTypeErrStruc});
    EXPECT_EQ(base.GetValueFloat(kP, &f), kParaTypeMismatch);
}

TEST_F(TypedAccessTest, NarrowGettersCutTheWideResult) {
    Define(base, {.number = kP, .name = "SPEED", .type = kTypeUsign32, .value = 0x12345678});
    uint8_t u8 = 0;
    uint16_t u16 = 0;
    ASSERT_EQ(base.GetValueU8(kP, &u8), 0);
    ASSERT_EQ(base.GetValueU16(kP, &u16), 0);
    EXPECT_EQ(u8, 0x78);
    EXPECT_EQ(u16, 0x5678);
    Define(base, {.number = kP, .name = "SPEED", .type = kTypeInt32, .value = -70000});
    int8_t s8 = 0;
    int16_t s16 = 0;
    ASSERT_EQ(base.GetValueS8(kP, &s8), 0);
    ASSERT_EQ(base.GetValueS16(kP, &s16), 0);
    EXPECT_EQ(s8, static_cast<int8_t>(-70000));
    EXPECT_EQ(s16, static_cast<int16_t>(-70000));
}

TEST_F(TypedAccessTest, SetValueStringReadsTheTextByType) {
    struct Case {
        const char* what;
        char type;
        uint16_t flags;
        int32_t maximum;
        const char* text;
        int code;
        int32_t raw;
    };
    const Case cases[] = {
        {"hex USIGN32", kTypeUsign32, kFlagHex, -1, "1AH", 0, 26},
        {"hex lower h", kTypeUsign32, kFlagHex, -1, "ffh", 0, 255},
        {"hex USIGN16", kTypeUsign16, kFlagHex, 0xFFFF, "00FFH", 0, 255},
        {"hex beyond 16 bits", kTypeUsign16, kFlagHex, 0xFFFF, "1FFFFH", 11, 0},
        {"decimal", kTypeUsign16, 0, 0xFFFF, "1234", 0, 1234},
        {"decimal beyond 16 bits", kTypeUsign16, 0, 0xFFFF, "70000", 11, 0},
        {"negative unsigned", kTypeUsign8, 0, 255, "-1", 11, 0},
        {"USIGN32 above 2^31", kTypeUsign32, 0, -1, "3000000000", 0, static_cast<int32_t>(3000000000u)},
        {"INT16", kTypeInt16, 0, 0x7FFF, "-5", 11, 0},
        {"INT16 within", kTypeInt16, 0, 0x7FFF, "300x", 0, 300},
        {"INT16 beyond 16 bits", kTypeInt16, 0, 0x7FFF, "70000", 11, 0},
        {"INT8 beyond 8 bits", kTypeInt8, 0, 127, "200", 11, 0},
        {"FIXPT16", kTypeFixpt16, 0, 0xFFFF, "1.25", 0, 25},
        {"FIXPT16 negative", kTypeFixpt16, 0, 0xFFFF, "-1", 11, 0},
        {"FIXPT16 beyond 16 bits", kTypeFixpt16, 0, 0xFFFF, "3277", 11, 0},
        {"INT32Q16", kTypeInt32Q16, 0, kInt32Max, "1.5", 0, 98304},
        {"INT32Q16 exponent", kTypeInt32Q16, 0, kInt32Max, "2.5e1", 0, 25 * 65536},
        {"FLOAT32", kTypeFloat32, 0, BitsOfFloat(10.0f), "2.5", 0, BitsOfFloat(2.5f)},
        {"FLOAT32 not a number text", kTypeFloat32, 0, BitsOfFloat(10.0f), "nan", 0, 0},
        {"nothing readable", kTypeInt32, 0, 10, "abc", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Define(base,
               {.number = kP, .name = "SPEED", .type = c.type, .maximum = c.maximum, .value = 9, .flags = c.flags});
        EXPECT_EQ(base.SetValueString(kP, dstring(c.text)), c.code) << base.MessageBuffer;
        EXPECT_EQ(base.GetEntry(kP)->value, c.code == 0 ? c.raw : 9);
    }
}

TEST_F(TypedAccessTest, ValueTextsAreShownAndTakenBack) {
    Define(base,
           {.number = kP, .name = "MODE", .type = kTypeUsign8, .maximum = 2, .value = 1, .flags = kFlagValueTexts});
    base.GetValueTextTable().AddFirstText(kP, "OFF");
    base.GetValueTextTable().AddNextText(kP, " ON  (speed)");
    base.GetValueTextTable().AddNextText(kP, "-----");
    // A text is shown whole, without its outer blanks, and stays stored whole.
    EXPECT_STREQ(base.FormatStoredValue(kP, 0, true), "ON  (speed) (1)");
    EXPECT_STREQ(base.FormatStoredValue(kP, 0, false), "ON  (speed)");
    EXPECT_STREQ(base.GetValueTextTable().GetValueText(kP, 1), " ON  (speed)");
    EXPECT_STREQ(base.FormatRawValue(kP, 3, true), "");  // no text for 3

    // The text shown is the one taken back.
    ASSERT_EQ(base.SetValueString(kP, dstring("OFF")), 0);
    EXPECT_EQ(base.GetEntry(kP)->value, 0);
    ASSERT_EQ(base.SetValueString(kP, dstring("ON  (speed)")), 0);
    EXPECT_EQ(base.GetEntry(kP)->value, 1);
    // An unknown text stores 0 when 0 is within the limits.
    ASSERT_EQ(base.SetValueString(kP, dstring("FAST")), 0);
    EXPECT_EQ(base.GetEntry(kP)->value, 0);
    base.GetEntry(kP)->minimum = 1;
    EXPECT_EQ(base.SetValueString(kP, dstring("FAST")), kParaOutOfRange);
}

TEST_F(TypedAccessTest, StringValuesAreTextObjects) {
    Define(base, {.number = kP, .name = "AXNAM", .type = kTypeString});
    ASSERT_EQ(base.SetValueString(kP, dstring("Axis one")), 0);
    dstring out;
    ASSERT_EQ(base.GetValueString(kP, out), 0);
    EXPECT_EQ(out, dstring("Axis one"));
    EXPECT_STREQ(base.FormatStoredValue(kP, 0, false), "Axis one");
    // A text longer than the display buffer is cut to it; the value keeps it whole.
    const std::string longText(600, 'x');
    ASSERT_EQ(base.SetValueString(kP, dstring(longText.c_str())), 0);
    EXPECT_EQ(std::string(base.FormatStoredValue(kP, 0, false)), longText.substr(0, kDisplayTextSize - 1));
    ASSERT_EQ(base.GetValueString(kP, out), 0);
    EXPECT_EQ(out.Length(), 600);
}

TEST_F(TypedAccessTest, LimitsAreComparedAtTheTypesWidthByEveryChecker) {
    struct Case {
        const char* what;
        char type;
        int32_t minimum, maximum;
        int64_t v;      // given to SetValueU32 for unsigned types, SetValueS32 else
        int typedCode;  // of that setter
        bool rawTaken;  // SetRawValue, which narrows the value first
        bool checked;   // CheckRange of a device value
    };
    const Case cases[] = {
        {"USIGN8 256 at 32 bits", kTypeUsign8, 0, 0x1FF, 256, 11, true, true},
        {"USIGN8 limits at 8 bits", kTypeUsign8, 0, 0x1FF, 255, 0, true, true},
        {"USIGN16 low limit at 16 bits", kTypeUsign16, static_cast<int32_t>(0xFFFF0000), 1000, 500, 0, true, true},
        {"USIGN32 above 2^31", kTypeUsign32, 0, -1, 0xF0000000, 0, true, true},
        {"ERR_STRUC unchecked", kTypeErrStruc, 0, 0, 0x7FFFFFFF, 0, false, true},
        {"INT16 limits sign-extended", kTypeInt16, 0xFF9C, 100, -50, 0, true, true},
        {"INT16 below", kTypeInt16, 0xFF9C, 100, -101, 11, false, false},
        {"INT8 limits sign-extended", kTypeInt8, 0x80, 0x7F, -128, 0, true, true},
        {"INT32 above", kTypeInt32, -10, 10, 11, 11, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Define(base, {.number = kP, .name = "SPEED", .type = c.type, .minimum = c.minimum, .maximum = c.maximum});
        const int code = IsUnsignedType(c.type) ? base.SetValueU32(kP, static_cast<uint32_t>(c.v))
                                                : base.SetValueS32(kP, static_cast<int32_t>(c.v));
        EXPECT_EQ(code, c.typedCode) << base.MessageBuffer;
        EXPECT_EQ(base.SetRawValue(kP, static_cast<int32_t>(c.v)) == 0, c.rawTaken);
        EXPECT_EQ(base.CheckRange(static_cast<int32_t>(c.v), base.GetEntry(kP)), c.checked);
    }
}

TEST_F(TypedAccessTest, OutOfRangeMessageShowsTheValueAndUnit) {
    Define(base, {.number = kP, .name = "SPEED", .type = kTypeInt32, .minimum = -6000, .maximum = 6000, .unit = "rpm"});
    EXPECT_EQ(base.SetValueS32(kP, 6001), kParaOutOfRange);
    EXPECT_STREQ(base.MessageBuffer, "New Value for parameter 120-SPEED (6001 rpm) is out of valid range");
    EXPECT_EQ(base.SetRawValue(kP, -6001), kParaOutOfRange);
    EXPECT_STREQ(base.MessageBuffer, "New Value for parameter 120-SPEED (-6001 rpm) is out of valid range");
}

TEST_F(TypedAccessTest, RawSetterNarrowsAndRefusesTypesWithoutRawForm) {
    Define(base, {.number = kP, .name = "SPEED", .type = kTypeInt16, .minimum = -100, .maximum = 100});
    ASSERT_EQ(base.SetRawValue(kP, 0x1FFFF), 0);  // low 16 bits: -1
    EXPECT_EQ(base.GetEntry(kP)->value, -1);
    Define(base, {.number = kP, .name = "SPEED", .type = kTypeErrStruc, .maximum = 100});
    EXPECT_EQ(base.SetRawValue(kP, 1), kParaWriteLevel);
    EXPECT_STREQ(base.MessageBuffer, "Parameter 120-SPEED may not be written in user level 4");
}

TEST_F(TypedAccessTest, LowestUserLevelWritesOnlyModeAndPowerOnThroughTheLevelCheckedSetters) {
    SetUserLevel(1);
    Define(base, {.number = kP, .name = "SPEED", .type = kTypeUsign16, .maximum = 1000});
    EXPECT_EQ(base.SetValueDouble(kP, 5.0), kParaWriteLevel);
    EXPECT_STREQ(base.MessageBuffer, "Parameter 120-SPEED may not be written in user level 1");
    EXPECT_EQ(base.SetValueString(kP, dstring("5")), kParaWriteLevel);
    EXPECT_EQ(base.SetRawValue(kP, 5), kParaWriteLevel);
    EXPECT_EQ(base.GetEntry(kP)->value, 0);
    EXPECT_EQ(base.SetValueU32(kP, 5), 0);  // the unsigned setter has no level check
    EXPECT_EQ(base.GetEntry(kP)->value, 5);

    Define(base, {.number = 121, .name = "MODE", .type = kTypeUsign16, .maximum = 9, .access = 0x60});
    Define(base, {.number = 122, .name = "PWRON", .type = kTypeUsign16, .maximum = 9, .access = 0x70});
    EXPECT_EQ(base.SetValueDouble(121, 3.0), 0);
    // Still needs the write level of its access byte.
    EXPECT_EQ(base.SetValueDouble(122, 3.0), kParaWriteLevel);
    SetUserLevel(2);
    EXPECT_EQ(base.SetValueDouble(kP, 5.0), 0);
    EXPECT_TRUE(base.IsWriteAllowed(kP, 6));
    EXPECT_FALSE(base.IsWriteAllowed(122, 6));
}

TEST_F(TypedAccessTest, ArrayElementsConvertLikeScalarsAndStayInsideTheArray) {
    Define(base,
           {.number = kP,
            .name = "TABLE",
            .type = kTypeInt32Q16,
            .minimum = kInt32Min,
            .maximum = kInt32Max,
            .flags = kFlagArray},
           4);
    ASSERT_EQ(base.SetValueDouble(kP, 1.5, 3), 0);
    double v = 0;
    ASSERT_EQ(base.GetValueDouble(kP, &v, 3), 0);
    EXPECT_EQ(v, 1.5);
    EXPECT_STREQ(base.FormatStoredValue(kP, 3, false), "1.5");

    std::strcpy(base.MessageBuffer, "earlier message");
    EXPECT_EQ(base.GetValueDouble(kP, &v, 4), kParaShortArray);
    EXPECT_EQ(base.SetValueDouble(kP, 1.0, 4), kParaShortArray);
    EXPECT_EQ(base.GetValueDouble(kP, &v, -1), kParaShortArray);
    EXPECT_STREQ(base.MessageBuffer, "earlier message");
    EXPECT_STREQ(base.FormatStoredValue(kP, 4, false), "");

    // Every element gets the default.
    base.GetEntry(kP)->defaultValue = 2 * 65536;
    ASSERT_EQ(base.SetDefaultValue(kP), 0);
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(base.GetValueDouble(kP, &v, i), 0);
        EXPECT_EQ(v, 2.0);
    }
}

TEST_F(TypedAccessTest, ArrayOfATypeWithoutArrayClassIsInvalid) {
    Define(base, {.number = kP, .name = "PASSW", .type = kTypePassword, .maximum = 100, .flags = kFlagArray}, 4);
    EXPECT_EQ(base.GetArrayObject(kP), nullptr);
    double v = 0;
    EXPECT_EQ(base.GetValueDouble(kP, &v, 0), kParaInvalidData);
    EXPECT_STREQ(base.MessageBuffer, "Data of parameter 120-PASSW is invalid");
    EXPECT_EQ(base.SetValueU32(kP, 1, 0), kParaInvalidData);
    EXPECT_STREQ(base.FormatStoredValue(kP, 0, false), "");

    // Error records keep their arrays as 32-bit unsigned words.
    Define(base, {.number = 121, .name = "ERRS", .type = kTypeErrStruc, .flags = kFlagArray}, 2);
    ASSERT_EQ(base.SetValueU32(121, 0x80050103, 1), 0);
    uint32_t u = 0;
    ASSERT_EQ(base.GetValueU32(121, &u, 1), 0);
    EXPECT_EQ(u, 0x80050103u);
    EXPECT_STREQ(base.FormatStoredValue(121, 1, false), "E03-1,32773h");
}

TEST_F(TypedAccessTest, NumbersOutsideTheTableAreNoParameter) {
    Define(base, {.number = 5, .name = "FIVE", .type = kTypeUsign16, .maximum = 9});
    // 65541 has the low 16 bits of 5.
    for (int number : {1000, -1, 65541}) {
        SCOPED_TRACE(number);
        const std::string message = "There's no valid parameter on number " + std::to_string(number);
        uint32_t u = 0;
        double d = 0;
        int32_t raw = 0;
        dstring text;
        const int codes[] = {
            base.GetValueU32(number, &u),
            base.GetValueDouble(number, &d),
            base.GetRawValue(number, &raw),
            base.GetValueString(number, text),
            base.SetValueU32(number, 1),
            base.SetValueDouble(number, 1.0),
            base.SetRawValue(number, 1),
            base.SetValueString(number, dstring("1")),
            base.SetDefaultValue(number),
            base.RawToDouble(number, 1, &d),
            base.SelectParameter(number, false),
            base.ReadBusParameter(number, 0, 1),  // no bus: 25 comes first
        };
        for (size_t i = 0; i + 1 < std::size(codes); ++i) EXPECT_EQ(codes[i], kParaNoParameter) << i;
        EXPECT_EQ(codes[std::size(codes) - 1], kParaNoBus);
        base.SetValueU32(number, 1);
        EXPECT_EQ(base.MessageBuffer, message);
        EXPECT_STREQ(base.GetParameterName(number), "");
        EXPECT_STREQ(base.FormatRawValue(number, 1, true), "");
        EXPECT_FALSE(base.IsWriteAllowed(number, 15));
    }
    EXPECT_EQ(base.GetEntry(5)->value, 0);
}

TEST_F(TypedAccessTest, AbsentEntriesAreNoParameterAndLoseTheirName) {
    ParameterEntry& e = Define(base, {.number = kP, .name = "SPEED", .type = kTypeUsign16});
    e.valid = 0;
    uint32_t u = 0;
    EXPECT_EQ(base.GetValueU32(kP, &u), kParaNoParameter);
    EXPECT_STREQ(base.MessageBuffer, "There's no valid parameter on number 120");
    EXPECT_STREQ(base.GetParameterName(kP), "");
    EXPECT_EQ(e.name[0], '\0');
    EXPECT_STREQ(base.GetParameterUnit(kP), "");
}

}  // namespace
