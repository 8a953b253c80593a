#include "devicewin/scope_channels.h"

#include <cstdlib>
#include <string>

#include "devicewin/device_context.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_description_file.h"
#include "platform/base/reset_hooks.h"
#include "scope/recorder/scope_recorder.h"
#include "scope/varlist/scope_variable_list.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"

namespace {

platform::ResetHook resetScopeChannels([] { ScopeChannels().Recorder.reset(); });

ScopeRecorder* Recorder() { return ScopeChannels().Recorder.get(); }

bool Knows(ScopeRecorder* recorder, const std::string& name) {
    ScopeVariableList* list = recorder->GetVariableList();
    return list != nullptr && list->SelectByName(name);
}

std::string Introduction(ScopeRecorder* recorder, const std::string& name) {
    ParaBase* base = recorder->GetParaBase();
    ParaDescriptionFile* file = base != nullptr ? base->GetDescriptionFile() : nullptr;
    const char* text = file != nullptr ? file->GetScopeEntryIntroduction(name.c_str()) : nullptr;
    return text != nullptr ? text : name;
}

}  // namespace

ScopeChannelState& ScopeChannels() {
    static ScopeChannelState state;
    return state;
}

int CB_DS_Init(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    std::unique_ptr<ScopeRecorder>& recorder = ScopeChannels().Recorder;
    // The old one first: its end puts back the settings it saved.
    recorder.reset();
    recorder = std::make_unique<ScopeRecorder>(context->Base.get(), "");
    if (!recorder->IsValid()) {
        recorder.reset();
        widget->frame()->destroy();
    }
    return 1;
}

int CB_DS_SetTipText(GwCore* widget, GwEvent*, GwUD) {
    ScopeRecorder* recorder = Recorder();
    if (recorder == nullptr || widget == nullptr) return 1;
    const std::string name = widget->text();
    if (Knows(recorder, name)) {
        widget->enable();
        widget->set_tip_text(name + " = " + Introduction(recorder, name));
    } else {
        widget->disable();
    }
    return 1;
}

int CB_DS_Popup(GwCore* widget, GwEvent*, GwUD) {
    ScopeRecorder* recorder = Recorder();
    if (recorder == nullptr || widget == nullptr) return 1;
    GwCore* popup = GwRcMgr::load(widget->frame(), kChannelPopupName, 1);
    if (popup == nullptr) return 1;
    const std::string name = widget->text();
    popup->set_aux_text(name);
    for (int channel = 0; channel < kScopeChannelCount; ++channel) {
        if (auto* toggle = popup->child<GwToggle>(std::to_string(channel))) {
            toggle->set_checked(recorder->GetChannelVariableName(channel) == name);
        }
    }
    popup->go();
    // One popup per request: it is not kept for the next one.
    popup->destroy();
    return 1;
}

int CB_DS_SetToCh(GwCore* widget, GwEvent*, GwUD userData) {
    ScopeRecorder* recorder = Recorder();
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    if (recorder == nullptr || toggle == nullptr || toggle->parent() == nullptr) return 1;
    const int channel = std::atoi(userData.string().c_str());
    const std::string name = toggle->is_checked() ? toggle->parent()->aux_text() : kNullVariable;
    recorder->SetChannelVariable(channel, name.c_str());
    return 1;
}
