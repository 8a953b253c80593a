// Set-up of the PLC host's tests: the device-window fixture on a drive with
// a PLC, the program's definitions of the editor and PLC windows with their
// callbacks, and the recording control in place of the editor control.
#pragma once

#include <string>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"
#include "platform/com/com_interfaces.h"
#include "plchost/tests/recording_editor.h"
#include "sim/drive_plc.h"

namespace plchosttest {

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
