// System error texts and the fatal exit.
#include "platform/system/system_error.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/files/text_file.h"

namespace platform {

namespace {
constexpr int kFatalExitCode = 3;
constexpr std::string_view kCauseSeparator = " Cause: ";
}  // namespace

int GetLastError() { return errno; }

void SetLastError(int error_number) { errno = error_number; }

std::string ErrorWithCause(std::string_view text, int error_number) {
    return std::string(text) + std::string(kCauseSeparator) + SystemErrorText(error_number);
}

void FatalAppExitA(std::string_view text) {
    std::string line = std::string(text) + "\n";
    // write(2) rather than stdio: nothing buffered may be lost or flushed twice.
    std::string_view rest = line;
    while (!rest.empty()) {
        ssize_t n = ::write(STDERR_FILENO, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        rest.remove_prefix(static_cast<size_t>(n));
    }
    std::_Exit(kFatalExitCode);
}

}  // namespace platform
