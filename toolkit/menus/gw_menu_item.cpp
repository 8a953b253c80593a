#include "toolkit/menus/gw_menu_item.h"

#include "toolkit/core/gw_definition.h"
#include "toolkit/core/gw_widget_store.h"

namespace {

template <typename T>
GwKindFactory Factory() {
    return [](GwKind kind, const std::string& n, GwCore* p) -> GwCore* { return new T(kind, n, p); };
}

const bool g_registered = [] {
    GwSetKindFactory(GwMENUITEM_CLASS, Factory<GwMenuItem>());
    GwSetKindFactory(GwTOGGLEITEM_CLASS, Factory<GwToggleItem>());
    GwSetKindFactory(GwTOOL_CLASS, Factory<GwTool>());
    return true;
}();

}  // namespace

GwMenuItem::GwMenuItem(const std::string& name, GwCore* menu, const std::string& text)
    : GwMenuItem(GwMENUITEM_CLASS, name, menu) {
    hide();
    if (!text.empty()) set_text(text);
}

bool GwMenuItem::can_be_chosen() const { return is_alive() && !is_separator() && is_sensitive() && is_visible(); }

bool GwMenuItem::choose() {
    if (!can_be_chosen()) return false;
    GwDispatchGuard guard;  // the callback may destroy the menu
    GwEvent ev;
    fire(GwCB_ACTIVATE, ev);
    return true;
}

GwToggleItem::GwToggleItem(const std::string& name, GwCore* menu, const std::string& text)
    : GwToggleItem(GwTOGGLEITEM_CLASS, name, menu) {
    hide();
    if (!text.empty()) set_text(text);
}

void GwToggleItem::set_value(int value) {
    if (!is_alive()) return;
    value_ = value != 0 ? 1 : 0;
    notify(GwProperty::kChecked);
    record("checked", value_ ? "1" : "0");
}

bool GwToggleItem::choose() {
    if (!can_be_chosen()) return false;
    GwDispatchGuard guard;
    set_value(!value_);
    GwEvent ev;
    ev.value = value_;
    fire(GwCB_CHANGE, ev);
    return true;
}

void GwToggleItem::apply_definition(const GwDefinition& def, int language) {
    GwMenuItem::apply_definition(def, language);
    value_ = def.flag("checked", language, false) ? 1 : 0;
}

void GwToggleItem::copy_state_to(GwCore* copy) const {
    GwMenuItem::copy_state_to(copy);
    if (auto* t = dynamic_cast<GwToggleItem*>(copy)) t->value_ = value_;
}
