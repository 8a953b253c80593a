// The installed application hooks and the main window pointer.
#include "app/services/services_hooks.h"

#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_ref.h"

namespace {

struct ServicesHooksState {
    ServicesHooks* Hooks = nullptr;  // not owned
    GwRef<> MainWindow;
};

ServicesHooksState& State() {
    static ServicesHooksState state;
    return state;
}

platform::ResetHook ResetState([] { State() = ServicesHooksState(); });

}  // namespace

void SetServicesHooks(ServicesHooks* hooks) { State().Hooks = hooks; }

ServicesHooks* GetServicesHooks() { return State().Hooks; }

void SetMainWindow(GwCore* window) { State().MainWindow = window; }

GwCore* GetMainWindow() { return State().MainWindow; }
