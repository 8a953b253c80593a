// The main window's side of the display calls of the application object: the
// title, the bus state line, the device tools and state frames of the active
// device's family, the four device menus and the toolbar's device list.
#pragma once

#include <string>

// Makes the calls of app/main/main_display.h reach the main window.
void InstallMainWindowDisplay();
// What reopens the windows marked for reopening after the active device
// changed; the windows it opens sit above the main window, which only
// forwards to it. Null (the default) reopens nothing.
void SetAutostartWindowsReopener(void (*reopen)());
// What brings the PLC editor's online state up to date after the active
// device changed; the editor sits above the main window, which only forwards
// to it. Null (the default) does nothing.
void SetPlcEditorFollower(void (*follow)());

// The full refresh after the active device changed.
void UpdateActiveDeviceDisplay();
// The bus state text and the bus tools.
void UpdateBusDisplay();
// Disables the device tools and closes the device state frames.
void ResetDeviceTools();
// Enables the tools and opens the state frames of the active device's family.
void EnableDeviceTools();
// The title with the active device's label and run mode, while one is online.
void SetActiveDeviceTitle();
// The device menus' items and the toolbar's device list, from the active bus.
void RebuildDeviceMenus();
// The tools gated by the user level.
void RefreshLevelDependentTools();

// The lowest user level at which a tool is enabled: its user-data text as a
// decimal number, 0 (no gate) when that text is empty.
int ToolLevelGate(const char* toolName);
// Whether the active bus is the serial bus.
bool IsSerialBusActive();
