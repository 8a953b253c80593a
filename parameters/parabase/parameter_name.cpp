#include "parameters/parabase/parameter_name.h"

#include <cstring>

#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"

std::string PresentParameterName(const ParaBase& base, int number) {
    if (!base.IsPresent(number)) return {};
    const ParameterEntry* e = base.GetEntry(number);
    return std::string(e->name, strnlen(e->name, kEntryNameSize));
}

std::string TrimmedParameterName(const ParaBase& base, int number) {
    std::string name = PresentParameterName(base, number);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
}

bool HasParameterNamed(const ParaBase& base, int number, std::string_view name) {
    return base.IsPresent(number) && PresentParameterName(base, number) == name;
}

bool HasParameterTrimmedNamed(const ParaBase& base, int number, std::string_view name) {
    if (!base.IsPresent(number)) return false;
    dstring trimmed(PresentParameterName(base, number).c_str());
    trimmed.TrimLeft(' ');
    trimmed.TrimRight(' ');
    return trimmed.View() == name;
}
