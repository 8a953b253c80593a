#include "devicewin/manual_control_window.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "app/main/main_object.h"
#include "app/notes/risk_note.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "devicewin/device_control.h"
#include "devicewin/device_control_windows.h"
#include "devicewin/poll_timer.h"
#include "devicewin/widget_take.h"
#include "platform/base/reset_hooks.h"
#include "scope/rounding/significant_digits.h"
#include "toolkit/base/gw_string.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_slider.h"

namespace {

constexpr int kIncompleteWindowMessage = 22;
constexpr int kNoPanelForFamilyMessage = 33;
constexpr int kStillEnabledMessage = 56;
constexpr int kErrorStateMessage = 73;
constexpr uint32_t kFirstPeriodMs = 500;
constexpr double kNudgeBase = 685.0;
constexpr int kShownDigits = 4;
constexpr int kSliderEventsPerTick = 3;

platform::ResetHook manualControlReset([] { TheManualControlState() = {}; });

// Values are shown to four significant digits, a remainder above half a
// step rounded up.
double Shown(double value) { return RoundToSignificantDigits(value, kShownDigits, true); }

std::string Text(double value) { return GwString::FromDouble(value).str(); }

bool IsWhole(double x) { return std::isfinite(x) && x == std::floor(x); }

double Sign(double x) { return x > 0.0 ? 1.0 : x < 0.0 ? -1.0 : 0.0; }

GwSlider* Slider(const GwRef<>& widget) { return dynamic_cast<GwSlider*>(widget.get()); }
GwEdit* Edit(const GwRef<>& widget) { return dynamic_cast<GwEdit*>(widget.get()); }

void SetText(const GwRef<>& widget, const std::string& text) {
    if (GwCore* w = widget) w->set_text(text);
}

void StopTimerOf(const GwRef<>& widget) {
    if (GwCore* w = widget) w->stop_timer();
}

// The list of control types: a list or a combo box.
void FillList(GwCore* list, DeviceControl& panel) {
    if (auto* rows = dynamic_cast<GwMultiList*>(list)) {
        rows->clear();
        for (int i = 0; i < panel.GetCtrlTypeCount(); ++i) rows->add_row(panel.GetCtrlTypeName(i));
    } else if (auto* combo = dynamic_cast<GwCombo*>(list)) {
        combo->clear();
        for (int i = 0; i < panel.GetCtrlTypeCount(); ++i) combo->append(panel.GetCtrlTypeName(i));
    }
}

void SelectListItem(GwCore* list, int index) {
    if (auto* items = dynamic_cast<GwItemList*>(list)) items->select(index);
}

int FirstSelected(GwCore* list) {
    auto* items = dynamic_cast<GwItemList*>(list);
    return items != nullptr ? items->first_selected() : -1;
}

// The reference slider and the actual-value gauge from the panel's limits
// and start reference.
void SetUpSliders(ManualControlState& state, DeviceControl& panel) {
    double minimum = panel.RefMin;
    double maximum = panel.RefMax;
    // Limits that are a whole multiple or part of 685 are pulled towards zero
    // by one unit of the minimum's fourth digit. A minimum of 0 has neither
    // quotient nor logarithm and is left as it is.
    if (minimum != 0.0 && (IsWhole(minimum / kNudgeBase) || IsWhole(kNudgeBase / minimum))) {
        const double step = std::pow(10.0, std::floor(std::log10(std::fabs(minimum)) - 3.0));
        minimum -= step * Sign(minimum);
        maximum -= step * Sign(maximum);
    }
    minimum = Shown(minimum);
    maximum = Shown(maximum);
    if (GwSlider* slider = Slider(state.RefValSlider)) {
        slider->set_start(minimum);
        slider->set_end(maximum);
        slider->set_increment((maximum - minimum) * 0.5);
        slider->set_value(panel.StartRef);
    }
    SetText(state.ActValUnit, panel.GetActValUnit());
    if (GwSlider* gauge = Slider(state.ActVal)) {
        gauge->set_start(panel.RefMin > 0.0 ? panel.RefMin : 0.0);
        gauge->set_end(std::max(panel.RefMin, panel.RefMax));
        gauge->set_value(Shown(panel.StartRef));
    }
}

// "RefVal" carries the unit as suffix and the reference as text; hidden
// meanwhile, so that it is drawn once with both.
void ShowReferenceWithUnit(ManualControlState& state, DeviceControl& panel) {
    GwEdit* edit = Edit(state.RefVal);
    if (edit == nullptr) return;
    edit->hide();
    edit->set_suffix(panel.GetActValUnit());
    edit->set_text(Text(panel.GetRefVal()));
    edit->show();
}

// Sends the slider's value and shows what the drive took.
void SendSliderValue(GwCore* widget, ManualControlState& state) {
    auto* slider = dynamic_cast<GwSlider*>(widget);
    if (slider == nullptr || state.Panel == nullptr) return;
    state.Panel->SetRefVal(Shown(slider->value()));
    if (state.Panel == nullptr) return;
    SetText(state.RefVal, Text(Shown(state.Panel->GetRefVal())));
    if (GwCore* edit = state.RefVal) edit->set_focus();
}

// Takes the typed reference: only a text that is wholly a decimal number
// ("," read as "."), held within the panel's limits. Any other text is
// replaced by the reference the drive holds.
void TakeTypedReference(GwCore* edit, ManualControlState& state) {
    DeviceControl* panel = state.Panel;
    if (edit == nullptr || panel == nullptr) return;
    const std::string text = edit->text();
    if (text.empty()) return;
    double value = 0.0;
    if (!ParseDecimalText(text, &value)) {
        edit->set_text(Text(Shown(panel->GetRefVal())));
        return;
    }
    value = std::clamp(value, std::min(panel->RefMin, panel->RefMax), std::max(panel->RefMin, panel->RefMax));
    panel->SetRefVal(value);
    const double shown = Shown(panel->GetRefVal());
    if (GwRcMgr::is_valid_child(edit)) edit->set_text(Text(shown));
    GwSlider* slider = Slider(state.RefValSlider);
    if (slider != nullptr && slider->value() != value) slider->set_value(shown);
}

// Stops the window's timers and hides it; its hide closes it for good.
void StopAndHide(ManualControlState& state, GwCore* caller) {
    if (caller != nullptr) caller->stop_timer();
    StopTimerOf(state.Window);
    StopTimerOf(state.ActVal);
    if (GwCore* window = state.Window) window->hide();
}

// Steps shared by both timers: false when the tick must end here. A tick
// that goes on has its timer restarted by the baud rate.
bool BeginTick(GwCore* widget, ManualControlState& state) {
    if (widget == nullptr) return false;
    if (state.Window.get() == nullptr || state.Panel == nullptr) {
        widget->stop_timer();
        return false;
    }
    if (state.Panel->CloseRequest) {
        state.Panel->CloseRequest = false;
        StopAndHide(state, widget);
        return false;
    }
    Main* main = GetMain();
    if (main == nullptr || !main->CheckTimerIntegrity(widget, true)) return false;
    widget->stop_timer();
    PollTimer{kManualControlPollMaximumMs, kManualControlPollAt9600Ms, kManualControlPollMinimumMs, widget}.Restart();
    return true;
}

// Enables or disables a key to match; a key that matches is not touched.
void MatchKey(const GwRef<>& key, bool enabled) {
    GwCore* w = key;
    if (w != nullptr && w->is_enabled() != enabled) w->set_sensitive(enabled);
}

template <typename Operation>
int RunOnPanel(Operation&& operation) {
    if (DeviceControl* panel = TheManualControlState().Panel) operation(*panel);
    return 1;
}

}  // namespace

ManualControlState& TheManualControlState() {
    static ManualControlState state;
    return state;
}

int CTRL_CreateControl(GwCore* widget, GwEvent*, GwUD) {
    ManualControlState& state = TheManualControlState();
    state.Window = widget;
    if (widget == nullptr) return 1;
    GwRef<>* const keys[] = {&state.Start,
                             &state.Stop,
                             &state.Reverse,
                             &state.Halt,
                             &state.ErrorReset,
                             &state.CtrlType,
                             &state.RefVal,
                             &state.RefValSlider,
                             &state.ActValUnit,
                             &state.ActVal};
    const char* const names[] = {
        "Start", "Stop", "Reverse", "Halt", "ErrorReset", "CtrlType", "RefVal", "RefValSlider", "ActValUnit", "ActVal"};
    for (GwRef<>* key : keys) key->reset();
    for (size_t i = 0; i < std::size(names); ++i) {
        GwCore* child = widget->child(names[i]);
        if (child == nullptr) {
            ShowErrorMessage(kIncompleteWindowMessage, widget);
            break;
        }
        *keys[i] = child;
    }
    return 1;
}

int CTRL_ShowControl(GwCore* widget, GwEvent*, GwUD) {
    ManualControlState& state = TheManualControlState();
    if (widget == nullptr) return 1;
    auto* panel = widget->user_data().pointer_as<DeviceControl>();
    if (panel == nullptr) return 1;
    state.Panel = panel;
    if (GwCore* list = state.CtrlType) {
        FillList(list, *panel);
        SelectListItem(list, panel->GetCtrlType());
    }
    SetUpSliders(state, *panel);
    panel->SetRefVal(panel->StartRef);
    ShowReferenceWithUnit(state, *panel);
    widget->start_timer(kFirstPeriodMs);
    if (GwCore* gauge = state.ActVal) gauge->start_timer(kFirstPeriodMs);
    widget->set_focus();
    return 1;
}

int CTRL_CloseControl(GwCore*, GwEvent*, GwUD) {
    GwCore* window = TheManualControlState().Window;
    if (window != nullptr && window->is_visible()) window->hide();
    return 1;
}

int CTRL_DestroyControl(GwCore* widget, GwEvent*, GwUD) {
    ManualControlState& state = TheManualControlState();
    GwCore* window = state.Window.get() != nullptr ? state.Window.get() : widget;
    // A window that went before it was shown still holds its panel.
    if (state.Panel == nullptr && window != nullptr) state.Panel = window->user_data().pointer_as<DeviceControl>();
    if (DeviceControl* panel = state.Panel) {
        if (panel->IsStartEnabled() || panel->IsStopEnabled() || panel->IsHaltEnabled()) {
            ShowInfoMessage(kStillEnabledMessage, window);
        }
    }
    StopTimerOf(state.Window);
    StopTimerOf(state.ActVal);
    // Forgotten before its shut-down runs: the shut-down lets events through.
    std::unique_ptr<DeviceControl> panel(state.Panel);
    state.Panel = nullptr;
    if (window != nullptr) window->set_user_data(GwUD());
    panel.reset();
    TheWindowHandler().DeleteWindow(window);
    return 1;
}

int CTRL_TimerUpdateKeys(GwCore* widget, GwEvent*, GwUD) {
    ManualControlState& state = TheManualControlState();
    state.SliderThrottle = true;
    if (!BeginTick(widget, state)) return 1;
    DeviceControl& panel = *state.Panel;
    panel.UpdateDeviceState();
    // A box of the state read lets events through; the window may be gone.
    if (state.Panel != &panel) return 1;
    MatchKey(state.Start, panel.IsStartEnabled());
    MatchKey(state.Stop, panel.IsStopEnabled());
    MatchKey(state.Reverse, panel.IsReverseEnabled());
    MatchKey(state.Halt, panel.IsHaltEnabled());
    if (GwCore* reset = state.ErrorReset) {
        const bool resetUsable = panel.IsErrorResetEnabled();
        if (resetUsable && !reset->is_enabled()) {
            // The drive has fallen into its error state: it is stopped and
            // the window closes.
            ShowInfoMessage(kErrorStateMessage, state.Window);
            if (state.Panel != nullptr) state.Panel->Stop();
            StopAndHide(state, widget);
            return 1;
        }
        if (!resetUsable && reset->is_enabled()) reset->set_sensitive(false);
    }
    MatchKey(state.CtrlType, panel.IsCtrlTypeEnabled());
    return 1;
}

int CTRL_TimerUpdateActVal(GwCore* widget, GwEvent*, GwUD) {
    ManualControlState& state = TheManualControlState();
    if (!BeginTick(widget, state)) return 1;
    const double actual = std::fabs(state.Panel->GetActVal());
    if (GwSlider* gauge = Slider(state.ActVal)) gauge->set_value(Shown(actual));
    return 1;
}

int CTRL_SetCtrlType(GwCore* widget, GwEvent*, GwUD) {
    ManualControlState& state = TheManualControlState();
    DeviceControl* panel = state.Panel;
    if (panel == nullptr || widget == nullptr) return 1;
    const int index = FirstSelected(widget);
    if (index >= 0) panel->SetCtrlType(static_cast<uint8_t>(index));
    // The list shows what the drive took, also after a refusal.
    SelectListItem(widget, panel->GetCtrlType());
    SetUpSliders(state, *panel);
    panel->SetRefVal(panel->StartRef);
    SetText(state.RefVal, Text(panel->GetRefVal()));
    ShowReferenceWithUnit(state, *panel);
    return 1;
}

int CTRL_SetRefVal(GwCore* widget, GwEvent*, GwUD) {
    TakeTypedReference(widget, TheManualControlState());
    return 1;
}

int CTRL_SetRefValSlider(GwCore* widget, GwEvent*, GwUD) {
    ManualControlState& state = TheManualControlState();
    if (!state.SliderThrottle) return 1;
    if (++state.SliderEvents % kSliderEventsPerTick == 0) state.SliderThrottle = false;
    SendSliderValue(widget, state);
    return 1;
}

int CTRL_SetRefValSliderDirect(GwCore* widget, GwEvent*, GwUD) {
    SendSliderValue(widget, TheManualControlState());
    return 1;
}

int CTRL_Start(GwCore*, GwEvent*, GwUD) {
    ManualControlState& state = TheManualControlState();
    TakeTypedReference(state.RefVal, state);
    return RunOnPanel([](DeviceControl& panel) { panel.Start(); });
}

int CTRL_Stop(GwCore*, GwEvent*, GwUD) {
    return RunOnPanel([](DeviceControl& panel) { panel.Stop(); });
}

int CTRL_Reverse(GwCore*, GwEvent*, GwUD) {
    return RunOnPanel([](DeviceControl& panel) {
        panel.Reverse();
        ManualControlState& state = TheManualControlState();
        if (state.Panel == nullptr) return;
        const double reference = panel.GetRefVal();
        SetText(state.RefVal, Text(reference));
        if (GwSlider* slider = Slider(state.RefValSlider)) slider->set_value(reference);
    });
}

int CTRL_Halt(GwCore*, GwEvent*, GwUD) {
    return RunOnPanel([](DeviceControl& panel) { panel.Halt(); });
}

int CTRL_ErrorReset(GwCore*, GwEvent*, GwUD) {
    return RunOnPanel([](DeviceControl& panel) { panel.ErrorReset(); });
}

int CB_CallDeviceControl(GwCore*, GwEvent*, GwUD) {
    WindowHandler& windows = TheWindowHandler();
    if (GwCore* listed = windows.FindByName(kDeviceControlWindow)) {
        windows.Activate(listed);
        return 1;
    }
    GwCore* mainWindow = GetMainWindow();
    if (!ShowRiskNoteManualMode(mainWindow)) return 1;
    Main* main = GetMain();
    std::unique_ptr<DeviceControl> panel;
    switch (main != nullptr ? main->GetActiveDeviceFamily() : 0) {
        case 3:
            panel = std::make_unique<Marlo_Control>();
            break;
        case 4:
            panel = std::make_unique<Ruvex_Control>();
            break;
        case 5:
        case 6:
        case 7:
            panel = std::make_unique<Pesco_Control>();
            break;
        default:
            ShowErrorMessage(kNoPanelForFamilyMessage, mainWindow);
            return 1;
    }
    // A panel that did not take the drive over is deleted at once.
    if (!panel->Opened) return 1;
    GwCore* window = GwRcMgr::load(mainWindow, kDeviceControlWindow, 1);
    if (window == nullptr) return 1;
    panel->Window = window;
    window->set_user_data(GwUD(static_cast<void*>(panel.release())));
    windows.Add(window, 1);
    window->show();
    return 1;
}
