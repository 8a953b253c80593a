// Non-zero tokens that identify an owner to a lock (the parameter write lock
// and its takers). The source is the system's random generator; a test may
// replace it to fix the tokens. A draw of 0 is drawn again either way.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

int32_t NewToken();
// Replaces the draws until the next reset; an empty function puts the
// system's source back.
void SetTokenSource(std::function<int32_t()> source);

}  // namespace platform
