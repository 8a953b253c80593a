// What lists and combos share: rows of cells kept in display order, each
// with its insertion index, a selection (one row or several), the focused
// row and the visible window of rows. Indexes out of range read as empty and
// change nothing.
#pragma once

#include <string>
#include <vector>

#include "toolkit/core/gw_core.h"

class GwItemList : public GwCore {
public:
    void clear();
    int count() const { return static_cast<int>(rows_.size()); }
    bool contains(const std::string& row_text) const;

    // Selects a row (in single selection the others are cleared) or
    // clears it; a program call fires nothing.
    void select(int index, bool on = true);
    void deselect_all();
    bool is_selected(int index) const;
    // First selected row, -1 for none.
    int first_selected() const;
    int selected_index() const { return first_selected(); }
    std::vector<int> selected_rows() const;
    void set_multiple_selection(bool on);
    bool multiple_selection() const { return multiple_; }
    int focused_row() const { return focused_; }
    void set_focused_row(int index);

    int first_visible() const { return first_visible_; }
    void set_first_visible(int index);
    // Scrolls so that the row is visible.
    void scroll_to(int index);
    int visible_count() const { return visible_count_; }
    void set_visible_count(int n) { visible_count_ = n < 1 ? 1 : n; }

    // A selection as by the user: selects (single selection) or toggles
    // (multiple selection) the row and fires the select callback.
    bool user_select(int index);
    // A double click on a row: selects it, fires the activate callback
    // (button bit 0, click count 2) and the mouse callback.
    bool user_activate(int index);

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    GwItemList(GwKind kind, const std::string& name, GwCore* parent) : GwCore(kind, name, parent) {}
    ~GwItemList() override = default;
    void copy_state_to(GwCore* copy) const override;
    void on_destroyed() override { rows_.clear(); }
    // Return activates the selected row (as a double click does, without
    // the mouse); Escape goes to the frame.
    bool KindKey(int key) override;

    struct Row {
        std::vector<std::string> cells;
        int insertion = 0;
        bool selected = false;
    };
    bool Valid(int index) const { return index >= 0 && index < count(); }
    // Tells the observers; `index` -1 for the whole list.
    void Changed(GwContentKind kind, int index = -1, int column = -1);
    // Inserts at a display position (clamped); returns it.
    int InsertRow(int index, std::vector<std::string> cells);
    void RemoveRow(int index);
    // After a user selection, before the select callback.
    virtual void AfterUserSelect(int) {}
    // Display position where a new row goes; the end unless a list sorts.
    virtual int SortedPosition(const std::vector<std::string>& cells) const;
    std::vector<Row> rows_;

private:
    int next_insertion_ = 0;
    bool multiple_ = false;
    int focused_ = -1;
    int first_visible_ = 0;
    int visible_count_ = 10;
};
