#include "families/node_actions.h"

#include <array>
#include <cctype>
#include <cstdio>

#include "app/services/window_handler.h"
#include "devicewin/change_callbacks.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window.h"
#include "devicewin/widget_changes.h"
#include "devicewin/widget_display.h"
#include "devicewin/widget_take.h"
#include "families/setup_context.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/base/gw_number.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"

namespace {

constexpr int kFirstFamily = 4;
constexpr int kLastFamily = 5;
constexpr int kSwitchCount = 16;
constexpr int kEditorModality = 1;
constexpr int kEditorCloseMode = 2;
// Family 5 numbers are whole bytes.
constexpr int kLargestByte = 255;

std::array<NodeActionState, kLastFamily - kFirstFamily + 1>& States() {
    static std::array<NodeActionState, kLastFamily - kFirstFamily + 1> states;
    return states;
}

const platform::ResetHook kResetNodeActionState([] { States().fill(NodeActionState{}); });

bool IsRuvex(int family) { return family == kFirstFamily; }

std::string NumberName(const char* prefix, int k) { return prefix + std::to_string(k); }

GwSpreadSheet* SheetOfParent(const GwCore* editor) {
    GwCore* parent = editor->frame()->parent();
    return parent != nullptr ? parent->frame_child<GwSpreadSheet>(kNodeActionSheetName) : nullptr;
}

GwCore* ActionField(const GwCore* editor) {
    GwCore* container = editor->frame()->child(kNodeActionContainerName);
    return container != nullptr ? container->child(0) : nullptr;
}

int CallNodeAction(int family, GwCore* widget, GwEvent* event, const GwUD& userData) {
    auto* sheet = dynamic_cast<GwSpreadSheet*>(widget);
    if (sheet == nullptr || event == nullptr) return 1;
    // Family 5 edits the other columns as ordinary parameter cells.
    if (event->column != kNodeActionColumn) {
        return IsRuvex(family) ? 1 : CB_DvFctParaChange(widget, event, userData);
    }
    if (event->type != GwCB_DEFAULT) return 1;
    NodeActionState& state = *TheNodeActionState(family);
    state.Column = kNodeActionColumn;
    state.Row = event->row;
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || userData.string().empty()) return 1;
    GwCore* frame = widget->frame();
    GwCore* editor = LoadDeviceWindowForVersion(frame, userData.string(), context->Base.get());
    if (editor == nullptr) return 1;
    WindowHandler& windows = TheWindowHandler();
    if (GwCore* listed = windows.FindByName(editor->name().c_str()); listed != nullptr && listed != editor) {
        windows.Close(listed);
    }
    if (!IsRuvex(family)) {
        if (GwCore* field = ActionField(editor)) {
            field->set_name("_PN_" + std::to_string(kNodeActionParameter) + "[" + std::to_string(state.Row - 1) + "]");
        }
    }
    if (GwCore* node = editor->child(kNodeIdName)) node->set_text(std::to_string(state.Row - 1));
    editor->set_user_data(GwUD(static_cast<void*>(context)));
    editor->set_modality(kEditorModality);
    editor->set_close_mode(kEditorCloseMode);
    windows.Add(editor, context->Base->IsOnline() ? 1 : 0, nullptr, nullptr, 0);
    editor->show();
    return 0;
}

int ShowNodeAction(int family, GwCore* widget) {
    if (widget == nullptr) return 1;
    GwCore* editor = widget->frame();
    DeviceSetupContext* context = DeviceContextOf(editor);
    if (context == nullptr) {
        editor->destroy();
        return 1;
    }
    GwSpreadSheet* sheet = SheetOfParent(editor);
    if (sheet == nullptr) return 1;
    const NodeActionState& state = *TheNodeActionState(family);
    const uint32_t word = ParseNodeActionCell(sheet->contents(state.Row, state.Column));
    for (int i = 0; i < kSwitchCount; ++i) {
        if (auto* toggle = dynamic_cast<GwToggle*>(editor->child(std::to_string(i))))
            toggle->set_value((word >> i) & 1u);
    }
    for (int k = 0; k < 2; ++k) {
        const int b = static_cast<int>((word >> (8 * (k + 2))) & 0xFFu);
        GwCore* number = editor->child(NumberName("M", k));
        if (!IsRuvex(family)) {
            if (number != nullptr) number->set_text(std::to_string(b));
            continue;
        }
        auto* used = dynamic_cast<GwToggle*>(editor->child(NumberName("S", k)));
        if (number == nullptr || used == nullptr) continue;
        if (b < kNodeNumberUnused) {
            used->set_value(1);
            number->set_text(std::to_string(b));
        } else {
            used->set_value(0);
            number->set_sensitive(false);
        }
    }
    if (!IsRuvex(family)) {
        if (GwCore* field = ActionField(editor)) ShowWidgetValue(context->Base.get(), field);
    }
    return 1;
}

// The number byte k of the editor; false when it refuses the take-over.
bool NumberByte(int family, const GwCore* editor, int k, int* out) {
    GwCore* number = editor->child(NumberName("M", k));
    int b = kNodeNumberUnused;
    if (IsRuvex(family)) {
        auto* used = dynamic_cast<GwToggle*>(editor->child(NumberName("S", k)));
        if (used != nullptr && used->value() != 0 && number != nullptr && !number->text().empty()) {
            b = GwAtoi(number->text().c_str());
            if (b < 0 || b >= kNodeNumberUnused) return false;
        }
    } else if (number != nullptr && !number->text().empty()) {
        b = GwAtoi(number->text().c_str());
        if (b < 0 || b > kLargestByte) return false;
    }
    *out = b;
    return true;
}

int SetNodeAction(int family, GwCore* widget) {
    if (widget == nullptr) return 1;
    GwCore* editor = widget->frame();
    uint32_t word = 0;
    for (int i = 0; i < kSwitchCount; ++i) {
        auto* toggle = dynamic_cast<GwToggle*>(editor->child(std::to_string(i)));
        if (toggle != nullptr && toggle->value() != 0) word |= 1u << i;
    }
    for (int k = 0; k < 2; ++k) {
        int b = 0;
        if (!NumberByte(family, editor, k, &b)) return 1;
        word |= static_cast<uint32_t>(b) << (8 * (k + 2));
    }
    const NodeActionState& state = *TheNodeActionState(family);
    if (GwSpreadSheet* sheet = SheetOfParent(editor)) {
        SetWidgetChanged(sheet, true);
        sheet->set_contents(state.Row, state.Column, FormatNodeActionCell(word));
    }
    if (!IsRuvex(family)) {
        DeviceSetupContext* context = DeviceContextOf(editor);
        GwCore* field = ActionField(editor);
        if (context != nullptr && field != nullptr) {
            SetWidgetChanged(field, true);
            TakeWidgetValue(context->Base.get(), field, true);
        }
    }
    editor->destroy();
    return 1;
}

}  // namespace

NodeActionState* TheNodeActionState(int family) {
    if (family < kFirstFamily || family > kLastFamily) return nullptr;
    return &States()[family - kFirstFamily];
}

uint32_t ParseNodeActionCell(const std::string& text) {
    if (text.size() < 2 || text.back() != 'H' || text.size() > 9) return 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return 0;
    }
    return static_cast<uint32_t>(std::stoul(text.substr(0, text.size() - 1), nullptr, 16));
}

std::string FormatNodeActionCell(uint32_t word) {
    char text[16];
    std::snprintf(text, sizeof text, "%08XH", static_cast<unsigned>(word));
    return text;
}

int CB_CallNodeAktion(GwCore* widget, GwEvent* event, GwUD userData) {
    return CallNodeAction(4, widget, event, userData);
}
int CB_5_CallNodeAktion(GwCore* widget, GwEvent* event, GwUD userData) {
    return CallNodeAction(5, widget, event, userData);
}
int CB_SetNodeAktion(GwCore* widget, GwEvent*, GwUD) { return SetNodeAction(4, widget); }
int CB_5_SetNodeAktion(GwCore* widget, GwEvent*, GwUD) { return SetNodeAction(5, widget); }
int CB_ShowNodeAktion(GwCore* widget, GwEvent*, GwUD) { return ShowNodeAction(4, widget); }
int CB_5_ShowNodeAktion(GwCore* widget, GwEvent*, GwUD) { return ShowNodeAction(5, widget); }
