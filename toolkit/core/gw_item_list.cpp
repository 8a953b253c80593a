#include "toolkit/core/gw_item_list.h"

#include <algorithm>

#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_widget_store.h"

void GwItemList::clear() {
    rows_.clear();
    focused_ = -1;
    first_visible_ = 0;
    next_insertion_ = 0;
    Changed(GwContentKind::kCleared);
}

void GwItemList::Changed(GwContentKind kind, int index, int column) {
    GwContentChange change;
    change.kind = kind;
    change.index = index;
    change.column = column;
    change.count = index >= 0 ? 1 : 0;
    notify_content(change);
}

bool GwItemList::contains(const std::string& row_text) const {
    for (const auto& r : rows_) {
        std::string joined;
        for (size_t i = 0; i < r.cells.size(); ++i) joined += (i ? "|" : "") + r.cells[i];
        if (joined == row_text) return true;
    }
    return false;
}

int GwItemList::SortedPosition(const std::vector<std::string>&) const { return count(); }

int GwItemList::InsertRow(int index, std::vector<std::string> cells) {
    if (index < 0 || index > count()) index = count();
    rows_.insert(rows_.begin() + index, Row{std::move(cells), next_insertion_++, false});
    if (focused_ >= index) ++focused_;
    Changed(GwContentKind::kRowsAdded, index);
    return index;
}

void GwItemList::RemoveRow(int index) {
    if (!Valid(index)) return;
    rows_.erase(rows_.begin() + index);
    if (focused_ == index) {
        focused_ = -1;
    } else if (focused_ > index) {
        --focused_;
    }
    if (first_visible_ >= count()) first_visible_ = count() > 0 ? count() - 1 : 0;
    Changed(GwContentKind::kRowsRemoved, index);
}

void GwItemList::select(int index, bool on) {
    if (!Valid(index)) return;
    if (on && !multiple_)
        for (auto& r : rows_) r.selected = false;
    rows_[index].selected = on;
    notify(GwProperty::kSelection);
}

void GwItemList::deselect_all() {
    for (auto& r : rows_) r.selected = false;
    notify(GwProperty::kSelection);
}

bool GwItemList::is_selected(int index) const { return Valid(index) && rows_[index].selected; }

int GwItemList::first_selected() const {
    for (int i = 0; i < count(); ++i)
        if (rows_[i].selected) return i;
    return -1;
}

std::vector<int> GwItemList::selected_rows() const {
    std::vector<int> out;
    for (int i = 0; i < count(); ++i)
        if (rows_[i].selected) out.push_back(i);
    return out;
}

void GwItemList::set_multiple_selection(bool on) {
    multiple_ = on;
    if (!on) {
        int first = first_selected();
        deselect_all();
        if (first >= 0) rows_[first].selected = true;
    }
}

void GwItemList::set_focused_row(int index) {
    if (Valid(index)) focused_ = index;
}

void GwItemList::set_first_visible(int index) {
    if (!Valid(index)) return;
    first_visible_ = index;
    notify(GwProperty::kFirstVisible);
}

void GwItemList::scroll_to(int index) {
    if (!Valid(index)) return;
    if (index < first_visible_) {
        set_first_visible(index);
    } else if (index >= first_visible_ + visible_count_) {
        set_first_visible(index - visible_count_ + 1);
    }
}

bool GwItemList::user_select(int index) {
    if (!is_alive() || !Valid(index) || !is_sensitive() || !is_visible()) return false;
    select(index, multiple_ ? !rows_[index].selected : true);
    focused_ = index;
    AfterUserSelect(index);
    GwEvent ev;
    ev.row = index;
    fire(GwCB_SELECT, ev);
    return true;
}

bool GwItemList::user_activate(int index) {
    if (!is_alive() || !Valid(index) || !is_sensitive() || !is_visible()) return false;
    GwDispatchGuard guard;
    select(index, true);
    focused_ = index;
    GwEvent mouse;
    mouse.row = index;
    mouse.button = 1;
    mouse.click_count = 2;
    mouse.state = GwMOUSE_BUTTON1 | GwMOUSE_DOUBLE;
    fire(GwCB_MOUSE, mouse);
    if (!is_alive()) return true;
    GwEvent ev = mouse;
    fire(GwCB_ACTIVATE, ev);
    return true;
}

bool GwItemList::KindKey(int key) {
    if (key != GwKEY_RETURN) return GwCore::KindKey(key);
    int row = first_selected();
    if (row < 0) return false;
    GwEvent ev;
    ev.row = row;
    ev.key = key;
    fire(GwCB_ACTIVATE, ev);
    return true;
}

void GwItemList::apply_definition(const GwDefinition& def, int language) {
    GwCore::apply_definition(def, language);
    multiple_ = def.flag("multiple", language, false);
    set_visible_count(def.number("visible_rows", language, visible_count_));
}

void GwItemList::copy_state_to(GwCore* copy) const {
    GwCore::copy_state_to(copy);
    if (auto* l = dynamic_cast<GwItemList*>(copy)) {
        l->rows_ = rows_;
        l->next_insertion_ = next_insertion_;
        l->multiple_ = multiple_;
        l->focused_ = focused_;
        l->first_visible_ = first_visible_;
        l->visible_count_ = visible_count_;
    }
}
