// The serial port as the loader steps use it: opened 8N1, waits that keep
// the user interface alive, and single-byte receives with a time limit.
#pragma once

#include <cstdint>

// Opens (or reopens) the port at `baud`, 8N1; 0 or a serial code.
int OpenLoaderPort(unsigned port, int32_t baud);
// Waits `ms` on the clock while the console processes events.
void LoaderWait(uint32_t ms);
