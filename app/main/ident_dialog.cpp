// The identification dialog: level buttons "E1" to "E6", the access code
// field, and the hand-mode switch with its control code.
#include <cctype>
#include <cstdlib>

#include "app/main/main_display.h"
#include "app/main/main_object.h"
#include "app/main/user_levels.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"

namespace {

constexpr int kLevelButtons = 6;
constexpr char kPassword[] = "Password";
constexpr char kPassLabel[] = "PassLabel";
constexpr char kControlEnabling[] = "ControlEnabling";
constexpr char kEnableHandMode[] = "EnableHandMode";
constexpr char kControlContainer[] = "CtlPswCont";
constexpr char kControlPassword[] = "CtrlPassword";

GwCore* Dialog(GwCore* widget) { return widget != nullptr ? widget->frame() : nullptr; }

GwCore* Child(GwCore* dialog, const char* name) { return dialog != nullptr ? dialog->frame_child(name) : nullptr; }

void ShowBoth(GwCore* dialog, bool show) {
    for (const char* name : {kPassword, kPassLabel}) {
        if (GwCore* w = Child(dialog, name)) show ? w->show() : w->hide();
    }
}

// The level now in force on the toolbar and in the tools, while the dialog
// stays open after a refused entry.
void RefusedEntry(GwCore* dialog) {
    if (dialog != nullptr) dialog->beep();
    ShowUserLevel();
    UpdateLevelDependentTools();
}

}  // namespace

int Ident_Show(GwCore* widget, GwEvent*, GwUD) {
    GwCore* dialog = Dialog(widget);
    SetSelectedUserLevel(GetUserLevel());
    if (Main::OnlineDevicePresent()) ReadAccessCodes();
    for (int n = 1; n <= kLevelButtons; ++n) {
        GwCore* button = Child(dialog, platform::Format("E%d", n).c_str());
        if (button == nullptr) break;
        button->set_text(GetUserLevelText(n));
    }
    if (GwCore* enabling = Child(dialog, kControlEnabling)) {
        if (auto* check = dynamic_cast<GwToggle*>(enabling->frame_child(kEnableHandMode))) {
            check->set_value(IsHandModeEnabled() ? 1 : 0);
        }
    }
    if (GwCore* container = Child(dialog, kControlContainer)) container->hide();
    if (GwCore* field = Child(dialog, kControlPassword)) field->set_text("");
    return 1;
}

int Ident_SetEbene(GwCore* widget, GwEvent*, GwUD) {
    auto* button = dynamic_cast<GwToggle*>(widget);
    if (button == nullptr || button->value() != 1) return 1;
    const std::string& name = button->name();
    const int digit = name.size() > 1 && std::isdigit(static_cast<unsigned char>(name[1])) ? name[1] - '0' : 0;
    SetSelectedUserLevel(static_cast<uint16_t>(digit));
    GwCore* dialog = Dialog(widget);
    // Only levels 2 to 6 have codes; any other digit is a level without one.
    const bool needsCode = GetAccessCode(digit) != 0 && GetUserLevel() < digit;
    ShowBoth(dialog, needsCode);
    if (needsCode) {
        if (GwCore* field = Child(dialog, kPassword)) field->set_focus();
    }
    return 1;
}

int CB_IdentOk(GwCore* widget, GwEvent*, GwUD) {
    GwCore* dialog = Dialog(widget);
    const uint16_t selected = GetSelectedUserLevel();
    SetUserLevel(1);
    bool refused = false;
    GwCore* password = Child(dialog, kPassword);
    if (password != nullptr && password->is_visible()) {
        const std::string code = password->text();
        if (selected >= 2 && !code.empty()) {
            const auto entered = static_cast<uint32_t>(std::strtoul(code.c_str(), nullptr, 10));
            const uint32_t levelCode = GetAccessCode(selected);
            if ((levelCode != 0 && entered == levelCode) || entered == kMasterAccessCode) {
                SetUserLevel(selected);
            } else {
                refused = true;
            }
        }
    } else if (selected >= 1 && selected <= kLevelButtons) {
        SetUserLevel(selected);
    }

    GwCore* enabling = Child(dialog, kControlEnabling);
    GwCore* container = Child(dialog, kControlContainer);
    auto* check = dynamic_cast<GwToggle*>(Child(dialog, kEnableHandMode));
    GwCore* controlField = Child(dialog, kControlPassword);
    if (enabling != nullptr && container != nullptr && check != nullptr && controlField != nullptr) {
        if (container->is_visible()) {
            const std::string entered = controlField->text();
            if (entered.empty() || entered != std::to_string(GetControlCode())) {
                RefusedEntry(dialog);
                return 1;
            }
        }
        SetHandModeEnabled(check->value() != 0);
    }
    if (refused) {
        RefusedEntry(dialog);
        return 1;
    }
    ShowUserLevel();
    if (password != nullptr) password->set_text("");
    UpdateLevelDependentTools();
    TheWindowHandler().CloseAllForUserLevel();
    ReopenAutostartWindows();
    if (dialog != nullptr) dialog->destroy();
    return 1;
}

int CB_ShowIdent(GwCore* widget, GwEvent*, GwUD) {
    if (GetUserLevel() == 0 || GetUserLevel() > kLevelButtons) SetUserLevel(1);
    GwCore* dialog = Dialog(widget);
    GwCore* button = Child(dialog, platform::Format("E%d", GetUserLevel()).c_str());
    if (auto* toggle = dynamic_cast<GwToggle*>(button)) toggle->set_value(1);
    if (button != nullptr) button->set_focus();
    ShowBoth(dialog, false);
    return 1;
}

int CB_SetPassword(GwCore* widget, GwEvent*, GwUD) {
    if (auto* edit = dynamic_cast<GwEdit*>(widget)) edit->set_password(true);
    return 1;
}

int CB_EnableGlobalHandMode(GwCore* widget, GwEvent*, GwUD) {
    auto* check = dynamic_cast<GwToggle*>(widget);
    GwCore* container = Child(Dialog(widget), kControlContainer);
    if (container == nullptr) return 1;
    if (GetControlCode() != 0 && check != nullptr && check->value() != 0) {
        container->show();
    } else {
        container->hide();
    }
    return 1;
}

int CB_GetUserLevelTextById(GwCore* widget, GwEvent*, GwUD) {
    if (widget == nullptr) return 1;
    const std::string& name = widget->name();
    const size_t digits = name.find_first_of("0123456789");
    const int level = digits == std::string::npos ? 0 : std::atoi(name.c_str() + digits);
    widget->set_text(GetUserLevelText(level));
    return 1;
}
