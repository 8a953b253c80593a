#include "plceditor/adapter/message_box.h"

#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_types.h"

namespace sindel {

namespace {

struct IconInfo {
    BoxIcon icon;
    const char* kind;
    const char* name;
};
constexpr IconInfo kIcons[] = {
    {BoxIcon::kNone, "message", "Plain"},
    {BoxIcon::kError, "error", "Error"},
    {BoxIcon::kWarning, "warning", "Warning"},
    {BoxIcon::kQuestion, "question", "Question"},
    {BoxIcon::kInformation, "info", "Info"},
};

struct ButtonSet {
    BoxButtons buttons;
    const char* name;
    const char* definition;  // the buttons with their result codes
};
// clang-format off
constexpr ButtonSet kButtonSets[] = {
    {BoxButtons::kOk, "Ok", "    button Ok { text = \"OK\"; result = 8 }\n"},
    {BoxButtons::kYesNo, "YesNo",
     "    button Yes { text = \"&Yes\"; result = 6 }\n    button No { text = \"&No\"; result = 7 }\n"},
    {BoxButtons::kYesNoCancel, "YesNoCancel",
     "    button Yes { text = \"&Yes\"; result = 6 }\n    button No { text = \"&No\"; result = 7 }\n"
     "    button Cancel { text = \"Cancel\"; result = 2 }\n"},
};
// clang-format on

const IconInfo& Icon(BoxIcon icon) {
    for (const IconInfo& info : kIcons)
        if (info.icon == icon) return info;
    return kIcons[0];
}

const ButtonSet& Buttons(BoxButtons buttons) {
    for (const ButtonSet& set : kButtonSets)
        if (set.buttons == buttons) return set;
    return kButtonSets[0];
}

// The box windows are the control's own definitions; the toolkit forgets
// definitions when it is reset, so they are made again whenever missing.
void DefineBoxWindow(const std::string& name, const IconInfo& icon, const ButtonSet& buttons) {
    if (GwRcMgr::exists(name.c_str())) return;
    std::string text =
        "dialogframe " + name + " {\n    box = " + icon.kind + "\n    label Message { }\n" + buttons.definition + "}\n";
    GwRcMgr::use_text(text, "Sindel message boxes");
}

}  // namespace

std::string BoxWindowName(BoxButtons buttons, BoxIcon icon) {
    return std::string("SindelBox") + Icon(icon).name + Buttons(buttons).name;
}

int ShowMessageBox(GwCore* owner, const std::string& text, const std::string& caption, BoxButtons buttons,
                   BoxIcon icon) {
    const std::string name = BoxWindowName(buttons, icon);
    DefineBoxWindow(name, Icon(icon), Buttons(buttons));
    if (owner != nullptr && !GwRcMgr::is_valid_child(owner)) owner = nullptr;
    GwCore* box = GwRcMgr::load(owner, name.c_str(), 1);
    if (box == nullptr) return GwRESULT_CANCEL;
    box->set_title(caption);
    if (GwCore* message = box->child("Message")) message->set_text(text);
    int result = box->go();
    box->destroy();
    return result;
}

}  // namespace sindel
