#include "app/main/main_display.h"

#include "platform/base/reset_hooks.h"

namespace {

struct MainDisplayState {
    MainDisplay* Display = nullptr;  // not owned
};

MainDisplayState& State() {
    static MainDisplayState state;
    return state;
}

platform::ResetHook ResetState([] { State() = MainDisplayState(); });

template <typename Call>
void Forward(Call call) {
    if (State().Display != nullptr) call(*State().Display);
}

}  // namespace

void SetMainDisplay(MainDisplay* display) { State().Display = display; }
MainDisplay* GetMainDisplay() { return State().Display; }

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
