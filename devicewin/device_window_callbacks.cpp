#include "devicewin/device_window_callbacks.h"

#include "devicewin/device_window.h"
#include "devicewin/widget_take.h"

namespace {

const GwFuncDesc kDeviceWindowCallbacks[] = {
    {"CB_EnableTakeItBut", CB_EnableTakeItBut},
    {"CB_MarkAllChanged", CB_MarkAllChanged},
    {nullptr, nullptr},
};

}  // namespace

const GwFuncDesc* DeviceWindowCallbacks() { return kDeviceWindowCallbacks; }
