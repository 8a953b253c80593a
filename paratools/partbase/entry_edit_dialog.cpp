// The entry dialog "EntryEdit" of the partial base editor: one node's value
// with its limits and storage kind, edited in the widget its type needs and
// refreshed by the dialog's timer.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/main/main_object.h"
#include "app/services/message_box.h"
#include "app/services/program_flags.h"
#include "app/services/services_hooks.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_types.h"
#include "paratools/editor/para_dialogs.h"
#include "paratools/partbase/part_base_editor.h"
#include "paratools/partbase/part_base_state.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/tree/gw_tree.h"

namespace {

constexpr char kDialogName[] = "EntryEdit";
constexpr char kOptionsName[] = "Options";
constexpr int kWindowMissingMessage = 7;
// The decimal field of INT32Q16 and FLOAT32 values.
constexpr int kDecimalFieldLength = 20;
constexpr int kFixpt16Decimals = 2;

// Digits only, with a leading '-' where allowed.
bool IsWholeNumberText(const std::string& text, bool signedType) {
    size_t i = signedType && !text.empty() && text[0] == '-' ? 1 : 0;
    if (i >= text.size()) return false;
    return std::all_of(text.begin() + static_cast<long>(i), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

// Finds the dialog's eleven children; error message 7 when one is missing.
bool BindChildren(GwCore* dialog) {
    PartBaseEditorState& s = PartEditor();
    const char* names[] = {
        "Name", "Min", "Max", "Def", "ValPage", "Val", "ValText", "ValString", "Banner", "Art", "StdVal"};
    GwCore* found[std::size(names)] = {};
    for (size_t i = 0; i < std::size(names); ++i) {
        found[i] = dialog != nullptr ? dialog->child(names[i]) : nullptr;
        if (found[i] == nullptr) {
            ShowErrorMessage(kWindowMissingMessage, dialog);
            return false;
        }
    }
    auto* val = dynamic_cast<GwEdit*>(found[5]);
    auto* valText = dynamic_cast<GwCombo*>(found[6]);
    auto* valString = dynamic_cast<GwEdit*>(found[7]);
    if (val == nullptr || valText == nullptr || valString == nullptr) {
        ShowErrorMessage(kWindowMissingMessage, dialog);
        return false;
    }
    s.Dialog = dialog;
    s.Name = found[0];
    s.Min = found[1];
    s.Max = found[2];
    s.Def = found[3];
    s.ValPage = found[4];
    s.Val = val;
    s.ValText = valText;
    s.ValString = valString;
    s.Banner = found[8];
    s.Art = found[9];
    s.StdVal = found[10];
    return true;
}

// The node the dialog shows, while its widgets are bound.
ParaTreeEntry* CurrentNode() {
    PartBaseEditorState& s = PartEditor();
    if (s.Current == nullptr || s.Dialog == nullptr || s.Val == nullptr) return nullptr;
    return s.Current;
}

const ParameterEntry* EntryOf(ParaTreeEntry* node) {
    ParaBase* base = node->GetBase();
    return base != nullptr ? base->GetEntry(node->GetParameterNumber()) : nullptr;
}

int Truncated(double v) { return std::isfinite(v) ? static_cast<int>(v) : 0; }

// Sets up the value widgets for the node's type and shows its value.
void ShowValue() {
    PartBaseEditorState& s = PartEditor();
    ParaTreeEntry* node = CurrentNode();
    const ParameterEntry* e = node != nullptr ? EntryOf(node) : nullptr;
    if (e == nullptr) return;
    s.ValText->set_multiple_selection(false);
    s.Val->hide();
    s.ValText->hide();
    s.ValString->hide();
    const bool hex = IsHexType(e);
    const std::string minimum = node->GetMinimumText();
    const std::string maximum = node->GetMaximumText();
    const int minLength = static_cast<int>(minimum.size());
    const int maxLength = static_cast<int>(maximum.size());
    auto masked = [&](const char* format, const char* pattern) {
        s.Val->set_format_type(GwFORMAT_MASKED);
        s.Val->set_format(format);
        s.Val->set_pattern(pattern);
    };
    auto integer = [&](int length) {
        s.Val->set_format_type(GwFORMAT_INTEGER);
        s.Val->set_length(length);
    };
    switch (e->type) {
        case kTypeUsign8:
            if (hex) {
                masked("XX~", "~~H");
            } else if ((e->flags & kFlagValueTexts) != 0) {
                s.ValText->clear();
                const int top = e->maximum & 0xFF;
                for (int i = 0; i <= top; ++i) s.ValText->append(node->FormatValue(i));
                s.ValText->select_item(Truncated(node->GetValue()));
            } else {
                integer(maxLength);
            }
            break;
        case kTypeUsign16:
        case kTypePassword:
            if (hex) {
                masked("XXXX~", "~~~~H");
            } else {
                integer(maxLength);
            }
            break;
        case kTypeUsign32:
            if (hex) {
                masked("XXXXXXXX~", "~~~~~~~~H");
            } else {
                integer(maxLength);
            }
            break;
        case kTypeFixpt16:
            s.Val->set_format_type(GwFORMAT_DECIMAL);
            s.Val->set_length(IntegerPart(maximum) + 3);
            s.Val->set_precision(kFixpt16Decimals);
            break;
        case kTypeInt16:
        case kTypeInt8:
        case kTypeInt32:
            integer(std::max(minLength, maxLength));
            break;
        case kTypeInt32Q16:
        case kTypeFloat32:
            s.Val->set_format_type(GwFORMAT_DECIMAL);
            s.Val->set_length(kDecimalFieldLength);
            s.Val->set_precision(kDecimalFieldLength - std::max(IntegerPart(minimum), IntegerPart(maximum)) - 1);
            break;
        default:
            integer(maxLength);
            break;
    }
    const bool editable = node->IsEditable();
    switch (node->GetEditKind()) {
        case kEditText:
            s.ValString->enable();
            s.ValString->show();
            s.ValString->set_text(node->GetValueText());
            if (!editable) {
                s.ValString->disable();
            } else {
                s.ValString->set_cursor_position(0);
            }
            break;
        case kEditChoice: {
            const std::string value = node->GetValueText();
            s.ValText->set_tip_text(value + " = " + node->GetDispatchedText());
            s.ValText->enable();
            s.ValText->show();
            s.ValText->select_item(Truncated(node->GetValue()));
            if (!editable) s.ValText->disable();
            break;
        }
        default:
            s.Val->set_sensitive(editable);
            s.Val->show();
            s.Val->set_text(node->GetValueText());
            s.Val->set_suffix(node->GetUnitText());
            break;
    }
}

// Takes the edited value into the node's base (or device). A text that is
// not wholly a number of the type's form changes nothing.
void ApplyValue() {
    PartBaseEditorState& s = PartEditor();
    ParaTreeEntry* node = CurrentNode();
    const ParameterEntry* e = node != nullptr ? EntryOf(node) : nullptr;
    if (e == nullptr) return;
    const int kind = node->GetEditKind();
    if (kind == kEditText) {
        node->SetValueText(s.ValString->text().c_str());
        return;
    }
    const std::string text = kind == kEditChoice ? s.ValText->text() : s.Val->text();
    if (text.empty()) return;
    double value = 0.0;
    bool valid = true;
    if (IsHexType(e)) {
        valid = IsCompleteValueText(text, true);
        if (valid) value = static_cast<double>(std::strtoul(text.substr(0, text.find('H')).c_str(), nullptr, 16));
    } else if (e->type == kTypeUsign8 && (e->flags & kFlagValueTexts) != 0) {
        int match = -1;
        const int top = e->maximum & 0xFF;
        for (int i = 0; i <= top && match < 0; ++i) {
            if (text == node->FormatValue(i)) match = i;
        }
        valid = match >= 0 || IsWholeNumberText(text, false);
        if (valid) value = match >= 0 ? match : static_cast<double>(std::strtoul(text.c_str(), nullptr, 10));
    } else if (e->type == kTypeFixpt16 || e->type == kTypeInt32Q16 || e->type == kTypeFloat32) {
        valid = IsCompleteValueText(text, false);
        if (valid) value = std::strtod(text.c_str(), nullptr);
    } else if (e->type == kTypeInt16 || e->type == kTypeInt8 || e->type == kTypeInt32) {
        valid = IsWholeNumberText(text, true);
        if (valid) value = static_cast<double>(std::strtol(text.c_str(), nullptr, 10));
    } else {
        valid = IsWholeNumberText(text, false);
        if (valid) value = static_cast<double>(std::strtoul(text.c_str(), nullptr, 10));
    }
    if (!valid) {
        s.Dialog->beep();
        return;
    }
    node->SetValue(value);
}

std::string ShownText(int kind) {
    PartBaseEditorState& s = PartEditor();
    return kind == kEditText ? s.ValString->text() : kind == kEditChoice ? s.ValText->text() : s.Val->text();
}

}  // namespace

void ForgetEntryDialog() {
    PartBaseEditorState& s = PartEditor();
    if (s.Dialog != nullptr) {
        s.Dialog->stop_timer();
        s.Dialog->hide();
        s.Dialog->set_user_data(GwUD());
    }
    s.Current = nullptr;
    s.DialogOpen = false;
}

void EditEntry(GwTree* tree, bool open) {
    PartBaseEditorState& s = PartEditor();
    if (!GwRcMgr::is_valid_child(tree)) return;
    GwCore* frame = tree->frame();
    GwCore* dialog = frame != nullptr ? frame->child(kDialogName) : nullptr;
    if (dialog != nullptr) {
        if (!BindChildren(dialog)) return;
        s.Val->hide();
        s.ValText->hide();
        s.ValString->hide();
    }
    auto* node = dynamic_cast<ParaTreeEntry*>(tree->selected_entry());
    if (node == nullptr) return;
    if (node->GetKind() == kParaTreeBus) {
        if (frame->child(kOptionsName) == nullptr) {
            if (GwCore* options = GwRcMgr::load(frame, kOptionsName, 1)) {
                options->show();
            } else {
                ShowErrorMessage(kWindowMissingMessage, frame);
            }
        }
        return;
    }
    if (node->GetKind() != kParaTreeField && node->GetKind() != kParaTreePara) return;
    auto title = [&]() {
        std::string text = s.DialogTitle;
        Main* main = GetMain();
        if (node->GetDeviceIndex() >= 0 && main != nullptr) {
            text += std::string(" [") + main->GetDeviceLabel(node->GetDeviceIndex()) + "]";
        }
        return text;
    };
    if (dialog != nullptr) {
        dialog->set_title(title());
        dialog->set_user_data(GwUD(static_cast<void*>(node)));
        ShowEntryVal(dialog, nullptr, GwUD());
        dialog->show();
        tree->set_focus();
        return;
    }
    if (!open) return;
    dialog = GwRcMgr::load(frame, kDialogName, 1);
    if (dialog == nullptr) {
        ShowErrorMessage(kWindowMissingMessage, frame);
        return;
    }
    s.Dialog = dialog;
    s.DialogTitle = dialog->title();
    dialog->set_user_data(GwUD(static_cast<void*>(node)));
    dialog->set_title(title());
    dialog->show();
    tree->set_focus();
}

int ShowEntryVal(GwCore* widget, GwEvent*, GwUD) {
    PartBaseEditorState& s = PartEditor();
    GwCore* dialog = widget != nullptr ? widget->frame() : nullptr;
    if (!BindChildren(dialog)) return 0;
    s.DialogOpen = true;
    s.Current = dialog->user_data().pointer_as<ParaTreeEntry>();
    ParaTreeEntry* node = s.Current;
    const ParameterEntry* e = node != nullptr ? EntryOf(node) : nullptr;
    if (e == nullptr) return 1;
    s.Name->set_text(node->id());
    s.Banner->set_text(node->GetDescriptionText());
    s.Art->set_text(e->kind == '0' || e->kind == '1'   ? "flüchtig"
                    : e->kind == '2' || e->kind == '3' ? "nicht flüchtig"
                                                       : "unbekannt");
    if (node->GetEditKind() == kEditText) {
        s.Min->set_text("");
        s.Max->set_text("");
        s.Def->set_text("");
    } else {
        s.Min->set_text(node->GetMinimumText());
        s.Max->set_text(node->GetMaximumText());
        s.Def->set_text(node->GetDefaultText());
    }
    node->UpdateEditable();
    s.StdVal->set_sensitive(node->IsEditable());
    ShowValue();
    if (node->GetDeviceIndex() >= 0) node->UpdateEditable();
    dialog->start_timer();
    return 1;
}

int CB_ShowVal(GwCore*, GwEvent*, GwUD) {
    ShowValue();
    return 1;
}

int SetEntryVal(GwCore*, GwEvent* event, GwUD) {
    ParaTreeEntry* node = CurrentNode();
    if (node == nullptr) return 1;
    const int kind = node->GetEditKind();
    // A text value is taken when the user ends it with Return.
    if (kind == kEditText && event != nullptr && event->type == GwCB_KEY && event->key != GwKEY_RETURN) return 1;
    if (ShownText(kind) != node->GetValueText()) {
        ApplyValue();
        ShowValue();
    }
    return 1;
}

int SetEntryDefault(GwCore*, GwEvent*, GwUD) {
    PartBaseEditorState& s = PartEditor();
    ParaTreeEntry* node = CurrentNode();
    if (node == nullptr) return 1;
    if (node->GetEditKind() == kEditChoice) {
        s.ValText->select_item(Truncated(node->GetDefault()));
    } else {
        s.Val->set_text(s.Def->text());
    }
    ApplyValue();
    ShowValue();
    return 1;
}

int CB_ShowEntryValTimer(GwCore* widget, GwEvent*, GwUD) {
    PartBaseEditorState& s = PartEditor();
    if (widget == nullptr) return 1;
    if (!widget->is_visible()) {
        widget->stop_timer();
        return 1;
    }
    if (ErrorBoxFlag || MessageBoxOpenFlag || IsMessageBoxOpen()) return 1;
    GwCore* mainWindow = GetMainWindow();
    if (mainWindow != nullptr && mainWindow->frame_state() == GwSTATE_MINIMIZED) return 1;
    if (widget->frame() != nullptr && widget->frame()->frame_state() == GwSTATE_MINIMIZED) return 1;
    ParaTreeEntry* node = CurrentNode();
    if (node == nullptr) return 1;
    switch (node->GetEditKind()) {
        case kEditText:
            s.ValString->set_text(node->GetValueText());
            break;
        case kEditChoice:
            s.ValText->select_item(Truncated(node->GetValue()));
            s.ValText->set_tip_text(node->GetDispatchedText());
            break;
        default:
            s.Val->set_text(node->GetValueText());
            break;
    }
    return 1;
}
