#include "toolkit/core/gw_toggle.h"

#include <string>

#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_widget_store.h"

GwToggle::GwToggle(const std::string& name, GwCore* parent, GwKind kind) : GwCore(kind, name, parent) {
    if (kind == GwRADIO_CLASS) indicator_ = GwINDICATOR_RADIO;
}

bool GwToggle::is_radio() const {
    return indicator_ == GwINDICATOR_RADIO || (parent() != nullptr && parent()->is_class(GwRADIOGROUP_CLASS));
}

void GwToggle::Store(bool on) {
    checked_ = on;
    notify(GwProperty::kChecked);
    record("checked", on ? "1" : "0");
}

std::vector<GwToggle*> GwToggle::ClearSiblings() {
    std::vector<GwToggle*> cleared;
    if (parent() == nullptr) return cleared;
    for (GwCore* c : parent()->children()) {
        auto* t = dynamic_cast<GwToggle*>(c);
        if (t == nullptr || t == this || !t->is_alive() || !t->is_radio() || !t->checked_) continue;
        t->Store(false);
        cleared.push_back(t);
    }
    return cleared;
}

void GwToggle::set_checked(bool on) {
    if (!is_alive()) return;
    if (on && is_radio()) ClearSiblings();
    Store(on);
}

bool GwToggle::click() {
    if (!is_alive() || !is_sensitive() || !is_visible()) return false;
    GwDispatchGuard guard;
    if (is_radio()) {
        if (checked_) return true;
        std::vector<GwToggle*> cleared = ClearSiblings();
        Store(true);
        for (GwToggle* t : cleared) {
            if (!t->is_alive()) continue;
            GwEvent off;
            off.value = 0;
            t->fire(GwCB_CHANGE, off);
        }
    } else {
        Store(!checked_);
    }
    if (!is_alive()) return true;
    GwEvent ev;
    ev.value = value();
    fire(GwCB_CHANGE, ev);
    return true;
}

void GwToggle::apply_definition(const GwDefinition& def, int language) {
    GwCore::apply_definition(def, language);
    indicator_ = def.number("indicator", language, indicator_);
    checked_ = def.flag("checked", language, false);
}

void GwToggle::copy_state_to(GwCore* copy) const {
    GwCore::copy_state_to(copy);
    if (auto* t = dynamic_cast<GwToggle*>(copy)) {
        t->checked_ = checked_;
        t->indicator_ = indicator_;
    }
}

GwToggle* GwRadioGroup::item(int index) const { return dynamic_cast<GwToggle*>(child(std::to_string(index))); }

bool GwRadioGroup::item_value(int index) const {
    GwToggle* t = item(index);
    return t != nullptr && t->is_checked();
}

void GwRadioGroup::set_item(int index, bool on) {
    if (GwToggle* t = item(index)) t->set_checked(on);
}

int GwRadioGroup::selected_item() const {
    for (GwCore* c : children()) {
        auto* t = dynamic_cast<GwToggle*>(c);
        if (t == nullptr || !t->is_checked()) continue;
        const std::string& n = t->name();
        if (!n.empty() && n.size() < 6 && n.find_first_not_of("0123456789") == std::string::npos) return std::stoi(n);
    }
    return -1;
}
