#include "toolkit/core/gw_event.h"

namespace {

// Names of the binding types in definition files, by GwCallbackType.
constexpr const char* kTypeNames[GwCB_COUNT] = {
    nullptr,    "create",  "show",   "hide",        "destroy", "resize", "timer",   "close",
    "activate", "default", "change", "key",         "mouse",   "select", "user",    "help",
    "focus",    "fill",    "button", "spreadsheet", "expose",  "scroll", "confirm",
};

}  // namespace

const char* GwCallbackTypeName(GwCallbackType type) {
    if (type <= GwCB_NONE || type >= GwCB_COUNT) return nullptr;
    return kTypeNames[type];
}

GwCallbackType GwCallbackTypeFromName(const std::string& name) {
    for (int t = GwCB_NONE + 1; t < GwCB_COUNT; ++t)
        if (name == kTypeNames[t]) return static_cast<GwCallbackType>(t);
    return GwCB_NONE;
}
