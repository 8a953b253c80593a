// The tree widget: one root entry and its subtree, entries shown open or
// closed, one selected entry, rows of fixed height for locating the entry
// under the pointer, and redraw that the program switches off while it
// rebuilds. A selection by the user fires the select callback with the entry
// in the event's data; a selection by the program fires nothing. The tree
// owns its entries and deletes them with itself.
#pragma once

#include <string>
#include <vector>

#include "toolkit/core/gw_core.h"
#include "toolkit/tree/gw_tree_entry.h"

// Row height and indentation per level, in widget units.
constexpr int kGwTreeRowHeight = 16;
constexpr int kGwTreeIndent = 16;

// A displayed row: the entry and its depth (root 0).
struct GwTreeRow {
    GwTreeEntry* entry = nullptr;
    int level = 0;
};

class GwTree : public GwCore {
public:
    GwTree(const std::string& name, GwCore* parent);

    // The root entry, or null.
    GwTreeEntry* entries() const { return root_; }
    // Gives the tree a root (a loose entry) and takes it over; an earlier,
    // different root is deleted. Null empties the tree.
    bool set_entries(GwTreeEntry* root);
    // Appends a loose entry under a parent of this tree.
    bool add_entry(GwTreeEntry* parent, GwTreeEntry* entry);
    // Deletes an entry of this tree with its subtree (the root too).
    bool delete_entry(GwTreeEntry* entry);

    GwTreeEntry* selected_entry() const { return selected_; }
    // Selects an entry of this tree (null clears); no callback.
    bool select_entry(GwTreeEntry* entry);
    // The user selects an entry: select callback with the entry.
    bool user_select(GwTreeEntry* entry);
    // Shows an entry open or closed.
    bool expand_entry(GwTreeEntry* entry, bool open = true);
    // The user asks for an entry's popup (right click): the entry is
    // selected as by the user, then its popup opens (GwCore::open_menu).
    // False, nothing done, for an entry of another tree or one whose popup
    // is gone.
    bool user_context_menu(GwTreeEntry* entry);
    // The user clicks an entry with mouse state bits (GwMOUSE_DOUBLE for a
    // double click): selected as by the user, then the mouse binding with
    // the entry in the event's data, and for a double click the activate
    // binding.
    bool user_click(GwTreeEntry* entry, int state);

    // The displayed entry at a point of the widget, or null.
    GwTreeEntry* locate_entry(int x, int y) const;
    // The row of a displayed entry; false when it is not displayed.
    bool entry_rect(const GwTreeEntry* entry, GwRect* rect) const;
    // Displayed rows, depth first, the children of open entries included.
    std::vector<GwTreeRow> rows() const;

    // While off, changes are not drawn; switching on draws.
    void set_redraw(bool on);
    bool redraw_enabled() const { return redraw_; }
    // Draws the rows when visible (recorded as "redraw" with the row count).
    void redraw();
    // The rows as drawn: two blanks per level, the text, and the name of the
    // entry's bitmap in brackets when it has one ("  Motors [foldc]").
    std::vector<std::string> row_texts() const;

    // An entry's tree learns here that the entry goes away.
    void forget(GwTreeEntry* entry);

protected:
    ~GwTree() override;
    void on_destroyed() override;

private:
    bool Owns(const GwTreeEntry* entry) const { return entry != nullptr && is_alive() && entry->tree() == this; }
    void Changed();
    void Tell(GwContentKind kind, const GwTreeEntry* entry);

    GwTreeEntry* root_ = nullptr;  // owned
    GwTreeEntry* selected_ = nullptr;
    bool redraw_ = true;
};
