// The 64-byte record of one parameter entry, as the parameter base D file
// stores it (little-endian, field by field). The 4 bytes at offset 56 held the
// value object's address; they are written as 0 and ignored on reading,
// because value objects live beside the table.
#pragma once

#include <cstdint>

#include "bus/base/parameter_entry.h"

inline constexpr int kEntryRecordSize = 64;

// Field offsets within the record.
namespace entry_record {
inline constexpr int kNumber = 0;
inline constexpr int kName = 2;
inline constexpr int kUnit = 8;
inline constexpr int kKind = 24;
inline constexpr int kType = 25;
inline constexpr int kSpare26 = 26;
inline constexpr int kMinimum = 28;
inline constexpr int kMaximum = 32;
inline constexpr int kDefault = 36;
inline constexpr int kValue = 40;
inline constexpr int kAccess = 44;
inline constexpr int kSpare45 = 45;
inline constexpr int kFlags = 46;
inline constexpr int kExtraWords = 48;
inline constexpr int kKPGroup = 52;
inline constexpr int kSCGroup = 53;
inline constexpr int kValid = 54;
inline constexpr int kMarkA = 55;
inline constexpr int kValueObject = 56;
inline constexpr int kTransfer = 60;
inline constexpr int kMarkB = 61;
inline constexpr int kSpare62 = 62;
}  // namespace entry_record

// Writes `e` into the 64 bytes at `record`.
void WriteEntryRecord(const ParameterEntry& e, uint8_t* record);
// Reads the 64 bytes at `record`; name and unit come out terminated (the last
// byte of each field is always 0).
ParameterEntry ReadEntryRecord(const uint8_t* record);
