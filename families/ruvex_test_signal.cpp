#include "families/ruvex_test_signal.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "app/main/main_object.h"
#include "app/notes/risk_note.h"
#include "app/services/message_box.h"
#include "app/services/wait.h"
#include "app/services/window_handler.h"
#include "bus/base/basic_bus.h"
#include "devicewin/device_context.h"
#include "devicewin/take_over.h"
#include "families/drive_watch.h"
#include "families/parameter_freeze.h"
#include "families/setup_context.h"
#include "platform/base/reset_hooks.h"
#include "scope/plot/plot_window.h"
#include "scope/recorder/scope_recorder.h"
#include "toolkit/base/gw_string.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_ref.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr uint32_t kStateRetryWaitMs = 500;
constexpr uint32_t kStopWaitMs = 2000;
constexpr int kReadyRetries = 9;
constexpr double kProposalFactor = 0.8;
constexpr double kTriggerFactor = 0.3;
constexpr double kShapeFactor = 0.2;
constexpr double kTestSignalCommand = 2.0;
constexpr double kRecordSeconds = 0.02;
constexpr int kRisingEdgeTriggerIndex = 2;
constexpr const char* kChannelVariables[] = {"isd.Soll", "isd.Ist", "usd.Soll"};

const platform::ResetHook kResetTestSignalState([] { TheRuvexTestSignalState() = RuvexTestSignalState{}; });

// The drive's state, read through the bus of the window's own base.
uint16_t ReadState(DeviceSetupContext* context) {
    Main* main = GetMain();
    DataBus* bus = context != nullptr && context->Base != nullptr ? context->Base->GetBus() : nullptr;
    if (main == nullptr || bus == nullptr) return kDeviceStateNoDevice;
    return bus->ReadDeviceState(main->GetActiveAddress());
}

bool ShowDeviceErrorFor(DeviceSetupContext* context, GwCore* parent) {
    return ShowErrorMessageFor(kDeviceErrorMessage, context->Base.get(), parent);
}

// Writes in order; the first failure shows error 5 for the base and ends.
struct SignalWrite {
    int number;
    int element;
    double value;
};
bool WriteAll(OnOffBase* base, std::initializer_list<SignalWrite> writes, GwCore* frame) {
    for (const SignalWrite& w : writes) {
        if (base->WriteValue(w.number, w.value, w.element) != 0) {
            ShowErrorMessageFor(kDeviceErrorMessage, base, frame);
            return false;
        }
    }
    return true;
}

// The text of the amplitude field; empty when there is none.
std::string AmplitudeText(GwCore* frame) {
    GwCore* field = frame->frame_child(kCurrentAmplitudeName);
    return field != nullptr ? field->text() : std::string();
}

// One look for the signal's end: 120 back at 0. A failed read shows error 5
// (the activity message stands until the watch returns) and ends the wait;
// a recording that has stopped goes to the plot tool, one whose export
// fails is stopped.
bool SignalEnded(DeviceSetupContext* context, ScopeRecorder& scope, GwCore* widget, GwEvent* event, GwUD userData) {
    double command = 0.0;
    if (context->ReadDouble(kTestCommandParameter, &command) != 0) {
        ShowDeviceErrorFor(context, widget->frame());
        return true;
    }
    if (command != 0.0) return false;
    if (scope.IsStopped() && !PlotTestSignalRecording(scope, widget, event, userData)) scope.Stop();
    return true;
}

}  // namespace

RuvexTestSignalState& TheRuvexTestSignalState() {
    static RuvexTestSignalState state;
    return state;
}

void ShowAmplitudeProposal(GwCore* field, double current) {
    char text[64];
    std::snprintf(text, sizeof text, "%lf", kProposalFactor * current);
    field->set_text(text);
}

void SetUpTestSignalRecorder(ScopeRecorder& scope, double scale) {
    for (int channel = 0; channel < 3; ++channel) {
        scope.SetChannelActive(channel, true);
        scope.SetChannelVariable(channel, kChannelVariables[channel]);
    }
    scope.SetChannelActive(3, false);
    scope.SetRecordTime(kRecordSeconds);
    scope.SetTriggerChannel(0);
    scope.SetTriggerMode(kRisingEdgeTriggerIndex);
    scope.SetTriggerLevel(static_cast<float>(kTriggerFactor * scale));
    scope.Start();
}

bool WriteTestSignalShape(OnOffBase* base, double scale, GwCore* frame) {
    return WriteAll(
        base, {{kTestSignalShapeParameter, 0, 0.0}, {kTestSignalShapeParameter, 1, kShapeFactor * scale}}, frame);
}

bool StartTestSignal(OnOffBase* base, double amplitude, GwCore* frame) {
    return WriteAll(base,
                    {{kTestSignalShapeParameter, 2, amplitude},
                     {kTestSignalTimesParameter, 0, 0.0},
                     {kTestSignalTimesParameter, 1, 3.0},
                     {kTestSignalTimesParameter, 2, 1.0},
                     {kTestCommandParameter, 0, kTestSignalCommand}},
                    frame);
}

bool PlotTestSignalRecording(ScopeRecorder& scope, GwCore* widget, GwEvent* event, GwUD userData) {
    if (!scope.ReadAndExport()) return false;
    OpenPlotFirst(widget, event, userData);
    WindowHandler& windows = TheWindowHandler();
    if (GwCore* plot = windows.FindByName(kPlotToolWindowName)) windows.Activate(plot);
    return true;
}

bool PrepareDriveForTest(DeviceSetupContext* context, GwCore* widget) {
    // A window closed during a wait ends the preparation as a refusal does.
    const GwRef<> frame(widget != nullptr ? widget->frame() : nullptr);
    const bool framed = frame.get() != nullptr;
    int retries = kReadyRetries;
    for (;;) {
        bool ready = false;
        switch (ReadState(context)) {
            case 2:
                ready = true;
                break;
            case 0:
            case 1:
            case 10:
                if (!ShowQuestionMessage(kTestNotReadyQuestion, frame)) return false;
                break;
            case 5:
            case 7:
                // A drive that did not take the stop is not ready.
                if (context->StoreDouble(kDriveCommandParameter, 1.0) != 0) {
                    ShowDeviceErrorFor(context, frame);
                    return false;
                }
                WaitMilliseconds(kStopWaitMs);
                if (framed && !frame) return false;
                break;
            case 3:
            case 4:
            case 6:
            case 11:
                ShowQuestionMessage(kTestRunningQuestion, frame);
                return false;
            default:
                return false;
        }
        WaitMilliseconds(kStateRetryWaitMs);
        if (framed && !frame) return false;
        if (ready) return retries >= 0;
        if (retries < 0) return false;
        --retries;
    }
}

int CB_ShowCurrentAmplitude(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* frame = widget->frame();
    double current = 0.0;
    if (context->ReadDouble(kMotorCurrentParameter, &current) != 0) {
        ShowDeviceErrorFor(context, frame);
        return 1;
    }
    if (GwCore* field = frame->frame_child(kCurrentAmplitudeName)) {
        field->set_text(GwString::FromDouble(kProposalFactor * current).c_str());
    }
    return 1;
}

int CB4_Show4CurrentAmplitude(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    GwCore* field = widget->child(kCurrentAmplitudeName);
    if (field == nullptr) return 1;
    double& current = TheRuvexTestSignalState().MotorCurrent;
    if (context->ReadDouble(kMotorCurrentParameter, &current) != 0) {
        ShowDeviceErrorFor(context, widget->frame());
        return 1;
    }
    ShowAmplitudeProposal(field, current);
    return 1;
}

int CB_4_200_CtrlTestSignal(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    // Held across the waits: a window closed meanwhile ends the callback
    // (the recorder stopped).
    const GwRef<> self(widget);
    const GwRef<> frame(widget->frame());
    CB_DvFctTakeIt(widget, event, userData);
    if (ReadState(context) == 5) {
        if (context->StoreDouble(kDriveCommandParameter, 1.0) != 0) {
            ShowDeviceErrorFor(context, frame);
            return 1;
        }
        GwWaitObject wait;
        WaitMilliseconds(kStopWaitMs);
        if (!self) return 1;
    }
    if (!PrepareDriveForTest(context, widget)) return 1;
    const std::string text = AmplitudeText(frame);
    if (text.empty()) return 1;
    const double amplitude = std::atof(text.c_str());
    OnOffBase* base = context->Base.get();
    ScopeRecorder scope(base, kTestSignalSetupFile200);
    scope.Stop();
    if (!ShowRiskNoteTuning(frame) || !self) return 1;
    SetUpTestSignalRecorder(scope, amplitude);
    if (!WriteTestSignalShape(base, amplitude, frame) || !StartTestSignal(base, amplitude, frame)) return 1;
    const bool ended = WatchDriveRun(kDriveCommandPasses, kTestSignalActivity, frame, [&](auto&) {
        return SignalEnded(context, scope, self, event, userData);
    });
    if (!ended) {
        scope.Stop();
        if (frame) ShowErrorMessage(kDriveTimeoutMessage);
    }
    return 1;
}

int CB4_CtrlTestSignal(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    // Held across the waits: a window closed meanwhile ends the callback,
    // the recorder stopped and the frozen parameters written back.
    const GwRef<> self(widget);
    const GwRef<> frame(widget->frame());
    ParameterFreeze freeze(context->Base.get(), frame);
    if (!freeze.Active()) return 1;
    CB_DvFctTakeIt(widget, event, userData);
    if (!PrepareDriveForTest(context, widget)) return 1;
    const double current = TheRuvexTestSignalState().MotorCurrent;
    OnOffBase* base = context->Base.get();
    ScopeRecorder scope(base, kTestSignalSetupFile);
    scope.Stop();
    if (!ShowRiskNoteTuning(frame) || !self) return 1;
    SetUpTestSignalRecorder(scope, current);
    if (!WriteTestSignalShape(base, current, frame)) return 1;
    const std::string text = AmplitudeText(frame);
    if (text.empty() || !StartTestSignal(base, std::atof(text.c_str()), frame)) return 1;
    const bool ended = WatchDriveRun(kTestSignalPasses, kTestSignalActivity, frame, [&](auto&) {
        return SignalEnded(context, scope, self, event, userData);
    });
    if (!ended) {
        if (frame) ShowErrorMessage(kTestTimeoutMessage);
        scope.Stop();
    }
    return 1;
}
