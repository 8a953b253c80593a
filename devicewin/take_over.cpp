#include "devicewin/take_over.h"

#include "app/main/main_object.h"
#include "devicewin/device_context.h"
#include "devicewin/device_control_windows.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/widget_take.h"
#include "families/setup_context.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_timers.h"

namespace {

// An edit still being typed in is committed before the walk reads it.
void CommitTyping(GwCore* widget) {
    widget->set_focus();
    GwProcessPendingEvents();
}

}  // namespace

int TakeChildWidgetValue(GwCore* child, GwUD frameData) {
    if (child == nullptr || child->frame() != frameData.pointer_as<GwCore>()) return 1;
    DeviceSetupContext* context = DeviceContextOf(child);
    if (context == nullptr) return 1;
    return TakeWidgetValue(context->Base.get(), child, false);
}

bool TakeOverFrame(GwCore* below, GwCore* frame) {
    // walk_through_children gives 0 when a step stopped it.
    return below->walk_through_children(TakeChildWidgetValue, GwUD(static_cast<void*>(frame))) != 0;
}

int CB_DvFctTakeIt(GwCore* widget, GwEvent* event, GwUD userData) {
    GwWaitObject wait;
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    CommitTyping(widget);
    GwCore* window = widget->frame();
    if (!TakeOverFrame(window, window)) return 1;
    CB_DvFctShowStandard(window, event, userData);
    context->Modified = true;
    return 1;
}

int TakeItForControl(GwCore* widget, GwEvent* event, GwUD userData) {
    GwWaitObject wait;
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    CommitTyping(widget);
    if (!TakeOverFrame(widget->frame(), widget)) return 1;
    CB_DvFctShowStandard(widget, event, userData);
    context->Modified = true;
    return 1;
}

int CB_DvFctOK(GwCore* widget, GwEvent*, GwUD) {
    GwWaitObject wait;
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* window = widget->frame();
    if (!TakeOverFrame(window, window)) return 1;
    context->Modified = true;
    window->hide();
    return 1;
}

int CB_DvFctOK_IgnoreRm(GwCore* widget, GwEvent* event, GwUD userData) {
    GwWaitObject wait;
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    if (context->Base->IsOnline()) {
        if (Main* main = GetMain()) main->IgnoreNextRunModeChange();
        CloseDeviceControlWindows(context->Base.get());
    }
    return CB_DvFctOK(widget, event, userData);
}
