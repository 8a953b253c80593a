#include "paratools/editor/parameter_editor_state.h"

#include <cstdio>
#include <cstring>

#include "app/main/editor_context.h"
#include "app/main/main_object.h"
#include "app/services/app_files.h"
#include "app/services/device_error.h"
#include "app/services/message_text.h"
#include "app/services/user_level.h"
#include "families/setup_context.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_description_file.h"
#include "parameters/parabase/para_types.h"
#include "parameters/values/dstring.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_multi_list.h"
#include "toolkit/profile/gw_profile.h"
#include "toolkit/tree/gw_tree.h"
#include "toolkit/tree/gw_tree_entry.h"

namespace {

struct EditorModuleState {
    std::unique_ptr<ParameterEditorState> Editor;
    // Parameters listed by the search before the current one, so that
    // successive searches add up.
    std::array<bool, kParameterCount> SearchListed{};
};

EditorModuleState& State() {
    static EditorModuleState state;
    return state;
}

constexpr int kEditTextLength = 64;

bool IsListable(const ParameterEntry* e) { return e != nullptr && e->number != 0 && e->valid != 0 && e->transfer != 0; }

std::string ListSection(unsigned deviceClass) { return platform::Format("PCHOOSE_LIST_%u", deviceClass); }

}  // namespace

uint16_t NextListRow = 0;

ParameterEditorState* GetParameterEditor() {
    ParameterEditorState* s = State().Editor.get();
    if (s != nullptr) s->FollowActiveContext();
    return s;
}
ParameterEditorState* MakeParameterEditorState() {
    State().Editor = std::make_unique<ParameterEditorState>();
    return State().Editor.get();
}
void DropParameterEditorState() { State().Editor.reset(); }
void ResetParameterEditorState() {
    State().Editor.reset();
    NextListRow = 0;
    State().SearchListed.fill(false);
}

namespace {

platform::ResetHook ResetState(ResetParameterEditorState);

}  // namespace

uint32_t StoredDeviceCode(ParaBase* base) {
    if (base == nullptr) return 0;
    uint16_t code = 0;
    base->GetValueU16(kDeviceCodeParameter, &code);
    return code;
}

ParameterEditorState::ParameterEditorState() = default;
ParameterEditorState::~ParameterEditorState() = default;

void ParameterEditorState::FollowActiveContext() {
    if (Mode != kEditorModeOnline || OwnContext != nullptr || Context == nullptr) return;
    Main* main = GetMain();
    DeviceSetupContext* current = main != nullptr ? main->GetSetupContext() : nullptr;
    if (current == nullptr || (current == Context && current->Base.get() == Base)) return;
    Context = current;
    Base = current->Base.get();
}

std::string ParameterEditorState::EditText(const char* key) {
    char text[kEditTextLength + 1] = {};
    GetMessageText(text, "ParaEdit", key, kEditTextLength);
    return text;
}

unsigned ParameterEditorState::DeviceClass() const {
    return StoredDeviceCode(Base) / kDeviceClassDivisor * kDeviceClassDivisor;
}

bool ParameterEditorState::ReadFromDevice(GwCore* parent, int number, int element, int count) {
    if (Mode != 0 || Base == nullptr) return true;
    if (count < 1) count = Base->GetValueCount(number);
    if (Base->ReadBusParameter(number, element, count) == 0) return true;
    StopListTimer();
    if (ShowDeviceError(5, Base, parent)) StartListTimer();
    return false;
}

bool ParameterEditorState::RefreshDescription(GwCore* parent, int number) {
    if (Mode == 2 || Base == nullptr) return true;
    if (Base->ReadBusDescription(number) == 0) return true;
    StopListTimer();
    Main* main = GetMain();
    if (main == nullptr || main->ShowActiveDeviceError(5, parent)) StartListTimer();
    return false;
}

bool ParameterEditorState::WriteToDevice(int number, GwCore* parent, int element, int count) {
    if (Mode != 0 || Base == nullptr) return true;
    if (Base->WriteBusParameter(number, element, count) == 0) return true;
    StopListTimer();
    if (ShowDeviceError(5, Base, parent)) {
        Base->ReadBusParameter(number, 0, Base->GetValueCount(number));
        StartListTimer();
    }
    return false;
}

void ParameterEditorState::StopListTimer() {
    if (ParaList != nullptr) ParaList->stop_timer();
}

void ParameterEditorState::StartListTimer() {
    if (GetParameterEditor() == nullptr || CyclicUpdate == 0 || ParaList == nullptr) return;
    ParaList->start_timer(kFirstTickMs);
}

void ParameterEditorState::RebuildSelection() {
    if (Base == nullptr) return;
    switch (Source) {
        case kSourceKeypadGroup:
            if (WholeList) {
                Base->SelectAll(false);
            } else {
                Base->DeselectAll(false);
                Base->SelectByKeypadGroup(KeypadGroup, false);
            }
            break;
        case kSourceSearch: {
            if (PreviousSource == kSourceSearch) {
                for (int n = 0; n < kParameterCount; ++n) {
                    const ParameterEntry* e = Base->GetEntry(n);
                    State().SearchListed[n] = IsListable(e) && e->markA != 0;
                }
            } else {
                State().SearchListed.fill(false);
            }
            Base->DeselectAll(false);
            bool any = false;
            const int number = std::atoi(SearchNumber);
            if (number > 0) any = Base->SelectParameter(number, false) == 0;
            auto narrow = [&](int criterion, bool scGroup) {
                if (criterion < 0) return;
                if (any) {
                    for (int n = 0; n < kParameterCount; ++n) {
                        const ParameterEntry* e = Base->GetEntry(n);
                        if (e == nullptr || e->number == 0 || e->valid == 0) continue;
                        if ((scGroup ? e->SCGroup : e->KPGroup) != criterion) Base->DeselectParameter(n, false);
                    }
                } else if (scGroup) {
                    Base->SelectBySCGroup(criterion, false);
                } else {
                    Base->SelectByKeypadGroup(criterion, false);
                }
                any = true;
            };
            narrow(SearchSCGroup, true);
            narrow(SearchKPGroup, false);
            if (SearchName[0] != '\0') {
                if (!any) Base->SelectAll(false);
                for (int n = 0; n < kParameterCount; ++n) {
                    const ParameterEntry* e = Base->GetEntry(n);
                    if (e == nullptr || e->number == 0 || e->valid == 0) continue;
                    const std::string name(e->name, strnlen(e->name, kEntryNameSize));
                    if (name.find(SearchName) == std::string::npos) Base->DeselectParameter(n, false);
                }
            }
            for (int n = 0; n < kParameterCount; ++n) {
                if (State().SearchListed[n]) Base->SelectParameter(n, false);
            }
            break;
        }
        case kSourceEmpty:
            Base->DeselectAll(false);
            break;
        case kSourceUserGroup: {
            Base->DeselectAll(false);
            GwProfile* profile = MainProfile();
            const std::string section = platform::Format("Group%d_%d", UserGroup, static_cast<int>(DeviceClass()));
            if (profile != nullptr && profile->select_section(section.c_str())) {
                for (int i = 0; i < profile->key_count(); ++i) {
                    const int number = std::atoi(profile->value(i));
                    if (number > 0) Base->SelectParameter(number, false);
                }
            }
            break;
        }
        default:
            break;
    }
    if (OnlyEditable != 0) {
        Base->RestrictSelectionToWriteLevel(GetUserLevel(), false);
    } else {
        Base->RestrictSelectionToReadLevel(GetUserLevel(), false);
    }
    SaveListSource();
    FillList();
    PreviousSource = Source;
}

void ParameterEditorState::SaveListSource() {
    GwProfile* profile = MainProfile();
    const std::string section = ListSection(DeviceClass());
    if (Source == kSourceSearch) {
        if (Initialised && !WholeList && profile != nullptr && Base != nullptr) {
            profile->select_section(section.c_str(), true);
            profile->clear_section();
            profile->write("Type", "SearchMask");
            for (int n = 0; n < kParameterCount; ++n) {
                const ParameterEntry* e = Base->GetEntry(n);
                if (IsListable(e) && e->markA != 0) {
                    const std::string key = std::to_string(n);
                    profile->write(key.c_str(), key.c_str());
                }
            }
            if (ParaGroup != nullptr) ParaGroup->set_text("Suchmaske");
        }
    } else if (Source == kSourceUserGroup) {
        if (ParaGroup != nullptr && UserGroupItem != nullptr) {
            const std::string text = UserGroupItem->text();
            ParaGroup->set_text((text.empty() ? std::string() : text.substr(1)) + " " + std::to_string(UserGroup));
        }
    } else if (Source == kSourceKeypadGroup) {
        if (Initialised && profile != nullptr) {
            profile->select_section(section.c_str(), true);
            profile->clear_section();
            if (!WholeList) {
                profile->write("Type", "Menu");
                profile->write_int("KeyPadGroup", KeypadGroup);
                profile->write_int("ActID", GroupIndex);
            }
        }
        if (!WholeList && ParaGroup != nullptr && GroupIndex < kMaxKeypadGroupRecords) {
            ParaGroup->set_text(Groups[GroupIndex].MenuText);
        }
    }
}

void ParameterEditorState::FillList() {
    if (ParaList == nullptr || Base == nullptr) return;
    GwWaitObject wait;
    ParaList->clear();
    if (ExpandFields != 0) {
        for (int c = 0; c < kListColumns; ++c) {
            SavedSorting[c] = ParaList->sorting_type(c);
            ParaList->set_sorting_type(c, 0);
        }
        SavedSortColumn = ParaList->sort_column();
    } else {
        for (int c = 0; c < kListColumns; ++c) ParaList->set_sorting_type(c, c == 0 ? 3 : c == 2 ? 0 : 1);
        ParaList->set_sort_column(0);
    }
    const int level = GetUserLevel();
    for (int n = 0; n < kParameterCount; ++n) {
        const ParameterEntry* e = Base->GetEntry(n);
        if (!IsListable(e) || e->markA == 0) continue;
        const bool isArray = (e->flags & kFlagArray) != 0;
        const int rows = ExpandFields != 0 && isArray ? Base->GetValueCount(n) : 1;
        const std::string name = Base->GetParameterName(n);
        const std::string unit = Base->GetParameterUnit(n);
        const std::string description = Base->GetParameterDescription(n);
        const char* icon = isArray && ExpandFields == 0     ? "foldc"
                           : e->kind == kKindUnchecked      ? "pt_ipara"
                           : Base->IsWriteAllowed(n, level) ? "pt_epara"
                                                            : "pt_nepar";
        for (int j = 0; j < rows; ++j) {
            std::string text = description;
            if (rows > 1) {
                text.clear();
                if (Context != nullptr) {
                    dstring named;
                    Context->GetValueText(named, n, j);
                    const std::string s = named.Text();
                    if (!s.empty() && s != std::to_string(j)) text = " -> " + s;
                }
                if (j == 0) text = description + text;
            }
            const std::string value = Base->FormatStoredValue(n, j, false);
            ParaList->add_row(platform::Format("%u|%s|%d|%s|%s|%s|%s",
                                               static_cast<unsigned>(n),
                                               name.c_str(),
                                               j,
                                               text.c_str(),
                                               value.c_str(),
                                               unit.c_str(),
                                               icon));
        }
    }
    ParaList->scroll_to(0);
}

void ParameterEditorState::RefreshVisibleValues() {
    if (ParaList == nullptr || Base == nullptr) return;
    const int first = ParaList->first_visible();
    const int end = std::min(ParaList->row_count(), first + ParaList->visible_count());
    for (int row = first; row < end; ++row) {
        const int number = std::atoi(ParaList->cell(row, 0).c_str());
        const int element = std::atoi(ParaList->cell(row, 2).c_str());
        const std::string value = Base->FormatStoredValue(number, element, false);
        if (ParaList->cell(row, 4) != value) ParaList->set_cell(row, 4, value);
    }
}

namespace {

// A tree entry of the editor's group tree.
class GroupTreeEntry : public GwTreeEntry {
public:
    GroupTreeEntry(const char* id, const char* text, int flags) : GwTreeEntry(GwUD(), text, flags) { set_id(id); }
};

}  // namespace

void ParameterEditorState::BuildGroupTree() {
    if (Base == nullptr) return;
    for (KeypadGroupRecord& r : Groups) r = KeypadGroupRecord{};
    const int count = Base->GetKPGroupCount();
    GroupCount = static_cast<uint16_t>(count);
    LastGroup = static_cast<uint16_t>(count > 0 ? count - 1 : 0);
    ParaDescriptionFile* descriptions = Base->GetDescriptionFile();
    for (int g = 0; g < count && g < kMaxKeypadGroupRecords; ++g) {
        const char* full = Base->GetKPGroupName(g);
        const std::string fullName = full != nullptr ? full : "";
        const std::string name = fullName.substr(0, fullName.find(' '));
        std::snprintf(Groups[g].Name, sizeof Groups[g].Name, "%s", name.c_str());
        const char* menu = descriptions != nullptr ? descriptions->GetParaMenuText(fullName.c_str()) : fullName.c_str();
        std::snprintf(Groups[g].MenuText, sizeof Groups[g].MenuText, "%s", menu != nullptr ? menu : "");
        Groups[g].GroupNumber = g;
    }
    if (GroupTree == nullptr) return;
    const char* typeName = GetDeviceTypeName(StoredDeviceCode(Base));
    auto* root = new GroupTreeEntry("Root", typeName != nullptr ? typeName : "", 0);
    GroupTree->set_entries(root);
    Base->SelectAll(false);
    if (OnlyEditable != 0) {
        Base->RestrictSelectionToWriteLevel(GetUserLevel(), false);
    } else {
        Base->RestrictSelectionToReadLevel(GetUserLevel(), false);
    }
    for (int g = 0; g < count && g < kMaxKeypadGroupRecords; ++g) {
        if (std::strcmp(Groups[g].Name, "_MENU") == 0) continue;
        if (!Base->KPGroupHasMarkedParameter(g, false)) continue;
        if (OnlyEditable != 0 && g == count - 1) continue;
        const std::string text = std::string("(") + Groups[g].Name + ") " + Groups[g].MenuText;
        GroupTree->add_entry(root, new GroupTreeEntry(Groups[g].Name, text.c_str(), 1));
    }
    // The groups show at once, below the device's whole-list root.
    GroupTree->expand_entry(root, true);
}
