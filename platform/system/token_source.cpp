#include "platform/system/token_source.h"

#include <random>

#include "platform/base/reset_hooks.h"

namespace platform {
namespace {

struct TokenSourceState {
    std::function<int32_t()> Source;
};

TokenSourceState& TheTokenSourceState() {
    static TokenSourceState state;
    return state;
}

ResetHook tokenSourceReset([] { TheTokenSourceState() = {}; });

int32_t SystemDraw() {
    static std::mt19937 generator{std::random_device{}()};
    return static_cast<int32_t>(generator());
}

}  // namespace

int32_t NewToken() {
    const std::function<int32_t()>& source = TheTokenSourceState().Source;
    int32_t token = 0;
    while (token == 0) token = source ? source() : SystemDraw();
    return token;
}

void SetTokenSource(std::function<int32_t()> source) { TheTokenSourceState().Source = std::move(source); }

}  // namespace platform
