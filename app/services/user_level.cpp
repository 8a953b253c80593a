// The current user level.
#include "app/services/user_level.h"

#include "platform/base/reset_hooks.h"

namespace {

uint16_t g_user_level = kStartUserLevel;

platform::ResetHook ResetState([] { g_user_level = kStartUserLevel; });

}  // namespace

uint16_t GetUserLevel() { return g_user_level; }

void SetUserLevel(uint16_t level) { g_user_level = level; }
