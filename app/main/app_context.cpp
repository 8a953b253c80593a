#include "app/main/app_context.h"

#include <utility>

#include "app/main/main_object.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "platform/base/reset_hooks.h"

namespace {

struct AppContextState {
    AppContext Context;
    AppContext::DockingOwner Docking{nullptr, nullptr};
};

AppContextState& State() {
    static AppContextState state;
    return state;
}

platform::ResetHook ResetState([] { State().Docking.reset(); });

}  // namespace

AppContext& App() { return State().Context; }

Main* AppContext::GetMain() const { return ::GetMain(); }

WindowHandler& AppContext::Windows() const { return TheWindowHandler(); }

GwCore* AppContext::GetMainWindow() const { return ::GetMainWindow(); }

DockingManager* AppContext::GetDockingManager() const { return State().Docking.get(); }

DockingManager* AppContext::SetDockingManager(DockingOwner manager) {
    State().Docking = std::move(manager);
    return State().Docking.get();
}
