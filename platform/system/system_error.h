// The system's error codes and texts as the program reports them ("text" +
// " Cause: " + the system's message), and the fatal exit.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The calling thread's last system error (errno); 0 when none is set.
int GetLastError();
void SetLastError(int error_number);

// "<text> Cause: <the system's message for error_number>".
std::string ErrorWithCause(std::string_view text, int error_number);

// Ends the process at once: the text and a line end on stderr, exit code 3,
// no destructors or exit handlers.
[[noreturn]] void FatalAppExitA(std::string_view text);

}  // namespace platform
