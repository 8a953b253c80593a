// The oscilloscope window's state, its creation, show and end, the link its
// engine's parameter base reports progress through, the plot-tool page and
// the callbacks by name.
#include "scope/window/scope_window.h"

#include "app/main/main_object.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/plot_tool_setting.h"
#include "app/services/window_handler.h"
#include "platform/base/reset_hooks.h"
#include "scope/recorder/scope_parameters.h"
#include "scope/window/scope_window_parts.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_types.h"

namespace {

// The toggles of the plot-tool page, named as [Options] "PlotTool" names the
// tools, in the order the first one on is stored.
constexpr const char* kPlotToolToggles[] = {"extern", "intern", "ScopeWizard"};
constexpr char kExternalToolField[] = "ExternalTool";

ScopeWindowState& State() {
    static ScopeWindowState state;
    return state;
}

const platform::ResetHook kResetScopeWindow([] { State() = ScopeWindowState(); });

class WindowLink : public ScopeWindowLink {
public:
    bool HasEngine() override { return ScopeWindowOpen(); }
    bool IsStopRequested() override { return State().StopRequested; }
    void SetSlider(float percent) override {
        if (auto* slider = dynamic_cast<GwSlider*>(ScopeChild(kSlider))) slider->set_value(percent);
    }
    void ResetSlider() override {
        if (auto* slider = dynamic_cast<GwSlider*>(ScopeChild(kSlider))) slider->reset();
    }
};

GwCore* OpenWindow() { return State().Closed ? nullptr : State().Window.get(); }

GwCore* FrameOf(GwCore* widget) { return widget != nullptr ? widget->frame() : nullptr; }

// Makes the engine anew on a copy of the active base.
void MakeEngine(ParaBase& active) {
    ScopeWindowState& state = State();
    state.Engine.reset();
    state.Base.reset();
    state.Base = std::make_unique<ScopeBase>(active, &TheScopeWindowLink());
    state.Engine = std::make_unique<ScopeRecorder>(state.Base.get(), "");
    ++state.EngineSerial;
}

}  // namespace

ScopeWindowState& TheScopeWindowState() { return State(); }

ScopeWindowLink& TheScopeWindowLink() {
    static WindowLink link;
    return link;
}

void ShowScopePlotPage() {
    GwCore* window = OpenWindow();
    if (window == nullptr) return;
    const std::string tool = GetPlotTool();
    for (const char* name : kPlotToolToggles) {
        if (auto* toggle = window->child<GwToggle>(name)) toggle->set_checked(tool == name);
    }
    if (GwCore* field = window->child(kExternalToolField)) field->set_text(GetExternalPlotTool());
}

void StoreScopePlotPage() {
    GwCore* window = OpenWindow();
    if (window == nullptr) return;
    for (const char* name : kPlotToolToggles) {
        auto* toggle = window->child<GwToggle>(name);
        if (toggle != nullptr && toggle->is_checked()) {
            SetPlotTool(name);
            break;
        }
    }
    if (GwCore* field = window->child(kExternalToolField)) SetExternalPlotTool(field->text());
}

void RestoreScopeTriggerMode() {
    ScopeWindowState& state = State();
    if (!state.RestorePending || state.Engine == nullptr) return;
    state.RestorePending = false;
    state.Engine->SetTriggerMode(state.SavedTriggerMode);
}

bool CheckScopeEngineError() {
    ScopeWindowState& state = State();
    if (state.Engine == nullptr || !state.Engine->HasError()) return true;
    const GwRef<> window = OpenWindow();
    if (!ShowDeviceError(kScopeDeviceErrorMessage, state.Base.get(), window.get())) {
        if (window.get() != nullptr && !State().Closed) window->destroy();
        return false;
    }
    // The box ran events: the window may have closed or made a new engine.
    if (state.Engine != nullptr) state.Engine->ClearError();
    return ScopeWindowOpen();
}

int CB_CreateScope(GwCore* widget, GwEvent*, GwUD) {
    GwCore::set_global_cursor(GwCURSOR_WAIT);
    GwCore* window = FrameOf(widget);
    ScopeWindowState& state = State();
    state.Window = window;
    state.Closed = window == nullptr;
    for (int i = 0; i < kScopeWidgetCount; ++i) {
        GwCore* child = window != nullptr ? window->child(kScopeWidgetNames[i]) : nullptr;
        state.Widgets[i] = child;
        if (child == nullptr) {
            ShowErrorMessage(kScopeWindowMissingMessage, window);
            break;
        }
    }
    return 1;
}

int CB_ShowScope(GwCore* widget, GwEvent*, GwUD) {
    GwCore* window = FrameOf(widget);
    GwCore::set_global_cursor(GwCURSOR_ARROW);
    ParaBase* active = Main::ActiveBase();
    ScopeWindowState& state = State();
    if (active == nullptr) {
        // An engine of an earlier show may reach a bus that is gone.
        state.Engine.reset();
        state.Base.reset();
        ShowInfoMessage(kScopeNoDeviceMessage, window);
        return 1;
    }
    state.Window = window;
    state.Closed = false;
    MakeEngine(*active);
    ScopeRecorder& engine = *state.Engine;

    const bool running = engine.IsRunning();
    SetScopeText(kStateField, running ? ScopeStateText("ScopeActive") : std::string());
    SetScopeVisible(kSlider, false);
    SetScopeEnabled(kUserTriggerButton, false);
    SetScopeEnabled(kAutoScopeButton, true);
    SetScopeEnabled(kAutoScopeStopButton, false);
    if (engine.HasError()) {
        ShowDeviceError(kScopeDeviceErrorMessage, state.Base.get(), window);
        return 0;
    }

    ShowScopeTrigger();
    ShowScopeTimes();
    SetScopeReadOnly(kTmBaseVal, true);
    SetScopeReadOnly(kFlashTmVal, false);
    SetScopeChecked(kFlashTmFix, true);
    if (ScopeRecorder* current = ScopeEngine())
        SetScopeText(kFlashTmVal, ScopeNumberText(ScopeRound(current->GetRecordTime())));
    state.StopRequested = false;
    if (GwCore* open = OpenWindow()) open->start_timer(kScopeFirstTickMs);
    ShowScopePlotPage();
    return 1;
}

int CB_ScopeDestroy(GwCore* widget, GwEvent*, GwUD) {
    ScopeWindowState& state = State();
    state.Repeat = false;
    state.StopRequested = true;
    if (state.Engine != nullptr && !state.Closed) {
        RestoreScopeTriggerMode();
        StoreScopePlotPage();
    }
    GwCore* window = state.Window.get();
    if (window == nullptr) window = FrameOf(widget);
    state.Closed = true;
    if (GwCore* chooser = state.Chooser.get()) {
        TheWindowHandler().DeleteWindow(chooser);
        chooser->destroy();
    }
    state.Chooser.reset();
    if (window != nullptr) {
        TheWindowHandler().DeleteWindow(window);
        window->destroy();
    }
    return 1;
}

const GwFuncDesc* ScopeWindowCallbacks() {
    static const GwFuncDesc table[] = {
        {"CB_CreateScope", CB_CreateScope},
        {"CB_ShowScope", CB_ShowScope},
        {"CB_ScopeDestroy", CB_ScopeDestroy},
        {"CB_Scope_UpdateAct", CB_Scope_UpdateAct},
        {"CB_Scope_StartActValTimer", CB_Scope_StartActValTimer},
        {"CB_ActUpdate", CB_ActUpdate},
        {"CB_ShowSpecialPage", CB_ShowSpecialPage},
        {"CB_TimerSpecialPage", CB_TimerSpecialPage},
        {"CB_Scope_UpdateTrigger", CB_Scope_UpdateTrigger},
        {"CB_Scope_UpdateTime", CB_Scope_UpdateTime},
        {"CB_TrigChan", CB_TrigChan},
        {"CB_TrigLevel", CB_TrigLevel},
        {"CB_SetTrigMode", CB_SetTrigMode},
        {"CB_PreTrigVal", CB_PreTrigVal},
        {"CB_TmBaseVal", CB_TmBaseVal},
        {"CB_FlashTmVal", CB_FlashTmVal},
        {"CB_SetFlashTmEditable", CB_SetFlashTmEditable},
        {"CB_ChActiv", CB_ChActiv},
        {"CB_ChVal", CB_ChVal},
        {"CB_CreateScopeVariableList", CB_CreateScopeVariableList},
        {"CB_ShowScopeVariableList", CB_ShowScopeVariableList},
        {"CB_ScopeListDefault", CB_ScopeListDefault},
        {"CB_StartDeviceScope", CB_StartDeviceScope},
        {"CB_StopDeviceScope", CB_StopDeviceScope},
        {"CB_ReadDeviceScope", CB_ReadDeviceScope},
        {"CB_UserTrigger", CB_UserTrigger},
        {"CB_ScopeStartSerialOverwrite", CB_ScopeStartSerialOverwrite},
        {"CB_ScopeSetSerial", CB_ScopeSetSerial},
        {"CB_ScopeStopSerial", CB_ScopeStopSerial},
        {"CB_ScopeSetupWrite", CB_ScopeSetupWrite},
        {"CB_ScopeSetupRead", CB_ScopeSetupRead},
        {nullptr, nullptr},
    };
    return table;
}
