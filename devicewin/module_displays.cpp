#include "devicewin/module_displays.h"

#include <string>

#include "app/services/app_files.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/services_hooks.h"
#include "devicewin/bit_windows.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/widget_display.h"
#include "devicewin/widget_name.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/profile/gw_profile.h"

namespace {

void ShowFrameChild(GwCore* widget, const char* name, bool shown) {
    if (GwCore* child = widget->frame_child(name)) child->set_considered(shown);
}

std::string WithoutTrailingBlanks(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

}  // namespace

int CB_DvFctShowIO(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ShowFrameChild(widget, "NoHollin", context->CheckModeSelection());
    ShowFrameChild(widget, "NoQuarn", context->CheckModeSelectionAlt());
    return CB_DvFctShowStandard(widget, event, userData);
}

int CB_DvFctShowBusSystem(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    double slot1 = 0.0;
    double slot2 = 0.0;
    if (ReadShownValue(base, kOptionSlot1, &slot1) != 0 || ReadShownValue(base, kOptionSlot2, &slot2) != 0) {
        ShowDeviceError(kParaBaseErrorMessage, base, GetMainWindow());
        widget->frame()->hide();
        return 1;
    }
    const auto fitted = [&](int module) { return TruncatedValue(slot1) == module || TruncatedValue(slot2) == module; };
    ShowFrameChild(widget, "NoCANtarn", !fitted(kModuleCanTarn));
    ShowFrameChild(widget, "NoCANopen", !fitted(kModuleCanOpen));
    ShowFrameChild(widget, "NoProfibus", !fitted(kModuleProfibus));
    return CB_DvFctShowStandard(widget, event, userData);
}

int CB_ShowUnit(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || widget->name().empty()) return 1;
    const int n = LeadingNumber(widget->name());
    widget->set_text(std::string("[") + context->Base->GetParameterUnit(n) + "]");
    return 1;
}

int CB_ShowUnitSuffix(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    auto* edit = dynamic_cast<GwEdit*>(widget);
    if (context == nullptr || edit == nullptr || !widget->is_class(GwFORMATEDIT_CLASS) || widget->name().empty())
        return 1;
    const int n = ParameterFromWidgetName(context->Base.get(), widget->name());
    if (n != 0) edit->set_suffix(context->Base->GetParameterUnit(n));
    return 1;
}

int CB_BrandIO(GwCore* widget, GwEvent*, GwUD) {
    GwProfile* profile = MainProfile();
    if (profile == nullptr || !profile->select_section("Options")) return 1;
    for (const char* key : {"DigitalHollin", "NoHollin"}) {
        if (GwCore* target = widget->frame_child(key)) target->set_text(profile->read(key));
    }
    return 1;
}

int CB_CallDravoDeviceWindow(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    if (base->IsPresent(kKeypadNameParameter) &&
        WithoutTrailingBlanks(base->GetParameterName(kKeypadNameParameter)) == kKeypadParameterName) {
        return CB_CallDeviceWindow(widget, event, userData);
    }
    const dstring format = GetMessageString(kWindowNotAvailableMessage, kMainMessagesSection);
    const std::string text = platform::FormatChecked(format.Text(), {std::to_string(kKeypadNameParameter)}).text;
    ShowErrorText(text.c_str(), widget->frame());
    return 1;
}

int CB_SetBitInfoTippText(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || widget->parent() == nullptr) return 1;
    ParaBase* base = context->Base.get();
    const std::string& parentName = widget->parent()->name();
    const int n = ParameterFromWidgetName(base, parentName);
    if (n == 0) return 1;
    const int element = FieldIndexFromWidgetName(parentName);
    widget->set_tip_text(base->GetBitText(n, LeadingNumber(widget->name()), element < 0 ? 0 : element));
    return 1;
}

int CB_CallBitState(GwCore* widget, GwEvent*, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    int n = 0;
    int element = 0;
    if (ParseBitTarget(context, userData.string(), &n, &element)) OpenBitStateWindow(widget, context, n, element);
    return 1;
}
