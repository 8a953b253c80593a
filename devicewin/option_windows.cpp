#include "devicewin/option_windows.h"

#include <string>

#include "app/services/window_handler.h"
#include "devicewin/change_callbacks.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window.h"
#include "devicewin/widget_name.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

// The button's parameter, its selected value's text and the stem.
struct OptionChoice {
    DeviceSetupContext* Context = nullptr;
    std::string ValueText;
    std::string Stem;
};

bool ChoiceOf(GwCore* button, const GwUD& userData, OptionChoice* choice) {
    const int n = LeadingNumber(button->name());
    if (button->name().empty() || n == 0) return false;
    auto* combo = button->frame_child<GwCombo>("_PN_" + button->name());
    if (combo == nullptr || combo->first_selected() < 0 || userData.string().empty()) return false;
    DeviceSetupContext* context = DeviceContextOf(button);
    if (context == nullptr) return false;
    ParaBase* base = context->Base.get();
    double minimum = 0.0;
    base->GetMinimumAsDouble(n, &minimum);
    choice->Context = context;
    choice->ValueText = base->FormatDoubleValue(n, minimum + combo->first_selected(), false);
    choice->Stem = userData.string();
    return true;
}

// The name of the last entry of the index window that offers the value
// text; empty without an index window or such an entry. An index window
// loaded only to be read is destroyed again.
std::string IndexEntryFor(GwCore* button, const OptionChoice& choice) {
    GwCore* index = LoadDeviceWindowForVersion(button->frame(), choice.Stem, choice.Context->Base.get());
    if (index == nullptr) return std::string();
    const bool listed = TheWindowHandler().IndexOf(index) >= 0 || index->is_shown();
    std::string found;
    if (GwCore* entries = index->first_control()) {
        for (GwCore* entry : entries->children()) {
            if (entry->text() == choice.ValueText) found = entry->name();
        }
    }
    if (!listed) index->destroy();
    return found;
}

// Whether a device window of that name is there or can be made, without
// making it.
bool DeviceWindowExists(const std::string& name, ParaBase* base) {
    for (const std::string& candidate : DeviceWindowCandidates(name, base)) {
        if (TheWindowHandler().FindByName(candidate.c_str()) != nullptr) return true;
        if (GwRcMgr::exists(candidate.c_str())) return true;
    }
    return false;
}

void SetButtonActive(GwCore* button, bool active) {
    const bool hides = button->aux_text() == "hide";
    if (active) {
        if (hides) {
            button->show();
        } else {
            button->enable();
        }
    } else {
        if (hides) {
            button->hide();
        } else {
            button->disable();
        }
    }
}

}  // namespace

int SetOptionState(GwCore* button, GwEvent*, GwUD userData) {
    OptionChoice choice;
    if (button == nullptr || !ChoiceOf(button, userData, &choice)) return 1;
    const bool active = !IndexEntryFor(button, choice).empty() ||
                        DeviceWindowExists(choice.Stem + choice.ValueText, choice.Context->Base.get());
    SetButtonActive(button, active);
    return 1;
}

int CB_DvFctParaChanged_SetOptionState(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context != nullptr) {
        const int n = ParameterFromWidgetName(context->Base.get(), widget->name());
        if (n != 0 && context->Base->IsPresent(n)) {
            if (GwCore* button = widget->frame_child(std::to_string(n))) SetOptionState(button, event, userData);
        }
    }
    return CB_DvFctParaChange(widget, event, userData);
}

int CB_CallOption(GwCore* button, GwEvent*, GwUD userData) {
    OptionChoice choice;
    if (button == nullptr || !ChoiceOf(button, userData, &choice)) return 1;
    std::string name = IndexEntryFor(button, choice);
    if (name.empty()) name = choice.Stem + choice.ValueText;
    ParaBase* base = choice.Context->Base.get();
    GwCore* window = LoadDeviceWindowForVersion(button->frame(), name, base);
    if (window == nullptr) return 1;
    WindowHandler& windows = TheWindowHandler();
    if (windows.IndexOf(window) >= 0) {
        // Closed and made anew, so that the option window always opens fresh.
        windows.Close(window);
        window = LoadDeviceWindowForVersion(button->frame(), name, base);
        if (window == nullptr) return 1;
    }
    window->set_user_data(GwUD(static_cast<void*>(choice.Context)));
    window->set_modality(1);
    window->set_close_mode(2);
    windows.Add(window, base->IsOnline() ? 1 : 0);
    window->show();
    return 1;
}
