// Set-up of the PLC host's tests: the device-window fixture on a drive with
// a PLC, the program's definitions of the editor and PLC windows with their
// callbacks, and a recording control served under the editor control's class
// id by an in-process module, which logs the calls it gets ("7
// ..\TMP\PlcOut.txt", "10 3.1 768") and fires the control's events.
#pragma once

#include <string>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"
#include "platform/com/com_interfaces.h"
#include "sim/drive_plc.h"

namespace plchosttest {

// The calls the recording control got, in order, since the last Clear.
std::vector<std::string> EditorCalls();
void ClearEditorCalls();
// Fires an event of the newest recording control: a plain event with its
// arguments, or one whose one argument is a path buffer the host may fill
// (the text it left, " " when it left it alone).
void FireEditorEvent(platform::DISPID event, std::vector<platform::VARIANT> args = {});
std::string FireEditorPathEvent(platform::DISPID event);

class PlcHostTest : public devicewintest::DeviceWindowTest {
public:
    void SetUp() override;
    sim::DriveTable MakeTable() override;

    // A device window with a button bound to the editor's opener, on a new
    // context of the active device.
    GwCore* OpenDeviceWindow(bool online);
    // Opens the editor from that window as its button does.
    void OpenFromDeviceWindow(bool online = true);
    // The words of "..\TMP\PlcIn.txt", "..\TMP\PlcOut.txt".
    static std::string PlcInBytes();
    static void WritePlcOut(const std::string& bytes);
    // Boxes shown since the last MarkBoxes, as "kind: text".
    std::vector<std::string> NewBoxTexts() const;
    sim::DriveParameter& Program(int k);

    sim::PlcLayout layout_;
};

}  // namespace plchosttest
