#include "toolkit/core/gw_toggle_list.h"

#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_widget_store.h"

GwToggle* GwToggleList::AddRow(const std::string& caption) {
    auto* t =
        static_cast<GwToggle*>(GwMakeWidget(radio_ ? GwRADIO_CLASS : GwCHECK_CLASS, std::to_string(row_count()), this));
    t->set_text(caption);
    return t;
}

void GwToggleList::set_row_count(int count) {
    if (!is_alive()) return;
    GwDispatchGuard guard;
    while (row_count() > 0) child(row_count() - 1)->destroy();
    for (int i = 0; i < count; ++i) AddRow(std::string());
    for (int i = 0; i < count && is_alive(); ++i) update_row(i);
}

GwToggle* GwToggleList::row(int index) const { return dynamic_cast<GwToggle*>(child(index)); }

void GwToggleList::update_row(int index) {
    GwToggle* r = row(index);
    if (r == nullptr) return;
    GwEvent ev;
    ev.row = index;
    fire_for(GwCB_FILL, r, ev);
}

bool GwToggleList::item_on(int index) const {
    GwToggle* r = row(index);
    return r != nullptr && r->is_checked();
}

void GwToggleList::set_item_on(int index, bool on) {
    if (GwToggle* r = row(index)) r->set_checked(on);
}

bool GwToggleList::item_enabled(int index) const {
    GwToggle* r = row(index);
    return r != nullptr && r->is_enabled();
}

void GwToggleList::enable_item(int index, bool on) {
    if (GwToggle* r = row(index)) r->set_sensitive(on);
}

std::string GwToggleList::item_text(int index) const {
    GwToggle* r = row(index);
    return r != nullptr ? r->text() : std::string();
}

void GwToggleList::apply_definition(const GwDefinition& def, int language) {
    GwCore::apply_definition(def, language);
    radio_ = def.flag("radio", language, false);
    if (const GwAttribute* a = def.find("items", language))
        for (const auto& caption : a->values) AddRow(caption);
}

void GwToggleList::copy_state_to(GwCore* copy) const {
    GwCore::copy_state_to(copy);
    if (auto* l = dynamic_cast<GwToggleList*>(copy)) l->radio_ = radio_;
}
