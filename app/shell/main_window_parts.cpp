#include "app/shell/main_window_parts.h"

#include <memory>

#include "platform/reset_hooks.h"

// Filled in with the main window's docking manager.
DockingManager* MainDockingManager() { return nullptr; }
void CreateMainDockingManager(GwCore*) {}
void DestroyMainDockingManager() {}
void ShowDockingFramesForStartup() {}
void KeepBaseTitle(const std::string&) {}
void DestroyDeviceStateMessagesOnExit() {}
