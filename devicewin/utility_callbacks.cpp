#include "devicewin/utility_callbacks.h"

#include <cstdint>

#include "app/services/app_files.h"
#include "app/services/device_error.h"
#include "app/services/user_level.h"
#include "devicewin/device_context.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "platform/system/program_start.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr int kDeviceErrorMessage = 5;

bool MotorIdentOffered(GwCore* widget, DeviceSetupContext* context) {
    ParaBase* base = context->Base.get();
    if (!base->IsOnline()) return false;
    if (base->GetDeviceKind() != kIdentModeDeviceKind) return true;
    uint8_t mode = 0;
    if (base->ReadValueU8(kMotorIdentParameter, &mode) != 0) {
        ShowDeviceError(kDeviceErrorMessage, base, widget->frame());
        return false;
    }
    if (mode == 0) return GetUserLevel() >= kIdentModeZeroLevel;
    if (mode == 1) return GetUserLevel() >= kIdentModeOneLevel;
    return false;
}

}  // namespace

int CB_ShowMotorIdent(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    widget->set_sensitive(MotorIdentOffered(widget, context));
    return 1;
}

int CB_OverlenContent2Tooltip(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    const std::string text = widget->text();
    widget->set_tip_text(widget->text_width(text) > widget->width() ? text : std::string());
    return 1;
}

int CB_CallExplorer(GwCore* widget, GwEvent*, GwUD) {
    if (widget != nullptr) platform::OpenWithDesktop(widget->text());
    return 1;
}

int CB_SetDeviceNameAsText(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    double type = 0.0;
    if (context->ReadDouble(kDeviceTypeParameter, &type) != 0) {
        ShowDeviceError(kDeviceErrorMessage, context->Base.get(), widget->frame());
        return 1;
    }
    widget->set_text(GetDeviceTypeName(static_cast<unsigned>(type)));
    return 1;
}
