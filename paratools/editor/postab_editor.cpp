#include "paratools/editor/postab_editor.h"

#include <cctype>
#include <cstdlib>

#include "app/main/main_object.h"
#include "app/services/activity_message.h"
#include "app/services/app_files.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/window_handler.h"
#include "devicewin/poll_timer.h"
#include "parameters/parabase/para_base.h"
#include "paratools/editor/parameter_editor_state.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_edit.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/menus/gw_menu_item.h"
#include "toolkit/spreadsheet/gw_spreadsheet.h"

namespace {

struct SheetInfo {
    const char* Name;
    int Parameter;
    const char* Prefix;
};
constexpr SheetInfo kSheets[kPosTabSheets] = {
    {"Variablen", 728, "H"}, {"Merker", 729, "M"}, {"Zaehler", 730, "C"}, {"Tabelle", 727, "T"}};
constexpr int kTitleColumnWidth = 30;
constexpr int kValueColumnWidth = 60;
constexpr int kSheetWidthReserve = 48;
constexpr int kSaveParameter = 150;
constexpr int kTextLength = 512;

struct PosTabModuleState {
    std::unique_ptr<PosTabEditorState> Editor;
    std::string LastPath;
};

PosTabModuleState& State() {
    static PosTabModuleState state;
    return state;
}

int SheetIndex(const GwUD& ud) { return ud.is_integer() ? static_cast<int>(ud.integer()) : std::atoi(ud.text()); }

GwCore* FrameOf(GwCore* widget) { return widget->frame() != nullptr ? widget->frame() : widget; }

std::string EditText(const char* key) { return ParameterEditorState::EditText(key); }

void MarkChanged(PosTabEditorState* s) {
    s->Changed = true;
    s->StatChanged->set_text(EditText("ParaChanged"));
}

// Stores a checked cell value for element `row - 1`, and in device mode
// writes it to the drive.
void StoreCell(PosTabEditorState* s, int sheet, int row, const std::string& text) {
    const int number = kSheets[sheet].Parameter;
    s->Base->SetValueDouble(number, std::strtod(text.c_str(), nullptr), row - 1);
    if (!s->FileMode && s->Base->WriteValueDouble(number, std::strtod(text.c_str(), nullptr), row - 1) != 0) {
        ShowErrorMessageFor(5, s->Base, s->Frame);
    }
}

bool BuildStateOf(GwCore* frame);

// The option toggle is a menu toggle item; a plain toggle serves as well.
void SetToggleValue(GwCore* widget, int value) {
    if (auto* item = dynamic_cast<GwToggleItem*>(widget)) item->set_value(value);
    if (auto* toggle = dynamic_cast<GwToggle*>(widget)) toggle->set_value(value);
}

int ToggleValue(GwCore* widget, GwEvent* event) {
    if (auto* item = dynamic_cast<GwToggleItem*>(widget)) return item->value();
    if (auto* toggle = dynamic_cast<GwToggle*>(widget)) return toggle->value();
    return event != nullptr ? event->value : 0;
}

// Makes the state; a refused one is dropped again.
bool BuildState(GwCore* frame) {
    if (BuildStateOf(frame)) return true;
    State().Editor.reset();
    return false;
}

bool BuildStateOf(GwCore* frame) {
    State().Editor = std::make_unique<PosTabEditorState>();
    PosTabEditorState* s = State().Editor.get();
    s->Frame = frame;
    const char* names[] = {"M_SaveDevice", "M_OptCycle", "StatOffline", "StatChanged", "StatCycle"};
    GwCore* found[5] = {};
    for (int i = 0; i < 5; ++i) {
        found[i] = frame->child(names[i]);
        if (found[i] == nullptr) {
            ShowErrorMessage(7, frame);
            return false;
        }
    }
    for (int i = 0; i < kPosTabSheets; ++i) {
        s->Sheets[i] = dynamic_cast<GwSpreadSheet*>(frame->child(kSheets[i].Name));
        if (s->Sheets[i] == nullptr) {
            ShowErrorMessage(7, frame);
            return false;
        }
    }
    s->SaveDevice = found[0];
    s->OptCycle = found[1];
    s->StatOffline = found[2];
    s->StatChanged = found[3];
    s->StatCycle = found[4];
    s->FilePath = frame->user_data().is_text() ? frame->user_data().string() : std::string();
    Main* main = GetMain();
    if (s->FilePath.empty()) {
        s->Base = main != nullptr ? main->ActiveParaBase() : nullptr;
        if (s->Base == nullptr) {
            ShowInfoMessage(6, frame);
            frame->hide();
            return false;
        }
        s->CyclicUpdate = true;
    } else {
        frame->set_user_data(GwUD());
        s->FileMode = true;
        s->OwnBase = std::make_unique<ParaBase>();
        s->OwnBase->InitFile(s->FilePath.c_str());
        if (s->OwnBase->ReadFileBase() != 0) ShowErrorMessageFor(5, s->OwnBase.get(), frame);
        s->Base = s->OwnBase.get();
        s->CyclicUpdate = false;
    }
    SetToggleValue(s->OptCycle, s->CyclicUpdate ? 1 : 0);
    s->DeviceClass = static_cast<uint8_t>(StoredDeviceCode(s->Base) / kDeviceClassDivisor);
    if (s->DeviceClass != kPosTabDeviceClass) {
        ShowErrorMessage(68, frame);
        frame->hide();
        return false;
    }
    s->Changed = false;
    return true;
}

// Takes every sheet's column 1 into the base (and the drive when asked).
bool TakeAllSheets(PosTabEditorState* s, bool writeDevice, ParaBase* device) {
    GwWaitObject wait;
    GwCore* container = s->Frame->child("SheetCont");
    if (container == nullptr) {
        ShowErrorMessage(7, s->Frame);
        return false;
    }
    for (int i = 0; i < kPosTabSheets; ++i) {
        auto* sheet = dynamic_cast<GwSpreadSheet*>(container->child(i));
        if (sheet == nullptr) {
            ShowErrorMessage(7, s->Frame);
            return false;
        }
        const int number = kSheets[i].Parameter;
        for (int row = 1; row < sheet->row_count(); ++row) {
            const std::string text = sheet->contents(row, 1);
            if (!IsValidPosTabCell(s->Base, number, text)) {
                const dstring format = GetMessageString(67, kMainMessagesSection);
                const platform::FormatResult message = platform::FormatChecked(
                    format.Text(),
                    {platform::FormatArg(s->Base->GetParameterDescription(number)), platform::FormatArg(row)});
                ShowErrorText(message.text.c_str(), s->Frame);
                return false;
            }
            const double value = std::strtod(text.c_str(), nullptr);
            s->Base->SetValueDouble(number, value, row - 1);
            if (writeDevice && device->WriteValueDouble(number, value, row - 1) != 0) {
                ShowErrorMessageFor(5, device, s->Frame);
                return false;
            }
        }
    }
    return true;
}

bool StoreToDevice(PosTabEditorState* s) {
    Main* main = GetMain();
    ParaBase* device = s->Base;
    if (s->FileMode) {
        if (main == nullptr || !main->HasOnlineDevice() || main->ActiveParaBase() == nullptr) {
            ShowWarningMessage(6, s->Frame);
            return false;
        }
        if (main->GetActiveDeviceFamily() != kPosTabDeviceClass) {
            ShowErrorMessage(68, s->Frame);
            return false;
        }
        device = main->ActiveParaBase();
    }
    if (s->FileMode || !s->CyclicUpdate) {
        ActivMessage activity(8, s->Frame);
        if (!TakeAllSheets(s, true, device)) return false;
    }
    if (s->DeviceClass == kPosTabDeviceClass && device->WriteValueU8(kSaveParameter, 1) != 0) {
        ShowDeviceError(5, device, s->Frame);
        return false;
    }
    return true;
}

bool SaveToFile(PosTabEditorState* s) {
    char title[kTextLength] = {};
    char files[kTextLength] = {};
    char all[kTextLength] = {};
    GetMessageText(title, kTitlesSection, "ChooseParaBaseFile", kTextLength);
    GetMessageText(files, kTitlesSection, "ParaBaseFiles", kTextLength);
    GetMessageText(all, kTitlesSection, "AllFiles", kTextLength);
    const std::string filter =
        platform::Format(s->DeviceClass == kPosTabDeviceClass ? "%s|*.01D|%s|*|" : "%s|*.00D|%s|*|", files, all);
    if (State().LastPath.empty()) State().LastPath = GetUserDataDir();
    std::string path;
    for (;;) {
        GwFileSelector selector(s->Frame, "PosTabFile");
        selector.set_title(title);
        selector.set_filter(filter);
        selector.set_mode(GwFILESELECTOR_SAVE);
        if (s->FileMode) {
            selector.set_file_name(s->FilePath);
        } else {
            selector.set_directory(State().LastPath);
        }
        if (!selector.go() || selector.selection().empty()) return true;
        path = selector.selection();
        State().LastPath = path;
        s->Base->InitFile(path.c_str());
        if (!s->Base->FileBaseExists() || ShowQuestionMessage(42, s->Frame)) break;
    }
    if (!TakeAllSheets(s, false, nullptr)) return false;
    if (s->Base->WriteFileBase() != 0) {
        ShowWarningMessageFor(5, s->Base, s->Frame);
        return false;
    }
    ParaBase partial;
    partial.InitFile(path.c_str());
    partial.ReadFileBase();
    partial.SetAllUnused();
    for (int number : {728, 729, 730, 727}) {
        ParameterEntry* e = partial.GetEntry(number);
        if (e != nullptr && partial.IsPresent(number) && e->valid != 0) e->transfer = 1;
    }
    if (partial.WriteFileBase() != 0) {
        ShowWarningMessageFor(5, &partial, s->Frame);
        return false;
    }
    return true;
}

}  // namespace

int NextPosTabSheet = 0;

PosTabEditorState::PosTabEditorState() = default;
PosTabEditorState::~PosTabEditorState() = default;

PosTabEditorState* GetPosTabEditor() { return State().Editor.get(); }
void ResetPosTabEditorState() {
    State().Editor.reset();
    NextPosTabSheet = 0;
    State().LastPath.clear();
}

namespace {

platform::ResetHook ResetState(ResetPosTabEditorState);

}  // namespace

int PosTabSheetParameter(int sheet) { return sheet >= 0 && sheet < kPosTabSheets ? kSheets[sheet].Parameter : 0; }

bool IsValidPosTabCell(ParaBase* base, int number, const std::string& text) {
    double minimum = 0.0;
    double maximum = 0.0;
    base->GetMinimumAsDouble(number, &minimum);
    base->GetMaximumAsDouble(number, &maximum);
    size_t i = 0;
    if (!text.empty() && (text[0] == '+' || (text[0] == '-' && minimum < 0.0))) i = 1;
    if (i >= text.size()) return false;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    }
    const double value = std::strtod(text.c_str(), nullptr);
    return value >= minimum && value <= maximum;
}

int CB_CreatePosTabEditor(GwCore* widget, GwEvent*, GwUD) {
    State().Editor.reset();
    return BuildState(FrameOf(widget)) ? 1 : 0;
}

int CB_ShowPosTabEditor(GwCore* widget, GwEvent*, GwUD) {
    GwCore* frame = FrameOf(widget);
    // A window its creation refused (and hid) is not built a second time.
    if (!frame->is_shown()) return 0;
    if (State().Editor == nullptr && !BuildState(frame)) return 0;
    PosTabEditorState* s = State().Editor.get();
    s->StatChanged->set_text(s->Changed ? EditText("ParaChanged") : "");
    s->StatCycle->set_text(s->CyclicUpdate ? EditText("CylicUpdate") : "");
    s->StatOffline->set_text(EditText(s->FileMode ? "Mode_File" : "Mode_Online"));
    if (const WindowPlacement* p = GetSavedWindowPlacement(frame)) ApplyWindowPlacement(frame, *p);
    for (GwSpreadSheet* sheet : s->Sheets) sheet->clear_selection();
    return 1;
}

int CB_CreateSheet(GwCore* widget, GwEvent* event, GwUD userData) {
    PosTabEditorState* s = State().Editor.get();
    auto* sheet = dynamic_cast<GwSpreadSheet*>(widget);
    const int index = SheetIndex(userData);
    if (s == nullptr || sheet == nullptr || index < 0 || index >= kPosTabSheets) return 1;
    const int number = kSheets[index].Parameter;
    sheet->set_row_count(s->Base->GetValueCount(number) + 1);
    sheet->set_column_count(2);
    sheet->set_title_rows(1);
    sheet->set_title_columns(1);
    sheet->set_visible_rows(sheet->row_count());
    sheet->set_column_width(0, kTitleColumnWidth);
    sheet->set_column_width(1, kValueColumnWidth);
    sheet->set_contents(0, 1, s->Base->GetParameterDescription(number));
    for (int row = 1; row < sheet->row_count(); ++row) {
        sheet->set_contents(row, 0, platform::Format("%s%02d", kSheets[index].Prefix, row - 1));
    }
    return CB_ResizeSheets(widget, event, userData);
}

int CB_ShowSheet(GwCore* widget, GwEvent*, GwUD userData) {
    PosTabEditorState* s = State().Editor.get();
    auto* sheet = dynamic_cast<GwSpreadSheet*>(widget);
    const int index = SheetIndex(userData);
    if (s == nullptr || sheet == nullptr || index < 0 || index >= kPosTabSheets) return 1;
    const int number = kSheets[index].Parameter;
    for (int row = 1; row < sheet->row_count(); ++row) {
        sheet->set_contents(row, 0, platform::Format("%s%02d", kSheets[index].Prefix, row - 1));
        sheet->set_contents(row, 1, s->Base->FormatStoredValue(number, row - 1, false));
    }
    if (sheet->is_visible()) sheet->redraw();
    sheet->scroll_to(1, 1);
    return 1;
}

int CB_ResizeSheets(GwCore* widget, GwEvent*, GwUD) {
    if (auto* sheet = dynamic_cast<GwSpreadSheet*>(widget))
        sheet->set_column_width(1, sheet->width() - kSheetWidthReserve);
    return 1;
}

int CB_SpreadSheet(GwCore* widget, GwEvent* event, GwUD userData) {
    PosTabEditorState* s = State().Editor.get();
    auto* sheet = dynamic_cast<GwSpreadSheet*>(widget);
    const int index = SheetIndex(userData);
    if (s == nullptr || sheet == nullptr || event == nullptr || index < 0 || index >= kPosTabSheets) return 1;
    if (event->reason == GwSS_FOCUS_OUT) return CB_FocusOutSheet(widget, event, userData);
    if (event->reason == GwSS_CANCEL) {
        s->Frame->hide();
        return 1;
    }
    if (event->row < 1 || event->column < 1 || event->reason != GwSS_CONFIRM) return 1;
    const int number = kSheets[index].Parameter;
    GwEdit* editor = sheet->editor();
    const std::string text = editor != nullptr ? editor->text() : sheet->contents(event->row, event->column);
    if (!IsValidPosTabCell(s->Base, number, text)) {
        sheet->beep();
        return 0;
    }
    if (text != s->Base->FormatStoredValue(number, event->row - 1, false)) {
        MarkChanged(s);
        StoreCell(s, index, event->row, text);
    }
    return 1;
}

namespace {

// A pending edit of `sheet`: its edit field's text for the current cell.
bool PendingEdit(GwSpreadSheet* sheet, std::string* text, int* row) {
    GwEdit* editor = sheet->editor();
    int column = 0;
    if (editor == nullptr || !editor->is_shown()) return false;
    *text = editor->text();
    if (!sheet->current_cell(row, &column)) *row = 0;
    return true;
}

}  // namespace

int CB_FocusOutSheet(GwCore* widget, GwEvent*, GwUD userData) {
    PosTabEditorState* s = State().Editor.get();
    auto* sheet = dynamic_cast<GwSpreadSheet*>(widget);
    const int index = SheetIndex(userData);
    if (s == nullptr || sheet == nullptr || index < 0 || index >= kPosTabSheets) return 1;
    std::string text;
    int row = 0;
    if (!PendingEdit(sheet, &text, &row)) return 1;
    const int number = kSheets[index].Parameter;
    if (!IsValidPosTabCell(s->Base, number, text)) {
        sheet->beep();
        return 0;
    }
    sheet->editor()->hide();
    if (row >= 1) {
        MarkChanged(s);
        s->Base->SetValueDouble(number, std::strtod(text.c_str(), nullptr), row - 1);
        sheet->set_contents(row, 1, s->Base->FormatStoredValue(number, row - 1, false));
        if (!s->FileMode && s->Base->WriteValueDouble(number, std::strtod(text.c_str(), nullptr), row - 1) != 0) {
            ShowErrorMessageFor(5, s->Base, s->Frame);
        }
    }
    return 1;
}

int CB_DeselectOtherSheets(GwCore*, GwEvent* event, GwUD userData) {
    PosTabEditorState* s = State().Editor.get();
    const int focused = SheetIndex(userData);
    if (s == nullptr || (event != nullptr && event->type == GwCB_FOCUS && event->value == 0)) return 1;
    for (int i = 0; i < kPosTabSheets; ++i) {
        if (i == focused) continue;
        GwSpreadSheet* sheet = s->Sheets[i];
        std::string text;
        int row = 0;
        if (PendingEdit(sheet, &text, &row) && row >= 1 && IsValidPosTabCell(s->Base, kSheets[i].Parameter, text)) {
            MarkChanged(s);
            StoreCell(s, i, row, text);
        }
        sheet->clear_selection();
    }
    return 1;
}

int CB_SetCyleTimer(GwCore* widget, GwEvent*, GwUD) {
    PosTabEditorState* s = State().Editor.get();
    if (s != nullptr && !s->FileMode) widget->start_timer(kFirstTickMs);
    return 1;
}

int CB_TimerPosTabUpdate(GwCore* widget, GwEvent*, GwUD) {
    PosTabEditorState* s = State().Editor.get();
    Main* main = GetMain();
    if (s == nullptr || !s->CyclicUpdate || main == nullptr) return 1;
    if (!main->CheckTimerIntegrity(widget, true)) return 1;
    widget->stop_timer();
    const int index = NextPosTabSheet;
    NextPosTabSheet = (NextPosTabSheet + 1) % kPosTabSheets;
    GwSpreadSheet* sheet = s->Sheets[index];
    const int number = kSheets[index].Parameter;
    const int first = std::max(0, sheet->first_visible_row() - 1);
    const int count = std::min(sheet->visible_rows(), s->Base->GetValueCount(number) - first);
    if (s->Base->ReadBusParameter(number, first, std::max(count, 1)) != 0) {
        ShowErrorMessageFor(5, s->Base, s->Frame);
    } else {
        for (int row = 1; row <= s->Base->GetValueCount(number) && row < sheet->row_count(); ++row) {
            const std::string value = s->Base->FormatStoredValue(number, row - 1, false);
            if (sheet->contents(row, 1) != value) sheet->set_contents(row, 1, value);
        }
    }
    PollTimer poll{kSheetPollMaximumMs, kSheetPollWeightMs, kSheetPollMinimumMs, widget, 0};
    poll.Restart();
    return 1;
}

int CB_ValueCycle(GwCore* widget, GwEvent* event, GwUD) {
    PosTabEditorState* s = State().Editor.get();
    if (s == nullptr) return 1;
    s->CyclicUpdate = ToggleValue(widget, event) != 0;
    s->StatCycle->set_text(s->CyclicUpdate ? EditText("CylicUpdate") : "");
    return 1;
}

int CB_CheckDevice(GwCore*, GwEvent*, GwUD) {
    PosTabEditorState* s = State().Editor.get();
    Main* main = GetMain();
    if (s != nullptr) s->SaveDevice->set_considered(main != nullptr && main->GetActiveDeviceFamily() == 4);
    return 1;
}

int CB_SavePosTabToDevice(GwCore*, GwEvent*, GwUD) {
    PosTabEditorState* s = State().Editor.get();
    if (s == nullptr) return 1;
    const bool stored = StoreToDevice(s);
    if (!s->FileMode) {
        s->Changed = !stored;
        if (stored) s->StatChanged->set_text("");
    }
    return 1;
}

int CB_SavePosTabToFile(GwCore*, GwEvent*, GwUD) {
    PosTabEditorState* s = State().Editor.get();
    if (s == nullptr) return 1;
    const bool saved = SaveToFile(s);
    if (s->FileMode) {
        s->Changed = !saved;
        if (saved) s->StatChanged->set_text("");
    }
    return 1;
}

int CB_SaveChanges(GwCore* widget, GwEvent*, GwUD) {
    PosTabEditorState* s = State().Editor.get();
    GwCore* frame = s != nullptr ? s->Frame.get() : FrameOf(widget);
    if (s != nullptr && s->Changed && ShowQuestionMessage(19, frame)) {
        const bool stored = s->FileMode ? SaveToFile(s) : StoreToDevice(s);
        s->Changed = !stored;
        if (!stored) return 0;  // the window stays open with its changes
    }
    if (s != nullptr && !s->Changed) s->StatChanged->set_text("");
    State().Editor.reset();
    TheWindowHandler().DeleteWindow(frame);
    if (GwRcMgr::is_valid_child(frame)) frame->destroy();
    return 1;
}
