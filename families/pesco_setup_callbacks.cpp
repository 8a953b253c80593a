#include "families/pesco_setup_callbacks.h"

#include <cmath>
#include <string>

#include "devicewin/change_callbacks.h"
#include "devicewin/device_context.h"
#include "devicewin/take_over.h"
#include "families/setup_context.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_item_list.h"

int CB_5_PORTA_Changed(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    auto* portA = widget->frame()->frame_child<GwItemList>(kPortAName);
    const int selected = portA != nullptr ? portA->first_selected() : -1;
    if (selected < 0) return 1;
    double minimum = 0.0;
    context->Base->GetMinimumAsDouble(kPortAParameter, &minimum);
    const double value = selected + std::trunc(minimum);
    const bool on = std::string(context->Base->FormatDoubleValue(kPortAParameter, value, false)) == kPortAOnText;
    for (const char* name : kPortANames) {
        if (GwCore* target = widget->frame()->frame_child(name)) target->set_sensitive(on);
    }
    if (widget == portA) return CB_DvFctParaChange(widget, event, userData);
    return 1;
}

int CB_DvFctTakeItPST(GwCore* widget, GwEvent* event, GwUD userData) {
    CB_DvFctTakeIt(widget, event, userData);
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    if (GwCore* table = frame != nullptr ? frame->frame_child(kPositionSequenceTableName) : nullptr) {
        table->hide();
        table->show();
    }
    return 1;
}
