#include "paratools/editor/parameter_editor.h"

#include <cstring>
#include <string>

#include "app/main/editor_context.h"
#include "app/main/main_object.h"
#include "app/main/user_levels.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "devicewin/poll_timer.h"
#include "families/setup_context.h"
#include "families/setup_context_factory.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_types.h"
#include "paratools/editor/para_dialogs.h"
#include "paratools/editor/parameter_editor_state.h"
#include "platform/base/format.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_ref.h"
#include "toolkit/core/gw_toggle.h"
#include "toolkit/core/gw_types.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/tree/gw_tree.h"
#include "toolkit/tree/gw_tree_entry.h"

namespace {

constexpr int kPictureColumn = 6;

void ApplyDefaultSorting(GwMultiList* list) {
    for (int c = 0; c < kListColumns; ++c) list->set_sorting_type(c, c == 0 ? 3 : c == 2 ? 0 : 1);
    list->set_sort_column(0);
}

void ShowStateText(GwCore* label, bool on, const char* key) {
    if (label != nullptr) label->set_text(on ? ParameterEditorState::EditText(key) : std::string());
}

// Finds the editor's children in the order the window needs them; false after
// error 7 when one is missing.
bool FindChildren(ParameterEditorState* s, GwCore* window) {
    s->Window = window;
    const char* names[] = {"ParaList",
                           "GroupTree",
                           "OnlyEditablePara",
                           "ParaUpdate",
                           "State_Online",
                           "State_Update",
                           "State_OnlyEditable",
                           "State_Level",
                           "State_Changed",
                           "ValueTextLang",
                           "ParaGroup",
                           "StoreDevice",
                           "Save",
                           "SaveAsDevice",
                           "UserGroup"};
    GwCore* found[std::size(names)] = {};
    for (size_t i = 0; i < std::size(names); ++i) {
        found[i] = window->child(names[i]);
        if (found[i] == nullptr) {
            ShowErrorMessage(7, window);
            return false;
        }
    }
    s->ParaList = dynamic_cast<GwMultiList*>(found[0]);
    s->GroupTree = dynamic_cast<GwTree*>(found[1]);
    s->OnlyEditablePara = dynamic_cast<GwToggle*>(found[2]);
    s->ParaUpdate = dynamic_cast<GwToggle*>(found[3]);
    s->StateOnline = found[4];
    s->StateUpdate = found[5];
    s->StateOnlyEditable = found[6];
    s->StateLevel = found[7];
    s->StateChanged = found[8];
    s->ValueTextLang = found[9];
    s->ParaGroup = found[10];
    s->StoreDevice = found[11];
    s->Save = found[12];
    s->SaveAsDevice = found[13];
    s->UserGroupItem = found[14];
    if (s->ParaList == nullptr || s->GroupTree == nullptr || s->OnlyEditablePara == nullptr ||
        s->ParaUpdate == nullptr) {
        ShowErrorMessage(7, window);
        return false;
    }
    return true;
}

void AttachBase(ParameterEditorState* s) {
    ParameterEditorContext& context = TheParameterEditorContext();
    Main* main = GetMain();
    s->Base = context.Base;
    if (s->Mode == kEditorModeOnline) {
        s->Context = main != nullptr ? main->GetSetupContext() : nullptr;
    } else if (context.Base != nullptr) {
        s->OwnContext =
            CreateSetupContextForFamily(context.Base->GetDeviceKind(), GetMainWindow(), *context.Base, false);
        s->Context = s->OwnContext.get();
    }
    if (s->Context != nullptr) s->Base = s->Context->Base.get();
    s->SearchName[0] = '\0';
    s->SearchNumber[0] = '\0';
    s->SearchSCGroup = -1;
    s->SearchKPGroup = -1;
    s->FirstSearchShow = true;
    s->SearchListUsed = false;
    s->SearchConfirmed = false;
    s->Source = kSourceKeypadGroup;
    s->WholeList = false;
    s->KeypadGroup = 0;
    s->GroupIndex = 0;
    s->RebuildSelection();
    ApplyDefaultSorting(s->ParaList);
}

void RestoreLastList(ParameterEditorState* s) {
    GwProfile* profile = MainProfile();
    const std::string section = platform::Format("PCHOOSE_LIST_%u", s->DeviceClass());
    if (profile == nullptr || !profile->select_section(section.c_str())) return;
    const std::string type = profile->read("Type") != nullptr ? profile->read("Type") : "";
    if (type == "Menu") {
        const int actId = profile->read_int("ActID");
        if (actId >= 0 && actId < s->GroupCount && actId < kMaxKeypadGroupRecords) {
            s->GroupIndex = static_cast<uint16_t>(actId);
            const int group = profile->read_int("KeyPadGroup");
            s->KeypadGroup = group > s->GroupCount ? 0 : group;
            s->Source = kSourceKeypadGroup;
            s->RebuildSelection();
        }
    } else if (type == "SearchMask") {
        s->Base->DeselectAll(false);
        std::vector<int> numbers;
        for (int i = 1; i < profile->key_count(); ++i) numbers.push_back(std::atoi(profile->value(i)));
        for (int n : numbers) {
            if (s->Base->IsPresent(n)) s->Base->SelectParameter(n, false);
        }
        s->Source = kSourceSearch;
        s->PreviousSource = kSourceSearch;
        s->SearchListUsed = true;
    } else if (type == "User") {
        s->Base->DeselectAll(false);
        s->UserGroup = profile->read_int("GroupID");
        s->Source = kSourceUserGroup;
        s->RebuildSelection();
    } else {
        return;
    }
    s->FillList();
}

}  // namespace

int DlgPChoose_create(GwCore* widget, GwEvent*, GwUD) {
    GwWaitObject wait;
    DropParameterEditorState();
    ParameterEditorState* s = MakeParameterEditorState();
    s->Mode = TheParameterEditorContext().Mode;
    GwCore* window = widget->frame() != nullptr ? widget->frame() : widget;
    if (!FindChildren(s, window)) return 1;
    if (auto* expand = dynamic_cast<GwToggle*>(window->child("MN_ExpandFields"))) s->ExpandFields = expand->value();
    s->ParaList->set_picture_column(kPictureColumn);
    const bool online = s->Mode == kEditorModeOnline;
    s->CyclicUpdate = online ? 1 : 0;
    s->ParaUpdate->set_value(s->CyclicUpdate);
    s->StoreDevice->set_considered(s->Mode != kEditorModeFile);
    s->Save->set_considered(!online);
    s->SaveAsDevice->set_considered(!online);
    const char* modeKeys[] = {"Mode_Online", "Mode_Offline", "Mode_File"};
    s->StateOnline->set_text(s->Mode >= 0 && s->Mode <= 2 ? ParameterEditorState::EditText(modeKeys[s->Mode]) : "");
    AttachBase(s);
    if (s->Base == nullptr) return 1;
    const int kind = s->Base->GetDeviceKind();
    if (kind != 3 && kind != 8) s->StoreDevice->hide();
    s->ParaList->select(0);
    s->OnlyEditable = s->OnlyEditablePara->value();
    ShowStateText(s->StateOnlyEditable, s->OnlyEditable != 0, "OnlyEditable");
    ShowStateText(s->StateUpdate, s->CyclicUpdate != 0, "CylicUpdate");
    s->Changed = false;
    s->StateChanged->set_text("");
    s->FillList();
    s->Base->SelectAll(false);
    s->BuildGroupTree();
    if (GwProfile* profile = MainProfile(); profile != nullptr && profile->select_section("PCHOOSE_ColumnSizes")) {
        for (int c = 0; c < kListColumns; ++c) {
            const int width = profile->read_int(std::to_string(c).c_str());
            if (width > 0) s->ParaList->set_column_width(c, width);
        }
    }
    RestoreLastList(s);
    s->SaveListSource();
    s->Initialised = true;
    return 1;
}

int DlgPChoose_show(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    GwCore::set_global_cursor(0);
    if (s == nullptr || s->Base == nullptr) return 1;
    if (s->Mode == kEditorModeOnline) {
        Main* main = GetMain();
        s->ValueTextOption = main != nullptr ? static_cast<uint8_t>(main->GetStoredRunMode() & 0xFF) : 0;
        s->ParaUpdate->enable();
    }
    GwCore* window = widget->frame() != nullptr ? widget->frame() : widget;
    if (const WindowPlacement* p = GetSavedWindowPlacement(window)) ApplyWindowPlacement(window, *p);
    s->StateLevel->set_text(GetUserLevelText(GetUserLevel()));
    s->RebuildSelection();
    s->BuildGroupTree();
    s->StartListTimer();
    s->ParaList->set_focus();
    s->ParaList->select(0);
    return 1;
}

int DlgPChoose_value_EditablePara(GwCore* widget, GwEvent* event, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr) return 1;
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    s->OnlyEditable = toggle != nullptr ? toggle->value() : (event != nullptr ? event->value : 0);
    ShowStateText(s->StateOnlyEditable, s->OnlyEditable != 0, "OnlyEditable");
    s->RebuildSelection();
    s->BuildGroupTree();
    return 1;
}

int DlgPChoose_value_UpdatePara(GwCore* widget, GwEvent* event, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr) return 1;
    auto* toggle = dynamic_cast<GwToggle*>(widget);
    s->CyclicUpdate = toggle != nullptr ? toggle->value() : (event != nullptr ? event->value : 0);
    if (s->CyclicUpdate != 0) {
        s->StartListTimer();
        ShowStateText(s->StateUpdate, true, "CylicUpdate");
    } else {
        s->StateUpdate->set_text("");
        s->StopListTimer();
    }
    return 1;
}

int DlgPChoose_Activate_KpGroup(GwCore*, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr) return 1;
    s->ValueTextLang->set_text("");
    s->ParaList->set_tip_text("");
    s->Source = kSourceKeypadGroup;
    GwTreeEntry* entry = s->GroupTree->selected_entry();
    if (entry == nullptr) return 1;
    if (entry->id() == "Root") {
        s->WholeList = true;
        s->ParaGroup->set_text(entry->text());
        s->RebuildSelection();
        return 1;
    }
    s->WholeList = false;
    for (int g = 0; g < s->GroupCount && g < kMaxKeypadGroupRecords; ++g) {
        if (entry->id() == s->Groups[g].Name) {
            s->KeypadGroup = s->Groups[g].GroupNumber;
            s->GroupIndex = static_cast<uint16_t>(g);
            break;
        }
    }
    s->RebuildSelection();
    return 1;
}

namespace {

// The dialog of `row`; of the first selected row when none is given (-1).
int OpenDialogForRow(GwMultiList* list, int row = -1) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr || list == nullptr || list->row_count() == 0) return 1;
    if (row < 0 || row >= list->row_count()) row = list->first_selected();
    if (row < 0) return 1;
    const int number = std::atoi(list->cell(row, 0).c_str());
    const int element = std::atoi(list->cell(row, 2).c_str());
    s->Selected = s->Base->GetEntry(number);
    s->SelectedElement = element;
    if (s->Selected == nullptr) return 1;
    s->ReadFromDevice(s->Window, number, element, 1);
    s->RefreshDescription(s->Window, number);
    GwWaitObject wait;
    GwCore* dialog = nullptr;
    if ((s->Selected->flags & kFlagArray) != 0 && s->ExpandFields == 0) {
        dialog = GwRcMgr::load(s->Window, "ParaField", 1);
    } else {
        s->StopListTimer();
        s->DialogEditable = s->Base->IsWriteAllowed(number, GetUserLevel());
        dialog = GwRcMgr::load(s->Window, s->DialogName.c_str(), 1);
    }
    if (dialog == nullptr) {
        ShowErrorMessage(7, s->Window);
        return 1;
    }
    dialog->show();
    return 1;
}

}  // namespace

int DlgPChoose_Default_ParaList(GwCore* widget, GwEvent* event, GwUD) {
    // Return reaches the list's key binding first, which opens the dialog.
    if (event != nullptr && event->key == GwKEY_RETURN) return 1;
    // A double click opens the row it landed on, whatever else is selected.
    return OpenDialogForRow(dynamic_cast<GwMultiList*>(widget), event != nullptr ? event->row : -1);
}

int DlgPChoose_Key_OK(GwCore*, GwEvent* event, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (event != nullptr && event->type == GwCB_KEY && event->key != GwKEY_RETURN) return 1;
    return s != nullptr ? OpenDialogForRow(s->ParaList) : 1;
}

int CB_Select_Para(GwCore*, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr) return 1;
    s->ValueTextLang->set_text("");
    s->ParaList->set_tip_text("");
    for (int row : s->ParaList->selected_rows()) {
        const int number = std::atoi(s->ParaList->cell(row, 0).c_str());
        const ParameterEntry* e = s->Base->GetEntry(number);
        if (e == nullptr || (e->flags & kFlagValueTexts) == 0) continue;
        const std::string dispatched = s->Base->GetDispatchedValueText(number, 0);
        const std::string plain = s->Base->FormatStoredValue(number, 0, false);
        if (dispatched != plain) {
            const int element = std::atoi(s->ParaList->cell(row, 2).c_str());
            const std::string text = plain + " = " + s->Base->GetDispatchedValueText(number, element);
            s->ValueTextLang->set_text(text);
            s->ParaList->set_tip_text(text);
        }
        break;
    }
    return 1;
}

int CB_FocusList(GwCore*, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s != nullptr && s->ParaList->first_selected() < 0) s->ParaList->select(0);
    return 1;
}

int DlgPChoose_SearchPara(GwCore*, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr) return 1;
    if (s->SearchWindow == nullptr) {
        s->SearchWindow = GwRcMgr::load(s->Window, "ParaSearch", 1);
    }
    if (s->SearchWindow == nullptr) {
        ShowErrorMessage(7, s->Window);
        return 1;
    }
    s->SearchWindow->show();
    return 1;
}

int CB_HideParaSeachMask(GwCore*, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    if (s != nullptr && s->SearchConfirmed) {
        s->Source = kSourceSearch;
        s->RebuildSelection();
    }
    return 1;
}

int DlgPChoose_Timer_UpdateList(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    Main* main = GetMain();
    if (s == nullptr || main == nullptr) return 1;
    if (!main->CheckTimerIntegrity(widget, true)) return 1;
    widget->stop_timer();
    PollTimer poll{kListPollMaximumMs, kListPollWeightMs, kListPollMinimumMs, widget, 0};
    poll.Restart();
    GwMultiList* list = s->ParaList;
    const int rows = list->row_count();
    if (rows == 0) return 1;
    int start = list->first_visible();
    int end = start + list->visible_count();
    if (end > rows) {
        end = rows;
        start = 0;
    }
    if (NextListRow >= end || NextListRow < start) {
        NextListRow = static_cast<uint16_t>(start);
        return 1;
    }
    const int number = std::atoi(list->cell(NextListRow, 0).c_str());
    if (number < 1 || number > kHighestParameter) return 1;
    const int element = std::atoi(list->cell(NextListRow, 2).c_str());
    int count = 1;
    const ParameterEntry* e = s->Base->GetEntry(number);
    if (s->ExpandFields != 0 && e != nullptr && (e->flags & kFlagArray) != 0) {
        count = std::min(s->Base->GetValueCount(number) - element, end - NextListRow);
        if (count < 1) count = 1;
    }
    s->ReadFromDevice(s->Window, number, element, count);
    NextListRow = static_cast<uint16_t>(NextListRow + count);
    s->RefreshVisibleValues();
    return 1;
}

int CB_ParaPopup(GwCore*, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    // One popup at a time: the last one goes before the next is made.
    static GwRef<> popup;
    if (popup != nullptr) popup->destroy();
    popup = GwRcMgr::load(s != nullptr ? s->Window : nullptr, "ParaPopup", 1);
    if (popup != nullptr) popup->show();
    return 1;
}

int CB_ShowParaPopup(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    GwCore* popup = widget->frame() != nullptr ? widget->frame() : widget;
    GwCore* item = popup->child("DeleteFromUserGroup");
    if (item == nullptr) item = widget->child("DeleteFromUserGroup");
    if (item != nullptr) item->set_sensitive(s != nullptr && s->Source == kSourceUserGroup);
    return 1;
}

namespace {

int GroupNumberOf(const GwUD& ud) { return ud.is_integer() ? static_cast<int>(ud.integer()) : std::atoi(ud.text()); }

std::string UserGroupSection(ParameterEditorState* s, int group) {
    return platform::Format("Group%d_%d", group, static_cast<int>(s->DeviceClass()));
}

}  // namespace

int CB_SetToUserGroup(GwCore*, GwEvent*, GwUD userData) {
    ParameterEditorState* s = GetParameterEditor();
    GwProfile* profile = MainProfile();
    if (s == nullptr || profile == nullptr) return 1;
    const std::string section = UserGroupSection(s, GroupNumberOf(userData));
    profile->select_section(section.c_str(), true);
    for (int row : s->ParaList->selected_rows()) {
        const std::string number = std::to_string(std::atoi(s->ParaList->cell(row, 0).c_str()));
        profile->write(number.c_str(), number.c_str());
    }
    return 1;
}

int CB_DeleteFromUserGroup(GwCore*, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    GwProfile* profile = MainProfile();
    if (s == nullptr || profile == nullptr) return 1;
    const std::string section = UserGroupSection(s, s->UserGroup);
    if (profile->select_section(section.c_str())) {
        for (int row : s->ParaList->selected_rows()) {
            const std::string number = std::to_string(std::atoi(s->ParaList->cell(row, 0).c_str()));
            profile->write(number.c_str(), "0");
        }
    }
    s->RebuildSelection();
    return 1;
}

int CB_ShowUserGroup(GwCore*, GwEvent*, GwUD userData) {
    ParameterEditorState* s = GetParameterEditor();
    if (s == nullptr) return 1;
    s->UserGroup = GroupNumberOf(userData);
    s->Source = kSourceUserGroup;
    s->RebuildSelection();
    if (GwProfile* profile = MainProfile()) {
        const std::string section = platform::Format("PCHOOSE_LIST_%u", s->DeviceClass());
        profile->select_section(section.c_str(), true);
        profile->clear_section();
        profile->write("Type", "User");
        profile->write_int("GroupID", s->UserGroup);
    }
    return 1;
}

int CB_DestroyParameterEditor(GwCore* widget, GwEvent*, GwUD) {
    ParameterEditorState* s = GetParameterEditor();
    GwCore* window = widget->frame() != nullptr ? widget->frame() : widget;
    if (s == nullptr) {
        TheWindowHandler().DeleteWindow(window);
        return 1;
    }
    if (GwProfile* profile = MainProfile()) {
        profile->select_section("PCHOOSE_ColumnSizes", true);
        for (int c = 0; c < kListColumns; ++c)
            profile->write_int(std::to_string(c).c_str(), s->ParaList->column_width(c));
    }
    s->StopListTimer();
    CloseEditorDialogs(s);
    if (s->Changed && (s->Mode == kEditorModeOffline || s->Mode == kEditorModeFile)) {
        if (ShowQuestionMessage(s->Mode == kEditorModeOffline ? 19 : 45, window)) {
            if (!StoreEditorBase(s, window)) {
                s->StartListTimer();
                return 0;  // the edits stay; the close is refused
            }
        }
    }
    s->Changed = false;
    if (s->SearchWindow != nullptr) s->SearchWindow->destroy();
    s->SearchWindow = nullptr;
    DropParameterEditorState();
    NextListRow = 0;
    TheWindowHandler().DeleteWindow(window);
    return 1;
}
