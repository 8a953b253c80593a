#include "toolkit/tree/gw_tree.h"

#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_widget_store.h"
#include "toolkit/draw/gw_bitmap.h"

namespace {

const bool g_registered = [] {
    GwSetKindFactory(GwTREE_CLASS, [](GwKind, const std::string& n, GwCore* p) -> GwCore* { return new GwTree(n, p); });
    return true;
}();

void CollectRows(GwTreeEntry* entry, int level, std::vector<GwTreeRow>* rows) {
    rows->push_back({entry, level});
    if (!entry->is_shown()) return;
    for (GwTreeEntry* c : entry->children()) CollectRows(c, level + 1, rows);
}

}  // namespace

GwTree::GwTree(const std::string& name, GwCore* parent) : GwCore(GwTREE_CLASS, name, parent) {}

GwTree::~GwTree() { on_destroyed(); }

void GwTree::on_destroyed() {
    GwTreeEntry* root = root_;
    root_ = nullptr;
    selected_ = nullptr;
    if (root != nullptr) {
        root->tree_ = nullptr;
        delete root;
    }
}

void GwTree::forget(GwTreeEntry* entry) {
    if (selected_ != nullptr && selected_->is_descendant_of(entry)) selected_ = nullptr;
    if (entry == root_) {
        root_->tree_ = nullptr;
        root_ = nullptr;
    }
}

bool GwTree::set_entries(GwTreeEntry* root) {
    if (!is_alive()) return false;
    if (root != nullptr && root != root_ && (root->parent_ != nullptr || root->tree_ != nullptr)) return false;
    if (root != root_) {
        if (root_ != nullptr) delete root_;  // forgets itself
        root_ = root;
        if (root_ != nullptr) root_->tree_ = this;
    }
    Tell(GwContentKind::kEntriesReplaced, root_);
    Changed();
    return true;
}

bool GwTree::add_entry(GwTreeEntry* parent, GwTreeEntry* entry) {
    if (!Owns(parent) || !parent->add_child(entry)) return false;
    Tell(GwContentKind::kEntryAdded, entry);
    Changed();
    return true;
}

bool GwTree::delete_entry(GwTreeEntry* entry) {
    if (!Owns(entry)) return false;
    Tell(GwContentKind::kEntryRemoved, entry);
    delete entry;
    Changed();
    return true;
}

bool GwTree::select_entry(GwTreeEntry* entry) {
    if (!is_alive() || (entry != nullptr && !Owns(entry))) return false;
    selected_ = entry;
    Tell(GwContentKind::kEntrySelected, entry);
    record("select", entry != nullptr ? entry->id() : std::string());
    return true;
}

bool GwTree::user_select(GwTreeEntry* entry) {
    if (!Owns(entry) || !is_sensitive() || !is_visible()) return false;
    GwDispatchGuard guard;
    select_entry(entry);
    GwEvent ev;
    ev.data = entry;
    fire(GwCB_SELECT, ev);
    return true;
}

bool GwTree::expand_entry(GwTreeEntry* entry, bool open) {
    if (!Owns(entry)) return false;
    entry->set_shown(open);
    Tell(GwContentKind::kEntryExpanded, entry);
    Changed();
    return true;
}

bool GwTree::user_context_menu(GwTreeEntry* entry) {
    if (!Owns(entry) || !is_sensitive() || !is_visible()) return false;
    GwCore* popup = entry->popup();
    if (!GwRcMgr::is_valid_child(popup)) return false;
    GwDispatchGuard guard;
    user_select(entry);
    if (!GwRcMgr::is_valid_child(popup)) return false;
    popup->open_menu();
    return true;
}

bool GwTree::user_click(GwTreeEntry* entry, int state) {
    if (!Owns(entry) || !is_sensitive() || !is_visible()) return false;
    GwDispatchGuard guard;
    user_select(entry);
    if (!is_alive()) return true;
    GwEvent mouse;
    mouse.data = entry;
    mouse.button = 1;
    mouse.state = state;
    mouse.click_count = (state & GwMOUSE_DOUBLE) != 0 ? 2 : 1;
    GwRect row;
    if (entry_rect(entry, &row)) {
        mouse.x = row.x;
        mouse.y = row.y;
    }
    fire(GwCB_MOUSE, mouse);
    if (mouse.click_count == 2 && is_alive()) {
        GwEvent activate = mouse;
        fire(GwCB_ACTIVATE, activate);
    }
    return true;
}

void GwTree::Tell(GwContentKind kind, const GwTreeEntry* entry) {
    GwContentChange change;
    change.kind = kind;
    change.entry = entry;
    notify_content(change);
}

std::vector<GwTreeRow> GwTree::rows() const {
    std::vector<GwTreeRow> out;
    if (root_ != nullptr && is_alive()) CollectRows(root_, 0, &out);
    return out;
}

GwTreeEntry* GwTree::locate_entry(int x, int y) const {
    if (x < 0 || y < 0 || x >= width()) return nullptr;
    std::vector<GwTreeRow> all = rows();
    size_t index = static_cast<size_t>(y / kGwTreeRowHeight);
    return index < all.size() ? all[index].entry : nullptr;
}

bool GwTree::entry_rect(const GwTreeEntry* entry, GwRect* rect) const {
    std::vector<GwTreeRow> all = rows();
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].entry != entry) continue;
        int x = all[i].level * kGwTreeIndent;
        if (rect != nullptr) *rect = {x, static_cast<int>(i) * kGwTreeRowHeight, width() - x, kGwTreeRowHeight};
        return true;
    }
    return false;
}

void GwTree::set_redraw(bool on) {
    redraw_ = on;
    if (on) redraw();
}

void GwTree::Changed() {
    if (redraw_) redraw();
}

void GwTree::redraw() {
    if (!is_alive() || !is_visible()) return;
    record("redraw", std::to_string(row_texts().size()));
}

std::vector<std::string> GwTree::row_texts() const {
    std::vector<std::string> out;
    for (const GwTreeRow& row : rows()) {
        std::string line(static_cast<size_t>(row.level) * 2, ' ');
        line += row.entry->text();
        if (GwBitmap* icon = row.entry->bitmap()) line += " [" + icon->name() + "]";
        out.push_back(line);
    }
    return out;
}
