#include "service/download/memory_dump.h"

#include <cstdio>

#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"

namespace {

constexpr uint32_t kDumpStep = 80;
// Refreshes the window needs before it acts.
constexpr int kDumpReadyCount = 4;

MemoryDumpState g_dump;

platform::ResetHook ResetState([] { g_dump = MemoryDumpState{}; });

bool Ready() { return g_dump.refreshCount > kDumpReadyCount; }

}  // namespace

MemoryDumpState& TheMemoryDumpState() { return g_dump; }

int CB_SetDumpAddress(GwCore* widget, GwEvent*, GwUD) {
    if (!Ready() || widget == nullptr) return 1;
    unsigned int address = 0;
    if (std::sscanf(widget->text().c_str(), "%X", &address) == 1) g_dump.address = address;
    return 1;
}

int CB_IncrementAdr(GwCore*, GwEvent*, GwUD) {
    if (Ready()) g_dump.address += kDumpStep;
    return 1;
}

int CB_DecrementAdr(GwCore*, GwEvent*, GwUD) {
    if (Ready()) g_dump.address = g_dump.address > kDumpStep ? g_dump.address - kDumpStep : 0;
    return 1;
}

int CB_HideDump(GwCore* widget, GwEvent*, GwUD) {
    if (!Ready()) return 1;
    if (GwCore* frame = widget != nullptr ? widget->frame() : nullptr) frame->hide();
    g_dump = MemoryDumpState{};
    return 1;
}
