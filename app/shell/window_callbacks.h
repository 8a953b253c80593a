// The main menu's and toolbar's openers of the tool windows (parameter
// editor, setup main window, bus monitor, debug watch, digital scope,
// position-table editor, program information, identification), the window
// menu and the "Extras" menu, and the reopening of the windows that were
// open before the active device changed. Every window opened here goes into
// the window list with its online flag.
#pragma once

#include <string>

#include "bus/monitor/bus_monitors.h"
#include "toolkit/core/gw_event.h"

class GwCore;

// Window names (the bus monitor's comes with the monitor).
inline constexpr char kParameterEditorWindow[] = "ParameterEditor";
inline constexpr char kDebugWatchWindow[] = "DebugDevice";
inline constexpr char kDigitalScopeWindow[] = "DigitalScope";
inline constexpr char kPosTabEditorWindow[] = "PosTabEditor";
inline constexpr char kInformationWindow[] = "Information";
inline constexpr char kIdentUserWindow[] = "IdentUser";

// User data "online": the active device's base in editor mode 0; "offline":
// a copy of it in the program's own base, editor mode 1 (nothing without an
// active device). Any other user data opens nothing.
int CB_CallParameterEditor(GwCore* widget, GwEvent* event, GwUD userData);
// The setup main window of the active device (OpenSetupMainOnline).
int CB_Call_RunModeEditor(GwCore* widget, GwEvent* event, GwUD userData);
// Chooses a parameter file and opens it offline; the file is kept in the
// parameter editor when the user data is not empty.
int CB_OpenParameterFile(GwCore* widget, GwEvent* event, GwUD userData);
// The bus monitor, once, while a bus is active.
int CB_CallSioMonitor(GwCore* widget, GwEvent* event, GwUD userData);
// The debug watch, once. 0 when it could not open.
int CB_CallDebugWatch(GwCore* widget, GwEvent* event, GwUD userData);
// The digital scope; raised when it is open already. 0 when it could not
// open.
int CB_CallDigitalScope(GwCore* widget, GwEvent* event, GwUD userData);
// The position-table editor for a chosen file of device kind 4; 0 when the
// chooser was cancelled.
int CB_CallPosTabFileEditor(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowProgramInfo(GwCore* widget, GwEvent* event, GwUD userData);
// Show callback of "Information": its "Title" and "Version" from the labels.
int CB_ShowInformationWindow(GwCore* widget, GwEvent* event, GwUD userData);
// "IdentUser" over the caller's frame; 0 when it cannot be loaded.
int CB_IdentUser(GwCore* widget, GwEvent* event, GwUD userData);
// Opening of the "Extras" menu (the widget): which entries are shown and
// enabled for the user level, the active device and the active bus.
int CB_ShowExtras(GwCore* widget, GwEvent* event, GwUD userData);
// Opening of the window menu (the widget): one item per listed window.
int CB_SetWindowList(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CloseAllWindows(GwCore* widget, GwEvent* event, GwUD userData);
// The window that the user data names, as a child of the caller's frame.
int CallChildWindow(GwCore* widget, GwEvent* event, GwUD userData);
// The position-table editor for the active device.
int CallPosTabEditor(GwCore* widget, GwEvent* event, GwUD userData);
// The position-table editor of a Ruvex setup window: online that of the
// active device (CallPosTabEditor's result); for a parameter file the editor
// modal on the position-table file beside it (".01d"), listed offline.
int CB_4_CallPosTabFileEditor(GwCore* widget, GwEvent* event, GwUD userData);
// A window title for a file: the title up to its first '[' without the
// character before the bracket (a title beginning with '[' keeps all of
// nothing), then " [", the path and "]".
std::string TitleForFile(const std::string& title, const std::string& path);

// Records the active device's base as the editor's base, closes a listed
// window of that name and loads it over the main window with the wait
// cursor set. Null after info 6 without an active device or error 7 when it
// cannot be loaded.
GwCore* OpenDeviceWindow(const char* name);
// The family's setup main window "<n>_SetupMain" for the active device, else
// the parameter editor online. 0 when nothing could be opened.
int OpenSetupMainOnline();
// The position-table editor for the active device, unless it is open online.
int OpenPosTabEditor();
// Opens again, each when its main-frame entry is enabled, the bus monitor,
// debug watch, digital scope and position-table editor that their "Pos_"
// section marks for "autostart", and the setup main window.
int ReopenAutostartWindowsNow();
// Lets the main window's display reopen the start-up windows; the program's
// start-up installs it.
void InstallAutostartWindowsReopener();
