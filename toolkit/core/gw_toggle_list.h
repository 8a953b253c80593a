// A list of toggle rows ("PropList", "Groups", "Levels"): each row is a
// toggle with a caption, named by its index. Rows come from the definition's
// "items" or from set_row_count, which calls the list's row-fill callback
// once per row with the row widget and the row index. A radio list keeps one
// row on.
#pragma once

#include <string>

#include "toolkit/core/gw_core.h"

class GwToggle;

class GwToggleList : public GwCore {
public:
    GwToggleList(const std::string& name, GwCore* parent) : GwCore(GwTOGGLELIST_CLASS, name, parent) {}

    int row_count() const { return child_count(); }
    // Makes `count` fresh rows and fills each through the row-fill callback.
    void set_row_count(int count);
    GwToggle* row(int index) const;
    // Calls the row-fill callback for one row again.
    void update_row(int index);
    bool item_on(int index) const;
    void set_item_on(int index, bool on);
    bool item_enabled(int index) const;
    void enable_item(int index, bool on);
    std::string item_text(int index) const;
    bool is_radio() const { return radio_; }

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwToggleList() override = default;
    void copy_state_to(GwCore* copy) const override;

private:
    GwToggle* AddRow(const std::string& caption);
    bool radio_ = false;
};
