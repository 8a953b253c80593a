#include "families/ruvex_cogging_teach.h"

#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "app/services/wait.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window.h"
#include "devicewin/take_over.h"
#include "families/ruvex_test_signal.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_slider.h"
#include "toolkit/core/gw_toggle.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr double kTeachTimeFactor = 10.0;
constexpr uint32_t kPassMs = 1000;

const platform::ResetHook kResetCoggingTeachState([] { TheCoggingTeachState() = CoggingTeachState{}; });

int Read(ParaBase* base, int number, double* out) {
    return base->IsOnline() ? base->ReadValueDouble(number, out) : base->GetValueDouble(number, out);
}

int Write(ParaBase* base, int number, double value) {
    return base->IsOnline() ? base->WriteValueDouble(number, value) : base->SetValueDouble(number, value);
}

bool DeviceRunning() {
    Main* main = GetMain();
    return main != nullptr && main->IsActiveDeviceRunning();
}

void SetSwitch(GwCore* widget, bool on) {
    if (auto* toggle = dynamic_cast<GwToggle*>(widget)) toggle->set_checked(on);
}

}  // namespace

CoggingTeachState& TheCoggingTeachState() {
    static CoggingTeachState state;
    return state;
}

void FinishCoggingTeach(GwCore* widget, ParaBase* base, bool interrupted) {
    if (widget == nullptr || base == nullptr) return;
    GwCore* frame = widget->frame();
    GwCore* text = frame->frame_child(kTeachTextName);
    auto* slider = frame->frame_child<GwSlider>(kTeachProgressName);
    if (text == nullptr || slider == nullptr) return;
    double command = 0.0;
    if (Read(base, kTeachCommandParameter, &command) != 0 || command == 0.0) return;
    text->hide();
    slider->set_value(100);
    if (Write(base, kTeachCommandParameter, 0.0) != 0) {
        ShowErrorMessageFor(kDeviceErrorMessage, base, frame);
        return;
    }
    if (DeviceRunning() && !interrupted) {
        ShowInfoMessage(kTeachFinishedMessage, frame);
    } else {
        ShowInfoMessage(kTeachInterruptedMessage);
    }
    slider->set_value(0);
}

int CB_4_200_TeachCogingTorque(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    // Held across the boxes: a window closed meanwhile ends the callback.
    const GwRef<> self(widget);
    const GwRef<> frame(widget->frame());
    ParaBase* base = context->Base.get();
    while (DeviceRunning()) {
        if (!ShowQuestionMessage(kTestRunningQuestion, frame) || !self) return 1;
    }
    if (CB_DvFctTakeIt(widget, event, userData) == 0) return 1;
    do {
        if (!ShowQuestionMessage(kTeachStartQuestion, frame) || !self) return 1;
    } while (!DeviceRunning());
    double speed = 0.0;
    if (Write(base, kAntiCoggingParameter, 0.0) != 0 || Read(base, kTeachTimeParameter, &speed) != 0) {
        ShowErrorMessageFor(kDeviceErrorMessage, base, frame);
        return 1;
    }
    CoggingTeachState& state = TheCoggingTeachState();
    state.TeachSeconds = kTeachTimeFactor / speed;
    if (Write(base, kTeachCommandParameter, 1.0) != 0) {
        ShowErrorMessageFor(kDeviceErrorMessage, base, frame);
        return 1;
    }
    if (GwCore* text = frame->frame_child(kTeachTextName)) {
        text->show();
        widget->start_timer(kTeachTickMs);
        state.ElapsedSeconds = 0.0;
    }
    return 1;
}

int CB_4_200_ShowTeachingProgress(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    Main* main = GetMain();
    if (main == nullptr || !main->CheckTimerIntegrity(widget, false)) {
        // Ended as the interrupt button ends it: no tick moves the progress
        // of a run that is over.
        widget->stop_timer();
        FinishCoggingTeach(widget, base, true);
        return 1;
    }
    auto* slider = widget->frame()->frame_child<GwSlider>(kTeachProgressName);
    if (slider == nullptr) return 1;
    CoggingTeachState& state = TheCoggingTeachState();
    if (state.ElapsedSeconds == 0.0) slider->set_value(0);
    state.ElapsedSeconds += widget->timer_interval() * 0.001;
    slider->set_value(state.ElapsedSeconds / state.TeachSeconds * 100.0);
    if (state.ElapsedSeconds >= state.TeachSeconds || !DeviceRunning()) {
        widget->stop_timer();
        FinishCoggingTeach(widget, base, false);
    }
    return 1;
}

int CB_4_200_InterruptTeachFunction(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    if (GwCore* button = widget->frame()->frame_child("TeachButton")) button->stop_timer();
    FinishCoggingTeach(widget, context->Base.get(), true);
    return 1;
}

int CB_4_200_CloseControlWindow(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    FinishCoggingTeach(widget, context->Base.get(), true);
    return CB_CloseDeviceWindow(widget, event, userData);
}

int CB_4_200_ShowAnticoging(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    double value = 0.0;
    if (Read(base, kAntiCoggingParameter, &value) != 0) {
        ShowErrorMessageFor(kDeviceErrorMessage, base, widget->frame());
        return 1;
    }
    if (value != 0.0) SetSwitch(widget, true);
    return 1;
}

int CB_4_200_ActivateAnticoging(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    // Held across the waits: a window closed meanwhile ends the callback
    // with the compensation off, as a failed read does.
    const GwRef<> self(widget);
    const GwRef<> frame(widget->frame());
    ParaBase* base = context->Base.get();
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    if (toggle == nullptr || !toggle->is_checked()) {
        if (Write(base, kAntiCoggingParameter, 0.0) != 0) ShowErrorMessageFor(kDeviceErrorMessage, base, frame);
        return 1;
    }
    {
        GwWaitObject wait;
        if (Write(base, kTeachCommandParameter, 2.0) != 0) {
            ShowErrorMessageFor(kDeviceErrorMessage, base, frame);
            return 1;
        }
    }
    for (int pass = 0; pass < kDriveCommandPasses; ++pass) {
        WaitMilliseconds(kPassMs);
        if (!self) return 1;
        double command = 0.0;
        if (Read(base, kTeachCommandParameter, &command) != 0) {
            // The wait ends: the compensation stays off.
            ShowErrorMessageFor(kDeviceErrorMessage, base, frame);
            SetSwitch(self, false);
            return 1;
        }
        if (command != 0.0) continue;
        if (Write(base, kAntiCoggingParameter, 1.0) != 0) {
            ShowErrorMessageFor(kDeviceErrorMessage, base, frame);
        } else {
            SetSwitch(frame->frame_child(kAntiCoggingStateName), true);
        }
        return 1;
    }
    // The drive did not get ready for the compensation: say so and show the
    // switch off, as the compensation is.
    ShowErrorMessage(kDriveTimeoutMessage, frame);
    SetSwitch(self, false);
    return 1;
}
