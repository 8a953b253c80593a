// The program-wide state of the data-set copy, the file selector of the first
// steps, the group list and its filter.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "app/services/app_files.h"
#include "app/services/message_text.h"
#include "parameters/datasetcopy/copy_steps.h"
#include "parameters/parabase/para_base.h"
#include "platform/base/format.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/base/gw_path.h"
#include "toolkit/core/gw_combo.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/core/gw_toggle.h"

namespace {

constexpr char kAllGroupsItem[] = "Alle";
constexpr int kGroupListVisibleItems = 12;
constexpr char kSelectorId[] = "id";
constexpr char kDataSetExtension[] = "00d";
// Selector modes: an existing source, a target.
constexpr int kChooseSource = 1;
constexpr int kChooseTarget = 0;

struct CopyState {
    std::string ChosenPath;
    CopyGroupTable Groups{};
    // Empty: not chosen yet, the user data directory serves.
    std::string Folders[2];
};

CopyState& State() {
    static CopyState state;
    return state;
}

platform::ResetHook ResetState([] { State() = CopyState(); });

std::string TitleText(const char* key) {
    char text[kMessageTextSize];
    GetMessageText(text, kTitlesSection, key, kMessageTextSize);
    return text;
}

}  // namespace

const std::string& ChosenCopyPath() { return State().ChosenPath; }

const CopyGroupTable& CopyGroups() { return State().Groups; }

std::string RememberedCopyFolder(CopyDirection direction) {
    const std::string& folder = State().Folders[static_cast<int>(direction)];
    return folder.empty() ? GetUserDataDir() : folder;
}

void FillGroupList(GwCombo* list, ParaBase& source, CopyDirection direction) {
    if (list == nullptr) return;
    CopyGroupTable& groups = State().Groups;
    list->delete_all();
    list->append(kAllGroupsItem);
    groups[0] = 0;
    int n = 1;
    const int highest = source.IsPresent(kSCGroupParameter) ? source.GetEntry(kSCGroupParameter)->maximum & 0xFF : 0;
    for (int g = 1; g <= highest; ++g) {
        const bool inUse =
            direction == CopyDirection::kToDevice ? source.HasUsedInSCGroup(g) : source.HasValidInSCGroup(g);
        if (!inUse) continue;
        // Both texts come in the base's one display buffer.
        std::string text = source.FormatDoubleValue(kSCGroupParameter, g, false);
        text += " (";
        text += source.GetDispatchedDoubleText(kSCGroupParameter, g);
        text += ")";
        groups[n++] = static_cast<uint8_t>(g);
        list->append(text);
    }
    groups[n] = 0;
    list->set_visible_items(kGroupListVisibleItems);
    list->select_item(0);
}

void ApplyCopyGroupFilter(ParaBase& base, int item) {
    const CopyGroupTable& groups = State().Groups;
    if (item <= 0 || item >= kCopyGroupTableSize - 1) return;
    // Items past the end mark name no group.
    for (int k = 1; k <= item; ++k)
        if (groups[k] == 0) return;
    const int group = groups[item];
    for (int number = 0; number < kParameterCount; ++number) {
        ParameterEntry* e = base.GetEntry(number);
        if (base.IsPresent(number) && e->SCGroup != group) e->transfer = 0;
    }
}

namespace datasetcopy {

bool ChooseFile(GwCore* widget, CopyDirection direction) {
    GwCore* frame = widget != nullptr && GwRcMgr::is_valid_child(widget) ? widget->frame() : nullptr;
    GwFileSelectorControl selector(kSelectorId, frame);
    selector.set_title(TitleText("ChooseParaBaseFile"));
    selector.set_filter(platform::Format("%s (*.%s)|*.%s|%s (*.*)|*|",
                                         TitleText("ParaBaseFiles"),
                                         kDataSetExtension,
                                         kDataSetExtension,
                                         TitleText("AllFiles")));
    selector.set_start_folder(RememberedCopyFolder(direction));
    selector.set_mode(direction == CopyDirection::kToDevice ? kChooseSource : kChooseTarget);
    selector.go();
    if (!selector.selection_ok()) return false;
    State().Folders[static_cast<int>(direction)] = selector.folder();
    if (selector.selection().empty()) return false;
    State().ChosenPath = selector.selection().substr(0, kParaPathSize - 1);
    return true;
}

std::string ChosenDFilePath(bool lowerCaseName) {
    GwString drive, dir, name;
    GwSplitpath(State().ChosenPath.c_str(), &drive, &dir, &name, nullptr);
    std::string fileName = name.str();
    if (lowerCaseName)
        std::transform(fileName.begin(), fileName.end(), fileName.begin(), [](unsigned char c) {
            return static_cast<char>(std::tolower(c));
        });
    return GwMakepath(drive.c_str(), dir.c_str(), fileName.c_str(), kDataSetExtension).str();
}

ScriptWindowChoice TakeScriptWindow(GwCore* widget) {
    ScriptWindowChoice choice;
    if (widget == nullptr || !GwRcMgr::is_valid_child(widget)) return choice;
    GwCore* window = widget->frame();
    if (const GwCore* script = widget->frame_child("Script")) choice.script = dstring(script->text().c_str());
    if (const auto* group = widget->frame_child<GwCombo>("Group")) choice.groupItem = group->first_selected();
    if (const auto* save = widget->frame_child<GwToggle>("SaveIt")) choice.saveIt = save->value() != 0;
    choice.owner = window->owner();
    window->destroy();
    return choice;
}

}  // namespace datasetcopy
