#include "plchost/plc_host_state.h"

#include "platform/base/reset_hooks.h"

namespace {

PlcHostState& State() {
    static PlcHostState state;
    return state;
}

platform::ResetHook ResetState([] { State() = PlcHostState(); });

}  // namespace

PlcHostState& ThePlcHostState() { return State(); }
