#include "app/shell/main_window_parts.h"

#include <memory>
#include <new>

#include "app/main/app_context.h"
#include "app/mainwindow/docking_manager.h"
#include "app/mainwindow/main_window.h"
#include "app/mainwindow/signature_watch.h"

void CreateMainDockingManager(GwCore* mainWindow) {
    // A failed allocation leaves the program without docking frames.
    SetDockingManager(std::unique_ptr<DockingManager>(new (std::nothrow) DockingManager(
        mainWindow, kWorkAreaName, kViewMenuName, kDockingTemplatesName, kStateTemplatesName)));
}

void DestroyMainDockingManager() { SetDockingManager(nullptr); }

void ShowDockingFramesForStartup() {
    if (DockingManager* manager = App().GetDockingManager()) manager->CreateDockingFrames();
}

void KeepBaseTitle(const std::string& title) { SetBaseTitle(title); }

void DestroyDeviceStateMessagesOnExit() { DestroyDeviceStateMessages(); }
