#include "devicewin/widget_display.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "app/main/main_object.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "devicewin/widget_changes.h"
#include "devicewin/widget_name.h"
#include "motor/datalogger/data_logger.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"

namespace {

constexpr int kComboVisibleItems = 12;
// Radio groups are walked value by value; beyond this the walk is refused.
constexpr int kMaxRadioValue = 255;
// Width of one character of an edit, for the decimals that fit.
constexpr int kEditCharWidth = 7;
constexpr int kStringEditLength = 48;
// Columns of a spreadsheet's INT32Q16 and FLOAT32 cells.
constexpr int kQ16ColumnLength = 46;
// A USIGN8 flag that, like value texts, makes its edit a free text.
constexpr uint16_t kFlagTextEntry = 0x04;

char RunModeOption(ParaBase* base) { return static_cast<char>(base->GetRunModeChar()); }

// Length of the display text of a raw value (the number without its text).
int DisplayLength(ParaBase* base, int n, int32_t raw) {
    return static_cast<int>(std::strlen(base->FormatRawValue(n, raw, false)));
}

// Length of that text up to its decimal point.
int IntegerLength(ParaBase* base, int n, int32_t raw) {
    const char* text = base->FormatRawValue(n, raw, false);
    const char* point = std::strchr(text, '.');
    return static_cast<int>(point != nullptr ? point - text : std::strlen(text));
}

int Longer(int a, int b) { return a > b ? a : b; }

bool IsHex(const ParameterEntry* e) { return (e->flags & kFlagHex) != 0; }

void LogUnfitFormat(const GwCore* widget, const std::string& format) {
    TheDataLogger().WriteEntry("ShowWidgetValue: " + widget->identifier() + ": the format \"" + format +
                               "\" does not fit one number; nothing shown");
}

// Reads the bound value from the device until it arrives, the user uncouples
// (0) or a box is already open (1). -1 when the value is there.
int ReadUntilShown(ParaBase* base, GwCore* widget, int n, int k) {
    const int first = k >= 0 ? k : 0;
    const int count = k >= 0 ? 1 : base->GetValueCount(n);
    while (base->IsOnline() && base->ReadBusParameter(n, first, count) != kParaOk) {
        if (IsMessageBoxOpen()) return 1;
        if (!ShowDeviceError(kParaBaseErrorMessage, base, widget->frame())) return 0;
    }
    return -1;
}

// Texts by value: the companion parameter's, or the list parameter's own,
// when its dispatcher names values.
bool HasDispatchedTexts(ParaBase* base, int n, char option) {
    return std::string(base->GetDispatchedValueTextEx(n, option, 0)) != base->FormatStoredValue(n, 0, false);
}

int FillList(ParaBase* base, GwCombo* list, int n, int k) {
    const char option = RunModeOption(base);
    const int companion = CompanionFromUserData(list->user_data().string());
    const std::string kept = list->text();
    list->delete_all();
    list->set_text(kept);
    const int minimum = TruncatedValue(base->GetMinimum(n));
    const int maximum = TruncatedValue(base->GetMaximum(n));
    if (companion != 0) {
        double offset = 0.0;
        if (base->GetValueDouble(companion, &offset) != kParaOk) {
            if (Main* main = GetMain()) main->ShowActiveDeviceError(kParaBaseErrorMessage, list->frame());
            return 0;
        }
        const bool texts = HasDispatchedTexts(base, companion, option);
        const int64_t companionMaximum = TruncatedValue(base->GetMaximum(companion));
        for (int64_t i = minimum; i <= maximum; ++i) {
            std::string item = base->FormatValue(n, static_cast<double>(i));
            if (texts) {
                int64_t j = i + TruncatedValue(offset);
                if (j > companionMaximum) j = j - companionMaximum - 1;
                item += std::string(" = ") + base->GetDispatchedDoubleTextEx(companion, option, static_cast<double>(j));
            }
            list->append(item);
        }
    } else {
        const bool texts = HasDispatchedTexts(base, n, option);
        for (int64_t i = minimum; i <= maximum; ++i) {
            std::string item = base->FormatValue(n, static_cast<double>(i));
            if (texts) item += std::string(" = ") + base->GetDispatchedDoubleTextEx(n, option, static_cast<double>(i));
            list->append(item);
        }
    }
    if (list->is_class(GwCOMBO_CLASS) && !list->is_class(GwSELECTIONLIST_CLASS))
        list->set_visible_items(kComboVisibleItems);
    double value = 0.0;
    base->GetValueDouble(n, &value, k);
    // The selection alone: a text the user typed into the combo stays.
    list->select(static_cast<int>(TruncatedValue(value) - static_cast<int64_t>(minimum)), true);
    return 1;
}

uint32_t StoredBits(ParaBase* base, int n, int k) {
    double value = 0.0;
    base->GetValueDouble(n, &value, k);
    return BitsOfValue(value);
}

void ShowBinary(ParaBase* base, GwCore* container, int n, int k) {
    const uint32_t bits = StoredBits(base, n, k);
    for (int b = 0; b <= kHighestBit; ++b) {
        if (auto* toggle = container->child<GwToggle>(std::to_string(b))) toggle->set_checked(((bits >> b) & 1) != 0);
    }
}

void ShowLabelState(ParaBase* base, GwCore* container, int n, int k) {
    const uint32_t bits = StoredBits(base, n, k);
    for (int b = 0; b <= kHighestBit; ++b) {
        GwCore* label = container->child(std::to_string(b));
        if (label == nullptr) continue;
        label->enable();
        label->set_foreground(((bits >> b) & 1) != 0 ? "green" : "gray");
        label->set_background("black");
    }
}

int ShowRadioGroup(ParaBase* base, GwCore* group, int n, int k) {
    const int maximum = TruncatedValue(base->GetMaximum(n));
    if (maximum > kMaxRadioValue) {
        const std::string text =
            platform::Format(
                "Device parameter mismatch:\nParameter %d-%s is used as radiobutton but has more then "
                "255 (%d) entrys!\n",
                n,
                base->GetParameterName(n),
                maximum) +
            "This will cause in very long process time, so that program seems to be crashed.\n"
            "Therefore this parameter is disabled and the following dialog does´nt work well!\n"
            "Please contact your service provider if this error occurs again.";
        ShowWarningTextBox(text.c_str(), group->frame());
        group->disable();
        return 0;
    }
    double value = 0.0;
    base->GetValueDouble(n, &value, k);
    const int selected = TruncatedValue(value);
    for (int i = 0; i <= maximum; ++i) {
        auto* radio = group->child<GwToggle>(std::to_string(i));
        if (radio != nullptr && radio->is_radio()) radio->set_checked(i == selected);
    }
    return 1;
}

void ShowText(ParaBase* base, GwCore* widget, int n, int k) {
    const std::string& format = widget->user_data().string();
    if (!format.empty() && format.find('%') != std::string::npos) {
        double value = 0.0;
        if (base->GetValueDouble(n, &value, k) != kParaOk) return;
        const platform::FormatResult shown = platform::FormatChecked(format, {value});
        if (!shown.ok) {
            LogUnfitFormat(widget, format);
            return;
        }
        widget->set_text(shown.text);
        return;
    }
    const std::string text = DispatchedText(base, n, k);
    // A poll that shows an unchanged value redraws nothing.
    if (text != widget->text()) widget->set_text(text);
}

void SetUnitSuffix(ParaBase* base, GwEdit* edit) {
    const int u = UnitParameterFromAuxText(edit->aux_text());
    if (u == 0 || !base->IsPresent(u)) return;
    const ParameterEntry* e = base->GetEntry(u);
    if (e->type == kTypeString) {
        dstring text;
        const int r = base->IsOnline() ? base->ReadValueString(u, text) : base->GetValueString(u, text);
        if (r == kParaOk) edit->set_suffix(text.Text());
        return;
    }
    if (base->IsOnline()) base->ReadBusParameter(u, 0, base->GetValueCount(u));
    edit->set_suffix(DispatchedText(base, u, 0));
}

void SetupFormatFor(ParaBase* base, GwCore* widget, int n) {
    if (!base->IsPresent(n)) return;
    auto* edit = dynamic_cast<GwEdit*>(widget);
    if (edit == nullptr) return;
    const ParameterEntry* e = base->GetEntry(n);
    if (!edit->is_class(GwFORMATEDIT_CLASS)) {
        if (e->type == kTypeString) {
            edit->set_format_type(GwFORMAT_TEXT);
            edit->set_length(kStringEditLength);
        }
        return;
    }
    SetUnitSuffix(base, edit);
    auto masked = [&](const char* format, const char* pattern, int length) {
        edit->set_format_type(GwFORMAT_MASKED);
        edit->set_format(format);
        edit->set_pattern(pattern);
        edit->set_length(length);
    };
    auto integer = [&](int length) {
        edit->set_format_type(GwFORMAT_INTEGER);
        edit->set_length(length);
    };
    // Hexadecimal parameters take a mask, the others whole numbers as long
    // as their maximum.
    auto maskedOrInteger = [&](const char* format, const char* pattern, int length) {
        if (IsHex(e)) {
            masked(format, pattern, length);
        } else {
            integer(DisplayLength(base, n, e->maximum));
        }
    };
    switch (e->type) {
        case kTypeUsign8:
            if (IsHex(e)) {
                masked("XX~", "~~H", 3);
            } else if ((e->flags & (kFlagValueTexts | kFlagTextEntry)) == 0) {
                integer(DisplayLength(base, n, e->maximum));
            } else {
                edit->set_format_type(GwFORMAT_TEXT);
            }
            break;
        case kTypeUsign16:
        case kTypePassword:
            maskedOrInteger("XXXX~", "~~~~H", 5);
            break;
        case kTypeUsign32:
            maskedOrInteger("XXXXXXXX~", "~~~~~~~~H", 9);
            break;
        case kTypeFixpt16:
            edit->set_format_type(GwFORMAT_DECIMAL);
            edit->set_length(IntegerLength(base, n, e->maximum) + 3);
            edit->set_precision(2);
            break;
        case kTypeInt16:
        case kTypeInt8:
        case kTypeInt32:
            integer(Longer(DisplayLength(base, n, e->maximum), DisplayLength(base, n, e->minimum)));
            break;
        case kTypeInt32Q16:
        case kTypeFloat32: {
            const int whole = Longer(IntegerLength(base, n, e->maximum), IntegerLength(base, n, e->minimum));
            const int fit = (edit->width() - edit->prompt_width() - edit->suffix_width()) / kEditCharWidth;
            edit->set_format_type(GwFORMAT_DECIMAL);
            edit->set_length(fit);
            edit->set_precision(fit - whole - 1 < 0 ? 1 : fit - whole - 1);
            break;
        }
        case kTypeErrStruc:
            edit->set_format_type(GwFORMAT_TEXT);
            break;
        case kTypeString:
            edit->set_format_type(GwFORMAT_TEXT);
            edit->set_length(kStringEditLength);
            break;
        default:
            break;
    }
}

}  // namespace

int TruncatedValue(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<int>(std::clamp(std::trunc(v), -2147483648.0, 2147483647.0));
}

uint32_t BitsOfValue(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<uint32_t>(static_cast<int64_t>(std::clamp(std::trunc(v), -2147483648.0, 4294967295.0)));
}

const char* DispatchedText(ParaBase* base, int n, int k) {
    return base->GetDispatchedValueTextEx(n, RunModeOption(base), k);
}

int ShowWidgetValue(ParaBase* base, GwCore* widget) {
    if (base == nullptr || widget == nullptr) return 1;
    const std::string& name = widget->name();
    const int n = ParameterFromWidgetName(base, name);
    int k = FieldIndexFromWidgetName(name);
    if (!base->IsPresent(n)) return 1;
    if (const int stop = ReadUntilShown(base, widget, n, k); stop >= 0) return stop;
    if (k < 0) k = 0;
    SetWidgetChanged(widget, false);
    if (auto* list = dynamic_cast<GwCombo*>(widget)) return FillList(base, list, n, k);
    if (widget->is_class(GwFORMATEDIT_CLASS)) {
        SetupFormatFor(base, widget, n);
        if (IsOffsetWidgetName(name)) static_cast<GwEdit*>(widget)->set_suffix(base->GetParameterUnit(n));
        ShowText(base, widget, n, k);
        return 1;
    }
    if (auto* toggle = dynamic_cast<GwToggle*>(widget)) {
        double value = 0.0;
        base->GetValueDouble(n, &value, k);
        toggle->set_checked(value != 0.0);
        return 1;
    }
    if (widget->is_class(GwCONTAINER_CLASS)) {
        const std::string& kind = widget->user_data().string();
        if (kind == kShowBinary) {
            ShowBinary(base, widget, n, k);
        } else if (kind == kShowLabelState) {
            ShowLabelState(base, widget, n, k);
        } else {
            return ShowRadioGroup(base, widget, n, k);
        }
        return 1;
    }
    SetupFormatFor(base, widget, n);
    ShowText(base, widget, n, k);
    return 1;
}

void SetupEditFormat(ParaBase* base, GwCore* widget) {
    if (base == nullptr || widget == nullptr) return;
    SetupFormatFor(base, widget, ParameterFromWidgetName(base, widget->name()));
}

void SetupColumnFormat(ParaBase* base, int n, GwCellAttribute* attribute) {
    if (base == nullptr || attribute == nullptr || !base->IsPresent(n)) return;
    const ParameterEntry* e = base->GetEntry(n);
    auto byMaximum = [&](int hexLength) {
        attribute->length = IsHex(e) ? hexLength : DisplayLength(base, n, e->maximum);
    };
    switch (e->type) {
        case kTypeUsign8:
            byMaximum(3);
            break;
        case kTypeUsign16:
        case kTypePassword:
            byMaximum(5);
            break;
        case kTypeUsign32:
            byMaximum(9);
            break;
        case kTypeFixpt16:
            attribute->length = IntegerLength(base, n, e->maximum) + 3;
            attribute->precision = 2;
            break;
        case kTypeInt16:
        case kTypeInt8:
        case kTypeInt32:
            attribute->length = Longer(DisplayLength(base, n, e->maximum), DisplayLength(base, n, e->minimum));
            break;
        case kTypeInt32Q16:
        case kTypeFloat32:
            attribute->length = kQ16ColumnLength;
            attribute->precision =
                kQ16ColumnLength - 1 - Longer(IntegerLength(base, n, e->maximum), IntegerLength(base, n, e->minimum));
            break;
        default:
            break;
    }
}

int ReadShownValue(ParaBase* base, int n, double* value, int k) {
    return base->IsOnline() ? base->ReadValueDouble(n, value, k) : base->GetValueDouble(n, value, k);
}
