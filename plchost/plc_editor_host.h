// The PLC editor control in its host window "PlcEditorX": binding the
// control when the window is loaded, opening the editor on a device's
// program or a source file, keeping its online state, and the window list's
// callbacks.
#pragma once

#include <string>

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"

class GwCore;

inline constexpr char kPlcEditorWindow[] = "PlcEditorX";
inline constexpr char kPlcEditorControl[] = "PlcEditorControl";
// The user data that opens a source file instead of a device's program.
inline constexpr char kPlcSourceFileRequest[] = "File";
inline constexpr char kPlcSourceTitle[] = "Ablaufprogramm wählen";
inline constexpr char kPlcSourceFilter[] = "*.plc|*.plc|";
// Parameters of the PLC version and the program's array length.
inline constexpr int kPlcVersionParameter = 527;
inline constexpr int kPlcArrayLengthParameter = 528;

// Creation callback of "PlcEditorX": binds its child "PlcEditorControl" (an
// OLE control of exactly that name) to the wrapper and names the control's
// output file and project folder. Once per loaded window.
int cb_create_PLCEditor(GwCore* window, GwEvent* event, GwUD userData);
// Opens the editor: on a source file chosen by the user (user data "File"),
// else on the PLC program of the calling window's device.
int CB_CallPlcProgrammEditor(GwCore* widget, GwEvent* event, GwUD userData);
// Shows the editor, lists it and opens `file` (a binary programme file or a
// source file) in it.
void OpenPlcEditor(const std::string& file, bool binary);
// Tells the control whether a device with a PLC project is online.
void UpdatePlcEditorOnline();
// The window list's callbacks of the editor window.
void FocusPlcEditorControl();
void ClosePlcEditorControl();

// The loaded editor window, null before the first opening.
GwCore* PlcEditorWindow();
// Registers the control's events with the toolkit, so that the editor
// window's bindings by event name reach their callbacks.
void RegisterPlcEditorEvents();

// The callbacks of the editor window and its openers, bound by name.
const GwFuncDesc* PlcEditorCallbacks();
