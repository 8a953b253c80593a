// Menu items, toggle items and toolbar tools. An item chosen by the user
// fires its activate callback with the user data it was bound with (a bus
// address, a window); a toggle item flips its value and fires its change
// callback with the new value. A disabled, hidden or separator item cannot be
// chosen. Items made by the program start hidden and without text until it
// shows them; items from definition files follow their "visible" attribute.
// An item with an empty name is a separator.
#pragma once

#include <string>

#include "toolkit/core/gw_core.h"

class GwMenuItem : public GwCore {
public:
    // A new item at the end of `menu` (a menu, popup or toolbar), hidden.
    GwMenuItem(const std::string& name, GwCore* menu, const std::string& text = "");

    bool is_separator() const { return name().empty(); }
    // Binds the activate callback and its argument.
    void set_activate_callback(GwCallback fn, const GwUD& argument) { set_callback(GwCB_ACTIVATE, fn, argument); }
    // The user chooses the item; false when it cannot be chosen.
    virtual bool choose();

    // Made by the definition loader: shown as the definition says.
    GwMenuItem(GwKind kind, const std::string& name, GwCore* parent) : GwCore(kind, name, parent) {}

protected:
    ~GwMenuItem() override = default;
    bool can_be_chosen() const;
};

class GwToggleItem : public GwMenuItem {
public:
    GwToggleItem(const std::string& name, GwCore* menu, const std::string& text = "");
    GwToggleItem(GwKind kind, const std::string& name, GwCore* parent) : GwMenuItem(kind, name, parent) {}

    int value() const { return value_; }
    // A program set fires no callback.
    void set_value(int value);
    // Flips the value and fires the change callback with it.
    bool choose() override;

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwToggleItem() override = default;
    void copy_state_to(GwCore* copy) const override;

private:
    int value_ = 0;
};

// A tool of a toolbar; its user-data text may carry a level gate ("5").
class GwTool : public GwMenuItem {
public:
    GwTool(GwKind kind, const std::string& name, GwCore* parent) : GwMenuItem(kind, name, parent) {}

protected:
    ~GwTool() override = default;
};
