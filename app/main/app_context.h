// The program's long-lived objects as a window reaches them: one door
// instead of an accessor each. The door owns only the docking manager (which
// the main window's library makes); the application object, the window list
// and the main window keep their owners, and the door hands them out.
#pragma once

#include <memory>

class DockingManager;
class GwCore;
class Main;
class WindowHandler;

class AppContext {
public:
    // Ends a docking manager; given by the unit that defines the class.
    using DockingDeleter = void (*)(DockingManager*);
    using DockingOwner = std::unique_ptr<DockingManager, DockingDeleter>;

    // The application object; null before the start-up made it.
    Main* GetMain() const;
    // The list of open windows.
    WindowHandler& Windows() const;
    // The main frame; null before it exists and once its run has ended.
    GwCore* GetMainWindow() const;
    // The main window's docking manager; null when none exists.
    DockingManager* GetDockingManager() const;
    // Takes `manager` as the program's one (ending the one before); an empty
    // owner ends it. Returns the manager now held.
    DockingManager* SetDockingManager(DockingOwner manager);
};

// The program's one context.
AppContext& App();
