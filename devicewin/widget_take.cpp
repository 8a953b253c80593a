#include "devicewin/widget_take.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/window_handler.h"
#include "devicewin/device_context.h"
#include "devicewin/widget_changes.h"
#include "devicewin/widget_display.h"
#include "devicewin/widget_name.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_timers.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"

namespace {

// Both: enabled, and realised and visible.
constexpr int kTakeableState = 0x3;
// Windows that take the focus before a bit toggle is compared, first found.
constexpr const char* kBitFocusWindows[] = {"ParaField", "ParameterEditor"};

std::string Stripped(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
}

// Stores by the write rule: into the table and to the device when the base
// is online, into the table only when it is offline. A failure shows device
// error 5 for the base and gives 0.
int StoreNumber(ParaBase* base, GwCore* widget, int n, int k, double value) {
    const int r = base->IsOnline() ? base->WriteValueDouble(n, value, k) : base->SetValueDouble(n, value, k);
    if (r == kParaOk) return 1;
    ShowDeviceError(kParaBaseErrorMessage, base, widget->frame());
    return 0;
}

int TakeSheet(ParaBase* base, GwSpreadSheet* sheet) {
    for (int column = 0; column < sheet->column_count(); ++column) {
        const int n = ParameterFromWidgetName(base, sheet->column_id(column));
        if (n == 0 || !base->IsPresent(n)) continue;
        for (int row = 0; row < sheet->row_count(); ++row) {
            const std::string id = sheet->row_id(row);
            if (id.empty()) continue;
            const std::string cell = sheet->contents(row, column);
            if (cell.empty()) {
                const std::string text = platform::Format("Tabellenfeld (%d,%d) enthält keine Daten!", row, column);
                ShowErrorTextBox(text.c_str(), sheet->frame());
                return 0;
            }
            if (StoreText(base, sheet, n, LeadingNumber(id), cell) == 0) return 0;
        }
    }
    return 1;
}

// A text that is no number of the parameter's form keeps its mark: the user
// sees the refusal and can correct it.
int RefuseText(GwCore* widget) {
    widget->beep();
    return 0;
}

int TakeNumberText(ParaBase* base, GwCore* widget, int n, int k, bool hex) {
    const std::string text = widget->text();
    if (text.empty()) return 0;
    double value = 0.0;
    if (!(hex ? ParseHexText(text, &value) : ParseDecimalText(text, &value))) return RefuseText(widget);
    return StoreNumber(base, widget, n, k, value);
}

int TakeBinary(ParaBase* base, GwCore* container, int n, int k) {
    uint32_t mask = 0;
    uint32_t bits = 0;
    for (int b = 0; b <= kHighestBit; ++b) {
        auto* toggle = container->child<GwToggle>(std::to_string(b));
        if (toggle == nullptr) continue;
        mask |= uint32_t{1} << b;
        if (toggle->is_checked()) bits |= uint32_t{1} << b;
    }
    double current = 0.0;
    const int r = base->IsOnline() ? base->ReadValueDouble(n, &current, k) : base->GetValueDouble(n, &current, k);
    if (r != kParaOk) {
        ShowDeviceError(kParaBaseErrorMessage, base, container->frame());
        return 0;
    }
    const uint32_t stored = BitsOfValue(current);
    return StoreNumber(base, container, n, k, static_cast<double>(bits | (stored & ~mask)));
}

int TakeRadioGroup(ParaBase* base, GwCore* group, int n, int k) {
    const int maximum = TruncatedValue(base->GetMaximum(n));
    int value = 0;
    for (int i = 0; i <= maximum; ++i) {
        auto* radio = group->child<GwToggle>(std::to_string(i));
        if (radio != nullptr && radio->is_radio() && radio->is_checked()) value = i;
    }
    return StoreNumber(base, group, n, k, value);
}

int TakeByKind(ParaBase* base, GwCore* widget, int n, int k) {
    const bool isString = base->GetEntry(n)->type == kTypeString;
    if (auto* list = dynamic_cast<GwCombo*>(widget)) {
        const int selected = list->first_selected();
        if (selected < 0) return 0;
        return StoreNumber(base, widget, n, k, static_cast<double>(TruncatedValue(base->GetMinimum(n))) + selected);
    }
    if (widget->is_class(GwEDIT_CLASS)) {
        if (isString) return StoreText(base, widget, n, 0, widget->text());
        return TakeNumberText(base, widget, n, k, (base->GetEntry(n)->flags & kFlagHex) != 0);
    }
    if (auto* toggle = dynamic_cast<GwToggle*>(widget))
        return StoreNumber(base, widget, n, k, toggle->is_checked() ? 1.0 : 0.0);
    if (widget->is_class(GwCONTAINER_CLASS)) {
        if (widget->user_data().string() == kShowBinary) return TakeBinary(base, widget, n, k);
        return TakeRadioGroup(base, widget, n, k);
    }
    if (isString) {
        if (widget->text().empty()) return 0;
        return StoreText(base, widget, n, 0, widget->text());
    }
    return TakeNumberText(base, widget, n, k, false);
}

// The bit toggle is compared once it has the focus in its window, as the
// user sees it.
void FocusBitToggle(GwCore* toggle) {
    WindowHandler& windows = TheWindowHandler();
    GwCore* window = nullptr;
    for (const char* name : kBitFocusWindows) {
        if ((window = windows.FindByName(name)) != nullptr) break;
    }
    if (window == nullptr && toggle->frame() != nullptr) window = toggle->frame()->owner();
    if (window != nullptr) windows.Activate(window);
    GwProcessPendingEvents();
    toggle->set_focus();
    GwProcessPendingEvents();
}

bool StoredNonZero(ParaBase* base, int n, int k) {
    double value = 0.0;
    base->GetValueDouble(n, &value, k);
    return value != 0.0;
}

bool DiffersFromStored(ParaBase* base, GwCore* widget, int n, int k, bool boundByParent) {
    if (auto* list = dynamic_cast<GwCombo*>(widget)) {
        if (list->first_selected() < 0) return false;
        return list->selection_text() != DispatchedText(base, n, k);
    }
    if (auto* toggle = dynamic_cast<GwToggle*>(widget)) {
        if (!boundByParent) return toggle->is_checked() != StoredNonZero(base, n, k);
        if (widget->parent()->user_data().string() != kShowBinary) return true;
        const int bit = LeadingNumber(widget->name());
        FocusBitToggle(widget);
        double value = 0.0;
        base->GetValueDouble(n, &value, 0);
        const uint32_t bits = BitsOfValue(value);
        const bool set = bit >= 0 && bit <= kHighestBit && ((bits >> bit) & 1) != 0;
        return toggle->is_checked() != set;
    }
    const std::string shown = DispatchedText(base, n, k);
    std::string text = widget->text();
    if (widget->is_class(GwFORMATEDIT_CLASS)) {
        if (text.empty()) return !shown.empty();
        for (char& c : text) c = c == ',' ? '.' : c;
    }
    return text != shown;
}

struct MarkWalk {
    ParaBase* Base;
};

int MarkOne(GwCore* widget, GwUD userData) {
    CheckWidgetChanged(userData.pointer_as<MarkWalk>()->Base, widget, true);
    return 1;
}

}  // namespace

int StoreText(ParaBase* base, GwCore* widget, int n, int k, const std::string& text) {
    const dstring value(text.c_str());
    const int r = base->IsOnline() ? base->WriteValueString(n, value, k) : base->SetValueString(n, value, k);
    if (r == kParaOk) return 1;
    ShowDeviceError(kParaBaseErrorMessage, base, widget->frame());
    return 0;
}

bool ParseDecimalText(const std::string& text, double* value) {
    std::string t = Stripped(text);
    for (char& c : t) c = c == ',' ? '.' : c;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t digits = 0;
    bool point = false;
    for (; i < t.size(); ++i) {
        if (std::isdigit(static_cast<unsigned char>(t[i]))) {
            ++digits;
        } else if (t[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
        const size_t start = j;
        while (j < t.size() && std::isdigit(static_cast<unsigned char>(t[j]))) ++j;
        if (j == start) return false;
        i = j;
    }
    if (i != t.size()) return false;
    const double v = std::strtod(t.c_str(), nullptr);
    if (!std::isfinite(v)) return false;
    *value = v;
    return true;
}

bool ParseHexText(const std::string& text, double* value) {
    std::string t = Stripped(text);
    while (!t.empty() && t.back() == 'H') t.pop_back();
    if (t.empty()) return false;
    uint64_t v = 0;
    for (char c : t) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        v = v * 16 + static_cast<uint64_t>(std::isdigit(static_cast<unsigned char>(c))
                                               ? c - '0'
                                               : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10);
        if (v > 0xFFFFFFFFull) return false;
    }
    *value = static_cast<double>(v);
    return true;
}

int TakeWidgetValue(ParaBase* base, GwCore* widget, bool force) {
    if (base == nullptr || widget == nullptr) return 1;
    if (auto* sheet = dynamic_cast<GwSpreadSheet*>(widget)) {
        if (sheet->name().find(kSheetMarker) == std::string::npos || !IsWidgetChanged(sheet)) return 1;
        return TakeSheet(base, sheet);
    }
    const int n = ParameterFromWidgetName(base, widget->name());
    const int k = std::max(FieldIndexFromWidgetName(widget->name()), 0);
    if (n == 0 || !base->IsPresent(n) || !IsWidgetChanged(widget)) return 1;
    if (widget->has_binding(GwCB_RESIZE)) {
        // The widget's own take-over routine, bound to its resize event.
        int r = 0;
        if (GwCallback fn = widget->lookup_callback(GwCB_RESIZE)) {
            r = fn(widget, nullptr, GwUD());
        } else {
            GwEvent event;
            event.type = GwCB_RESIZE;
            event.widget = widget;
            r = widget->fire(GwCB_RESIZE, event);
        }
        return r == 1 ? 1 : 0;
    }
    if (widget->is_class(GwLABEL_CLASS)) return 1;
    if (!force) {
        if ((widget->state() & kTakeableState) != kTakeableState) return 1;
        if (!base->IsWriteAllowed(n, kSetterWriteLevel)) return 1;
    }
    return TakeByKind(base, widget, n, k);
}

void CheckWidgetChanged(ParaBase* base, GwCore* widget, bool preset) {
    if (base == nullptr || widget == nullptr) return;
    int n = ParameterFromWidgetName(base, widget->name());
    const int k = std::max(FieldIndexFromWidgetName(widget->name()), 0);
    const bool boundByParent = n == 0;
    if (boundByParent) {
        GwCore* parent = widget->parent();
        if (parent == nullptr || !parent->is_class(GwCONTAINER_CLASS)) return;
        n = ParameterFromWidgetName(base, parent->name());
    }
    if (!base->IsPresent(n)) return;
    SetWidgetChanged(widget, preset);
    if (DiffersFromStored(base, widget, n, k, boundByParent)) SetWidgetChanged(widget, true);
}

int CB_EnableTakeItBut(GwCore* widget, GwEvent*, GwUD) {
    EnableTakeOverButton(widget, true);
    return 1;
}

int CB_MarkAllChanged(GwCore* widget, GwEvent*, GwUD) {
    DeviceSetupContext* context = DeviceContextOf(widget);
    if (context == nullptr || widget->frame() == nullptr) return 1;
    MarkWalk walk{context->Base.get()};
    widget->frame()->walk_through_children(MarkOne, GwUD(static_cast<void*>(&walk)));
    return 1;
}
