// Waiting while the user interface stays alive, and the system's reason for a
// failed call written to the program log.
#pragma once

#include <cstdint>
#include <string_view>

// Processes pending events and due timers until `ms` milliseconds have passed
// on the clock. Returns the last tick count read.
uint32_t WaitMilliseconds(uint32_t ms);

// Writes one program-log entry: `text`, " Cause: " and the system's text for
// the last error (errno at the time of the call).
void GetWin32ErrorText(std::string_view text);
// The same for a known error number.
void GetWin32ErrorText(std::string_view text, int errorNumber);
