#include "toolkit/core/gw_combo.h"

#include "toolkit/core/gw_definition.h"

int GwCombo::append(const std::string& item) {
    if (!is_alive()) return -1;
    return InsertRow(count(), {item});
}

int GwCombo::insert(const std::string& item, int index) {
    if (!is_alive()) return -1;
    return InsertRow(index, {item});
}

std::string GwCombo::item_text(int index) const { return Valid(index) ? rows_[index].cells.front() : std::string(); }

int GwCombo::find(const std::string& item) const {
    for (int i = 0; i < count(); ++i)
        if (rows_[i].cells.front() == item) return i;
    return -1;
}

void GwCombo::select_item(int index) {
    if (!Valid(index)) return;
    select(index, true);
    set_text(item_text(index));
}

std::string GwCombo::selection_text() const { return item_text(first_selected()); }

void GwCombo::set_text(const std::string& text) {
    if (!is_alive()) return;
    edit_text_ = text;
    store_text(text, text);
}

void GwCombo::apply_definition(const GwDefinition& def, int language) {
    GwItemList::apply_definition(def, language);
    edit_text_ = GwCore::text();
    if (def.find("visible_rows", language) == nullptr) set_visible_count(12);
    if (const GwAttribute* a = def.find("items", language))
        for (const auto& item : a->values) append(item);
}

void GwCombo::copy_state_to(GwCore* copy) const {
    GwItemList::copy_state_to(copy);
    if (auto* c = dynamic_cast<GwCombo*>(copy)) c->edit_text_ = edit_text_;
}
