#include "devicewin/device_window_callbacks.h"

#include "devicewin/device_window.h"

namespace {

const GwFuncDesc kDeviceWindowCallbacks[] = {
    {nullptr, nullptr},
};

}  // namespace

const GwFuncDesc* DeviceWindowCallbacks() { return kDeviceWindowCallbacks; }
