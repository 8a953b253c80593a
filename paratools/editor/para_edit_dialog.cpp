#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/main/editor_context.h"
#include "app/main/main_object.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "devicewin/device_window.h"
#include "devicewin/poll_timer.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_description_file.h"
#include "parameters/parabase/para_types.h"
#include "parameters/values/dstring.h"
#include "paratools/editor/para_dialogs.h"
#include "paratools/editor/parameter_editor_state.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"

namespace {

struct EditDialogState {
    ParameterEditorState* Editor = nullptr;
    GwRef<> Dialog;
    GwRef<> Name;
    GwRef<> Number;
    GwRef<> Min;
    GwRef<> Max;
    GwRef<> Def;
    GwRef<GwEdit> Val;
    GwRef<GwCombo> ValText;
    GwRef<GwEdit> ValString;
    GwRef<> Art;
    GwRef<> Group;
    GwRef<> ReadLevel;
    GwRef<> WriteLevel;
    GwRef<> DefButton;
    bool UsesValueTexts = false;
};

EditDialogState& State() {
    static EditDialogState state;
    return state;
}

}  // namespace

bool IsHexType(const ParameterEntry* e) {
    return (e->flags & kFlagHex) != 0 &&
           (e->type == kTypeUsign8 || e->type == kTypeUsign16 || e->type == kTypePassword || e->type == kTypeUsign32);
}

int IntegerPart(const std::string& text) {
    const size_t dot = text.find('.');
    return static_cast<int>(dot == std::string::npos ? text.size() : dot);
}

bool IsCompleteValueText(const std::string& text, bool hex) {
    if (hex) {
        const size_t h = text.find('H');
        const std::string digits = text.substr(0, h);
        if (digits.empty()) return false;
        if (h != std::string::npos && h + 1 != text.size()) return false;
        return std::all_of(
            digits.begin(), digits.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
    }
    size_t i = text[0] == '-' ? 1 : 0;
    int digits = 0;
    int dots = 0;
    for (; i < text.size(); ++i) {
        if (text[i] == '.') {
            if (++dots > 1) return false;
        } else if (std::isdigit(static_cast<unsigned char>(text[i]))) {
            ++digits;
        } else {
            return false;
        }
    }
    return digits > 0;
}

int DlgPEdit_show(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    GwCore* dialog = widget->frame() != nullptr ? widget->frame() : widget;
    if (s == nullptr || s->Selected == nullptr) return 1;
    State() = EditDialogState{};
    State().Editor = s;
    State().Dialog = dialog;
    const char* names[] = {"Name",
                           "Number",
                           "DefButton",
                           "Min",
                           "Max",
                           "Def",
                           "Val",
                           "ValString",
                           "ValText",
                           "Group",
                           "ReadLevel",
                           "WriteLevel",
                           "Art"};
    GwCore* found[std::size(names)] = {};
    for (size_t i = 0; i < std::size(names); ++i) {
        found[i] = dialog->child(names[i]);
        if (found[i] == nullptr) {
            ShowErrorMessage(7, dialog);
            return 1;
        }
    }
    State().Name = found[0];
    State().Number = found[1];
    State().DefButton = found[2];
    State().Min = found[3];
    State().Max = found[4];
    State().Def = found[5];
    State().Val = dynamic_cast<GwEdit*>(found[6]);
    State().ValString = dynamic_cast<GwEdit*>(found[7]);
    State().ValText = dynamic_cast<GwCombo*>(found[8]);
    State().Group = found[9];
    State().ReadLevel = found[10];
    State().WriteLevel = found[11];
    State().Art = found[12];
    if (State().Val == nullptr || State().ValString == nullptr || State().ValText == nullptr) {
        ShowErrorMessage(7, dialog);
        return 1;
    }
    ParaBase* base = s->Base;
    const ParameterEntry* e = s->Selected;
    const int number = e->number;
    State().Name->set_text(std::string(e->name, strnlen(e->name, kEntryNameSize)));
    State().Number->set_text((e->flags & kFlagArray) != 0
                                 ? platform::Format("%u [%d]", static_cast<unsigned>(number), s->SelectedElement)
                                 : platform::Format("%u", static_cast<unsigned>(number)));
    // A parameter without a description keeps the dialog's own title.
    const std::string description = base->GetParameterDescription(number);
    if (!description.empty()) dialog->set_title(description);
    const char* groupName = base->GetKPGroupName(e->KPGroup);
    ParaDescriptionFile* descriptions = base->GetDescriptionFile();
    const char* menu =
        descriptions != nullptr && groupName != nullptr ? descriptions->GetParaMenuText(groupName) : groupName;
    State().Group->set_text(menu != nullptr ? menu : "");
    State().ReadLevel->set_text(std::to_string(e->access & 0x0F));
    State().WriteLevel->set_text(std::to_string(e->access >> 4));
    State().Art->set_text(e->kind == '0' || e->kind == '1'   ? "flüchtig"
                          : e->kind == '2' || e->kind == '3' ? "nicht flüchtig"
                                                             : "unbekannt");
    if (e->type == kTypeString) {
        State().Min->set_text("");
        State().Max->set_text("");
        State().Def->set_text("");
    } else if ((e->flags & kFlagValueTexts) != 0) {
        const bool named =
            std::string(base->GetDispatchedValueText(number, 0)) != base->FormatStoredValue(number, 0, false);
        auto show = [&](GwCore* label, int (ParaBase::*get)(int, double*)) {
            double v = 0.0;
            (base->*get)(number, &v);
            std::string text = base->FormatDoubleValue(number, v, false);
            if (named)
                text += std::string(" = ") +
                        base->GetDispatchedDoubleTextEx(number, static_cast<char>(s->ValueTextOption), v);
            label->set_text(text);
        };
        show(State().Min, &ParaBase::GetMinimumAsDouble);
        show(State().Max, &ParaBase::GetMaximumAsDouble);
        show(State().Def, &ParaBase::GetDefaultAsDouble);
    } else {
        State().Min->set_text(base->FormatRawValue(number, e->minimum, false));
        State().Max->set_text(base->FormatRawValue(number, e->maximum, false));
        State().Def->set_text(base->FormatRawValue(number, e->defaultValue, false));
    }
    if (GwCore* bitView = dialog->child("BitView")) bitView->set_considered((e->flags & kFlagHex) != 0);
    s->EditDialog = dialog;
    DlgPEdit_ShowValue(widget, nullptr, GwUD());
    dialog->start_timer(10);
    return 1;
}

int DlgPEdit_ShowValue(GwCore*, GwEvent*, GwUD) {
    ParameterEditorState* s = State().Editor;
    if (s == nullptr || s->Selected == nullptr || State().Val == nullptr) return 1;
    ParaBase* base = s->Base;
    const ParameterEntry* e = s->Selected;
    const int number = e->number;
    const int element = s->SelectedElement;
    State().ValText->set_multiple_selection(false);
    for (GwCore* w : {State().DefButton.get(),
                      static_cast<GwCore*>(State().ValString),
                      static_cast<GwCore*>(State().ValText),
                      static_cast<GwCore*>(State().Val)}) {
        w->set_sensitive(s->DialogEditable);
    }
    State().ValText->clear();
    State().ValString->set_text("");
    State().Val->set_text("");
    State().Val->hide();
    State().ValText->hide();
    State().ValString->hide();
    State().UsesValueTexts = false;
    const bool hex = (e->flags & kFlagHex) != 0;
    auto lengthOf = [&](int32_t raw) {
        return static_cast<int>(std::strlen(base->FormatRawValue(number, raw, false)));
    };
    switch (e->type) {
        case kTypeUsign8:
            if (hex) {
                State().Val->set_format_type(4);
                State().Val->set_format("XX~");
                State().Val->set_pattern("~~H");
                State().Val->set_length(3);
            } else if ((e->flags & kFlagValueTexts) != 0) {
                State().UsesValueTexts = true;
                const bool named =
                    std::string(base->GetDispatchedValueText(number, 0)) != base->FormatStoredValue(number, 0, false);
                const int maximum = e->maximum & 0xFF;
                for (int v = 0; v <= maximum; ++v) {
                    std::string item = base->FormatU16Value(number, static_cast<uint16_t>(v), false);
                    if (named)
                        item += std::string(" = ") +
                                base->GetDispatchedDoubleTextEx(number, static_cast<char>(s->ValueTextOption), v);
                    State().ValText->append(item);
                }
            } else {
                State().Val->set_format_type(2);
                State().Val->set_length(lengthOf(e->maximum));
            }
            break;
        case kTypeUsign16:
        case kTypePassword:
        case kTypeUsign32:
            if (hex && e->type == kTypeUsign32) {
                State().Val->set_format_type(4);
                State().Val->set_format("XXXXXXXX~");
                State().Val->set_pattern("~~~~~~~~H");
                State().Val->set_length(9);
            } else if (hex) {
                State().Val->set_format_type(4);
                State().Val->set_format("XXXX~");
                State().Val->set_pattern("~~~~H");
                State().Val->set_length(5);
            } else {
                State().Val->set_format_type(2);
                State().Val->set_length(lengthOf(e->maximum));
            }
            break;
        case kTypeFixpt16:
            State().Val->set_format_type(3);
            State().Val->set_precision(2);
            State().Val->set_length(IntegerPart(base->FormatRawValue(number, e->maximum, false)) + 3);
            break;
        case kTypeInt8:
        case kTypeInt16:
        case kTypeInt32:
            State().Val->set_format_type(2);
            State().Val->set_length(std::max(lengthOf(e->minimum), lengthOf(e->maximum)));
            break;
        case kTypeInt32Q16:
        case kTypeFloat32: {
            const int longer = std::max(IntegerPart(base->FormatRawValue(number, e->minimum, false)),
                                        IntegerPart(base->FormatRawValue(number, e->maximum, false)));
            State().Val->set_format_type(3);
            State().Val->set_length(46);
            State().Val->set_precision(46 - longer - 1);
            break;
        }
        case kTypeErrStruc:
            State().Val->set_format_type(1);
            break;
        case kTypeString:
            State().ValString->set_length(48);
            State().ValString->set_max_length(48);
            break;
        default:
            return 1;  // BEGRIFF, BINARY8, BINARY16: nothing to edit here
    }
    if (e->type == kTypeString) {
        dstring text;
        base->GetValueString(number, text, 0);
        State().ValString->set_text(text.Text());
        State().ValString->show();
    } else if (State().UsesValueTexts) {
        uint8_t value = 0;
        base->GetValueU8(number, &value, element);
        State().ValText->select_item(value);
        State().ValText->show();
    } else {
        State().Val->set_text(base->FormatStoredValue(number, element, false));
        State().Val->set_suffix(base->GetParameterUnit(number));
        State().Val->show();
    }
    if (GwCore* bitEdit = State().Dialog->frame_child("BitEdit")) bitEdit->set_considered(hex && s->DialogEditable);
    return 1;
}

int DlgPEdit_Timer(GwCore* widget, GwEvent*, GwUD) {
    widget->stop_timer();
    if (State().Val == nullptr) return 1;
    for (GwEdit* field : {State().Val, State().ValString}) {
        if (field->is_shown()) {
            field->set_focus();
            field->select_all();
            field->set_cursor_position(0);
        }
    }
    if (State().ValText->is_shown()) State().ValText->set_focus();
    return 1;
}

int DlgPEdit_Key_Standard(GwCore*, GwEvent*, GwUD) {
    ParameterEditorState* s = State().Editor;
    if (s == nullptr || s->Selected == nullptr || State().Val == nullptr) return 1;
    if (State().UsesValueTexts) {
        double v = 0.0;
        s->Base->GetDefaultAsDouble(s->Selected->number, &v);
        State().ValText->select_item(static_cast<int>(v));
    } else {
        State().Val->set_text(State().Def->text());
    }
    return 1;
}

int DlgPEdit_Key_OK(GwCore*, GwEvent*, GwUD) {
    ParameterEditorState* s = State().Editor;
    if (s == nullptr || s->Selected == nullptr || State().Val == nullptr) return 1;
    GwCore* dialog = State().Dialog;
    if (!s->DialogEditable) {
        dialog->hide();
        return 1;
    }
    ParaBase* base = s->Base;
    const ParameterEntry* e = s->Selected;
    const int number = e->number;
    const int element = s->SelectedElement;
    int code = 0;
    if (e->type == kTypeString) {
        code = base->SetValueString(number, dstring(State().ValString->text().c_str()), 0);
    } else {
        double value = 0.0;
        if (State().UsesValueTexts) {
            if (State().ValText->text().empty() && State().ValText->first_selected() < 0) return 1;
            value = State().ValText->first_selected();
        } else {
            const std::string text = State().Val->text();
            if (text.empty()) return 1;
            const bool hex = IsHexType(e);
            const bool numeric = e->type != kTypeBegriff && e->type != kTypeBinary8 && e->type != kTypeBinary16 &&
                                 e->type != kTypeErrStruc;
            if (!numeric) return 1;
            if (!IsCompleteValueText(text, hex)) {
                dialog->beep();
                return 1;
            }
            value =
                hex ? static_cast<double>(std::strtoul(text.c_str(), nullptr, 16)) : std::strtod(text.c_str(), nullptr);
        }
        code = base->SetValueDouble(number, value, element);
    }
    if (code != 0) {
        ShowDeviceError(5, base, dialog);
        return 1;
    }
    if (s->Mode != kEditorModeOnline) {
        if (s->StateChanged != nullptr) s->StateChanged->set_text(ParameterEditorState::EditText("ParaChanged"));
        s->Changed = true;
    }
    if (s->WriteToDevice(number, dialog, element, 1)) {
        const std::string value = base->FormatStoredValue(number, element, false);
        GwCore* owner = dialog->parent();
        if (s->FieldDialog != nullptr && owner == s->FieldDialog) {
            if (auto* data = dynamic_cast<GwMultiList*>(s->FieldDialog->child("FieldData"))) {
                for (int row = 0; row < data->row_count(); ++row) {
                    if (std::atoi(data->cell(row, 0).c_str()) == element) data->set_cell(row, 2, value);
                }
                data->hide();
                data->show();
            }
        } else if (s->ParaList != nullptr && s->ParaList->first_selected() >= 0) {
            s->ParaList->set_cell(s->ParaList->first_selected(), 4, value);
        }
    }
    dialog->hide();
    return 1;
}

int CB_DlgPEdit_hide(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    GwCore* dialog = State().Dialog;
    if (dialog == nullptr) return 1;
    if (s != nullptr) {
        if (s->FieldDialog != nullptr && dialog->parent() == s->FieldDialog) {
            if (auto* data = dynamic_cast<GwMultiList*>(s->FieldDialog->child("FieldData"))) {
                if (s->CyclicUpdate != 0) data->start_timer(kFirstTickMs);
            }
        } else {
            s->StartListTimer();
        }
        s->EditDialog = nullptr;
    }
    State() = EditDialogState{};
    CB_CloseDeviceWindow(dialog, nullptr, GwUD());
    if (GwRcMgr::is_valid_child(dialog)) dialog->destroy();
    (void)widget;
    return 1;
}

void ResetParameterDialogState() { State() = EditDialogState{}; }

namespace {

platform::ResetHook ResetState(ResetParameterDialogState);

}  // namespace

void CloseEditorDialogs(ParameterEditorState* s) {
    if (s->EditDialog != nullptr) s->EditDialog->destroy();
    if (s->FieldDialog != nullptr) {
        TheWindowHandler().DeleteWindow(s->FieldDialog);
        s->FieldDialog->destroy();
    }
    s->EditDialog.reset();
    s->FieldDialog.reset();
    State() = EditDialogState{};
}
