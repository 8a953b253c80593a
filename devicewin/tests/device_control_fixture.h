// The device control panels' drive: a virtual drive with every parameter the
// panels force, read and write, and the helpers that read its capture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "devicewin/tests/devicewin_fixture.h"
#include "sim/drive_table.h"

namespace devicewintest {

inline constexpr int kState = 403;

// A drive of that type number with every parameter the Marlo panel forces,
// none of the condition parameters, and the limits of 303 to 307. The
// program keeps a type number's parameter list for the whole process, so a
// table that differs takes a type number of its own.
sim::DriveTable MarloTable(uint32_t typeNumber = 3100);

class DeviceControlTest : public DeviceWindowTest {
public:
    sim::DriveTable MakeTable() override { return MarloTable(typeNumber_); }
    void SetFloat(int number, float value);
    sim::DriveTable& Table();
    // The state in 403 at the bits of families 3 and 4.
    void SetState(uint32_t state);
    // The writes the drive heard, "20084=41200000" in the capture's own form.
    std::vector<std::string> Writes();
    uint32_t typeNumber_ = 3100;
};

// The numbers of the parameters written, in order.
std::vector<int> Numbers(const std::vector<std::string>& writes);

bool BoxSays(const std::vector<GwBoxRecord>& boxes, const std::string& text);

}  // namespace devicewintest
