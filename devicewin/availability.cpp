#include "devicewin/availability.h"

#include "app/main/main_object.h"
#include "app/main/user_levels.h"
#include "app/services/user_level.h"
#include "bus/serial/tarn_bus.h"
#include "devicewin/device_context.h"
#include "devicewin/widget_name.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr char kDisableMarker[] = "_P_DISABLE_";
constexpr char kHideMarker[] = "_P_HIDE_";

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

void Unbind(GwCore* child) {
    child->clear_id();
    child->disable();
}

bool IsScrolledList(const GwCore* widget) {
    return widget->is_class(GwMULTILIST_CLASS) || widget->is_class(GwSELECTIONLIST_CLASS);
}

void ApplyWriteRight(ParaBase* base, GwCore* child, int n) {
    if (base->IsWriteAllowed(n, GetUserLevel())) {
        if (child->is_class(GwCOMBO_CLASS) || IsScrolledList(child)) {
            child->set_editable(false);
            child->set_background("white");
        }
        return;
    }
    if (child->is_sensitive() && (IsScrolledList(child) || child->is_editable())) {
        child->set_editable(false);
        child->set_background("default");
        child->set_focusable(false);
        if (IsScrolledList(child)) child->disable();
    }
    if (child->is_class(GwTOGGLE_CLASS) || child->is_class(GwCONTAINER_CLASS)) child->disable();
}

bool IsOnlineBase(GwCore* widget) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    return context != nullptr && context->Base->IsOnline();
}

}  // namespace

int CB_CheckParaID(GwCore* widget, GwEvent*, GwUD) {
    widget->walk_through_children(CheckParaIdChild, GwUD(static_cast<void*>(widget->frame())));
    return 1;
}

int CheckParaIdChild(GwCore* child, GwUD walkData) {
    if (child->frame() != walkData.pointer()) return 1;
    DeviceSetupContext* context = DeviceContextOf(child);
    if (context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    const std::string& name = child->name();
    if (StartsWith(name, kDisableMarker)) {
        if (const int n = NumberAfterPrefix(name, kDisableMarker)) {
            child->set_sensitive(base->IsPresent(n));
            return 1;
        }
    }
    if (StartsWith(name, kHideMarker)) {
        if (const int n = NumberAfterPrefix(name, kHideMarker)) {
            if (base->IsPresent(n)) {
                child->show();
            } else {
                child->hide();
            }
            return 1;
        }
    }
    const int n = ParameterFromWidgetName(base, name);
    if (n == 0) return 1;
    if (!base->IsPresent(n) || (IsOffsetWidgetName(name) && !HasNamesakeInGroup(base, n))) {
        Unbind(child);
        return 1;
    }
    ApplyWriteRight(base, child, n);
    return 1;
}

int CB_DisableIfOffline(GwCore* widget, GwEvent*, GwUD) {
    bool enabled = IsOnlineBase(widget);
    if (!widget->aux_text().empty()) enabled = enabled && GetUserLevel() >= LeadingNumber(widget->aux_text());
    widget->set_sensitive(enabled);
    return 1;
}

int CB_DisableIfOfflineAndCheckGlobalManualMode(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    const bool serial = main != nullptr && main->GetActiveBus() != nullptr &&
                        main->GetActiveBus() == static_cast<DataBus*>(main->GetSerialBus());
    widget->set_sensitive(IsOnlineBase(widget) && IsHandModeEnabled() && serial);
    return 1;
}
