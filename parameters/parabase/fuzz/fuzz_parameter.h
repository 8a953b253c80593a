// A parameter for the fuzz targets that read values into a table: present,
// valid, of the given type over its whole range, holding `raw`.
#pragma once

#include <cstdint>
#include <cstring>

#include "parameters/parabase/para_base.h"

namespace parabasefuzz {

inline void DefineParameter(ParaBase& base, int number, char type, int32_t raw) {
    constexpr uint32_t kLowestFloat = 0xFF7FFFFF;
    constexpr uint32_t kHighestFloat = 0x7F7FFFFF;
    ParameterEntry& e = *base.GetEntry(number);
    e = ParameterEntry{};
    e.number = static_cast<int16_t>(number);
    std::memcpy(e.name, "PARAM", 5);
    e.type = type;
    e.minimum = type == kTypeFloat32 ? static_cast<int32_t>(kLowestFloat) : INT32_MIN;
    e.maximum = type == kTypeFloat32 ? static_cast<int32_t>(kHighestFloat) : INT32_MAX;
    e.value = raw;
    e.valid = 1;
}

}  // namespace parabasefuzz
