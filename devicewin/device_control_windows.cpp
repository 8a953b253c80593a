#include "devicewin/device_control_windows.h"

#include <string>
#include <vector>

#include "app/services/window_handler.h"
#include "toolkit/core/gw_core.h"

namespace {

std::vector<GwCore*> ListedControlWindows() {
    std::vector<GwCore*> found;
    WindowHandler& handler = TheWindowHandler();
    for (GwCore* w = handler.First(); w != nullptr; w = handler.Next()) {
        const std::string& name = w->name();
        if (name == kDeviceControlWindow || name.find(kDeviceControlNamePart) != std::string::npos) {
            found.push_back(w);
        }
    }
    return found;
}

}  // namespace

bool IsDeviceControlOpen(ParaBase*) { return !ListedControlWindows().empty(); }

void CloseDeviceControlWindows(ParaBase*) {
    for (GwCore* window : ListedControlWindows()) TheWindowHandler().Close(window);
}
