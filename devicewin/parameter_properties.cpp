#include "devicewin/parameter_properties.h"

#include <cctype>
#include <string>

#include "app/services/window_handler.h"
#include "devicewin/change_callbacks.h"
#include "devicewin/device_context.h"
#include "devicewin/widget_name.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_description_file.h"
#include "parameters/parabase/para_types.h"
#include "parameters/parabase/parameter_name.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"

namespace {

constexpr int kArrayFlag = 0x400;
constexpr int kLevelBits = 4;
constexpr int kLevelMask = 0x0F;

bool IsEditingKey(int key) {
    if (key >= 0x20 && key < 0x7F) return true;
    switch (key) {
        case GwKEY_BACKSPACE:
        case GwKEY_TAB:
        case GwKEY_CLEAR:
        case GwKEY_RETURN:
        case GwKEY_DELETE:
            return true;
        default:
            return false;
    }
}

// The widget whose name binds the parameter the properties show: a radio
// button stands for its group; a spreadsheet's name is its current column's.
std::string BindingName(GwCore* widget) {
    if (auto* sheet = dynamic_cast<GwSpreadSheet*>(widget)) {
        int row = -1;
        int column = -1;
        if (!sheet->current_cell(&row, &column)) return {};
        return sheet->column_id(column);
    }
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    if (toggle != nullptr && toggle->indicator_type() == GwINDICATOR_RADIO && widget->parent() != nullptr) {
        return widget->parent()->name();
    }
    return widget->name();
}

// The window, moved under `frame` when it is open, else made there.
GwCore* PropertiesWindowUnder(GwCore* frame, bool online) {
    WindowHandler& windows = TheWindowHandler();
    if (GwCore* open = windows.FindByName(kPropertiesWindowName)) {
        open->set_parent(frame);
        return open;
    }
    GwCore* window = GwRcMgr::load(frame, kPropertiesWindowName, 1);
    if (window == nullptr) return nullptr;
    window->set_close_mode(GwCLOSE_DESTROY);
    windows.Add(window, online ? 1 : 0);
    return window;
}

void SetText(GwCore* window, const char* child, const std::string& text) {
    if (GwCore* w = window->child(child)) w->set_text(text);
}

// A limit as the parameter shows it, with its unit behind the field.
void SetLimit(GwCore* window, const char* child, ParaBase* base, int n, double value) {
    GwCore* w = window->child(child);
    if (w == nullptr) return;
    w->set_text(base->FormatValue(n, value));
    if (auto* edit = dynamic_cast<GwEdit*>(w)) edit->set_suffix(base->GetParameterUnit(n));
}

void Fill(GwCore* window, ParaBase* base, int n, int field) {
    const ParameterEntry* e = base->GetEntry(n);
    const std::string name = TrimmedParameterName(*base, n);
    const std::string description = base->GetParameterDescription(n);
    SetText(window, "Intro", description.empty() ? name : description);
    SetText(window, "ID", field >= 0 ? std::to_string(n) + "." + std::to_string(field) : std::to_string(n));
    SetText(window, "Text", name);
    SetLimit(window, "Min", base, n, base->GetMinimum(n));
    SetLimit(window, "Max", base, n, base->GetMaximum(n));
    SetLimit(window, "Def", base, n, base->GetDefault(n));
    const char* group = base->GetKPGroupName(e->KPGroup);
    const std::string groupName = group != nullptr ? group : "";
    const char* menu = base->GetDescriptionFile() != nullptr
                           ? base->GetDescriptionFile()->GetParaMenuText(groupName.c_str())
                           : groupName.c_str();
    SetText(window, "Menu", groupName + " = " + (menu != nullptr ? menu : ""));
    SetText(window, "Read", std::to_string(e->access & kLevelMask));
    SetText(window, "Write", std::to_string((e->access >> kLevelBits) & kLevelMask));
    SetText(window, "MemType", KindName(e->kind));
    SetText(window, "DataType", TypeName(e->type));
    if (GwCore* size = window->child("FieldSize")) {
        if (e->flags & kArrayFlag) {
            size->set_text(std::to_string(base->GetValueCount(n)));
            size->show();
        } else {
            size->hide();
        }
    }
}

}  // namespace

int CB_DvFctParaProperties(GwCore* widget, GwEvent* event, GwUD userData) {
    const int key = event != nullptr ? event->key : 0;
    if (key == GwKEY_F1) return CB_DvFctParaHelp(widget, event, userData);
    if (IsEditingKey(key)) return CB_DvFctParaChange(widget, event, userData);
    return 1;
}

int CB_DvFctParaHelp(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr) return 0;
    ParaBase* base = context->Base.get();
    const int n = ParameterFromWidgetName(base, BindingName(widget));
    if (n == 0 || !base->IsPresent(n)) return 0;
    GwCore* window = PropertiesWindowUnder(widget->frame(), base->IsOnline());
    if (window == nullptr) return 0;
    Fill(window, base, n, FieldIndexFromWidgetName(widget->name()));
    // Hidden and shown again, so it comes to the front.
    window->hide();
    window->show();
    return 0;
}
