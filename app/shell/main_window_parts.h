// The main window's docking manager, made over the main frame before its
// modal run and ended after it.
#pragma once

class GwCore;
class DockingManager;

// Makes the docking manager over the frame's "WorkArea", "View",
// "DockingTemplates" and "StateTemplates" with the main profile.
void CreateMainDockingManager(GwCore* mainWindow);
void DestroyMainDockingManager();
// The manager made by CreateMainDockingManager, null when none exists.
DockingManager* MainDockingManager();
