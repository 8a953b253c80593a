// The registers through which a drive's recorder is set up and read (the
// channels' configuration and variables, the divider, the length, the
// trigger, the control and transfer registers, the actual values and the
// base time), as a drive with a recorder describes them.
#pragma once

#include <vector>

#include "sim/drive_table.h"

namespace sim {

// Adds the recorder's registers to `table` (replacing any of those numbers).
void PutRecorderRegisters(DriveTable& table);
// Their numbers, in order.
const std::vector<int>& RecorderRegisterNumbers();

}  // namespace sim
