#include "families/manual_positioning.h"

#include <cstdlib>

#include "app/services/device_error.h"
#include "devicewin/device_context.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"

int PosHandRead(ParaBase* base, int number, double* out) {
    return base->IsOnline() ? base->ReadValueDouble(number, out) : base->GetValueDouble(number, out);
}

int PosHandWrite(ParaBase* base, int number, double value) {
    return base->IsOnline() ? base->WriteValueDouble(number, value) : base->SetValueDouble(number, value);
}

int PosHandReadText(ParaBase* base, int number, std::string* out) {
    dstring text;
    const int result = base->IsOnline() ? base->ReadValueString(number, text) : base->GetValueString(number, text);
    *out = result == 0 ? std::string(text.Text()) : std::string();
    return result;
}

int PosHandWriteText(ParaBase* base, int number, const std::string& text) {
    const dstring value(text.c_str());
    return base->IsOnline() ? base->WriteValueString(number, value) : base->SetValueString(number, value);
}

void PosHandCloseWindow(GwCore* widget) {
    if (widget == nullptr || !GwRcMgr::is_valid_child(widget)) return;
    GwCore* frame = widget->frame();
    if (frame == nullptr) return;
    GwRcMgr::disconnect_frame(frame);
    frame->hide();
    frame->destroy();
}

void PosHandSetUnit(GwCore* widget, DeviceSetupContext* context, int number) {
    std::string unit;
    if (PosHandReadText(context->Base.get(), number, &unit) != 0) {
        if (!ShowDeviceError(kPosHandDeviceError, context->Base.get(), widget->frame())) {
            PosHandCloseWindow(widget);
            return;
        }
        unit.clear();
    }
    if (auto* edit = dynamic_cast<GwEdit*>(widget)) edit->set_suffix(unit);
}

bool PosHandChecked(GwCore* widget, const char* name) {
    auto* toggle = widget->frame()->frame_child<GwToggle>(name);
    return toggle != nullptr && toggle->is_checked();
}

double PosHand_GetPositionWay(GwCore* widget) {
    GwCore* way = widget->frame()->frame_child(kPosHandWayName);
    if (way == nullptr || way->text().empty()) return 0.0;
    return std::atof(way->text().c_str());
}

bool PosHand_IsRelative(GwCore* widget) {
    if (DeviceContextOf(widget) == nullptr) return true;
    return !PosHandChecked(widget, kPosHandAbsoluteName);
}

int CB_4_PosHand_InitTimer(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    if (context->Base->IsOnline())
        widget->start_timer(kPosHandInitTimerMs);
    else
        widget->stop_timer();
    return 1;
}

int CB_5_PosHand_InitTimer(GwCore* widget, GwEvent* event, GwUD userData) {
    return CB_4_PosHand_InitTimer(widget, event, userData);
}
