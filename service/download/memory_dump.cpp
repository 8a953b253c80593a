#include "service/download/memory_dump.h"

#include <cstdio>

#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr uint32_t kDumpStep = 80;
// Refreshes the window needs before it acts.
constexpr int kDumpReadyCount = 4;

MemoryDumpState& State() {
    static MemoryDumpState state;
    return state;
}

platform::ResetHook ResetState([] { State() = MemoryDumpState{}; });

bool Ready() { return State().refreshCount > kDumpReadyCount; }

}  // namespace

MemoryDumpState& TheMemoryDumpState() { return State(); }

int CB_SetDumpAddress(GwCore* widget, GwEvent*, GwUD) {
    if (!Ready() || widget == nullptr) return 1;
    unsigned int address = 0;
    if (std::sscanf(widget->text().c_str(), "%X", &address) == 1) State().address = address;
    return 1;
}

int CB_IncrementAdr(GwCore*, GwEvent*, GwUD) {
    if (Ready()) State().address += kDumpStep;
    return 1;
}

int CB_DecrementAdr(GwCore*, GwEvent*, GwUD) {
    if (Ready()) State().address = State().address > kDumpStep ? State().address - kDumpStep : 0;
    return 1;
}

int CB_HideDump(GwCore* widget, GwEvent*, GwUD) {
    if (!Ready()) return 1;
    if (GwCore* frame = widget != nullptr ? widget->frame() : nullptr) frame->hide();
    State() = MemoryDumpState{};
    return 1;
}
