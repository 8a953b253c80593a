// Line settings of a terminal through the kernel's second termios interface:
// one call sets raw mode, framing and any rate (28800 has no B-constant).
// Kept in its own unit because its kernel header clashes with <termios.h>.
#pragma once

#include <cstdint>

#include "platform/system/serial_port.h"

namespace platform {

// Raw mode (no echo, no line editing, no character mapping, no flow control),
// the framing and the rate of `settings`, VMIN = VTIME = 0, in one request.
// False with errno set when the system refuses. The settings must be valid
// (ValidSerialSettings).
bool ApplyLineSettings(int fd, const SerialSettings& settings);

// The character size, parity and stop-bit flags of c_cflag for `settings`.
// Pseudo-terminals always keep 8 bits without parity, so this is where the
// framing can be checked.
uint32_t LineControlFlags(const SerialSettings& settings);

// The output rate of the terminal `fd` in baud (tcgetattr cannot show rates
// without a B-constant); -1 with errno set on failure.
int32_t TerminalBaud(int fd);

}  // namespace platform
