// The installed application hooks and the main window pointer.
#include "app/services/services_hooks.h"

#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_ref.h"

namespace {

ServicesHooks* g_hooks = nullptr;
GwRef<> g_main_window;

platform::ResetHook ResetState([] {
    g_hooks = nullptr;
    g_main_window.reset();
});

}  // namespace

void SetServicesHooks(ServicesHooks* hooks) { g_hooks = hooks; }

ServicesHooks* GetServicesHooks() { return g_hooks; }

void SetMainWindow(GwCore* window) { g_main_window = window; }

GwCore* GetMainWindow() { return g_main_window; }
