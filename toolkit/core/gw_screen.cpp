#include "toolkit/core/gw_screen.h"

#include <algorithm>

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_widget_store.h"

void GwSetScreenSize(GwDimension size) {
    if (size.width > 0 && size.height > 0) GwWidgetStore::Get().screen = size;
}

GwDimension GwScreenSize() { return GwWidgetStore::Get().screen; }

bool GwOnScreen(const GwRect& rect) {
    const GwDimension screen = GwScreenSize();
    const int across = std::min(rect.x + rect.width, screen.width) - std::max(rect.x, 0);
    const int down = std::min(rect.y + rect.height, screen.height) - std::max(rect.y, 0);
    return across >= std::min(kGwReachableSpan, rect.width) && down >= std::min(kGwReachableSpan, rect.height) &&
           across > 0 && down > 0;
}

bool GwUserResizeWindow(GwCore* frame, GwDimension size) {
    if (frame == nullptr || !GwWidgetStore::Get().IsLive(frame) || !frame->is_frame()) return false;
    if (frame->dimension() != size) frame->set_dimension(size);
    return true;
}

std::vector<GwCore*> GwStackingOrder() {
    std::vector<GwCore*> out;
    auto& store = GwWidgetStore::Get();
    for (GwCore* w : store.stacking)
        if (store.IsLive(w)) out.push_back(w);
    return out;
}

GwCore* GwActiveWindow() {
    auto& store = GwWidgetStore::Get();
    for (auto it = store.stacking.rbegin(); it != store.stacking.rend(); ++it)
        if (store.IsLive(*it) && (*it)->is_visible()) return *it;
    return nullptr;
}
