#include "toolkit/core/gw_button.h"

#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_widget_store.h"

bool GwPushButton::click() {
    if (!is_alive() || !is_sensitive() || !is_visible()) return false;
    GwDispatchGuard guard;  // the callback may destroy the button's window
    GwEvent ev;
    fire(GwCB_ACTIVATE, ev);
    if (is_alive() && result_code_ >= 0) end_modal(result_code_);
    return true;
}

bool GwPushButton::Pushed(int code) {
    if (!is_alive() || !is_sensitive() || !is_visible()) return false;
    GwEvent ev;
    ev.reason = code;
    if (has_binding(GwCB_BUTTON)) {
        fire(GwCB_BUTTON, ev);
    } else {
        fire(GwCB_ACTIVATE, ev);
    }
    return true;
}

bool GwPushButton::press() { return Pushed(GwBUTTON_DOWN); }

bool GwPushButton::release() { return Pushed(GwBUTTON_UP); }

void GwPushButton::apply_definition(const GwDefinition& def, int language) {
    GwCore::apply_definition(def, language);
    result_code_ = def.number("result", language, -1);
}

void GwPushButton::copy_state_to(GwCore* copy) const {
    GwCore::copy_state_to(copy);
    if (auto* b = dynamic_cast<GwPushButton*>(copy)) b->result_code_ = result_code_;
}
