// The current user level.
#include "app/services/user_level.h"

#include "platform/base/reset_hooks.h"

namespace {

struct UserLevelState {
    uint16_t Level = kStartUserLevel;
};

UserLevelState& State() {
    static UserLevelState state;
    return state;
}

platform::ResetHook ResetState([] { State() = UserLevelState(); });

}  // namespace

uint16_t GetUserLevel() { return State().Level; }

void SetUserLevel(uint16_t level) { State().Level = level; }
