#include "families/pesco_setup_extras.h"

#include <sstream>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/notes/risk_note.h"
#include "app/services/message_box.h"
#include "app/services/window_handler.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/manual_control_window.h"
#include "devicewin/widget_changes.h"
#include "devicewin/widget_name.h"
#include "devicewin/widget_take.h"
#include "families/pesco_setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "platform/system/program_start.h"
#include "toolkit/base/gw_string.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_ud.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr int kGenericHandMode = 0;

GwCore* Sibling(const GwCore* widget, const std::string& name) {
    GwCore* parent = widget->parent();
    return parent != nullptr && !name.empty() ? parent->child(name) : nullptr;
}

void SetVisible(GwCore* widget, bool visible) {
    if (widget != nullptr) widget->set_considered(visible);
}

void SetToggle(const GwCore* widget, const char* name, bool on) {
    if (auto* toggle = dynamic_cast<GwToggle*>(Sibling(widget, name))) toggle->set_checked(on);
}

// The names of the switch's user data, split at blanks.
std::vector<std::string> SwitchNames(const GwUD& userData) {
    std::vector<std::string> names;
    std::istringstream words(userData.string());
    for (std::string word; words >> word;) names.push_back(word);
    names.resize(2);
    return names;
}

// The switch acts only while its own toggle is on.
bool IsSwitchedOn(const GwCore* widget) {
    const auto* toggle = dynamic_cast<const GwToggle*>(widget);
    return toggle != nullptr && toggle->is_checked();
}

}  // namespace

int CB5_CallHandMode(GwCore* widget, GwEvent* event, GwUD userData) {
    if (widget == nullptr) return 1;
    GwCore* frame = widget->frame();
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) {
        frame->destroy();
        return 1;
    }
    double mode = 0.0;
    if (context->ReadDouble(context->RunModeParameter, &mode) != kParaOk) {
        if (Main* main = GetMain()) main->ShowActiveDeviceError(kDeviceErrorMessage, frame);
        return 0;
    }
    const auto* pesco = dynamic_cast<const PescoSetupContext*>(context);
    const int32_t length = pesco != nullptr ? pesco->HandModeTableLength : 0;
    // A mode below 0 has no entry either.
    if (!(mode >= 0.0 && mode < length)) return 0;
    const int32_t entry = pesco->HandModeTable[static_cast<int>(mode)];
    if (entry == kGenericHandMode) return CB_CallDeviceControl(widget, event, userData);
    const std::string name = kHandModeWindowPrefix + std::to_string(entry);
    if (GwCore* listed = TheWindowHandler().FindByName(name.c_str())) {
        listed->set_focus();
        return 1;
    }
    if (!ShowRiskNoteManualMode(frame)) return 1;
    return CB_CallDeviceWindow(widget, event, GwUD(name));
}

int CB_ShowCalcCharacteristic(GwCore*, GwEvent*, GwUD) {
    if (platform::StartProgram(kCharacteristicViewer, {kCharacteristicViewer, kCharacteristicFile}, false) != 0) {
        std::string text(kExternalProcessError);
        text += kCharacteristicViewer;
        ShowErrorTextBox(text.c_str());
    }
    return 1;
}

int CB5_ShowInertia(GwCore* widget, GwEvent*, GwUD userData) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    const int parameter = ParameterFromWidgetName(context->Base.get(), widget->name());
    if (parameter == 0) return 1;
    const std::string& partner = userData.string();
    // A failed read shows the field as 0.
    double value = 0.0;
    context->ReadDouble(parameter, &value);
    if (value == 0.0) {
        widget->hide();
        SetVisible(Sibling(widget, partner), true);
        SetToggle(widget, kInertiaYesName, false);
        SetToggle(widget, kInertiaNoName, true);
    } else {
        SetVisible(Sibling(widget, partner), false);
        SetToggle(widget, kInertiaNoName, false);
        SetToggle(widget, kInertiaYesName, true);
    }
    return 1;
}

int CB5_ValShowInertia(GwCore* widget, GwEvent*, GwUD userData) {
    if (widget == nullptr || DeviceContextOf(widget) == nullptr || !IsSwitchedOn(widget)) return 1;
    const std::vector<std::string> names = SwitchNames(userData);
    if (names[0].empty()) return 1;
    SetVisible(Sibling(widget, names[0]), true);
    SetVisible(Sibling(widget, names[1]), false);
    return 1;
}

int CB5_ValHideInertia(GwCore* widget, GwEvent*, GwUD userData) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr || !IsSwitchedOn(widget)) return 1;
    const std::vector<std::string> names = SwitchNames(userData);
    if (names[0].empty()) return 1;
    if (GwCore* field = Sibling(widget, names[0])) {
        field->set_text("0");
        SetWidgetChanged(field, true);
        TakeWidgetValue(context->Base.get(), field, false);
        field->hide();
    }
    SetVisible(Sibling(widget, names[1]), true);
    return 1;
}

int CB5_CallVfcDeviceWindow(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    std::string name = userData.string();
    if (!name.empty()) {
        dstring mode;
        if (context->ReadString(kControlModeTextParameter, mode) == kParaOk &&
            std::string(mode.Text()) == kVfcControlModeText) {
            name += kVfcWindowSuffix;
        }
    }
    return CB_CallDeviceWindow(widget, event, GwUD(name));
}

int Pesco5_ShowCalcStartupCurrent(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    double percent = 0.0;
    double base = 0.0;
    context->ReadDouble(kStartupCurrentPercent, &percent);
    context->ReadDouble(kStartupCurrentBase, &base);
    widget->set_text(GwString::FromDouble(base * percent * 0.01).c_str());
    return 1;
}

int CB_ShowFieldContol(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = widget != nullptr ? DeviceContextOf(widget) : nullptr;
    if (context == nullptr) return 1;
    GwCore* page = widget->frame_child(kFieldControlPageName);
    if (page == nullptr) return 1;
    ParaBase* base = context->Base.get();
    const int kind = base->GetDeviceKind();
    if (kind != 5 && kind != 6) {
        page->set_considered(false);
        return 1;
    }
    if (base->IsOnline() &&
        base->ReadBusParameter(
            kFieldControlMotorKindParameter, 0, base->GetValueCount(kFieldControlMotorKindParameter)) != kParaOk) {
        return 1;
    }
    double motorKind = 0.0;
    if (base->GetValueDouble(kFieldControlMotorKindParameter, &motorKind) == kParaOk)
        page->set_considered(motorKind == 0.0);
    return 1;
}
