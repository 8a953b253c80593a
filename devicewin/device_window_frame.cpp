#include "devicewin/device_window_frame.h"

#include <string>

#include "app/main/main_object.h"
#include "app/services/window_handler.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window.h"
#include "devicewin/poll_timer.h"
#include "devicewin/widget_changes.h"
#include "devicewin/widget_display.h"
#include "devicewin/widget_name.h"
#include "families/setup_context.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

// The help of a parameter widget is the device window's own; the toolkit's
// is kept from it.
int NoHelp(GwCore*, GwEvent*, GwUD) { return 0; }

// The redirection of a window found for a caller: the window its
// "Deversion_Dialog" names, made as a child of the caller's frame; the
// window itself when it has none. A window made only to be redirected is
// destroyed.
GwCore* Redirected(GwCore* window, GwCore* callerFrame) {
    GwCore* redirection = window->child(kRedirectionChildName);
    if (redirection == nullptr || redirection->frame() != window) return window;
    const std::string target = redirection->aux_text();
    if (TheWindowHandler().IndexOf(window) < 0) window->destroy();
    return GwRcMgr::load(callerFrame, target.c_str(), 1);
}

void Refresh(GwCore* below, GwCore* frame) {
    below->walk_through_children(ShowChildWidget, GwUD(static_cast<void*>(frame)));
}

void InitTimer(GwCore* widget) {
    const DeviceSetupContext* context = DeviceContextOf(widget);
    if (context->Base->IsOnline()) {
        widget->start_timer(kFirstPollPeriodMs);
    } else {
        widget->stop_timer();
    }
}

template <typename Refresh>
int Tick(GwCore* widget, Refresh refresh) {
    Main* main = GetMain();
    if (DeviceContextOf(widget) == nullptr || main == nullptr) return 1;
    if (!main->CheckTimerIntegrity(widget, true)) return 1;
    PollTimer timer{kDeviceWindowPollMaximumMs, kDeviceWindowPollWeightMs, kDeviceWindowPollMinimumMs, widget};
    widget->stop_timer();
    PollTimerRestartAtEnd restart(timer);
    refresh(widget, nullptr, GwUD());
    return 1;
}

void SetRect(GwCore* widget, const GwRect& rect) {
    if (widget != nullptr) widget->set_rect(rect);
}

}  // namespace

int CB_CallDeviceWindow(GwCore* widget, GwEvent*, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || userData.string().empty()) return 1;
    GwCore* callerFrame = widget->frame();
    GwCore* window = LoadDeviceWindowForVersion(callerFrame, userData.string(), context->Base.get());
    if (window == nullptr) return 1;
    window = Redirected(window, callerFrame);
    if (window == nullptr) return 1;
    WindowHandler& windows = TheWindowHandler();
    if (GwCore* listed = windows.FindByName(window->name().c_str())) {
        // A copy made for nothing is not left behind hidden.
        if (listed != window && windows.IndexOf(window) < 0) window->destroy();
        listed->set_focus();
        return 1;
    }
    window->set_user_data(GwUD(static_cast<void*>(context)));
    window->set_modality(kDeviceWindowModality);
    window->set_close_mode(kDeviceWindowCloseMode);
    windows.Add(window, context->Base->IsOnline() ? 1 : 0, nullptr, nullptr, 0);
    window->show();
    return 1;
}

int CB_CloseDeviceWindow_Update_Parent(GwCore* window, GwEvent* event, GwUD userData) {
    if (window == nullptr || !GwRcMgr::is_valid_child(window)) return 1;
    if (GwCore* parent = window->frame()->parent()) {
        parent->hide();
        parent->show();
    }
    return CB_CloseDeviceWindow(window, event, userData);
}

int CB_DvFctShowStandard(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr || widget->frame() == nullptr) return 1;
    GwCore* frame = widget->frame();
    Refresh(frame, frame);
    // Everything shown is as stored: nothing to take over.
    EnableTakeOverButton(widget, false);
    return 1;
}

int CB_DvFctShowObject(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr || widget->frame() == nullptr) return 1;
    Refresh(widget, widget->frame());
    return 1;
}

int ShowChildWidget(GwCore* child, GwUD frameData) {
    auto* frame = frameData.pointer_as<GwCore>();
    if (child == nullptr || child->frame() != frame) return 1;
    DeviceSetupContext* context = DeviceContextOf(child);
    if (context == nullptr) return 1;
    const std::string& name = child->name();
    if (name.find(kSheetMarker) != std::string::npos) {
        // The sheet refreshes itself.
        child->post_user_event(0, 0);
        return 1;
    }
    if (!child->has_binding(GwCB_HELP)) child->set_callback(GwCB_HELP, NoHelp);
    ParaBase* base = context->Base.get();
    const int n = ParameterFromWidgetName(base, name);
    if (n == 0 || !base->IsPresent(n)) return 1;
    if (child != frame->first_control() && child != frame && LeadingNumber(name) != 0) {
        // A control of its own kind shows itself.
        if (GwCallback show = child->lookup_callback(GwCB_SHOW)) {
            GwEvent event;
            show(child, &event, GwUD());
        }
        return 1;
    }
    return ShowWidgetValue(base, child);
}

int CB_DvFctInitTimerObject(GwCore* widget, GwEvent* event, GwUD userData) {
    if (DeviceContextOf(widget) == nullptr) return 1;
    InitTimer(widget);
    return CB_DvFctShowObject(widget, event, userData);
}

int CB_DvFctInitTimerStandard(GwCore* widget, GwEvent* event, GwUD userData) {
    if (DeviceContextOf(widget) == nullptr) return 1;
    InitTimer(widget);
    return CB_DvFctShowStandard(widget, event, userData);
}

int CB_DvFctTimerObject(GwCore* widget, GwEvent*, GwUD) { return Tick(widget, CB_DvFctShowObject); }

int CB_DvFctTimerStandard(GwCore* widget, GwEvent*, GwUD) { return Tick(widget, CB_DvFctShowStandard); }

int CB_StopAllTimer(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr || widget->frame() == nullptr) return 1;
    struct Walk {
        static int Stop(GwCore* child, GwUD caller) {
            if (GwRcMgr::is_valid_child(caller.pointer_as<GwCore>(), child)) child->stop_timer();
            return 1;
        }
    };
    widget->frame()->walk_through_children(Walk::Stop, GwUD(static_cast<void*>(widget)));
    return 1;
}

void SetCompactLayout(GwCore* frame, const std::array<GwRect, 4>& rects) {
    const GwRect a = rects[kContFuncRect];
    const GwRect b = rects[kFirstControlRect];
    const GwRect c = rects[kContValRect];
    const GwRect d = rects[kContSaveRect];
    const int dy = a.y - c.y;
    SetRect(frame->first_control(), {b.x, b.y, b.width, b.height + dy});
    SetRect(frame->frame_child(kContFuncName), {a.x, a.y, a.width, 0});
    SetRect(frame->frame_child(kContValName), {c.x, a.y, c.width, c.height});
    SetRect(frame->frame_child(kContSaveName), {d.x, d.y + dy, d.width, d.height});
}

int CB_SwitchSize(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    // Without a recorded layout the rectangles are placeholders that would
    // pile every part of the window into one corner.
    if (context == nullptr || !context->LayoutRecorded) return 1;
    GwCore* frame = widget->frame();
    GwCore* contFunc = frame->frame_child(kContFuncName);
    GwCore* first = frame->first_control();
    GwCore* contVal = frame->frame_child(kContValName);
    GwCore* contSave = frame->frame_child(kContSaveName);
    const GwRect a = context->Rects[kContFuncRect];
    const GwRect b = context->Rects[kFirstControlRect];
    const GwRect c = context->Rects[kContValRect];
    const GwRect d = context->Rects[kContSaveRect];
    if (!context->Expanded) {
        SetRect(contFunc, a);
        SetRect(first, b);
        SetRect(contVal, c);
        SetRect(contSave, d);
        context->Expanded = true;
        return 1;
    }
    SetCompactLayout(frame, context->Rects);
    context->Expanded = false;
    return 1;
}

int CB_SetFocusToDefault(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    if (GwCore* button = frame != nullptr ? frame->default_button() : nullptr) button->set_focus();
    return 1;
}
