#include "parameters/parabase/tests/file_set_fixture.h"

#include <filesystem>

#include "parameters/parabase/value_text_table.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"
#include "testsupport/test_env.h"

namespace parabasetest {

namespace {

std::filesystem::path DescriptionPath(const std::string& name) {
    return testsupport::RuntimePath("LANGUAGE/044/" + name + ".PIT");
}

}  // namespace

void FileSetTest::SetUp() {
    ParaBaseTest::SetUp();
    WriteDescriptionFile("tarn_std");
}

void FileSetTest::TearDown() {
    for (const std::string& name : descriptionFiles_) std::filesystem::remove(DescriptionPath(name));
    ParaBaseTest::TearDown();
}

void FileSetTest::WriteDescriptionFile(const std::string& name) {
    testsupport::WriteFile(DescriptionPath(name), "[parameterdescription]\nP001=from " + name + "\n");
    descriptionFiles_.push_back(name);
}

void FileSetTest::RemoveDescriptionFile(const std::string& name) { std::filesystem::remove(DescriptionPath(name)); }

std::string FileSetTest::UserPath(const std::string& name) { return "..\\userdata\\" + name; }

std::string FileSetTest::ReadUserFile(const std::string& name) {
    return testsupport::ReadFile(testsupport::RuntimePath("userdata/" + name));
}

void FileSetTest::WriteUserFile(const std::string& name, const std::string& bytes) {
    testsupport::WriteFile(testsupport::RuntimePath("userdata/" + name), bytes);
}

void SetElements(ParaBase& base, int number, const std::vector<int32_t>& raw) {
    darray* array = base.GetArrayObject(number);
    ASSERT_NE(array, nullptr) << number;
    ASSERT_LE(raw.size(), array->GetCount()) << number;
    for (size_t i = 0; i < raw.size(); ++i) {
        const auto value = static_cast<uint32_t>(raw[i]);
        const uint8_t bytes[4] = {static_cast<uint8_t>(value),
                                  static_cast<uint8_t>(value >> 8),
                                  static_cast<uint8_t>(value >> 16),
                                  static_cast<uint8_t>(value >> 24)};
        uint8_t* element = array->ElementAt(static_cast<int32_t>(i));
        ASSERT_NE(element, nullptr);
        std::copy_n(bytes, array->GetElementSize(), element);
    }
}

std::vector<int32_t> Elements(const ParaBase& base, int number) {
    std::vector<int32_t> out;
    if (const darray* array = base.GetArrayObject(number)) {
        for (int32_t i = 0; i < array->GetCount(); ++i) {
            int32_t v = 0;
            array->GetElement(&v, i);
            out.push_back(v);
        }
    }
    return out;
}

void FillEveryType(ParaBase& base) {
    constexpr int32_t kLowest32 = INT32_MIN;
    Define(base, {.number = 90, .name = "VERS2", .type = kTypeFloat32, .value = int32_t(kAltVersionBits)});
    Define(base, {.number = 91, .name = "TYPE", .type = kTypeUsign16, .maximum = 0xFFFF, .value = kDeviceCode});
    Define(base, {.number = 92, .name = "VERS", .type = kTypeFloat32, .value = int32_t(kVersionBits)});

    Define(base, {.number = 1, .name = "BEGR", .type = kTypeBegriff});
    Define(base, {.number = 2, .name = "BIN8", .type = kTypeBinary8, .value = 0x5A});
    ParameterEntry& u8 = Define(base,
                                {.number = 3,
                                 .name = "MODE",
                                 .type = kTypeUsign8,
                                 .maximum = 2,
                                 .value = 2,
                                 .flags = kFlagValueTexts,
                                 .unit = "-",
                                 .access = 0x21});
    u8.kind = '1';
    u8.KPGroup = 3;
    u8.SCGroup = 4;
    u8.markB = 1;
    u8.extraWords[0] = 0x1234;
    u8.extraWords[1] = 0xFEDC;
    u8.spare26[0] = 0x11;
    u8.spare45 = 0x45;
    u8.spare62[1] = 0x62;
    Define(base, {.number = 4, .name = "BIN16", .type = kTypeBinary16, .value = 0xA5A5});
    Define(base,
           {.number = 5, .name = "U16", .type = kTypeUsign16, .maximum = 0xFFFF, .value = 0xFFFF, .flags = kFlagHex});
    Define(base, {.number = 6, .name = "FIX", .type = kTypeFixpt16, .maximum = 0xFFFF, .value = 123});
    Define(base, {.number = 7, .name = "PASS", .type = kTypePassword, .value = 4711});
    Define(base,
           {.number = 8,
            .name = "I16",
            .type = kTypeInt16,
            .minimum = -32768,
            .maximum = 32767,
            .value = -5,
            .unit = "rpm"});
    Define(base, {.number = 9, .name = "Q16", .type = kTypeInt32Q16, .value = -3 * 65536});
    Define(base, {.number = 10, .name = "F32", .type = kTypeFloat32, .value = int32_t(kNineDigitFloatBits)});
    Define(base, {.number = 11, .name = "ERR", .type = kTypeErrStruc, .value = 0x00030201});
    Define(base, {.number = 12, .name = "NAME", .type = kTypeString});
    base.SetTextObject(12, std::make_unique<dstring>("Axis one"));
    Define(base, {.number = 13, .name = "I8", .type = kTypeInt8, .minimum = -128, .maximum = 127, .value = -128});
    Define(base, {.number = 14, .name = "I32", .type = kTypeInt32, .minimum = kLowest32, .value = kLowest32});
    Define(base, {.number = 15, .name = "U32", .type = kTypeUsign32, .maximum = -1, .value = -1});
    Define(base, {.number = 16, .name = "BLANK", .type = kTypeString});
    base.SetTextObject(16, std::make_unique<dstring>(" two  words "));
    Define(base, {.number = 17, .name = "EMPTY", .type = kTypeString});

    struct Array {
        int number;
        char type;
        std::vector<int32_t> raw;
    };
    const Array arrays[] = {
        {200, kTypeUsign8, {0, 255, 7}},
        {201, kTypeUsign16, {0xFFFF, 1}},
        {202, kTypeFixpt16, {20, 0xFFFF}},
        {203, kTypeInt16, {-1, -32768, 32767}},
        {204, kTypeInt32Q16, {65536, -1}},
        {205, kTypeFloat32, {int32_t(kNineDigitFloatBits), int32_t(0xBF800000)}},
        {206, kTypeErrStruc, {0x00010203}},
        {207, kTypeInt8, {-128, 127}},
        {208, kTypeInt32, {kLowest32, -1, 2147483647}},
        {209, kTypeUsign32, {-1, 0}},
    };
    for (const Array& a : arrays) {
        Define(base,
               {.number = a.number, .name = "ARR", .type = a.type, .flags = kFlagArray},
               static_cast<int>(a.raw.size()));
        SetElements(base, a.number, a.raw);
    }

    ValueTextTable& texts = base.GetValueTextTable();
    texts.AddFirstText(3, "Off");
    texts.AddNextText(3, "");
    texts.AddNextText(3, "Speed control");
    base.TableLoaded = 1;
    base.EntryCount = kParameterCount;
}

}  // namespace parabasetest
