#include "parameters/parabase/plc_project.h"

#include "parameters/parabase/parameter_name.h"

bool HasPlcProject(const ParaBase* base) {
    return base != nullptr && HasParameterNamed(*base, kPlcProjectParameter, kPlcProjectName);
}
