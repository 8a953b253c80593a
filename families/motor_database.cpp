#include "families/motor_database.h"

#include <array>
#include <cstdio>

#include "app/main/main_object.h"
#include "app/services/device_error.h"
#include "app/services/message_box.h"
#include "app/services/message_text.h"
#include "app/services/services_hooks.h"
#include "app/services/window_handler.h"
#include "devicewin/device_context.h"
#include "devicewin/device_window_frame.h"
#include "families/motor_tree_entries.h"
#include "parameters/parabase/on_off_base.h"
#include "platform/base/reset_hooks.h"
#include "platform/files/paths.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/tree/gw_tree.h"

namespace {

constexpr int kFirstFamily = 4;
constexpr int kLastFamily = 5;
constexpr int kPropertiesModality = 1;
constexpr int kPropertiesCloseMode = 2;
constexpr int kParameterEntries = 1000;

// What tells the two browsers apart.
struct MotorFamily {
    int Family;
    const char* FolderPopup;
    const char* MotorPopup;
    const char* TakeWindow;
    int PropertyParameter;
};
constexpr MotorFamily kRuvex{4, "4_ChangeMotDir", "4_MotorPopup", "4_NewMotor", 857};
constexpr MotorFamily kPesco{5, "5_ChangeMotDir", "5_MotorPopup", "5_NewMotor", 839};

std::array<MotorDatabaseState, kLastFamily - kFirstFamily + 1>& States() {
    static std::array<MotorDatabaseState, kLastFamily - kFirstFamily + 1> states;
    return states;
}

const platform::ResetHook kResetMotorDatabaseState([] {
    for (MotorDatabaseState& state : States()) state = MotorDatabaseState{};
});

bool IsMotorFile(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot != std::string::npos && name.compare(dot + 1, std::string::npos, kMotorFileExtension) == 0;
}

bool IsDotEntry(const std::string& name) { return name == "." || name == ".."; }

std::string Child(const std::string& directory, const std::string& name) { return directory + "\\" + name; }

std::vector<platform::DirEntry> Listing(const std::string& directory) {
    return platform::ListDirectory(directory + "\\*.*");
}

GwTree* MotorTreeOf(const GwCore* widget) {
    return widget != nullptr ? widget->frame_child<GwTree>(kMotorTreeName) : nullptr;
}

// The path of the selected motor; empty without a tree, a selection, or
// with a folder selected.
std::string SelectedMotor(const GwCore* widget) {
    GwTree* tree = MotorTreeOf(widget);
    GwTreeEntry* entry = tree != nullptr ? tree->selected_entry() : nullptr;
    return entry != nullptr ? entry->user_data().string() : std::string();
}

// Reads a motor file into the family's motor parameter base; on failure
// shows error 5 for that base over `parent` and answers false.
bool ReadMotorFile(const MotorFamily& family, const std::string& path, GwCore* parent) {
    OnOffBase& base = MotorParameterBase(family.Family);
    base.InitFile(path.c_str());
    if (base.ReadFileBase() == 0) return true;
    if (family.Family == kRuvex.Family) {
        ShowDeviceError(kMotorDeviceError, &base, parent);
    } else {
        ShowErrorMessageFor(kMotorDeviceError, &base, parent);
    }
    return false;
}

void SetFieldText(GwCore* window, int number, const char* text) {
    if (GwCore* field = window->frame_child("_PN_" + std::to_string(number))) field->set_text(text);
}

void FillProperties(const MotorFamily& family, GwCore* window, OnOffBase& base) {
    SetFieldText(window, 153, base.GetDispatchedValueText(153, 0));
    SetFieldText(window, family.PropertyParameter, base.FormatStoredValue(family.PropertyParameter, 0, false));
    double ratedCurrent = 0.0;
    base.GetValueDouble(852, &ratedCurrent);
    char text[64];
    std::snprintf(text, sizeof text, "%0.2lf", ratedCurrent);
    SetFieldText(window, 852, text);
    for (int number : {158, 157, 156}) SetFieldText(window, number, base.FormatStoredValue(number, 0, false));
}

int ShowMotorTree(const MotorFamily& family, GwCore* widget) {
    if (widget == nullptr) return 1;
    MotorDatabaseState& state = *TheMotorDatabaseState(family.Family);
    GwCore* frame = widget->frame();
    state.FolderPopup = GwRcMgr::load(frame, family.FolderPopup);
    state.MotorPopup = GwRcMgr::load(frame, family.MotorPopup);
    if (GwTree* tree = MotorTreeOf(widget)) BuildMotorTree(state, tree, state.Directory);
    return 1;
}

int SetNewDir(const MotorFamily& family, GwCore* widget) {
    if (widget == nullptr) return 1;
    MotorDatabaseState& state = *TheMotorDatabaseState(family.Family);
    char title[kMessageTextSize];
    GetMessageText(title, kTitlesSection, kChooseDirTitleKey, kMessageTextSize);
    {
        GwFileSelectorControl selector(kMotorDirSelectorId, widget->frame());
        selector.set_folder_mode(true);
        selector.set_start_folder(state.Directory);
        selector.set_title(title);
        if (!selector.go()) return 0;
        state.Directory = selector.folder();
    }
    GwWaitObject wait;
    if (GwTree* tree = MotorTreeOf(widget)) BuildMotorTree(state, tree, state.Directory);
    return 1;
}

int ShowMotorProperties(const MotorFamily& family, GwCore* widget, const GwUD& userData) {
    if (widget == nullptr) return 1;
    GwWaitObject wait;
    const std::string name = userData.string();
    WindowHandler& windows = TheWindowHandler();
    if (GwCore* listed = windows.FindByName(name.c_str())) windows.Close(listed);
    GwCore* window = GwRcMgr::load(widget->frame(), name.c_str());
    if (window == nullptr) return 1;
    const std::string path = SelectedMotor(widget);
    if (path.empty()) return 1;
    if (!ReadMotorFile(family, path, family.Family == kRuvex.Family ? GetMainWindow() : nullptr)) return 1;
    window->set_title(path);
    MotorDatabaseState& state = *TheMotorDatabaseState(family.Family);
    FillProperties(family, window, *state.Context->Base);
    window->set_user_data(GwUD(static_cast<void*>(state.Context.get())));
    window->set_modality(kPropertiesModality);
    window->set_close_mode(kPropertiesCloseMode);
    windows.Add(window, 0, nullptr, nullptr, 0);
    window->show();
    return 1;
}

// Marks the present, valid entries of the motor data group for transfer.
void MarkMotorData(OnOffBase& base) {
    base.SetAllUnused();
    for (int i = 0; i < kParameterEntries; ++i) {
        ParameterEntry* entry = base.GetEntry(i);
        if (entry != nullptr && entry->number != 0 && entry->valid != 0 && entry->SCGroup == kMotorDataGroup) {
            entry->transfer = 1;
        }
    }
}

int TakeMotor(const MotorFamily& family, GwCore* widget) {
    if (widget == nullptr || widget->frame() == nullptr) return 1;
    GwWaitObject wait;
    GwCore* frame = widget->frame();
    MotorDatabaseState& state = *TheMotorDatabaseState(family.Family);
    if (frame->name() == family.TakeWindow) {
        const std::string path = SelectedMotor(widget);
        if (path.empty()) return 1;
        if (!ReadMotorFile(family, path, frame)) return 0;
    }
    OnOffBase& motor = *state.Context->Base;
    MarkMotorData(motor);
    DeviceSetupContext* target = state.TargetAlive.expired() ? nullptr : state.Target;
    if (target != nullptr && target->Base->IsOnline() && target->Base->WriteBusData(motor) != 0) {
        if (family.Family == kRuvex.Family) {
            GetMain()->ShowActiveDeviceError(kMotorDeviceError, frame);
        } else {
            ShowErrorMessageFor(kMotorDeviceError, target->Base.get(), frame);
        }
        return 1;
    }
    if (GwCore* parent = frame->parent()) CB_DvFctShowStandard(parent, nullptr, GwUD());
    frame->destroy();
    return 1;
}

}  // namespace

MotorDatabaseState* TheMotorDatabaseState(int family) {
    if (family < kFirstFamily || family > kLastFamily) return nullptr;
    MotorDatabaseState& state = States()[family - kFirstFamily];
    if (state.Context == nullptr) state.Context = std::make_unique<TmpBaseContext>(nullptr, OnOffBase(false), false);
    return &state;
}

OnOffBase& MotorParameterBase(int family) { return *TheMotorDatabaseState(family)->Context->Base; }

bool DirectoryHasMotors(const std::string& directory) {
    for (const platform::DirEntry& entry : Listing(directory)) {
        if (IsDotEntry(entry.name)) continue;
        if (entry.is_directory ? DirectoryHasMotors(Child(directory, entry.name)) : IsMotorFile(entry.name)) {
            return true;
        }
    }
    return false;
}

void AddMotorDirectory(const MotorDatabaseState& state, const std::string& directory, GwTreeEntry* folder) {
    for (const platform::DirEntry& entry : Listing(directory)) {
        if (IsDotEntry(entry.name)) continue;
        const std::string path = Child(directory, entry.name);
        if (entry.is_directory) {
            if (!DirectoryHasMotors(path)) continue;
            auto* child = new GwTreeFolderMotor(entry.name.c_str());
            child->set_popup(state.FolderPopup.get());
            folder->add_child(child);
            AddMotorDirectory(state, path, child);
        } else if (IsMotorFile(entry.name)) {
            auto* motor = new GwTreeMotor(path.c_str(), entry.name.substr(0, entry.name.rfind('.')).c_str());
            motor->set_popup(state.MotorPopup.get());
            folder->add_child(motor);
        }
    }
}

void BuildMotorTree(MotorDatabaseState& state, GwTree* tree, const std::string& directory) {
    if (tree == nullptr) return;
    DeviceSetupContext* context = DeviceContextOf(tree);
    if (context == nullptr) return;
    state.Target = context;
    state.TargetAlive = context->LifeToken();
    if (GwTreeEntry* old = tree->entries()) tree->delete_entry(old);
    auto* root = new GwTreeFolderMotor(directory.c_str());
    root->set_popup(state.FolderPopup.get());
    AddMotorDirectory(state, directory, root);
    tree->set_entries(root);
    // The directory shows its motors and folders at once.
    tree->expand_entry(root, true);
}

int M4_ShowMotorTree(GwCore* widget, GwEvent*, GwUD) { return ShowMotorTree(kRuvex, widget); }
int M5_ShowMotorTree(GwCore* widget, GwEvent*, GwUD) { return ShowMotorTree(kPesco, widget); }
int M4_SetNewDir(GwCore* widget, GwEvent*, GwUD) { return SetNewDir(kRuvex, widget); }
int M5_SetNewDir(GwCore* widget, GwEvent*, GwUD) { return SetNewDir(kPesco, widget); }
int M4_ShowMotorProperties(GwCore* widget, GwEvent*, GwUD userData) {
    return ShowMotorProperties(kRuvex, widget, userData);
}
int M5_ShowMotorProperties(GwCore* widget, GwEvent*, GwUD userData) {
    return ShowMotorProperties(kPesco, widget, userData);
}
int CB_4_TakeMotor(GwCore* widget, GwEvent*, GwUD) { return TakeMotor(kRuvex, widget); }
int CB_5_TakeMotor(GwCore* widget, GwEvent*, GwUD) { return TakeMotor(kPesco, widget); }
