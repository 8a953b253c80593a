#include "app/shell/main_window_parts.h"

#include <memory>
#include <new>

#include "app/mainwindow/docking_manager.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/signature_watch.h"
#include "platform/base/reset_hooks.h"

namespace {

std::unique_ptr<DockingManager> g_manager;

platform::ResetHook g_reset([] { g_manager.reset(); });

}  // namespace

DockingManager* MainDockingManager() { return g_manager.get(); }

void CreateMainDockingManager(GwCore* mainWindow) {
    // A failed allocation leaves the program without docking frames.
    g_manager.reset(new (std::nothrow) DockingManager(
        mainWindow, kWorkAreaName, kViewMenuName, kDockingTemplatesName, kStateTemplatesName));
}

void DestroyMainDockingManager() { g_manager.reset(); }

void ShowDockingFramesForStartup() {
    if (g_manager) g_manager->CreateDockingFrames();
}

void KeepBaseTitle(const std::string& title) { SetBaseTitle(title); }

void DestroyDeviceStateMessagesOnExit() { DestroyDeviceStateMessages(); }
