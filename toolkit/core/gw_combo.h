// Combo boxes and selection lists: one text per item, a selection, and (for
// a combo) an edit text that a selection fills and re-filling keeps.
#pragma once

#include <string>

#include "toolkit/core/gw_item_list.h"

class GwCombo : public GwItemList {
public:
    GwCombo(const std::string& name, GwCore* parent, GwKind kind = GwCOMBO_CLASS) : GwItemList(kind, name, parent) {}

    void delete_all() { clear(); }
    int append(const std::string& item);
    // Inserts before the item at `index` (0 = at the top); returns the index.
    int insert(const std::string& item, int index);
    void delete_item(int index) { RemoveRow(index); }
    std::string item_text(int index) const;
    // Index of the first item with that text, -1 for none.
    int find(const std::string& item) const;
    // Selects an item (also into the edit text); a program call fires nothing.
    void select_item(int index);
    // Text of the first selected item; empty when nothing is selected.
    std::string selection_text() const;
    // The edit text; kept when the items are filled anew.
    std::string text() const override { return edit_text_; }
    void set_text(const std::string& text) override;
    int visible_items() const { return visible_count(); }
    void set_visible_items(int n) { set_visible_count(n); }

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwCombo() override = default;
    void copy_state_to(GwCore* copy) const override;
    void AfterUserSelect(int index) override { set_text(item_text(index)); }

private:
    std::string edit_text_;
};
