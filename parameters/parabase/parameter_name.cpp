#include "parameters/parabase/parameter_name.h"

#include <cstring>

#include "parameters/parabase/para_base.h"

std::string PresentParameterName(const ParaBase& base, int number) {
    if (!base.IsPresent(number)) return {};
    const ParameterEntry* e = base.GetEntry(number);
    return std::string(e->name, strnlen(e->name, kEntryNameSize));
}

bool HasParameterNamed(const ParaBase& base, int number, std::string_view name) {
    return base.IsPresent(number) && PresentParameterName(base, number) == name;
}

bool HasParameterTrimmedNamed(const ParaBase& base, int number, std::string_view name) {
    if (!base.IsPresent(number)) return false;
    const std::string full = PresentParameterName(base, number);
    const size_t first = full.find_first_not_of(' ');
    if (first == std::string::npos) return name.empty();
    const size_t last = full.find_last_not_of(' ');
    return std::string_view(full).substr(first, last - first + 1) == name;
}
