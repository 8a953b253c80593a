#include "families/ruvex_motor_functions.h"

#include <optional>

#include "app/main/main_object.h"
#include "app/notes/risk_note.h"
#include "app/services/activity_message.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "app/services/user_level.h"
#include "app/services/wait.h"
#include "app/services/window_handler.h"
#include "devicewin/change_callbacks.h"
#include "devicewin/device_context.h"
#include "devicewin/device_save.h"
#include "devicewin/device_window_frame.h"
#include "devicewin/take_over.h"
#include "families/ruvex_test_signal.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "platform/system/clock.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_toggle.h"

namespace {

constexpr double kMotorCalcRunning = 2.0;
constexpr uint32_t kPassMs = 1000;
constexpr uint32_t kAfterCalcMs = 1000;

// The motor-kind radio group's item `value`.
GwToggle* KindItem(GwCore* group, const char* value) {
    return group != nullptr ? group->child<GwToggle>(value) : nullptr;
}

// The containers of the asynchronous and the synchronous motor follow the
// items 0 and 1 of the motor-kind group.
void ShowMotorKindContainers(GwCore* group, GwCore* frame) {
    const struct {
        const char* container;
        const char* item;
    } pairs[] = {{kAsynchronousContainerName, "0"}, {kSynchronousContainerName, "1"}};
    for (const auto& pair : pairs) {
        GwCore* container = frame->frame_child(pair.container);
        GwToggle* item = KindItem(group, pair.item);
        if (container != nullptr && item != nullptr) container->set_considered(item->is_checked());
    }
}

// Polls the calculation flag back to back while it reads 2. Online only:
// a file base keeps what was written, so there is nothing to wait for.
// False when the run was given up (an error box declined or the time-out).
bool AwaitMotorCalc(ParaBase* base, std::optional<ActivMessage>& activity) {
    const uint64_t deadline = platform::TheClock().NowUs() + kMotorCalcTimeoutUs;
    for (;;) {
        double value = 0.0;
        if (base->ReadValueDouble(kMotorCalcParameter, &value) != kParaOk) {
            if (!ShowErrorMessageFor(kParaBaseErrorMessage, base)) return false;
        } else if (value != kMotorCalcRunning) {
            return true;
        }
        if (platform::TheClock().NowUs() >= deadline) {
            // The drive never finished: say so instead of polling for ever.
            activity.reset();
            ShowErrorMessage(kDriveTimeoutMessage);
            return false;
        }
    }
}

enum class DetectionEnd { kDone, kFailed, kTimedOut, kWindowClosed };

// Up to 19 passes of 1000 ms for the drive to set 120 back to 0, while
// `frame` stays.
DetectionEnd AwaitEncoderOffset(DeviceSetupContext* context, const GwRef<>& frame) {
    for (int pass = 0; pass < kDriveCommandPasses; ++pass) {
        WaitMilliseconds(kPassMs);
        if (!frame) return DetectionEnd::kWindowClosed;
        double command = 0.0;
        if (context->ReadDouble(kTestCommandParameter, &command) != kParaOk) return DetectionEnd::kFailed;
        if (command == 0.0) return DetectionEnd::kDone;
    }
    return DetectionEnd::kTimedOut;
}

}  // namespace

int CB_4_200_CallMotorData(GwCore* widget, GwEvent* event, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    double kind = 0.0;
    if (context->ReadDouble(kMotorKindParameter, &kind) != kParaOk) {
        ShowErrorMessageFor(kParaBaseErrorMessage, context->Base.get(), widget->frame());
        return 0;
    }
    return CB_CallDeviceWindow(widget, event, GwUD(kind == 1.0 ? kSynchronousMotorDataWindow : kMotorDataWindow));
}

int CB_4_200_StartMotorCalc(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    CB_DvFctTakeIt(widget, event, userData);
    std::optional<ActivMessage> activity(std::in_place, kMotorCalcActivity);
    if (context->StoreDouble(kMotorCalcParameter, kMotorCalcRunning) != kParaOk &&
        !ShowErrorMessageFor(kParaBaseErrorMessage, base)) {
        return 1;
    }
    if (base->IsOnline() && !AwaitMotorCalc(base, activity)) return 1;
    WaitMilliseconds(kAfterCalcMs);
    return 1;
}

int CB_4_200_CallTypedMotorData(GwCore* widget, GwEvent* event, GwUD userData) {
    if (DeviceContextOf(widget) == nullptr) return 1;
    GwCore* frame = widget->frame();
    GwToggle* synchronous = KindItem(frame->frame_child(kMotorKindGroupName), "1");
    if (synchronous == nullptr) {
        ShowErrorText(kTypedMotorDataError);
        return 0;
    }
    // The next step opens over the window that opened this one.
    GwCore* caller = frame->parent() != nullptr ? frame->parent() : frame;
    CB_CallDeviceWindow(
        caller, event, GwUD(synchronous->is_checked() ? kSynchronousTypedMotorDataWindow : kTypedMotorDataWindow));
    return CB_DvFctOK(widget, event, userData);
}

int CB_4_200_StartEncoderOffsetDetection(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    // Held across the waits: a window closed meanwhile ends the callback.
    const GwRef<> frame(widget->frame());
    auto* identify = frame->frame_child<GwToggle>(kEncoderOffsetIdName);
    auto* offset = frame->frame_child<GwToggle>(kEncoderOffsetName);
    if (identify == nullptr || offset == nullptr) return 1;
    const dstring command((identify->is_checked() ? identify : offset)->name().c_str());
    if (!PrepareDriveForTest(context, widget) || !ShowRiskNoteTuning(frame) || !frame) return 1;
    if (const int result = context->StoreString(kTestCommandParameter, command)) {
        ReportDeviceAccessError(result, GetMainWindow(), nullptr);
        return 1;
    }
    std::optional<ActivMessage> activity(std::in_place, kEncoderOffsetActivity, frame);
    const DetectionEnd end = AwaitEncoderOffset(context, frame);
    activity.reset();
    switch (end) {
        case DetectionEnd::kFailed:
            ShowErrorMessageFor(kParaBaseErrorMessage, context->Base.get(), frame);
            break;
        case DetectionEnd::kDone:
            // Drawn again with the values the detection found.
            frame->hide();
            frame->show();
            break;
        case DetectionEnd::kTimedOut:
            ShowErrorMessage(kDriveTimeoutMessage);
            break;
        case DetectionEnd::kWindowClosed:
            break;
    }
    return 1;
}

int CB_4_200_ExitEncoderOffsetDetection(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    const bool online = context->Base->IsOnline();
    if (ShowQuestionMessage(online ? kStoreInDeviceQuestion : kStoreInFileQuestion)) {
        CB_SaveDevice(widget, event, userData);
    }
    GwCore* frame = widget->frame();
    if (frame == nullptr || !GwRcMgr::is_valid_child(frame)) return 1;
    TheWindowHandler().DeleteWindow(frame);
    GwRcMgr::disconnect_frame(frame);
    frame->destroy();
    return 1;
}

int CB_4_700_DvFctShowToggleContainerMotor(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr || DeviceContextOf(widget) == nullptr) return 1;
    ShowMotorKindContainers(widget, widget->frame());
    return 1;
}

int CB_4_700_DvFctParaChangeMOT(GwCore* widget, GwEvent* event, GwUD userData) {
    if (widget == nullptr || DeviceContextOf(widget) == nullptr) return 1;
    GwCore* frame = widget->frame();
    ShowMotorKindContainers(frame->frame_child(kMotorKindGroupName), frame);
    return CB_DvFctParaChange(widget, event, userData);
}

int CB4_ShowMotorIdentfication(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    if (!context->Base->IsPresent(kMotorIdentStateParameter) || GetUserLevel() < kMotorIdentUserLevel) widget->hide();
    return 1;
}
