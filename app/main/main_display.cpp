#include "app/main/main_display.h"

#include "platform/base/reset_hooks.h"

namespace {

MainDisplay* g_display = nullptr;

platform::ResetHook ResetState([] { g_display = nullptr; });

template <typename Call>
void Forward(Call call) {
    if (g_display != nullptr) call(*g_display);
}

}  // namespace

void SetMainDisplay(MainDisplay* display) { g_display = display; }
MainDisplay* GetMainDisplay() { return g_display; }

void RefreshBusDisplay() {
    Forward([](MainDisplay& d) { d.RefreshBusDisplay(); });
}
void RefreshActiveDeviceViews() {
    Forward([](MainDisplay& d) { d.RefreshActiveDeviceViews(); });
}
void UpdateMainTitle() {
    Forward([](MainDisplay& d) { d.UpdateMainTitle(); });
}
void ClearActiveDeviceFields() {
    Forward([](MainDisplay& d) { d.ClearActiveDeviceFields(); });
}
void FillDeviceMenus() {
    Forward([](MainDisplay& d) { d.FillDeviceMenus(); });
}
void FillDeviceList() {
    Forward([](MainDisplay& d) { d.FillDeviceList(); });
}
void UpdateLevelDependentTools() {
    Forward([](MainDisplay& d) { d.UpdateLevelDependentTools(); });
}
void SaveDockingLayout() {
    Forward([](MainDisplay& d) { d.SaveDockingLayout(); });
}
void ReopenAutostartWindows() {
    Forward([](MainDisplay& d) { d.ReopenAutostartWindows(); });
}
