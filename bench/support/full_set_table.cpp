#include "bench/support/full_set_table.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <iterator>
#include <string>

#include "app/services/app_files.h"
#include "platform/files/text_file.h"

namespace bench {

namespace {

constexpr int kEntries = 1000;
constexpr int kVersionParameter2 = 90;
constexpr int kDeviceCodeParameter = 91;
constexpr int kVersionParameter = 92;
constexpr int kUnitTextParameter = 107;
constexpr int kTextIndexParameter = 108;
// Firmware version in the drive's steps of 0.05.
constexpr uint32_t kVersionSteps = 72;

// Every 40th parameter has value texts, every 50th is a string or an array.
constexpr int kTextEvery = 40;
constexpr int kTextsPerParameter = 4;
constexpr int kStringEvery = 50;
constexpr int kStringAt = 25;
constexpr int kArrayEvery = 50;
constexpr int kArrayAt = 45;
constexpr int kArrayElements = 64;
constexpr char kStringValue[] = "Axis of the line 01";
// The description file a read falls back on when the firmware has none.
constexpr char kStandardDescriptionFile[] = "tarn_std.PIT";

// Kind byte of a parameter whose value the program does not check.
constexpr char kUncheckedKind = '1';

const char* const kUnitTexts[] = {"-", "rpm", "A", "V", "ms", "Hz", "%", "Nm"};

// The scalar types by the last digit of the parameter number.
const char* const kScalarTypes[] = {
    "INT16", "USIGN16", "INT32", "FLOAT32", "USIGN8", "BINARY16", "INT32", "USIGN32", "INT8", "FIXPT16"};

sim::DriveParameter Parameter(int number, const char* type) {
    sim::DriveParameter p;
    p.number = number;
    char name[8];
    std::snprintf(name, sizeof name, "P%03d", number);
    p.name = name;
    p.type = sim::FindDriveType(type);
    p.unit_index = static_cast<uint8_t>(number % std::size(kUnitTexts));
    const int width = p.type->width;
    if (p.type->is_float) {
        p.minimum = std::bit_cast<uint32_t>(-1000.0f);
        p.maximum = std::bit_cast<uint32_t>(1000.0f);
        p.value = std::bit_cast<uint32_t>(0.25f * static_cast<float>(number % 100));
    } else if (p.type->is_signed) {
        const int bits = width > 0 ? 8 * width : 32;
        p.minimum = bits >= 32 ? 0x80000000u : static_cast<uint32_t>(-(int64_t{1} << (bits - 1)));
        p.maximum = bits >= 32 ? 0x7FFFFFFFu : static_cast<uint32_t>((int64_t{1} << (bits - 1)) - 1);
        p.value = static_cast<uint32_t>(-(number % 100));
    } else {
        const int bits = width > 0 ? 8 * width : 16;
        p.maximum = bits >= 32 ? 0xFFFFFFFFu : static_cast<uint32_t>((uint64_t{1} << bits) - 1);
        p.value = static_cast<uint32_t>(number % 100);
    }
    p.default_value = p.value;
    p.sc_group = static_cast<uint8_t>(1 + number % 8);
    return p;
}

}  // namespace

sim::DriveTable FullSetTable() {
    sim::DriveTable table;
    for (int number = 1; number < kEntries; ++number) {
        if (std::ranges::find(kFullSetAbsent, number) != std::end(kFullSetAbsent)) continue;
        sim::DriveParameter p;
        if (number % kStringEvery == kStringAt) {
            p = Parameter(number, "STRING");
            p.text = kStringValue;
        } else if (number % kArrayEvery == kArrayAt) {
            p = Parameter(number, number % (2 * kArrayEvery) == kArrayAt ? "USIGN16" : "INT32");
            p.flags |= sim::kFlagArray;
            for (int i = 0; i < kArrayElements; ++i) p.elements.push_back(p.Widen(static_cast<uint32_t>(i * 3)));
        } else {
            p = Parameter(number, kScalarTypes[number % std::size(kScalarTypes)]);
            // Bit fields have no limits; the drive marks them unchecked.
            if (!p.type->is_string && p.type->width == 0) p.kind = kUncheckedKind;
            if (number % kTextEvery == 4) {
                p.flags |= sim::kFlagValueTexts;
                p.maximum = kTextsPerParameter - 1;
                p.value = 1;
                for (int k = 0; k < kTextsPerParameter; ++k) p.value_texts[k] = "Mode " + std::to_string(k);
            }
        }
        table.Put(p);
    }

    // The registers the program reads the set through, and the identity.
    sim::DriveParameter units = Parameter(kUnitTextParameter, "USIGN8");
    units.unit_index = 0;
    for (size_t i = 0; i < std::size(kUnitTexts); ++i) units.value_texts[static_cast<int>(i)] = kUnitTexts[i];
    table.Put(units);
    sim::DriveParameter index = Parameter(kTextIndexParameter, "USIGN8");
    index.value = 0;
    table.Put(index);
    sim::DriveParameter code = Parameter(kDeviceCodeParameter, "USIGN16");
    code.value = kFullSetDeviceCode;
    code.read_only = true;
    table.Put(code);
    sim::DriveParameter version = Parameter(kVersionParameter, "FLOAT32");
    version.value = std::bit_cast<uint32_t>(kFullSetVersion);
    version.read_only = true;
    table.Put(version);
    sim::DriveParameter version2 = Parameter(kVersionParameter2, "FLOAT32");
    version2.value = std::bit_cast<uint32_t>(kFullSetVersion);
    version2.read_only = true;
    table.Put(version2);

    table.type_number = kFullSetDeviceCode;
    table.version = kVersionSteps;
    return table;
}

int FullSetPresentCount() { return kEntries - 1 - static_cast<int>(std::size(kFullSetAbsent)); }

int EntriesInDataSet(const ParaBase& base) {
    int read = 0;
    for (int i = 0; i < kParameterCount; ++i) read += base.IsPresent(i) && base.GetEntry(i)->transfer != 0 ? 1 : 0;
    return read;
}

void WriteStandardDescriptionFile() {
    platform::ReplaceFile(GetLanguageDir() + "\\" + kStandardDescriptionFile,
                          "[parameterdescription]\nP001=Parameter one\n");
}

}  // namespace bench
