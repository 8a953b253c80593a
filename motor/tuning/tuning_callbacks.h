// The callbacks of the rated-point calculation and the controller set-up by
// name, for the callback tables of the windows that bind them.
#pragma once

#include "toolkit/core/gw_func_desc.h"

// Ends with the {nullptr, nullptr} entry.
const GwFuncDesc* MotorTuningCallbacks();
