#include "families/ruvex_side_windows.h"

#include <optional>
#include <string>
#include <vector>

#include "app/main/main_object.h"
#include "app/services/activity_message.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "app/services/user_level.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window_frame.h"
#include "families/pos_program_editor_dialog.h"
#include "families/pos_program_transfer.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "parameters/values/text_helpers.h"
#include "platform/base/reset_hooks.h"
#include "platform/system/clock.h"
#include "platform/system/program_start.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_ref.h"

namespace {

constexpr int kErrorDeviceAccess = 5;
constexpr int kErrorWindowMissing = 7;
constexpr int kQuestionProgramChanged = 108;
constexpr int kErrorDownloadFailed = 109;
constexpr int kActivityDownload = 20;
constexpr uint32_t kAfterDownloadWaitMs = 1500;
constexpr uint16_t kCpuLoadUserLevel = 5;
constexpr char kDefaultBusProtocol[] = "CTARN";

const platform::ResetHook kResetRuvexSideWindows([] { TheRuvexSideWindowsState() = RuvexSideWindowsState{}; });

void EditProgramsOnline(GwCore* window) {
    // Held across the editor's run: a window closed meanwhile leaves the
    // boxes to stand over the main window.
    const GwRef<> frame(window);
    bool repeat = false;
    for (;;) {
        if (!repeat && !UploadPosPrograms(kPosProgramExchangeFile)) return;
        const std::optional<int64_t> before = FileWriteTimeNs(kPosProgramExchangeFile);
        RunPosProgEditorWaiting({"/p", kPosProgramExchangeFile});
        // A repeat after a failed download takes the change for granted.
        const bool changed = repeat ? FileWriteTimeNs(kPosProgramExchangeFile).has_value()
                                    : FileChangedSince(kPosProgramExchangeFile, before);
        if (!changed) return;
        if (!ShowQuestionMessage(kQuestionProgramChanged, frame)) return;
        ActivMessage activity(kActivityDownload);
        repeat = !DownloadPosProgram(kPosProgramExchangeFile);
        if (repeat) ShowErrorMessage(kErrorDownloadFailed, frame);
        platform::TheClock().BusyWait(kAfterDownloadWaitMs);
        if (!repeat) return;
    }
}

void ShowIf(GwCore* frame, const char* name, bool on) {
    if (GwCore* child = frame->frame_child(name)) child->set_considered(on);
}

}  // namespace

RuvexSideWindowsState& TheRuvexSideWindowsState() {
    static RuvexSideWindowsState state;
    return state;
}

std::string FileSetPathOf(const ParaBase& base, const char* extension) {
    return WithoutFileExtension(base.GetPath(kDFilePath)) + "." + extension;
}

int CB_4_CallProgramEditor(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || context->Base == nullptr) return 1;
    if (context->Base->IsOnline()) {
        EditProgramsOnline(widget->frame());
    } else {
        RunPosProgEditorWaiting({"\"" + FileSetPathOf(*context->Base, "prg") + "\""});
    }
    return 1;
}

int CB_Timer_CPU_LOAD(GwCore* widget, GwEvent*, GwUD) {
    Main* main = GetMain();
    if (widget == nullptr || main == nullptr || !main->CheckTimerIntegrity(widget, true)) return 1;
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || context->Base == nullptr) return 1;
    widget->stop_timer();
    PollTimer& timer = TheRuvexSideWindowsState().CpuLoadTimer;
    timer.Widget = GwRef<>(widget);
    PollTimerRestartAtEnd restart(timer);
    ParaBase* base = context->Base.get();
    for (int number = kCpuLoadFirstParameter; number <= kCpuLoadLastParameter; ++number) {
        // A failed read leaves the value shown before.
        if (base->IsOnline()) base->ReadBusParameter(number, 0, base->GetValueCount(number));
        for (int element = 0; element < base->GetValueCount(number); ++element) {
            const std::string name = "PN_" + std::to_string(number) + "[" + std::to_string(element) + "]";
            if (GwCore* field = widget->frame_child(name)) {
                field->set_text(base->FormatStoredValue(number, element, false));
            }
        }
    }
    return 1;
}

int CB_4_ResetCPULoad(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || context->Base == nullptr) return 1;
    if (context->StoreDouble(kCpuLoadResetParameter, 1.0) != kParaOk) {
        ShowDeviceError(kErrorDeviceAccess, context->Base.get(), widget->frame());
    }
    return 1;
}

int CB_4_ResetError(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || context->Base == nullptr) return 1;
    context->StoreDouble(kDeviceErrorResetParameter, 1.0);
    return 1;
}

int CB_DvFctShowBusSystemRuvex(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || context->Base == nullptr) return 1;
    ParaBase* base = context->Base.get();
    GwCore* frame = widget->frame();
    dstring protocol(kDefaultBusProtocol);
    double slot2 = 0.0;
    double slot1 = 0.0;
    const bool failed =
        (base->IsPresent(kBusProtocolParameter) && context->ReadString(kBusProtocolParameter, protocol) != kParaOk) ||
        context->ReadDouble(kOptionSlot2Parameter, &slot2) != kParaOk ||
        context->ReadDouble(kOptionSlot1Parameter, &slot1) != kParaOk;
    if (failed) {
        ShowDeviceError(kErrorDeviceAccess, base, GetMainWindow());
        frame->hide();
        return 1;
    }
    const auto fitted = [&](int type) { return static_cast<int>(slot2) == type || static_cast<int>(slot1) == type; };
    const std::string text = protocol.Text();
    const bool canModule = fitted(1) || fitted(6);
    ShowIf(frame, "NoCM_CAN1", !canModule || (text != "COPEN" && text != kDefaultBusProtocol));
    ShowIf(frame, "NoCM_CAN2", !fitted(2));
    ShowIf(frame, "NoProfibus", !fitted(3));
    return CB_DvFctShowStandard(widget, event, userData);
}

int CB_ShowActValues(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    if (GwCore* page = widget->frame_child("CPU_Load")) page->set_considered(GetUserLevel() >= kCpuLoadUserLevel);
    return 1;
}

int CB4_ShowPRESEL(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || context->Base == nullptr) return 1;
    GwCore* frame = widget->frame();
    GwCore* preselection = frame->frame_child("PRSEL");
    if (preselection == nullptr) {
        if (Main* main = GetMain()) main->ShowActiveDeviceError(kErrorWindowMissing, frame);
        return 0;
    }
    preselection->set_considered(context->Base->IsPresent(kBusProtocolParameter));
    return 1;
}
