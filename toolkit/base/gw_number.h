// The toolkit's text-to-integer conversions, in 32 bits whatever "long" is on
// the machine.
#pragma once

#include <cstdint>

// atoi/atol in 32 bits: leading white space, an optional sign, decimal digits
// up to the first other character; values beyond the range saturate at
// INT32_MIN/INT32_MAX; no digits (or null) gives 0.
int32_t GwAtoi(const char* text);
int32_t GwAtol(const char* text);
