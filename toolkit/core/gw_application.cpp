#include "toolkit/core/gw_application.h"

#include <cstring>
#include <vector>

#include "platform/base/reset_hooks.h"
#include "platform/system/dynamic_library.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/core/gw_widget_store.h"

void (*inter_init)() = nullptr;
void (*gwsql_init)() = nullptr;
void (*gwsql_exit)() = nullptr;
void (*inter_exit)() = nullptr;

namespace {

// Between tests every window goes without callbacks, as if the process
// started anew; the hooks are null again.
platform::ResetHook ResetState([] {
    GwWidgetStore::Get().Reset();
    inter_init = nullptr;
    gwsql_init = nullptr;
    gwsql_exit = nullptr;
    inter_exit = nullptr;
});

}  // namespace

bool GwInitApplication(void*, void*, int) {
    GwTimerScheduler::ClearTimers();
    return true;
}

int interpreter(GwCore*, GwEvent*, GwUD) { return 0; }

void GwCleanupApplication(int) {
    auto& store = GwWidgetStore::Get();
    while (!store.toplevel.empty()) {
        GwCore* w = store.toplevel.back();
        w->destroy();
        // A destroy callback that kept its window alive must not stall the end.
        if (!store.toplevel.empty() && store.toplevel.back() == w) store.Reset();
    }
    GwTimerScheduler::ClearTimers();
    store.Reset();
}

char* GwStrDup(const char* text) {
    if (text == nullptr) return nullptr;
    size_t n = std::strlen(text) + 1;
    char* copy = new char[n];
    std::memcpy(copy, text, n);
    return copy;
}

void GwStrDelete(char* text) { delete[] text; }

GwModule::GwModule(const std::string& name) : handle_(platform::LoadLibraryA(name)) {}

GwModule::~GwModule() {
    if (handle_ != nullptr && unload_) platform::FreeLibrary(static_cast<platform::ModuleHandle>(handle_));
}

void* GwModule::symbol(const std::string& name) const {
    return handle_ != nullptr ? platform::GetProcAddress(static_cast<platform::ModuleHandle>(handle_), name) : nullptr;
}
