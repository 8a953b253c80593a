// The toolkit's ownership of widgets: the set of live widgets (by address,
// so validity is answered without touching a widget), the top-level windows,
// and the graveyard of destroyed widgets whose memory is kept for a while so
// stale pointers neither dangle nor see a new widget at their address.
// Internal to the toolkit.
#pragma once

#include <cstddef>
#include <deque>
#include <unordered_set>
#include <vector>

#include "toolkit/core/gw_types.h"

class GwCore;

// Destroyed window trees kept before their memory is freed, and the widgets
// they may hold together (big windows are freed sooner).
constexpr size_t kGwGraveyardLimit = 1024;
constexpr size_t kGwGraveyardWidgetLimit = 8192;

struct GwWidgetStore {
    static GwWidgetStore& Get();
    // At process end the remaining widgets are freed without callbacks.
    ~GwWidgetStore();

    bool IsLive(const GwCore* widget) const { return live.count(widget) != 0; }
    // Takes ownership of a new widget under its parent (or as a top-level one).
    void Adopt(GwCore* widget, GwCore* parent);
    // Unlinks a widget from its parent or the top-level list.
    void Detach(GwCore* widget);
    // Takes a destroyed tree into the graveyard.
    void Bury(GwCore* root);
    // Frees the oldest graveyard trees beyond the limit, only when no
    // callback is running (a caller up the stack may still hold them).
    void Trim();
    // Ends every widget without callbacks and frees all memory.
    void Reset();

    std::unordered_set<const GwCore*> live;
    std::vector<GwCore*> toplevel;  // owned
    std::deque<GwCore*> graveyard;  // owned, destroyed
    size_t graveyard_widgets = 0;   // widgets of all graveyard trees
    int dispatch_depth = 0;
    GwCore* focus = nullptr;
    int cursor = 1;  // GwCURSOR_ARROW
    // Frames in stacking order, the top last (may hold dead ones).
    std::vector<GwCore*> stacking;
    GwDimension screen{1280, 1024};
};

// Keeps widgets from being freed while toolkit code up the stack runs.
class GwDispatchGuard {
public:
    GwDispatchGuard() { ++GwWidgetStore::Get().dispatch_depth; }
    ~GwDispatchGuard() {
        auto& store = GwWidgetStore::Get();
        if (--store.dispatch_depth == 0) store.Trim();
    }
    GwDispatchGuard(const GwDispatchGuard&) = delete;
    GwDispatchGuard& operator=(const GwDispatchGuard&) = delete;
};
