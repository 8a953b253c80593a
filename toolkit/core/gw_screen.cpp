#include "toolkit/core/gw_screen.h"

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_widget_store.h"

void GwSetScreenSize(GwDimension size) {
    if (size.width > 0 && size.height > 0) GwWidgetStore::Get().screen = size;
}

GwDimension GwScreenSize() { return GwWidgetStore::Get().screen; }

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
