// The main window's docking manager, made over the main frame before its
// modal run and ended after it.
#pragma once

#include <string>

class GwCore;
class DockingManager;

// Makes the program's docking manager (GetDockingManager) over the frame's "WorkArea", "View",
// "DockingTemplates" and "StateTemplates" with the main profile.
void CreateMainDockingManager(GwCore* mainWindow);
void DestroyMainDockingManager();

// Shows the docking frames at start-up (all of them unless UserStateFlag
// keeps the stored visibility).
void ShowDockingFramesForStartup();
// Keeps the main title's left part, the base of every later title.
void KeepBaseTitle(const std::string& title);
// Ends the state messages of the signature watch before Main goes.
void DestroyDeviceStateMessagesOnExit();
