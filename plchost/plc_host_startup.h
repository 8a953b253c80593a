// What the program does for the PLC host before its user interface starts:
// makes the control's wrapper, registers the control's events and, when the
// registry store does not name an existing module for the control's class,
// registers the control module installed beside the program.
#pragma once

#include <string>

// The control module's file name beside the program.
inline constexpr char kPlcEditorModuleName[] = "libSindel.so";

// Registers the module beside the program unless the store names an
// existing module for the control's class. False (after a log line) when
// that registration fails; the editor window then stays empty.
bool RegisterPlcEditorModule();
// The start-up steps of the PLC host, and the editor's following of the
// active device.
void StartPlcHost();
