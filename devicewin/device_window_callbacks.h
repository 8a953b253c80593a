// The callbacks of the device windows, bound by name: the list that the
// callback tables of the device windows join.
#pragma once

#include "toolkit/core/gw_func_desc.h"

// Ends with the {nullptr, nullptr} entry. CB_CloseDeviceWindow is not in
// it: the tables name it themselves.
const GwFuncDesc* DeviceWindowCallbacks();
