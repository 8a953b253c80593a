// The installed application hooks and the main window pointer.
#include "app/services/services_hooks.h"

#include "platform/base/reset_hooks.h"

namespace {

ServicesHooks* g_hooks = nullptr;
GwCore* g_main_window = nullptr;

platform::ResetHook g_reset([] {
    g_hooks = nullptr;
    g_main_window = nullptr;
});

}  // namespace

void SetServicesHooks(ServicesHooks* hooks) { g_hooks = hooks; }

ServicesHooks* GetServicesHooks() { return g_hooks; }

void SetMainWindow(GwCore* window) { g_main_window = window; }

GwCore* GetMainWindow() { return g_main_window; }
