// A recording control served under the editor control's class id by an
// in-process module of the test: it logs the calls it gets ("7
// ..\TMP\PlcOut.txt", "10 3.1 768") and fires the control's events.
#pragma once

#include <string>
#include <vector>

#include "platform/com/com_interfaces.h"

namespace plchosttest {

// Registers the module and its class in the test's registry store.
void RegisterRecordingEditor();
// The calls the recording control got, in order, since the last Clear.
std::vector<std::string> EditorCalls();
void ClearEditorCalls();
// Fires an event of the newest recording control: a plain event with its
// arguments, or one whose one argument is a path buffer the host may fill
// (the text it left, " " when it left it alone).
void FireEditorEvent(platform::DISPID event, std::vector<platform::VARIANT> args = {});
std::string FireEditorPathEvent(platform::DISPID event);

}  // namespace plchosttest
