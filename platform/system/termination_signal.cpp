#include "platform/system/termination_signal.h"

#include <signal.h>

#include <atomic>

#include "platform/base/reset_hooks.h"

namespace platform {
namespace {

constexpr int kTerminationSignals[] = {SIGTERM, SIGINT, SIGHUP};

std::atomic<int> g_signal{0};
bool g_caught = false;
static_assert(std::atomic<int>::is_always_lock_free, "read and written from a signal handler");

void OnTerminationSignal(int signal) {
    int none = 0;
    if (g_signal.compare_exchange_strong(none, signal)) return;
    // Asked twice: the signal's own action, at once. It stays blocked until
    // this handler returns, then ends the process.
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    raise(signal);
}

void SetHandlers(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Reads and writes in progress carry on: the program ends from its loop,
    // not in the middle of a file or a telegram.
    action.sa_flags = SA_RESTART;
    for (int signal : kTerminationSignals) sigaction(signal, &action, nullptr);
}

// A test that caught a signal leaves the next one the default actions.
ResetHook ResetState([] {
    if (g_caught) SetHandlers(SIG_DFL);
    g_caught = false;
    g_signal = 0;
});

}  // namespace

void CatchTerminationSignals() {
    SetHandlers(OnTerminationSignal);
    g_caught = true;
}

int TerminationSignal() { return g_signal.load(); }

}  // namespace platform
