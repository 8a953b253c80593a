#include "toolkit/tree/gw_tree_entry.h"

#include <algorithm>

#include "toolkit/tree/gw_tree.h"

GwTreeEntry::GwTreeEntry(const GwUD& user_data, const char* text, int flags)
    : text_(text != nullptr ? text : ""), user_data_(user_data), flags_(flags) {}

GwTreeEntry::~GwTreeEntry() {
    if (GwTree* owner = tree()) owner->forget(this);
    if (parent_ != nullptr) parent_->loose_child(this);
    // The children go without telling the tree again: it forgot the whole
    // subtree above.
    std::vector<GwTreeEntry*> children;
    children.swap(children_);
    for (GwTreeEntry* c : children) {
        c->parent_ = nullptr;
        delete c;
    }
}

GwTreeEntry* GwTreeEntry::child(int index) const {
    if (index < 0 || index >= child_count()) return nullptr;
    return children_[index];
}

bool GwTreeEntry::is_descendant_of(const GwTreeEntry* ancestor) const {
    for (const GwTreeEntry* e = this; e != nullptr; e = e->parent_)
        if (e == ancestor) return true;
    return false;
}

bool GwTreeEntry::add_child(GwTreeEntry* entry) {
    if (entry == nullptr || entry->parent_ != nullptr || entry->tree_ != nullptr || is_descendant_of(entry))
        return false;
    entry->parent_ = this;
    children_.push_back(entry);
    return true;
}

bool GwTreeEntry::loose_child(GwTreeEntry* entry) {
    auto it = std::find(children_.begin(), children_.end(), entry);
    if (entry == nullptr || it == children_.end()) return false;
    if (GwTree* owner = tree()) owner->forget(entry);
    children_.erase(it);
    entry->parent_ = nullptr;
    return true;
}

GwTree* GwTreeEntry::tree() const {
    const GwTreeEntry* root = this;
    while (root->parent_ != nullptr) root = root->parent_;
    return root->tree_;
}
