#include "families/marlo_identification.h"

#include <cmath>

#include "app/main/main_object.h"
#include "app/notes/risk_note.h"
#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "bus/base/basic_bus.h"
#include "bus/base/timeout.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window.h"
#include "devicewin/take_over.h"
#include "families/setup_context.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_media.h"
#include "toolkit/core/gw_slider.h"

namespace {

constexpr int kDeviceErrorMessage = 5;

const platform::ResetHook kResetMarloIdentState([] { TheMarloIdentState() = MarloIdentState{}; });

// Writes the identification command: to the device online, to the table
// offline. False when it failed and the error box was not confirmed.
bool WriteIdentCommand(DeviceSetupContext* context, double value, GwCore* parent) {
    ParaBase* base = context->Base.get();
    const int result = base->IsOnline() ? base->WriteValueDouble(kIdentCommandParameter, value)
                                        : base->SetValueDouble(kIdentCommandParameter, value);
    return result == 0 || ShowErrorMessageFor(kDeviceErrorMessage, base, parent);
}

uint16_t ReadState(DeviceSetupContext* context) {
    Main* main = GetMain();
    DataBus* bus = context->Base->GetBus();
    if (main == nullptr || bus == nullptr) return kDeviceStateNoDevice;
    return bus->ReadDeviceState(main->GetActiveAddress());
}

enum class StartState { kReady, kWasReady1, kCancelled };

// Waits for a state that allows the start, busy, 1000 ms after every check.
StartState AwaitStartState(DeviceSetupContext* context, GwCore* window) {
    for (;;) {
        const uint16_t state = ReadState(context);
        StartState result = StartState::kReady;
        bool leave = true;
        if (state == 1) {
            result = StartState::kWasReady1;
        } else if (state == 11) {
            if (!WriteIdentCommand(context, 0.0, window)) return StartState::kCancelled;
            BusyWait(kIdentStateWaitMs);
        } else if (state != 2 && state != 5) {
            if (!ShowWarningMessage(kIdentStateMessage, window)) return StartState::kCancelled;
            leave = false;
        }
        BusyWait(kIdentStateWaitMs);
        if (leave) return result;
    }
}

bool KeepsWaiting(uint16_t state) {
    return state == 0 || state == 1 || state == 7 || state == 8 || state == 9 || state == 13;
}

// After a start from state 1: whether the drive left its waiting states
// within five polls.
bool LeftWaitingStates(DeviceSetupContext* context) {
    GwWaitObject wait;
    for (int poll = 0; poll < kIdentStartPolls; ++poll) {
        BusyWait(kIdentStartPollMs);
        if (!KeepsWaiting(ReadState(context))) return true;
    }
    return false;
}

GwMedia* MediaOf(GwCore* window) { return window->frame_child<GwMedia>(kIdentMediaName); }

}  // namespace

MarloIdentState& TheMarloIdentState() {
    static MarloIdentState state;
    return state;
}

int CB3_StartMotorIdent(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* window = widget->frame();
    const StartState state = AwaitStartState(context, window);
    if (state == StartState::kCancelled) return 1;
    CB_DvFctTakeIt(widget, event, userData);
    if (!WriteIdentCommand(context, 1.0, window)) return 1;
    if (state == StartState::kWasReady1 && !LeftWaitingStates(context)) {
        ShowWarningMessage(kIdentStateMessage, window);
        WriteIdentCommand(context, 1.0, window);
        return 1;
    }
    GwCore* progress = LoadDeviceWindowForVersion(
        window, AnimationOff ? kIdentProgressWindowStillName : kIdentProgressWindowName, context->Base.get());
    if (progress == nullptr) return 1;
    if (auto* slider = progress->child<GwSlider>(kIdentProgressSliderName)) slider->set_value(0);
    progress->set_user_data(GwUD(static_cast<void*>(context)));
    progress->set_modality(2);
    progress->set_close_mode(2);
    progress->show();
    CB_CenterMessage(progress, nullptr, GwUD());
    return 1;
}

int CB_3_ShowIdent(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    TheMarloIdentState().Started = false;
    GwCore* window = widget->frame();
    if (auto* slider = window->frame_child<GwSlider>(kIdentProgressSliderName)) {
        slider->start_timer(kIdentFirstTickMs);
        slider->set_start(0);
        slider->set_end(100);
    }
    if (GwMedia* media = MediaOf(window)) {
        media->set_clip(kIdentClip);
        media->play();
    }
    return 1;
}

int CB_3_HideIdent(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    GwCore* window = widget->frame();
    if (GwCore* slider = window->frame_child(kIdentProgressSliderName)) slider->stop_timer();
    if (GwMedia* media = MediaOf(window)) {
        media->stop();
        media->set_clip(kIdentNoClip);
    }
    return 1;
}

int CB_3_StopIdent(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* window = widget->frame();
    if (GwCore* slider = window->frame_child(kIdentProgressSliderName)) slider->stop_timer();
    if (WriteIdentCommand(context, 0.0, window)) {
        TheMarloIdentState().Started = false;
        if (GwMedia* media = MediaOf(window)) media->stop();
    }
    window->hide();
    return 1;
}

int CB_3_CheckIdentProgress(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    if (widget == nullptr || main == nullptr || !main->CheckTimerIntegrity(widget, true)) return 1;
    widget->stop_timer();
    MarloIdentState& state = TheMarloIdentState();
    state.ProgressTimer.Widget = GwRef<>(widget);
    PollTimerRestartAtEnd restart(state.ProgressTimer);
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* window = widget->frame();
    double progress = 0.0;
    if (context->ReadDouble(kIdentProgressParameter, &progress) != 0) {
        if (!ShowErrorMessage(kDeviceErrorMessage, window)) window->hide();
        return 1;
    }
    if (auto* slider = dynamic_cast<GwSlider*>(widget)) slider->set_value(progress);
    // The end is judged by the flag as it was before this tick: a first tick
    // that already reads 100 does not end the window.
    const bool startedBefore = state.Started;
    if (!state.Started && progress != 0.0) state.Started = true;
    double command = 0.0;
    if (context->ReadDouble(kIdentCommandParameter, &command) != 0) {
        if (!ShowErrorMessage(kDeviceErrorMessage, window)) window->hide();
        return 1;
    }
    if ((progress <= 0.0 || progress >= 100.0) && startedBefore) {
        ShowInfoMessage(kIdentFinishedMessage);
        if (GwCore* parent = window->owner()) parent->hide();
        window->hide();
    } else if (command != 0.0) {
        if (++state.AnimationTicks % kIdentAnimationTicks == 0) {
            if (GwMedia* media = MediaOf(window)) {
                media->rewind();
                media->play();
            }
        }
    } else {
        ShowWarningMessage(kIdentEndedMessage, window);
        window->hide();
    }
    return 1;
}
