#include "parameters/parabase/entry_record.h"

#include <cstring>

#include "parameters/parabase/para_types.h"

namespace {

void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Get32(const uint8_t* p) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(p[i]) << (8 * i);
    return v;
}

}  // namespace

void WriteEntryRecord(const ParameterEntry& e, uint8_t* r) {
    using namespace entry_record;
    std::memset(r, 0, kEntryRecordSize);
    Put16(r + kNumber, static_cast<uint16_t>(e.number));
    std::memcpy(r + kName, e.name, kEntryNameSize);
    std::memcpy(r + kUnit, e.unit, kEntryUnitSize);
    r[kKind] = static_cast<uint8_t>(e.kind);
    r[kType] = static_cast<uint8_t>(e.type);
    std::memcpy(r + kSpare26, e.spare26, sizeof e.spare26);
    Put32(r + kMinimum, static_cast<uint32_t>(e.minimum));
    Put32(r + kMaximum, static_cast<uint32_t>(e.maximum));
    Put32(r + kDefault, static_cast<uint32_t>(e.defaultValue));
    Put32(r + kValue, static_cast<uint32_t>(e.value));
    r[kAccess] = e.access;
    r[kSpare45] = e.spare45;
    Put16(r + kFlags, e.flags);
    Put16(r + kExtraWords, e.extraWords[0]);
    Put16(r + kExtraWords + 2, e.extraWords[1]);
    r[kKPGroup] = e.KPGroup;
    r[kSCGroup] = e.SCGroup;
    r[kValid] = e.valid;
    r[kMarkA] = e.markA;
    // kValueObject stays 0.
    r[kTransfer] = e.transfer;
    r[kMarkB] = e.markB;
    std::memcpy(r + kSpare62, e.spare62, sizeof e.spare62);
}

ParameterEntry ReadEntryRecord(const uint8_t* r) {
    using namespace entry_record;
    ParameterEntry e;
    e.number = static_cast<int16_t>(Get16(r + kNumber));
    std::memcpy(e.name, r + kName, kEntryNameSize);
    std::memcpy(e.unit, r + kUnit, kEntryUnitSize);
    e.kind = static_cast<char>(r[kKind]);
    e.type = static_cast<char>(r[kType]);
    std::memcpy(e.spare26, r + kSpare26, sizeof e.spare26);
    e.minimum = static_cast<int32_t>(Get32(r + kMinimum));
    e.maximum = static_cast<int32_t>(Get32(r + kMaximum));
    e.defaultValue = static_cast<int32_t>(Get32(r + kDefault));
    e.value = static_cast<int32_t>(Get32(r + kValue));
    e.access = r[kAccess];
    e.spare45 = r[kSpare45];
    e.flags = Get16(r + kFlags);
    e.extraWords[0] = Get16(r + kExtraWords);
    e.extraWords[1] = Get16(r + kExtraWords + 2);
    e.KPGroup = r[kKPGroup];
    e.SCGroup = r[kSCGroup];
    e.valid = r[kValid];
    e.markA = r[kMarkA];
    e.transfer = r[kTransfer];
    e.markB = r[kMarkB];
    std::memcpy(e.spare62, r + kSpare62, sizeof e.spare62);
    TerminateTexts(e);
    return e;
}
