// Process-wide state of any layer (flags, recorders, global objects) registers
// a reset here. The shared test main runs every reset before each test, so no
// test sees what the one before it left behind. Production never runs them.
#pragma once

#include <functional>

namespace platform {

void RegisterResetHook(std::function<void()> reset);
void RunResetHooks();

// Registers `reset` at load time: `static platform::ResetHook hook([] { ... });`
struct ResetHook {
    explicit ResetHook(std::function<void()> reset) { RegisterResetHook(std::move(reset)); }
};

}  // namespace platform
