#include "platform/base/reset_hooks.h"

#include <vector>

namespace platform {

namespace {
std::vector<std::function<void()>>& Hooks() {
    static std::vector<std::function<void()>> hooks;
    return hooks;
}
}  // namespace

void RegisterResetHook(std::function<void()> reset) { Hooks().push_back(std::move(reset)); }

void RunResetHooks() {
    for (auto& hook : Hooks()) hook();
}

}  // namespace platform
