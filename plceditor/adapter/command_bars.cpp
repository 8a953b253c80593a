#include "plceditor/adapter/command_bars.h"

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_kind.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/menus/gw_menu_item.h"

namespace sindel {

namespace {

int OnChosen(GwCore* widget, GwEvent*, GwUD ud) {
    if (CommandSink* sink = SinkOf(widget)) sink->OnCommand(static_cast<int>(ud.integer()));
    return 1;
}

// Items made in code start hidden; the editor's are shown from the start.
GwMenuItem* Shown(GwMenuItem* item) {
    item->show();
    return item;
}

GwMenuItem* Bound(GwMenuItem* item, int id) {
    item->set_activate_callback(&OnChosen, GwUD(id));
    return Shown(item);
}

}  // namespace

std::string MenuItemName(int id) { return "Menu" + std::to_string(id); }
std::string ToolButtonName(int id) { return "Tool" + std::to_string(id); }

GwCore* MakeMenuBar(GwCore* frame) { return GwMakeWidget(GwMENUBAR_CLASS, "MenuBar", frame); }

GwCore* AddMenu(GwCore* bar, const std::string& name, const std::string& text) {
    GwCore* menu = GwMakeWidget(GwMENU_CLASS, name, bar);
    if (menu != nullptr) menu->set_text(text);
    return menu;
}

GwCore* AddMenuItem(GwCore* menu, int id, const std::string& text) {
    return Bound(new GwMenuItem(MenuItemName(id), menu, text), id);
}

void AddMenuSeparator(GwCore* menu) { Shown(new GwMenuItem("", menu)); }

GwCore* MakeToolBar(GwCore* frame, const std::string& name) { return GwMakeWidget(GwTOOLBAR_CLASS, name, frame); }

GwCore* AddToolButton(GwCore* bar, int id, int image, const std::string& tooltip) {
    GwMenuItem* tool = Bound(new GwTool(GwTOOL_CLASS, ToolButtonName(id), bar), id);
    tool->set_tip_text(tooltip.substr(0, kMaxToolTipChars));
    tool->set_aux_text("image " + std::to_string(image));
    return tool;
}

void AddToolSeparator(GwCore* bar) { Shown(new GwTool(GwTOOL_CLASS, "", bar)); }

GwCore* FindMenuItem(GwCore* frame, int id) {
    return frame != nullptr && GwRcMgr::is_valid_child(frame) ? frame->child(MenuItemName(id)) : nullptr;
}

GwCore* FindToolButton(GwCore* frame, int id) {
    return frame != nullptr && GwRcMgr::is_valid_child(frame) ? frame->child(ToolButtonName(id)) : nullptr;
}

CommandSink* SinkOf(GwCore* widget) {
    if (widget == nullptr || !GwRcMgr::is_valid_child(widget)) return nullptr;
    return widget->frame()->user_data().pointer_as<CommandSink>();
}

void SetSink(GwCore* frame, CommandSink* sink) { frame->set_user_data(GwUD(static_cast<void*>(sink))); }

}  // namespace sindel
