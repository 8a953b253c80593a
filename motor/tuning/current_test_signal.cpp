#include "motor/tuning/current_test_signal.h"

#include <cstdlib>
#include <optional>
#include <string>

#include "app/notes/risk_note.h"
#include "app/services/activity_message.h"
#include "app/services/message_box.h"
#include "devicewin/device_context.h"
#include "devicewin/take_over.h"
#include "families/drive_watch.h"
#include "families/parameter_freeze.h"
#include "families/ruvex_test_signal.h"
#include "families/setup_context.h"
#include "motor/tuning/drive_ready.h"
#include "platform/base/reset_hooks.h"
#include "scope/recorder/scope_recorder.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_ref.h"

namespace {

constexpr int kDeviceErrorMessage = 5;

const platform::ResetHook kResetSignalState([] { TheCurrentTestSignalState() = CurrentTestSignalState{}; });

// One look at the drive: the signal's state, and at its end the recording
// read, exported and plotted. True when the run has ended.
bool LookAtSignal(OnOffBase* base, ScopeRecorder& scope, std::optional<ActivMessage>& activity, GwCore* widget,
                  GwEvent* event, GwUD userData) {
    GwCore* frame = widget->frame();
    double command = 0.0;
    double state = 0.0;
    if (!ReadDuringRun(base, kIdentCommandParameter, &command, activity, frame) ||
        !ReadDuringRun(base, kIdentStateParameter, &state, activity, frame)) {
        return true;
    }
    const int whole = static_cast<int>(state);
    if (whole == 3) {
        activity.reset();
        ShowErrorMessage(kDriveRunFailedMessage, frame);
        return true;
    }
    // While the recording still runs the round counts as a waiting one.
    if ((whole != 0 && whole != 2) || !scope.IsStopped()) return false;
    const bool plotted = PlotTestSignalRecording(scope, widget, event, userData);
    activity.reset();
    if (!plotted) {
        ShowErrorMessage(kDriveRunFailedMessage, frame);
        scope.Stop();
    }
    return true;
}

}  // namespace

CurrentTestSignalState& TheCurrentTestSignalState() {
    static CurrentTestSignalState state;
    return state;
}

int CB_Show2CurrentAmplitude(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    double& current = TheCurrentTestSignalState().RatedCurrent;
    if (context->Base->ReadValue(kRatedCurrentParameter, &current) != 0) {
        ShowErrorMessageFor(kDeviceErrorMessage, context->Base.get(), widget->frame());
        return 1;
    }
    if (GwCore* field = widget->frame_child(kAmplitudeFieldName)) ShowAmplitudeProposal(field, current);
    return 1;
}

int CB_2_CtrlTestSignal(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    // Held across the waits: a window closed meanwhile ends the callback,
    // the recorder stopped and the frozen parameters written back.
    const GwRef<> self(widget);
    const GwRef<> frame(widget->frame());
    if (!ShowRiskNoteTuning(frame) || !self) return 1;
    OnOffBase* base = context->Base.get();
    // Declared first, so that the recorder's settings are back before the
    // frozen parameters are written back.
    ParameterFreeze freeze(base, frame);
    if (!freeze.Active()) return 1;
    CB_DvFctTakeIt(widget, event, userData);
    if (!WaitDriveReadyForTest(frame, context)) return 1;

    const double current = TheCurrentTestSignalState().RatedCurrent;
    ScopeRecorder scope(base, kCtrlTestSignalSetupFile);
    scope.Stop();
    SetUpTestSignalRecorder(scope, current);
    if (!WriteTestSignalShape(base, current, frame)) return 1;
    GwCore* field = frame->frame_child(kAmplitudeFieldName);
    const std::string amplitude = field != nullptr ? field->text() : std::string();
    if (amplitude.empty()) {
        scope.Stop();
        return 1;
    }
    if (!StartTestSignal(base, std::atof(amplitude.c_str()), frame)) return 1;

    const bool ended = WatchDriveRun(kTestSignalRounds, kWaitingForDriveActivity, frame, [&](auto& activity) {
        return LookAtSignal(base, scope, activity, self, event, userData);
    });
    if (!ended) {
        if (frame) ShowErrorMessage(kDriveRunTimeoutMessage, frame);
        scope.Stop();
    }
    return 1;
}
