#include "parameters/parabase/tests/parabase_fixture.h"

#include <cstring>

#include "app/services/app_files.h"
#include "parameters/values/darray.h"
#include "testsupport/test_env.h"

namespace parabasetest {

ParameterEntry& Define(ParaBase& base, const Param& p, int elements) {
    ParameterEntry& e = *base.GetEntry(p.number);
    e = ParameterEntry{};
    e.number = static_cast<int16_t>(p.number);
    std::memset(e.name, ' ', kEntryNameSize - 1);
    std::memcpy(e.name, p.name, std::min<size_t>(std::strlen(p.name), kEntryNameSize - 1));
    std::strncpy(e.unit, p.unit, kEntryUnitSize - 1);
    e.type = p.type;
    e.minimum = p.minimum;
    e.maximum = p.maximum;
    e.value = p.value;
    e.defaultValue = p.defaultValue;
    e.flags = p.flags;
    e.access = p.access;
    e.valid = 1;
    e.transfer = 1;
    if (p.flags & kFlagArray) base.SetArrayObject(p.number, CreateArrayForType(p.type, elements));
    return e;
}

void ParaBaseTest::SetUp() { OpenApplicationFiles(); }

void ParaBaseTest::TearDown() { CloseApplicationFiles(); }

std::string ParaBaseTest::ProgramLog() { return testsupport::ReadFile(testsupport::RuntimePath("TMP/DataLogger.txt")); }

}  // namespace parabasetest
