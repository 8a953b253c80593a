#include "toolkit/core/gw_scrolled_container.h"

#include <algorithm>

#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_widget_store.h"

GwScrolledContainer::GwScrolledContainer(const std::string& name, GwCore* parent)
    : GwContainer(name, parent, GwRect{0, 0, 10, 10}, GwSCROLLEDCONTAINER_CLASS) {}

int GwScrolledContainer::visible_count() const {
    if (visible_items_ > 0) return visible_items_;
    int n = 0;
    for (GwCore* c : children())
        if (c->is_alive() && c->is_class(GwCONTAINER_CLASS)) ++n;
    return n;
}

GwCore* GwScrolledContainer::row(int index) const {
    if (index < 0) return nullptr;
    for (GwCore* c : children()) {
        if (!c->is_alive() || !c->is_class(GwCONTAINER_CLASS)) continue;
        if (index-- == 0) return c;
    }
    return nullptr;
}

int GwScrolledContainer::Clamp(int item) const {
    int last = std::max(0, item_count_ - visible_count());
    return std::clamp(item, 0, last);
}

void GwScrolledContainer::set_visible_count(int count) {
    if (!is_alive()) return;
    visible_items_ = std::max(0, count);
    set_first_visible(first_visible_);
}

void GwScrolledContainer::set_item_count(int count) {
    if (!is_alive()) return;
    item_count_ = std::max(0, count);
    GwContentChange change;
    change.kind = GwContentKind::kRowsChanged;
    change.count = item_count_;
    notify_content(change);
    set_first_visible(first_visible_);
}

void GwScrolledContainer::set_first_visible(int item) {
    if (!is_alive()) return;
    int first = Clamp(item);
    if (first == first_visible_) return;
    first_visible_ = first;
    notify(GwProperty::kFirstVisible);
}

bool GwScrolledContainer::user_scroll(int item) {
    if (!is_alive() || !is_sensitive() || !is_visible()) return false;
    int before = first_visible_;
    set_first_visible(item);
    if (first_visible_ == before) return true;
    record("scroll", std::to_string(first_visible_));
    GwEvent ev;
    ev.value = first_visible_;
    fire(GwCB_SCROLL, ev);
    return true;
}

void GwScrolledContainer::apply_definition(const GwDefinition& def, int language) {
    GwContainer::apply_definition(def, language);
    item_count_ = std::max(0, def.number("item_count", language, 0));
    visible_items_ = std::max(0, def.number("visible_items", language, 0));
}

void GwScrolledContainer::copy_state_to(GwCore* copy) const {
    GwContainer::copy_state_to(copy);
    if (auto* s = dynamic_cast<GwScrolledContainer*>(copy)) {
        s->item_count_ = item_count_;
        s->first_visible_ = first_visible_;
        s->visible_items_ = visible_items_;
    }
}
