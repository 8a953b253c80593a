// GwFuncDesc: one entry of a callback table that the program registers with
// GwRcMgr::use_func_desc. A table ends with an entry whose name and function
// are both null.
#pragma once

#include "toolkit/core/gw_event.h"

struct GwFuncDesc {
    const char* name;
    GwCallback fn;
};
