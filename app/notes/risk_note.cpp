#include "app/notes/risk_note.h"

#include "app/services/services_hooks.h"
#include "app/services/user_level.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"

namespace {

constexpr int kHighestAskedLevel = 4;

}  // namespace

bool ShowRiskNote(const char* definition, GwCore* parent) {
    if (GetUserLevel() > kHighestAskedLevel) return true;
    GwCore* window = GwRcMgr::load(parent, definition, 1);
    if (window == nullptr) return false;
    const int result = window->go();
    window->destroy();
    return result == kRiskNoteConfirmed;
}

bool ShowRiskNoteAdjustmentChanged(GwCore* parent) { return ShowRiskNote(kRiskNoteAdjustmentChanged, parent); }

bool ShowRiskNoteManualMode(GwCore* parent) { return ShowRiskNote(kRiskNoteManualMode, parent); }

bool ShowRiskNoteTuning(GwCore* window) {
    GwCore* first = window != nullptr && GwRcMgr::is_valid_child(window) ? window->child(0) : nullptr;
    if (first != nullptr && first->aux_text() == kDontShowTuningNoteMark) return true;
    return ShowRiskNote(kRiskNoteTuning, window);
}

int CB_DontShowRiskNote_Tuning(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    GwCore* owner = widget->frame()->owner();
    if (owner == nullptr || owner == GetMainWindow()) return 1;
    auto* box = dynamic_cast<GwToggle*>(widget);
    GwCore* first = owner->child(0);
    if (box != nullptr && box->is_checked() && first != nullptr) first->set_aux_text(kDontShowTuningNoteMark);
    return 1;
}

int CB_CenterMessage(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    GwCore* frame = widget->frame();
    GwCore* owner = frame->owner();
    if (owner == nullptr) owner = GetMainWindow();
    if (owner == nullptr || !GwRcMgr::is_valid_child(owner)) return 1;
    const GwPosition at = owner->position();
    frame->set_position(
        {at.x + owner->width() / 2 - frame->width() / 2, at.y + owner->height() / 2 - frame->height() / 2});
    return 1;
}
