#include "devicewin/run_mode_window.h"

#include <cmath>
#include <string>

#include "app/main/main_object.h"
#include "app/mainwindow/main_window_display.h"
#include "app/notes/risk_note.h"
#include "app/services/activity_message.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "devicewin/device_context.h"
#include "devicewin/device_control_windows.h"
#include "devicewin/device_save.h"
#include "devicewin/device_window.h"
#include "devicewin/device_window_frame.h"
#include "families/run_mode_change.h"
#include "families/setup_context.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"

namespace {

constexpr int kDeviceErrorMessage = 5;

int Truncated(double value) { return static_cast<int>(std::trunc(value)); }

// The setup window of the context while it lives; else the window the caller
// sits in.
GwCore* SetupWindow(DeviceSetupContext* context, GwCore* caller) {
    GwCore* window = context->Window;
    if (window != nullptr && GwRcMgr::is_valid_child(window)) return window;
    return caller->frame();
}

// Loads the run-mode window, closing a listed one of the same name first.
GwCore* FreshRunModeWindow(GwCore* parent, const std::string& name, ParaBase* base) {
    GwCore* window = LoadDeviceWindowForVersion(parent, name, base);
    if (window == nullptr) return nullptr;
    WindowHandler& windows = TheWindowHandler();
    if (windows.IndexOf(window) < 0) {
        GwCore* listed = windows.FindByName(window->name().c_str());
        if (listed == nullptr) return window;
        window->destroy();
        windows.Close(listed);
    } else {
        windows.Close(window);
    }
    return LoadDeviceWindowForVersion(parent, name, base);
}

std::string InstallQuestion(const std::string& entry) {
    const dstring format = GetMessageString(kInstallQuestion, kMainMessagesSection);
    return platform::FormatChecked(format.Text(), {platform::FormatArg(entry)}).text;
}

}  // namespace

void ShowRunModeSelection(GwCore* window, DeviceSetupContext* context) {
    if (window == nullptr || context == nullptr) return;
    TheWindowHandler().CloseDeviceWindows();
    double value = 0.0;
    if (context->ReadDouble(context->RunModeParameter, &value) != 0) {
        ShowDeviceError(kDeviceErrorMessage, context->Base.get(), window->frame());
        return;
    }
    if (GwCore* setup = window->frame()->child(kSetupControlName)) {
        setup->set_sensitive(context->SetupPageOf(Truncated(value)) != 0);
    }
    if (GwCore* hand = window->frame()->child(kPositioningHandModeName)) {
        const bool positioning = value >= kFirstPositioningRunMode && value <= kLastPositioningRunMode;
        positioning ? hand->show() : hand->hide();
    }
}

int CB_CallRunMode(GwCore* widget, GwEvent*, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    ParaBase* base = context->Base.get();
    double value = 0.0;
    if (context->ReadDouble(context->RunModeParameter, &value) != 0) {
        ShowDeviceError(kDeviceErrorMessage, base, widget->frame());
        return 1;
    }
    const std::string name = userData.string() + std::to_string(context->SetupPageOf(Truncated(value)));
    GwCore* window = FreshRunModeWindow(widget->frame(), name, base);
    if (window == nullptr) return 1;
    window->set_title(base->GetDispatchedValueText(context->RunModeParameter, 0));
    window->set_user_data(GwUD(static_cast<void*>(context)));
    window->set_modality(kDeviceWindowModality);
    window->set_close_mode(kDeviceWindowCloseMode);
    TheWindowHandler().Add(window, base->IsOnline() ? 1 : 0);
    window->show();
    return 1;
}

int CB_InstallRunMode(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    Main* main = GetMain();
    if (context == nullptr || main == nullptr) return 1;
    ParaBase* base = context->Base.get();
    GwCore* frame = widget->frame();
    if (base->IsOnline() && context->CheckStatusWordBit()) {
        ShowInfoMessageFor(kDeviceRunningInfo, base, frame);
        return 1;
    }
    auto* list = dynamic_cast<GwCombo*>(frame->child(context->ApplicationListName));
    if (list == nullptr) return 1;
    double minimum = 0.0;
    base->GetMinimumAsDouble(kRunModeSelectParameter, &minimum);
    const int selected = list->first_selected();
    const int target = Truncated(minimum) + selected;
    if (selected < 0 || target == 0) return 1;
    const std::string entry = list->item_text(selected);
    if (!ShowQuestionText(InstallQuestion(entry).c_str(), frame) || !ShowRiskNoteAdjustmentChanged(frame)) {
        CB_DvFctShowStandard(widget, event, userData);
        return 0;
    }
    const int written = base->IsOnline() ? base->WriteValueDouble(kRunModeSelectParameter, target)
                                         : base->SetValueDouble(kRunModeSelectParameter, target);
    if (written != 0) {
        ShowDeviceError(kDeviceErrorMessage, base, GetMainWindow());
        return 1;
    }
    BusTransferGuard transfer;
    if (base->IsOnline()) {
        main->IgnoreNextRunModeChange();
        CloseDeviceControlWindows(base);
        TheWindowHandler().CloseDeviceWindows();
    }
    ActivMessage activity(kInstallingActivity);
    switch (AwaitRunMode(*context, target, GetMainWindow())) {
        case RunModeReached::kWriteFailed:
            return 1;
        case RunModeReached::kYes:
            main->SetStoredRunMode(static_cast<uint16_t>(target));
            CB_SaveDevice(widget, event, userData);
            context->Modified = false;
            break;
        case RunModeReached::kNo:
            // Said, so a failed installation does not look like a finished one.
            ShowErrorText(platform::Format(kRunModeNotReachedFormat, entry).c_str(), GetMainWindow());
            break;
    }
    GwCore* setup = SetupWindow(context, widget);
    frame->hide();
    ShowRunModeSelection(setup, context);
    CB_DvFctShowStandard(setup, event, userData);
    UpdateActiveDeviceDisplay();
    return 0;
}
