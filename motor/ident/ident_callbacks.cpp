#include "motor/ident/ident_callbacks.h"

#include "app/main/main_object.h"
#include "app/notes/risk_note.h"
#include "app/services/message_box.h"
#include "app/services/wait.h"
#include "devicewin/device_context.h"
#include "devicewin/device_control_windows.h"
#include "devicewin/device_save.h"
#include "devicewin/take_over.h"
#include "families/setup_context.h"
#include "motor/ident/ident_access.h"
#include "motor/ident/ident_parameters.h"
#include "motor/ident/ident_procedures.h"
#include "motor/ident/ident_step.h"
#include "motor/ident/scope_settings.h"
#include "parameters/parabase/on_off_base.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_func_desc.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_toggle.h"

namespace {

// Chooses the table and first command of the active device's family; false
// for a family without the identification.
bool SelectFamily() {
    MotorIdentState& state = TheMotorIdentState();
    const int family = GetMain() != nullptr ? GetMain()->GetActiveDeviceFamily() : 0;
    if (family == 4) {
        state.ActiveIdentTable = &kRuvexIdentTable;
        state.IdentStartCommand = kRuvexIdentStartCommand;
        return true;
    }
    if (family >= 5 && family <= 7) {
        state.ActiveIdentTable = &kPescoIdentTable;
        state.IdentStartCommand = kPescoIdentStartCommand;
        return true;
    }
    return false;
}

bool IsRunActive(double command, double state) { return command != 0.0 || state == kIdentStateRunning; }

enum class StopResult { kStopped, kDeclined, kFailed };

// Stops a run the drive still has, asking first. A window closed during the
// wait counts as declined.
StopResult StopActiveRun(IdentAccess& access, const GwRef<>& frame) {
    MotorIdentState& ident = TheMotorIdentState();
    double command = 0.0, state = 0.0;
    if (!access.Read(kIdentCommand, &command) || !access.Read(kIdentState, &state)) return StopResult::kFailed;
    while (IsRunActive(command, state)) {
        const bool go = ident.ConfirmStopFirstTime ? ShowWarningMessage(kIdentStopRunWarning, frame)
                                                   : ShowErrorMessage(kIdentStopRunError, frame);
        if (!go) return StopResult::kDeclined;
        if (!access.Write(kIdentCommand, kIdentStopCommand)) return StopResult::kFailed;
        WaitMilliseconds(kIdentStopWaitMs);
        if (!frame) return StopResult::kDeclined;
        if (!access.Read(kIdentCommand, &command) || !access.Read(kIdentState, &state)) return StopResult::kFailed;
        ident.ConfirmStopFirstTime = false;
    }
    return StopResult::kStopped;
}

}  // namespace

int CB_5_IdentMotor(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || context->Base == nullptr) return 1;
    OnOffBase* base = context->Base.get();
    // Held across the waits: a window closed meanwhile is not touched again;
    // the drive's mode and the recorder are restored all the same.
    const GwRef<> self(widget);
    const GwRef<> frame(widget->frame());
    if (!ShowRiskNoteTuning(frame) || !self) return 1;
    if (IsDeviceControlOpen(base)) {
        if (!ShowQuestionMessage(kCloseControlWindowsForIdentQuestion, frame)) return 1;
        CloseDeviceControlWindows(base);
        if (!self) return 1;
    }
    if (!SelectFamily()) return 1;
    IdentAccess access(base);
    const StopResult stopped = StopActiveRun(access, frame);
    if (stopped != StopResult::kStopped) return stopped == StopResult::kDeclined ? 1 : 0;
    CB_DvFctTakeIt(widget, event, userData);

    // The toggle is found before the drive's mode or recorder change, so a
    // window without it leaves the drive as it was.
    GwCore* toggleWidget = widget->frame_child(kRatedTorqueToggle);
    if (toggleWidget == nullptr) {
        ShowErrorMessage(kWindowElementMissingMessage, frame);
        return 1;
    }
    auto* toggle = dynamic_cast<GwToggle*>(toggleWidget);
    const bool ratedTorqueGiven = toggle != nullptr && toggle->is_checked();

    SaveScopeSettings();
    double mode = 0.0;
    if (!access.Read(kIdentOperatingMode, &mode) || !access.Write(kIdentOperatingMode, kIdentOperatingModeValue))
        return 0;
    const bool identified = IdentifyAsynchronousMotor(base, ratedTorqueGiven);
    if (!access.Write(kIdentOperatingMode, mode)) return 0;
    RestoreScopeSettings();
    if (identified) {
        if (!self || !ShowQuestionMessage(kStoreIdentResultsQuestion, frame) || !self) return 1;
        return CB_SaveDevice(self, event, userData);
    }
    if (self) ShowInfoMessage(kIdentFailedInfo, frame);
    access.Write(kIdentOperatingMode, mode);
    return 0;
}

int CB_CloseMotorIdent(GwCore* widget, GwEvent* /*event*/, GwUD /*userData*/) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || context->Base == nullptr) return 1;
    IdentAccess access(context->Base.get());
    double state = 0.0;
    if (!access.Read(kIdentState, &state)) return 0;
    if (state != kIdentStateRunning || !TheMotorIdentState().ConfirmStopFirstTime) return 1;
    if (ShowQuestionMessage(kIdentStillRunningQuestion, widget->frame())) return 1;
    return access.Write(kIdentCommand, kIdentStopCommand) ? 1 : 0;
}

const GwFuncDesc* MotorIdentCallbacks() {
    static const GwFuncDesc kCallbacks[] = {
        {"CB_5_IdentMotor", CB_5_IdentMotor},
        {"CB_CloseMotorIdent", CB_CloseMotorIdent},
        {nullptr, nullptr},
    };
    return kCallbacks;
}
