// The callback tables the program registers at start-up, in their order:
// each binds the names that the definition files of the windows it serves
// use, and ends with an entry of null name and null function.
#pragma once

#include <array>

#include "toolkit/core/gw_func_desc.h"

inline constexpr int kCallbackTableCount = 17;
// Name under which every table but the plot window's binds the toolkit's
// interpreter.
inline constexpr char kInterpreterName[] = "interpreter";

const std::array<const GwFuncDesc*, kCallbackTableCount>& CallbackTables();
