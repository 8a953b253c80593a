#include "devicewin/device_save.h"

#include <string>

#include "app/mainwindow/signature_watch.h"
#include "app/services/activity_message.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "app/services/wait.h"
#include "devicewin/device_context.h"
#include "devicewin/device_control_windows.h"
#include "devicewin/take_over.h"
#include "families/setup_context.h"
#include "motor/datalogger/data_logger.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr int kDeviceErrorMessage = 5;
constexpr double kStoreDataSet = 1.0;

void SaveOnline(GwCore* widget, DeviceSetupContext* context) {
    ParaBase* base = context->Base.get();
    if (IsDeviceControlOpen(base)) {
        if (!ShowQuestionMessage(kCloseControlWindowsQuestion)) return;
        CloseDeviceControlWindows(base);
    }
    if (base->WriteValueDouble(context->SaveParameter, kStoreDataSet, 0) != 0) {
        ShowDeviceError(kDeviceErrorMessage, base, widget->frame());
        return;
    }
    context->Modified = false;
    GwCore* main = GetMainWindow();
    if (GwCore* container = main != nullptr ? main->child(kMainContainerName) : nullptr) {
        GwEvent none;
        CB_CheckDeviceSignature(container, &none, GwUD());
    }
}

void SaveFile(GwCore* widget, DeviceSetupContext* context) {
    ActivMessage activity(kFileSaveActivity);
    WaitMilliseconds(kFileSaveShowMs);
    ParaBase* base = context->Base.get();
    if (base->WriteFileBase() != 0) ShowDeviceError(kDeviceErrorMessage, base, widget->frame());
}

}  // namespace

int CB_SaveDevice(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    std::string entry = kSaveLogText;
    const std::string& title = widget->frame()->title();
    if (!title.empty()) entry += title + "\"";
    TheDataLogger().WriteEntry(entry);
    if (context->Base->IsOnline()) {
        SaveOnline(widget, context);
    } else {
        SaveFile(widget, context);
    }
    return 1;
}

int CB_TakeItSaveDeviceAndCloseWindow(GwCore* widget, GwEvent* event, GwUD userData) {
    CB_DvFctTakeIt(widget, event, userData);
    CB_SaveDevice(widget, event, userData);
    if (GwCore* window = widget->frame()) window->hide();
    return 1;
}

int Hide_CB_SetupMain(GwCore* widget, GwEvent* event, GwUD userData) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 1;
    if (UncouplingPending) context->Modified = false;
    if (!context->Modified) return 1;
    const int question = context->Base->IsOnline() ? kSaveDeviceQuestion : kSaveFileQuestion;
    if (ShowQuestionMessage(question)) {
        // A window without its own save button saves through itself.
        GwCore* window = widget->frame();
        GwCore* save = window->child(kSaveButtonName);
        CB_SaveDevice(save != nullptr ? save : window, event, userData);
    }
    context->Modified = false;
    return 1;
}
