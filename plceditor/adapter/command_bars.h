// The editor's menu bar and toolbar as toolkit widgets. Every menu item and
// tool button carries its command id; choosing one calls the CommandSink
// that the window holding them keeps as its user data.
#pragma once

#include <string>

class GwCore;

namespace sindel {

class CommandSink {
public:
    virtual ~CommandSink() = default;
    virtual void OnCommand(int id) = 0;
};

// Longest tooltip a tool button shows, in bytes.
constexpr size_t kMaxToolTipChars = 79;

// Widget names: "Menu<id>" for a menu item, "Tool<id>" for a tool button.
std::string MenuItemName(int id);
std::string ToolButtonName(int id);

GwCore* MakeMenuBar(GwCore* frame);
GwCore* AddMenu(GwCore* bar, const std::string& name, const std::string& text);
GwCore* AddMenuItem(GwCore* menu, int id, const std::string& text);
void AddMenuSeparator(GwCore* menu);

GwCore* MakeToolBar(GwCore* frame, const std::string& name);
// A tool button showing image `image` of the bar's bitmap; the tooltip is
// cut to kMaxToolTipChars.
GwCore* AddToolButton(GwCore* bar, int id, int image, const std::string& tooltip);
void AddToolSeparator(GwCore* bar);

// The menu item or tool button of a command below `frame`; null when none.
GwCore* FindMenuItem(GwCore* frame, int id);
GwCore* FindToolButton(GwCore* frame, int id);

// The sink of the frame that holds `widget`, or null.
CommandSink* SinkOf(GwCore* widget);
void SetSink(GwCore* frame, CommandSink* sink);

}  // namespace sindel
