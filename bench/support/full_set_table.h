// The parameter set the bus benchmarks read: a drive with all 1000 entries of
// the table in use the way a drive of the family fills them (mostly scalars
// of every width, some with value texts, some strings and arrays, units from
// the value texts of 107), and the description file the read opens at its
// end. The same set serves the serial line and the CAN bus.
#pragma once

#include <cstdint>

#include "parameters/parabase/para_base.h"
#include "sim/drive_table.h"

namespace bench {

// Device code and firmware version of the set's drive (family 5).
inline constexpr uint16_t kFullSetDeviceCode = 5123;
inline constexpr float kFullSetVersion = 3.6f;

// Parameters the set leaves out: the description, value-text and sample
// request registers, which a CANopen drive answers itself.
inline constexpr int kFullSetAbsent[] = {34, 35, 37};

sim::DriveTable FullSetTable();
// Entries the set holds (entry 0 never counts as present).
int FullSetPresentCount();

// Entries a read took into the data set (present with the transfer flag); a
// value the read could not take stays out, so a clean read of the set gives
// FullSetPresentCount.
int EntriesInDataSet(const ParaBase& base);

// Writes the standard description file into the language directory (the
// application files must be open), so the read finds one.
void WriteStandardDescriptionFile();

}  // namespace bench
