#include "plceditor/adapter/list_box.h"

namespace sindel {

ListBox::ListBox(const std::string& name, GwCore* parent) : GwMultiList(name, parent) {
    set_callback(GwCB_ACTIVATE, &ListBox::OnActivate, GwUD(static_cast<void*>(this)));
}

int ListBox::AddString(const std::string& text) { return insert_row(count(), text); }

int ListBox::OnActivate(GwCore*, GwEvent* event, GwUD ud) {
    auto* self = ud.pointer_as<ListBox>();
    if (self != nullptr && event != nullptr && self->double_click_) self->double_click_(event->row);
    return 1;
}

}  // namespace sindel
