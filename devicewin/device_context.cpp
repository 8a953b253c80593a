#include "devicewin/device_context.h"

#include "families/setup_context.h"
#include "toolkit/core/gw_core.h"

DeviceSetupContext* DeviceContextOf(const GwCore* widget) {
    const GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    if (frame == nullptr || !frame->user_data().is_pointer()) return nullptr;
    return frame->user_data().pointer_as<DeviceSetupContext>();
}
