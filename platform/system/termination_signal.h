// Ending on a signal: SIGTERM, SIGINT and SIGHUP ask the program to end as
// its own exit does. The handler only notes the request (an atomic flag,
// the one thing a handler may safely do); the event pump reads it and the
// program ends from its main loop. A second signal ends the process at once.
#pragma once

namespace platform {

// Installs the handlers for SIGTERM, SIGINT and SIGHUP.
void CatchTerminationSignals();

// The signal that asked the program to end; 0 while none did.
int TerminationSignal();

}  // namespace platform
