#include "toolkit/core/gw_widget_store.h"

#include <algorithm>

#include "toolkit/core/gw_core.h"

GwWidgetStore& GwWidgetStore::Get() {
    static GwWidgetStore store;
    return store;
}

GwWidgetStore::~GwWidgetStore() {
    for (GwCore* root : toplevel) GwCoreDeleter()(root);
    for (GwCore* dead : graveyard) GwCoreDeleter()(dead);
}

void GwWidgetStore::Adopt(GwCore* widget, GwCore* parent) {
    live.insert(widget);
    if (parent != nullptr) {
        parent->children_.push_back(widget);
        widget->parent_ = parent;
    } else {
        toplevel.push_back(widget);
    }
}

void GwWidgetStore::Detach(GwCore* widget) {
    auto& list = widget->parent_ != nullptr ? widget->parent_->children_ : toplevel;
    list.erase(std::remove(list.begin(), list.end(), widget), list.end());
    widget->parent_ = nullptr;
}

void GwWidgetStore::Bury(GwCore* root) {
    graveyard.push_back(root);
    graveyard_widgets += root->subtree(true).size();
    Trim();
}

void GwWidgetStore::Trim() {
    if (dispatch_depth > 0) return;
    while (graveyard.size() > kGwGraveyardLimit ||
           (graveyard.size() > 1 && graveyard_widgets > kGwGraveyardWidgetLimit)) {
        GwCore* oldest = graveyard.front();
        graveyard.pop_front();
        graveyard_widgets -= oldest->subtree(true).size();
        GwCoreDeleter()(oldest);
    }
}

void GwWidgetStore::Reset() {
    std::vector<GwCore*> roots;
    roots.swap(toplevel);
    for (GwCore* root : roots) {
        root->mark_dead();
        GwCoreDeleter()(root);
    }
    for (GwCore* dead : graveyard) GwCoreDeleter()(dead);
    graveyard.clear();
    graveyard_widgets = 0;
    live.clear();
    focus = nullptr;
    cursor = 1;
    stacking.clear();
    screen = {1280, 1024};
    dispatch_depth = 0;
}
