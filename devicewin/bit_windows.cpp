#include "devicewin/bit_windows.h"

#include <cctype>

#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/widget_name.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_types.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"

namespace {

void OpenBitWindow(const char* stem, GwCore* caller, DeviceSetupContext* context, int n, int element) {
    if (caller == nullptr || context == nullptr) return;
    ParaBase* base = context->Base.get();
    const ParameterEntry* entry = base->GetEntry(n);
    if (entry == nullptr) return;
    const std::string word = BitWindowWord(entry->type);
    if (word.empty()) return;
    const std::string name = stem + word;

    // One window of a name: a listed one is closed, not only hidden, so that
    // repeated openings do not fill the window list.
    WindowHandler& windows = TheWindowHandler();
    if (GwCore* listed = windows.FindByName(name.c_str())) windows.Close(listed);

    GwCore* window = GwRcMgr::load(caller->frame(), name.c_str(), 1);
    if (window == nullptr) {
        ShowErrorText(("Unable to open window " + name).c_str(), caller->frame());
        return;
    }
    GwCore* intro = window->child(kBitIntroName);
    GwCore* first = window->first_control();
    GwCore* bits = first != nullptr ? first->child(1) : nullptr;
    if (intro == nullptr || bits == nullptr) {
        window->destroy();
        ShowErrorText(("Error in construction of bit state window " + name).c_str(), caller->frame());
        return;
    }
    window->set_title(base->GetParameterDescription(n));
    std::string number = std::to_string(n);
    if ((entry->flags & kFlagArray) != 0) number += "[" + std::to_string(element) + "]";
    intro->set_text(number + "-" + base->GetParameterName(n));
    bits->set_name(kBindingMarker + number);
    for (int bit = 0; bit <= kHighestBit; ++bit) {
        GwCore* child = bits->child(std::to_string(bit));
        if (child == nullptr) break;
        child->set_text(base->GetBitText(n, bit, element));
    }
    window->set_user_data(GwUD(static_cast<void*>(context)));
    window->set_modality(kDeviceWindowModality);
    window->set_close_mode(kDeviceWindowCloseMode);
    windows.Add(window, base->IsOnline() ? 1 : 0);
    window->show();
}

}  // namespace

std::string BitWindowWord(char typeCode) {
    switch (typeCode) {
        case kTypeUsign8:
            return "Byte";
        case kTypeUsign16:
            return "Word";
        case kTypeUsign32:
            return "DWord";
        default:
            return std::string();
    }
}

void OpenBitEditWindow(GwCore* caller, DeviceSetupContext* context, int n, int element) {
    OpenBitWindow(kBitEditStem, caller, context, n, element);
}

void OpenBitStateWindow(GwCore* caller, DeviceSetupContext* context, int n, int element) {
    OpenBitWindow(kBitStateStem, caller, context, n, element);
}

bool ParseBitTarget(DeviceSetupContext* context, const std::string& text, int* n, int* element) {
    if (context == nullptr || text.size() >= kMaxBitTargetText) return false;
    ParaBase* base = context->Base.get();
    *n = LeadingNumber(text);
    if (!base->IsPresent(*n)) return false;
    *element = 0;
    if ((base->GetEntry(*n)->flags & kFlagArray) == 0) return true;
    const size_t separator = text.find_first_of(" ,");
    if (separator == std::string::npos) return false;
    const size_t digit = text.find_first_not_of(" ,", separator);
    if (digit == std::string::npos || !std::isdigit(static_cast<unsigned char>(text[digit]))) return false;
    *element = LeadingNumber(text, digit);
    return true;
}

int CB_CallOtherBitEditWindow(GwCore* widget, GwEvent*, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    int n = 0;
    int element = 0;
    if (!ParseBitTarget(context, userData.string(), &n, &element)) return 1;
    // The new window goes beside the caller's, which is ended below (it may
    // be ended already when it was a listed window of the same name).
    GwRef<> own(widget->frame());
    GwCore* owner = own->owner() != nullptr ? own->owner() : GetMainWindow();
    OpenBitEditWindow(owner, context, n, element);
    if (own.get() != nullptr) {
        TheWindowHandler().DeleteWindow(own.get());
        own->hide();
        own->destroy();
    }
    return 0;
}
