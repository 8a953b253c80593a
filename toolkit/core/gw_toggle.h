// Toggles: check boxes and radio buttons, and the radio group that holds
// radio items named "0", "1", ... A program set changes the state without a
// callback; a click as by the user fires the change callback with the new
// value (1/0). Among radio siblings exactly one is on.
#pragma once

#include "toolkit/core/gw_core.h"

// Indicator type of a radio button.
constexpr int GwINDICATOR_RADIO = 2;

class GwToggle : public GwCore {
public:
    GwToggle(const std::string& name, GwCore* parent, GwKind kind = GwTOGGLE_CLASS);

    bool is_checked() const { return checked_; }
    void set_checked(bool on);
    int value() const { return checked_ ? 1 : 0; }
    void set_value(int v) { set_checked(v != 0); }
    int indicator_type() const { return indicator_; }
    void set_indicator_type(int type) { indicator_ = type; }
    // A radio: its indicator type is 2, or it sits in a radio group.
    bool is_radio() const;
    // A click as by the user; false when not sensitive or not visible.
    bool click();

    void apply_definition(const GwDefinition& def, int language) override;

protected:
    ~GwToggle() override = default;
    void copy_state_to(GwCore* copy) const override;

private:
    // Switches off the other radios of the parent; returns those switched off.
    std::vector<GwToggle*> ClearSiblings();
    void Store(bool on);
    bool checked_ = false;
    int indicator_ = 0;
};

class GwRadioGroup : public GwCore {
public:
    GwRadioGroup(const std::string& name, GwCore* parent) : GwCore(GwRADIOGROUP_CLASS, name, parent) {}

    // The toggle child named by the item number, or null.
    GwToggle* item(int index) const;
    bool item_value(int index) const;
    void set_item(int index, bool on);
    // Number of the first item that is on, -1 for none.
    int selected_item() const;

protected:
    ~GwRadioGroup() override = default;
};
