#include "motor/tuning/current_test_signal.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/notes/risk_note.h"
#include "app/services/activity_message.h"
#include "app/services/message_box.h"
#include "app/services/window_handler.h"
#include "devicewin/device_context.h"
#include "devicewin/take_over.h"
#include "families/parameter_freeze.h"
#include "families/ruvex_test_signal.h"
#include "families/setup_context.h"
#include "motor/tuning/drive_ready.h"
#include "motor/tuning/drive_watch.h"
#include "platform/base/reset_hooks.h"
#include "scope/plot/plot_window.h"
#include "scope/recorder/scope_recorder.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr double kProposalFactor = 0.8;
constexpr double kTriggerFactor = 0.3;
constexpr double kShapeFactor = 0.2;
constexpr double kTestCommand = 2.0;
constexpr int kShapeParameter = 42;
constexpr int kTimesParameter = 43;
constexpr char kPlotToolWindowName[] = "PlotTool";

const platform::ResetHook kResetSignalState([] { TheCurrentTestSignalState() = CurrentTestSignalState{}; });

struct SignalWrite {
    int number;
    int element;
    double value;
};

// Writes in order; the first failure shows error 5 and ends.
bool WriteAll(OnOffBase* base, std::initializer_list<SignalWrite> writes, GwCore* frame) {
    for (const SignalWrite& w : writes) {
        if (base->WriteValue(w.number, w.value, w.element) != 0) {
            ShowErrorMessageFor(kDeviceErrorMessage, base, frame);
            return false;
        }
    }
    return true;
}

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
    if (!scope.ReadAndExport()) {
        activity.reset();
        ShowErrorMessage(kDriveRunFailedMessage, frame);
        scope.Stop();
        return true;
    }
    OpenPlotFirst(widget, event, userData);
    activity.reset();
    WindowHandler& windows = TheWindowHandler();
    if (GwCore* plot = windows.FindByName(kPlotToolWindowName)) windows.Activate(plot);
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
    if (GwCore* field = widget->frame_child(kAmplitudeFieldName)) {
        char text[64];
        std::snprintf(text, sizeof text, "%lf", kProposalFactor * current);
        field->set_text(text);
    }
    return 1;
}

int CB_2_CtrlTestSignal(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* frame = widget->frame();
    if (!ShowRiskNoteTuning(frame)) return 1;
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
    SetUpTestSignalRecorder(scope, kTriggerFactor * current);
    if (!WriteAll(base, {{kShapeParameter, 0, 0.0}, {kShapeParameter, 1, kShapeFactor * current}}, frame)) return 1;
    GwCore* field = frame->frame_child(kAmplitudeFieldName);
    const std::string amplitude = field != nullptr ? field->text() : std::string();
    if (amplitude.empty()) {
        scope.Stop();
        return 1;
    }
    if (!WriteAll(base,
                  {{kShapeParameter, 2, std::atof(amplitude.c_str())},
                   {kTimesParameter, 0, 0.0},
                   {kTimesParameter, 1, 3.0},
                   {kTimesParameter, 2, 1.0},
                   {kIdentCommandParameter, 0, kTestCommand}},
                  frame)) {
        return 1;
    }

    const bool ended = WatchDriveRun(kTestSignalRounds, kWaitingForDriveActivity, frame, [&](auto& activity) {
        return LookAtSignal(base, scope, activity, widget, event, userData);
    });
    if (!ended) {
        ShowErrorMessage(kDriveRunTimeoutMessage, frame);
        scope.Stop();
    }
    return 1;
}
