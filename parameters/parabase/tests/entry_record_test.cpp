#include "parameters/parabase/entry_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

ParameterEntry SampleEntry() {
    ParameterEntry e;
    e.number = 0x0123;
    std::memcpy(e.name, "PWRON", 6);
    std::memcpy(e.unit, "rpm", 4);
    e.kind = '1';
    e.type = '4';
    e.spare26[0] = 0xA1;
    e.spare26[1] = 0xA2;
    e.minimum = -2;
    e.maximum = 0x11223344;
    e.defaultValue = 0x55667788;
    e.value = 0x7F000001;
    e.access = 0x63;
    e.spare45 = 0xB5;
    e.flags = 0x0520;
    e.extraWords[0] = 0xC1C2;
    e.extraWords[1] = 0xD1D2;
    e.KPGroup = 9;
    e.SCGroup = 10;
    e.valid = 1;
    e.markA = 1;
    e.transfer = 1;
    e.markB = 1;
    e.spare62[0] = 0xE1;
    e.spare62[1] = 0xE2;
    return e;
}

TEST(EntryRecord, FieldsSitAtTheirOffsetsLittleEndian) {
    uint8_t record[kEntryRecordSize];
    std::memset(record, 0xEE, sizeof record);
    WriteEntryRecord(SampleEntry(), record);
    const std::vector<uint8_t> want = {
        0x23, 0x01,                            // 0 number
        'P',  'W',  'R',  'O',  'N', 0,        // 2 name
        'r',  'p',  'm',  0,    0,   0, 0, 0,  // 8 unit
        0,    0,    0,    0,    0,   0, 0, 0,  //
        '1',  '4',  0xA1, 0xA2,                // 24 kind, type, two spare bytes
        0xFE, 0xFF, 0xFF, 0xFF,                // 28 minimum -2
        0x44, 0x33, 0x22, 0x11,                // 32 maximum
        0x88, 0x77, 0x66, 0x55,                // 36 default
        0x01, 0x00, 0x00, 0x7F,                // 40 value
        0x63, 0xB5, 0x20, 0x05,                // 44 access, spare, flags
        0xC2, 0xC1, 0xD2, 0xD1,                // 48 two words
        9,    10,   1,    1,                   // 52 KP group, SC group, valid, mark A
        0,    0,    0,    0,                   // 56 value object: always 0
        1,    1,    0xE1, 0xE2,                // 60 transfer, mark B, spare
    };
    EXPECT_EQ(std::vector<uint8_t>(record, record + kEntryRecordSize), want);
}

TEST(EntryRecord, ReadsBackWhatWasWrittenAndIgnoresTheValueObjectBytes) {
    uint8_t record[kEntryRecordSize];
    WriteEntryRecord(SampleEntry(), record);
    std::memset(record + entry_record::kValueObject, 0x5A, 4);  // an address from an old file
    const ParameterEntry e = ReadEntryRecord(record);
    uint8_t again[kEntryRecordSize];
    WriteEntryRecord(e, again);
    std::memset(record + entry_record::kValueObject, 0, 4);
    EXPECT_EQ(0, std::memcmp(record, again, kEntryRecordSize));
    EXPECT_EQ(e.minimum, -2);
    EXPECT_EQ(e.flags, 0x0520);
}

TEST(EntryRecord, NameAndUnitFromAFileAreTerminated) {
    uint8_t record[kEntryRecordSize] = {};
    std::memset(record + entry_record::kName, 'N', kEntryNameSize);
    std::memset(record + entry_record::kUnit, 'U', kEntryUnitSize);
    const ParameterEntry e = ReadEntryRecord(record);
    EXPECT_STREQ(e.name, "NNNNN");
    EXPECT_STREQ(e.unit, "UUUUUUUUUUUUUUU");
}

}  // namespace
