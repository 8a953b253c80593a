// What the application object asks of the main window, its network list and
// the menu windows when the bus, the device list, the active device or the
// user level changed. The main window installs its implementation; until it
// does, and whenever none is installed, these calls change nothing.
#pragma once

#include <string>

class MainDisplay {
public:
    virtual ~MainDisplay() = default;

    // Bus state line, bus tools and the network list's bus fields.
    virtual void RefreshBusDisplay() {}
    // Toolbar, menus, device list and title, the network list's active-device
    // fields and the PLC editor, after the active device changed.
    virtual void RefreshActiveDeviceViews() {}
    // The main title with the active device's label and run mode.
    virtual void UpdateMainTitle() {}
    // Empties the network list's active-device fields.
    virtual void ClearActiveDeviceFields() {}
    // The four device menus and the toolbar's device list.
    virtual void FillDeviceMenus() {}
    // The network list's device list.
    virtual void FillDeviceList() {}
    // Tools and menu entries gated by the user level.
    virtual void UpdateLevelDependentTools() {}
    // Stores the docking layout.
    virtual void SaveDockingLayout() {}
    // Reopens the windows marked for reopening.
    virtual void ReopenAutostartWindows() {}
    // The toolbar's user-level text ("TB_UserLevel").
    virtual void ShowUserLevelText(const std::string& text) { (void)text; }
};

// Installs the implementation (not owned); null removes it.
void SetMainDisplay(MainDisplay* display);
MainDisplay* GetMainDisplay();

// The calls, each forwarded to the installed implementation.
void RefreshBusDisplay();
void RefreshActiveDeviceViews();
void UpdateMainTitle();
void ClearActiveDeviceFields();
void FillDeviceMenus();
void FillDeviceList();
void UpdateLevelDependentTools();
void SaveDockingLayout();
void ReopenAutostartWindows();
