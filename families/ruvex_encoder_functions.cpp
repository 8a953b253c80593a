#include "families/ruvex_encoder_functions.h"

#include <algorithm>
#include <array>
#include <string>

#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/user_level.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/take_over.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_item_list.h"
#include "toolkit/core/gw_toggle.h"

namespace {

using EncoderToggles = std::array<GwToggle*, 3>;
using SimulationLists = std::array<GwItemList*, 4>;

// The widgets of these names below `widget` (or below its frame), typed;
// false when one is missing.
template <typename T, size_t N>
bool FindAll(GwCore* widget, bool fromFrame, const char* const (&names)[N], std::array<T*, N>& found) {
    for (size_t i = 0; i < N; ++i) {
        found[i] = fromFrame ? widget->frame_child<T>(names[i]) : widget->child<T>(names[i]);
        if (found[i] == nullptr) return false;
    }
    return true;
}

bool FindToggles(GwCore* widget, bool fromFrame, EncoderToggles& toggles) {
    return FindAll(widget, fromFrame, kEncoderFunctionNames, toggles);
}

bool FindLists(GwCore* widget, bool fromFrame, SimulationLists& lists) {
    return FindAll(widget, fromFrame, kSimulationListNames, lists);
}

std::string ReadText(DeviceSetupContext* context, int number) {
    dstring text;
    context->ReadString(number, text);
    return text.Text();
}

// Bits 0-1 choose the item of the first list, bits 2, 3 and 4 item 1 or 0 of
// the others.
void SelectSimulationBits(const SimulationLists& lists, int bits) {
    lists[0]->select(bits & 3);
    for (int i = 1; i < 4; ++i) lists[i]->select((bits >> (i + 1)) & 1);
}

// A list without a selection counts as its first item, so that no field
// spills into the bits of its neighbours.
int ComposeSimulationBits(const SimulationLists& lists) {
    const int weights[] = {1, 4, 8, 16};
    int bits = 0;
    for (int i = 0; i < 4; ++i) bits += std::max(0, lists[i]->first_selected()) * weights[i];
    return bits;
}

// Writes the simulation's bit field from the window's lists; nothing when a
// list is missing or the drive has no such parameter.
void WriteSimulationBits(GwCore* widget) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    SimulationLists lists;
    if (context == nullptr || !FindLists(widget, true, lists)) return;
    ParaBase* base = context->Base.get();
    if (!base->IsPresent(kEncoderSimulationParameter)) return;
    if (context->StoreDouble(kEncoderSimulationParameter, ComposeSimulationBits(lists)) != kParaOk) {
        ShowDeviceError(kParaBaseErrorMessage, base, widget->frame());
    }
}

}  // namespace

int CB4_Mot_ShowEncoderFunc(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    if (GwCore* commutation = widget->child(kCommutationName)) {
        commutation->set_considered(context->Base->IsPresent(kCommutationParameter) &&
                                    GetUserLevel() >= kCommutationUserLevel);
    }
    const std::string function = ReadText(context, kEncoderFunctionParameter);
    const std::string type = ReadText(context, kEncoderTypeParameter);
    EncoderToggles toggles;
    if (!FindToggles(widget, false, toggles)) return 1;
    const size_t chosen = function == "OFF" ? 0 : type == "RES" ? 1 : 2;
    for (size_t i = 0; i < toggles.size(); ++i) toggles[i]->set_checked(i == chosen);
    return 1;
}

int CB4_Mot_CallEnc(GwCore* widget, GwEvent* event, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    EncoderToggles toggles;
    if (context == nullptr || !FindToggles(widget, true, toggles)) return 1;
    const auto chosen = std::find_if(toggles.begin(), toggles.end(), [](GwToggle* t) { return t->is_checked(); });
    if (chosen == toggles.end()) return 1;
    const size_t function = static_cast<size_t>(chosen - toggles.begin());
    CB_CallDeviceWindow(widget, event, GwUD(kEncoderWindows[function]));
    // What the drive makes of these texts is not reported here.
    if (function == 0) {
        context->StoreString(kEncoderFunctionParameter, dstring("OFF"));
        return 1;
    }
    context->StoreString(kEncoderOptionParameter, dstring("R"));
    context->StoreString(kEncoderTypeParameter, dstring(function == 1 ? "RES" : "OFF"));
    return 1;
}

int CB4_ShowEncSim(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    SimulationLists lists;
    if (context == nullptr || !FindLists(widget, false, lists)) return 1;
    ParaBase* base = context->Base.get();
    if (!base->IsPresent(kEncoderSimulationParameter)) {
        for (GwItemList* list : lists) list->set_sensitive(false);
        return 1;
    }
    double value = 0.0;
    if (context->ReadDouble(kEncoderSimulationParameter, &value) != kParaOk) {
        ShowDeviceError(kParaBaseErrorMessage, base, widget->frame());
        return 1;
    }
    SelectSimulationBits(lists, static_cast<int>(value));
    return 1;
}

int CB4_DvFctOK_EncSim(GwCore* widget, GwEvent* event, GwUD userData) {
    if (DeviceContextOf(widget) == nullptr) return 1;
    WriteSimulationBits(widget);
    return CB_DvFctOK(widget, event, userData);
}

int CB4_DvFctTakeIt_EncSim(GwCore* widget, GwEvent* event, GwUD userData) {
    if (DeviceContextOf(widget) == nullptr) return 1;
    WriteSimulationBits(widget);
    return CB_DvFctTakeIt(widget, event, userData);
}

int CB_ShowResolutionOfEncoderSim(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    const int number = kSimulatedResolutionParameter;
    if (base->IsOnline() && base->ReadBusParameter(number, 0, base->GetValueCount(number)) != kParaOk) return 1;
    // The format comes from the window's definition: filled only when it
    // takes exactly the one text.
    const platform::FormatResult text =
        platform::FormatChecked(widget->aux_text(), {platform::FormatArg(base->FormatStoredValue(number, 0, false))});
    if (text.ok) widget->set_text(text.text.c_str());
    return 1;
}
