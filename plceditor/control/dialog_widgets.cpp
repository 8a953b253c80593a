#include "plceditor/control/dialog_widgets.h"

#include "toolkit/core/gw_button.h"

namespace sindel {

GwPushButton* AddButton(GwCore* parent, const char* name, const char* text) {
    auto* button = new GwPushButton(name, parent);
    button->set_text(text);
    return button;
}

GwPushButton* AddButton(GwCore* parent, const char* name, const char* text, int result) {
    GwPushButton* button = AddButton(parent, name, text);
    button->set_result_code(result);
    return button;
}

GwPushButton* AddButton(GwCore* parent, const char* name, const char* text, GwCallback callback, GwUD ud) {
    GwPushButton* button = AddButton(parent, name, text);
    button->set_callback(GwCB_ACTIVATE, callback, ud);
    return button;
}

}  // namespace sindel
