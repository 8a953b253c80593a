#include "families/marlo_control_windows.h"

#include <string>

#include "app/services/device_error.h"
#include "app/services/window_handler.h"
#include "devicewin/change_callbacks.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window.h"
#include "families/setup_context.h"
#include "parameters/values/dstring.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/docking/gw_tab_book.h"

namespace {

constexpr int kDeviceErrorMessage = 5;

}  // namespace

int CB_CallCtrlWindow(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || !widget->user_data().is_text() || widget->user_data().string().empty()) return 1;
    ParaBase* base = context->Base.get();
    if (base->IsOnline()) base->ReadBusParameter(kControlTypeParameter, 0, base->GetValueCount(kControlTypeParameter));
    const std::string name = widget->user_data().string() + base->FormatStoredValue(kControlTypeParameter, 0, false);
    GwCore* window = LoadDeviceWindowForVersion(widget->frame(), name, base);
    if (window == nullptr) return 1;
    WindowHandler& windows = TheWindowHandler();
    if (GwCore* listed = windows.FindByName(window->name().c_str()); listed != nullptr && listed != window) {
        windows.Close(listed);
    }
    window->set_user_data(GwUD(static_cast<void*>(context)));
    window->set_modality(1);
    window->set_close_mode(2);
    windows.Add(window, base->IsOnline() ? 1 : 0);
    window->show();
    return 1;
}

int CB_ChangeCtrl(GwCore* widget, GwEvent* event, GwUD userData) {
    for (const char* name : kControlWindowNames) TheWindowHandler().CloseByName(name);
    return CB_DvFctParaChange(widget, event, userData);
}

int CB3_200_ShowLeveling(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    auto* book = dynamic_cast<GwTabBook*>(widget);
    if (context == nullptr || book == nullptr) return 1;
    dstring text;
    if (context->ReadString(kControlTypeParameter, text) != 0) {
        ShowDeviceError(kDeviceErrorMessage, context->Base.get(), widget->frame());
        return 1;
    }
    GwCore* page = book->child(kLevelingPageName);
    if (page == nullptr) return 1;
    const bool belongs = std::string(text.Text()) != kControlWithoutLeveling;
    if (belongs == book->is_page_included(page)) return 1;
    book->include_page(page, belongs);
    book->activate_first_page();
    return 1;
}
