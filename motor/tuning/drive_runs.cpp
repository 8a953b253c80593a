#include "motor/tuning/drive_runs.h"

#include <cmath>
#include <cstdint>

#include "app/notes/risk_note.h"
#include "app/services/message_box.h"
#include "app/services/window_handler.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/take_over.h"
#include "families/drive_watch.h"
#include "families/setup_context.h"
#include "motor/tuning/current_test_signal.h"
#include "motor/tuning/drive_ready.h"
#include "scope/rounding/significant_digits.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_ref.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr double kEncoderOffsetCommand = 4.0;
constexpr double kAutoTuningStart = 1.0;
// The auto-tuning's residue is judged on two significant digits, rounded up.
constexpr int kResidueDigits = 2;

// Whether the drive may run: a context, the risk note accepted and the drive
// ready. Null when not.
DeviceSetupContext* ContextForRun(GwCore* widget) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || !ShowRiskNoteTuning(widget->frame())) return nullptr;
    return context;
}

// Writes the start value; a failure shows error 5.
bool Start(OnOffBase* base, int number, double value, GwCore* frame) {
    if (base->WriteValue(number, value) == 0) return true;
    ShowErrorMessageFor(kDeviceErrorMessage, base, frame);
    return false;
}

}  // namespace

int CB2_DetectEncoderOffset(GwCore* widget, GwEvent* event, GwUD userData) {
    // Held across the waits: a window closed meanwhile ends the callback.
    const GwRef<> self(widget);
    DeviceSetupContext* context = ContextForRun(widget);
    if (context == nullptr || !self) return 1;
    const GwRef<> frame(widget->frame());
    CB_DvFctTakeIt(widget, event, userData);
    if (!WaitDriveReadyForTest(frame, context)) return 1;
    OnOffBase* base = context->Base.get();
    if (!Start(base, kIdentCommandParameter, kEncoderOffsetCommand, frame)) return 1;
    const bool ended = WatchDriveRun(kEncoderOffsetRounds, kEncoderOffsetActivity, frame, [&](auto& activity) {
        double command = 0.0;
        double state = 0.0;
        if (!ReadDuringRun(base, kIdentCommandParameter, &command, activity, frame) ||
            !ReadDuringRun(base, kIdentStateParameter, &state, activity, frame)) {
            return true;
        }
        const int whole = static_cast<int>(state);
        if (whole == 0 || whole == 2) {
            activity.reset();
            // Shown again, the window reads its fields anew.
            frame->hide();
            frame->show();
            return true;
        }
        if (whole != 3) return false;
        activity.reset();
        ShowErrorMessage(kDriveRunFailedMessage, frame);
        return true;
    });
    if (!ended && frame) ShowErrorMessage(kDriveRunTimeoutMessage, frame);
    return 1;
}

int CB_1_200_StartAutoTuning(GwCore* widget, GwEvent* event, GwUD userData) {
    const GwRef<> self(widget);
    DeviceSetupContext* context = ContextForRun(widget);
    if (context == nullptr || !self) return 1;
    const GwRef<> frame(widget->frame());
    if (!WaitDriveReadyForTest(frame, context)) return 1;
    OnOffBase* base = context->Base.get();
    if (!Start(base, kAutoTuningParameter, kAutoTuningStart, frame)) return 1;
    const bool ended = WatchDriveRun(kAutoTuningRounds, kWaitingForDriveActivity, frame, [&](auto& activity) {
        double residue = 0.0;
        if (!ReadDuringRun(base, kAutoTuningParameter, &residue, activity, frame)) return true;
        // The drive resets the value when it is done.
        if (std::trunc(RoundToSignificantDigits(residue, kResidueDigits, true)) != 0.0) return false;
        activity.reset();
        if (GwCore* tuning = TheWindowHandler().FindByName(kAutoTuningWindowName)) {
            CB_DvFctShowStandard(tuning, event, userData);
        }
        if (self) CB_DvFctShowStandard(self, event, userData);
        return true;
    });
    if (!ended && frame) ShowErrorMessage(kDriveRunTimeoutMessage, frame);
    return 1;
}

int CB_1_200_DefaultAutoTuningAdjustment(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    OnOffBase* base = context->Base.get();
    int code = base->SetDefaultValue(kAutoTuningSettingsParameter);
    if (code == 0 && base->IsOnline()) {
        code =
            base->WriteBusParameter(kAutoTuningSettingsParameter, 0, base->GetValueCount(kAutoTuningSettingsParameter));
    }
    if (code != 0) {
        ShowErrorMessageFor(kDeviceErrorMessage, base, widget->frame());
        return 1;
    }
    CB_DvFctShowStandard(widget, event, userData);
    return 1;
}
