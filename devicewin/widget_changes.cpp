#include "devicewin/widget_changes.h"

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

void SetWidgetChanged(GwCore* widget, bool changed) {
    if (widget == nullptr || !GwRcMgr::is_valid_child(widget)) return;
    widget->set_user_type(changed ? kChangedMark : "");
    if (changed) EnableTakeOverButton(widget, true);
}

bool IsWidgetChanged(const GwCore* widget) { return widget != nullptr && widget->user_type() == kChangedMark; }

void EnableTakeOverButton(GwCore* widget, bool enable) {
    if (widget == nullptr) return;
    GwCore* button = widget->frame_child(kTakeOverButtonName);
    // A button of a dialog inside the window belongs to that dialog.
    if (button == nullptr || button->frame() != widget->frame()) return;
    if (enable) {
        button->enable();
    } else {
        button->disable();
    }
}
