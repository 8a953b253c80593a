// The family-4 virtual drive of the positioning-program tests: the device
// windows' table with the program channel on parameter 751 turned on.
#pragma once

#include "devicewin/tests/devicewin_fixture.h"
#include "sim/pos_program_channel.h"

namespace devicewintest {

inline sim::DriveTable PosProgramDriveTable() {
    sim::DriveTable table = DeviceWindowTable();
    table.type_number = 4012;
    table.Find(91)->value = 4012;
    table.version = 2251;  // descriptions of its own, with the program channel
    table.PutFullRange(sim::kPosProgramChannelParameter, "POSPRG", "STRING", 0);
    table.pos_programs.enabled = true;
    return table;
}

}  // namespace devicewintest
