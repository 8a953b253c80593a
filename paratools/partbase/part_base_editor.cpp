// The editor's window: building the two trees, marking, moving between the
// trees, saving and closing.
#include "paratools/partbase/part_base_editor.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/mainwindow/main_window.h"
#include "app/services/app_files.h"
#include "app/services/message_box.h"
#include "app/services/services_hooks.h"
#include "app/services/user_level.h"
#include "app/services/window_handler.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_types.h"
#include "paratools/partbase/part_base_state.h"
#include "platform/base/reset_hooks.h"
#include "toolkit/core/gw_core.h"
#include "toolkit/core/gw_cursor.h"
#include "toolkit/core/gw_file_selector.h"
#include "toolkit/core/gw_rcmgr.h"
#include "toolkit/tree/gw_tree.h"

namespace {

constexpr char kWindowName[] = "ChooseUsedPara";
constexpr char kUsedTreeName[] = "UsedPara";
constexpr char kUnusedTreeName[] = "UnusedPara";
constexpr int kWindowMissingMessage = 7;
constexpr int kUnsavedQuestion = 45;
// Kind 3 devices name their drive parameters by this entry flag; the others
// by the SC group whose text is "DRIVE".
constexpr int kFlaggedDriveKind = 3;
constexpr uint16_t kDriveParameterFlag = 0x01;
constexpr char kDriveGroupText[] = "DRIVE";
// Nodes deeper than this are not moved.
constexpr size_t kMaxMoveDepth = 9;

bool IsStructureNode(const GwTreeEntry* entry) {
    const auto* node = dynamic_cast<const ParaTreeEntry*>(entry);
    return node != nullptr && node->GetKind() >= kParaTreeFile && node->GetKind() <= kParaTreeDevice;
}

// The file name without folder and extension.
std::string BaseFileName(const char* path) {
    std::string name = path != nullptr ? path : "";
    const size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

void BuildTrees() {
    PartBaseEditorState& s = PartEditor();
    ForgetEntryDialog();
    if (s.UsedTree == nullptr || s.UnusedTree == nullptr || s.Base == nullptr) return;
    const int level = GetUserLevel();
    s.Used = std::make_unique<ParaTree>(
        s.FileName.c_str(), kAccessSCGroup, kParaTreeOfFile, level, kFilterUsed, s.UsedTree, s.Base.get(), false);
    s.Unused = std::make_unique<ParaTree>(
        s.FileName.c_str(), kAccessSCGroup, kParaTreeOfFile, level, kFilterUnused, s.UnusedTree, s.Base.get(), false);
}

void Redraw(GwTree* tree) {
    if (!GwRcMgr::is_valid_child(tree)) return;

    tree->hide();
    tree->show();
}

// After a mass marking: both trees anew from the marks.
void Rebuild() {
    PartBaseEditorState& s = PartEditor();
    BuildTrees();
    Redraw(s.UsedTree);
    Redraw(s.UnusedTree);
    s.Modified = true;
}

// The drive parameters of the base; false when the base names none (no SC
// group reads "DRIVE").
bool DriveParameters(ParaBase* base, std::vector<int>* numbers) {
    if (base->GetDeviceKind() == kFlaggedDriveKind) {
        for (int p = 0; p < kParameterCount; ++p) {
            if (base->IsPresent(p) && (base->GetEntry(p)->flags & kDriveParameterFlag) != 0) numbers->push_back(p);
        }
        return true;
    }
    if (!base->IsPresent(kSCGroupParameter)) return false;
    const int maximum = base->GetEntry(kSCGroupParameter)->maximum & 0xFF;
    int group = -1;
    for (int g = 0; g <= maximum && group < 0; ++g) {
        const char* text = base->FormatU16Value(kSCGroupParameter, static_cast<uint16_t>(g), false);
        if (text != nullptr && std::string(text) == kDriveGroupText) group = g;
    }
    if (group < 0) return false;
    for (int p = 0; p < kParameterCount; ++p) {
        if (base->IsPresent(p) && base->GetEntry(p)->SCGroup == group) numbers->push_back(p);
    }
    return true;
}

void MarkDrive(bool driveUsed) {
    PartBaseEditorState& s = PartEditor();
    if (s.Base == nullptr) return;
    std::vector<int> drive;
    if (!DriveParameters(s.Base.get(), &drive)) return;
    if (driveUsed) {
        s.Base->SetAllUnused();
    } else {
        s.Base->SetAllValidUsed();
    }
    for (int p : drive) s.Base->GetEntry(p)->transfer = driveUsed ? 1 : 0;
    Rebuild();
}

// Where a move or an edit starts: the calling tree, the tree the binding
// names, the tree the user last selected in, else "UsedPara" while it is
// visible.
GwTree* SourceTree(GwCore* widget, const GwUD& userData) {
    PartBaseEditorState& s = PartEditor();
    GwTree* used = s.UsedTree;
    GwTree* unused = s.UnusedTree;
    if (widget != nullptr && (widget == used || widget == unused)) return static_cast<GwTree*>(widget);
    if (userData.string() == kUsedTreeName) return used;
    if (userData.string() == kUnusedTreeName) return unused;
    GwTree* last = s.LastSelected;
    if (last != nullptr && (last == used || last == unused) && last->selected_entry() != nullptr) return last;
    return used != nullptr && used->is_visible() ? used : unused;
}

// Moves a node with its subtree to the same place in the other tree,
// making the folders it needs there and dropping a folder it leaves empty.
bool MoveNode(GwTree* source, GwTree* destination, ParaTreeEntry* node) {
    if (IsStructureNode(node)) return false;
    const auto* up = dynamic_cast<const ParaTreeEntry*>(node->parent());
    if (node->GetKind() == kParaTreePara && up != nullptr && up->GetKind() == kParaTreeField) return false;
    std::vector<ParaTreeEntry*> chain;
    for (GwTreeEntry* e = node; e != nullptr; e = e->parent()) {
        auto* link = dynamic_cast<ParaTreeEntry*>(e);
        if (link == nullptr) return false;
        chain.push_back(link);
    }
    if (chain.size() - 1 > kMaxMoveDepth) return false;
    std::reverse(chain.begin(), chain.end());
    GwTreeEntry* target = nullptr;
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
        GwTreeEntry* found = FindEntry(destination, chain[i]->id().c_str());
        if (found == nullptr) {
            auto* copy = new ParaTreeEntry(*chain[i]);
            const bool added = target == nullptr ? destination->entries() == nullptr && destination->set_entries(copy)
                                                 : destination->add_entry(target, copy);
            if (!added) {
                delete copy;
                return false;
            }
            found = copy;
        }
        target = found;
    }
    GwTreeEntry* oldParent = node->parent();
    // A folder whose twin is there already joins it, so no group shows twice.
    if (GwTreeEntry* twin = FindInSubtree(target, node->id().c_str())) {
        if (twin->parent() != target) return false;
        while (node->child_count() > 0) {
            GwTreeEntry* child = node->child(0);
            node->loose_child(child);
            destination->add_entry(twin, child);
        }
        source->delete_entry(node);
    } else {
        oldParent->loose_child(node);
        destination->add_entry(target, node);
    }
    if (oldParent->child_count() == 0 && !IsStructureNode(oldParent)) source->delete_entry(oldParent);
    return true;
}

// Copies the marks of "UsedPara" into its base; the base, or null without a
// tree or device node.
ParaBase* MarkFromUsedTree() {
    PartBaseEditorState& s = PartEditor();
    GwTree* used = s.UsedTree;
    GwTreeEntry* root = used != nullptr ? used->entries() : nullptr;
    auto* device = dynamic_cast<ParaTreeEntry*>(root != nullptr ? root->child(0) : nullptr);
    ParaBase* base = device != nullptr ? device->GetBase() : nullptr;
    if (base == nullptr) return nullptr;
    base->SetAllUnused();
    std::vector<GwTreeEntry*> pending = {root};
    while (!pending.empty()) {
        GwTreeEntry* entry = pending.back();
        pending.pop_back();
        // Only parameter nodes mark: folders carry number 0, which may be a
        // parameter of its own in the other tree.
        auto* node = dynamic_cast<ParaTreeEntry*>(entry);
        if (node != nullptr && (node->GetKind() == kParaTreePara || node->GetKind() == kParaTreeField))
            node->SetUsed(true);
        for (auto it = entry->children().rbegin(); it != entry->children().rend(); ++it) pending.push_back(*it);
    }
    return base;
}

// Saves the marks into the base's own file; false when writing failed (the
// changes then count as not saved).
bool SaveMarks(GwCore* parent) {
    PartBaseEditorState& s = PartEditor();
    ParaBase* base = MarkFromUsedTree();
    if (base == nullptr) return true;
    if (base->WriteFileBase() != 0) {
        ShowErrorMessageFor(kParaBaseErrorMessage, base, parent);
        return false;
    }
    s.Modified = false;
    return true;
}

// Closing: asks about unsaved changes and lets go of everything; false
// keeps the window (a save that failed).
bool ExitEditor() {
    PartBaseEditorState& s = PartEditor();
    GwCore* window = s.Window;
    if (s.Modified && ShowQuestionMessage(kUnsavedQuestion, window) && !SaveMarks(window)) return false;
    ForgetEntryDialog();
    if (window != nullptr) TheWindowHandler().DeleteWindow(window);
    for (GwTree* tree : {s.UsedTree.get(), s.UnusedTree.get()}) {
        if (tree != nullptr) tree->set_entries(nullptr);
    }
    s.Used.reset();
    s.Unused.reset();
    s.Base.reset();
    s.Modified = false;
    s.UsedTree = nullptr;
    s.UnusedTree = nullptr;
    s.LastSelected = nullptr;
    return true;
}

// The window list closes the editor as the user would.
void CloseFromWindowList() { ExitEditor(); }

const GwFuncDesc kPartBaseCallbacks[] = {
    {"CB_CreatePartBase", CB_CreatePartBase},
    {"CB_SetAllValidUsed", CB_SetAllValidUsed},
    {"CB_SetAllValidUnUsed", CB_SetAllValidUnUsed},
    {"CB_SetUsedDRIVE", CB_SetUsedDRIVE},
    {"CB_SetUnUsedDRIVE", CB_SetUnUsedDRIVE},
    {"CB_PTE_MoveToOtherTree", CB_PTE_MoveToOtherTree},
    {"CB_Tree_Button", CB_Tree_Button},
    {"CB_EditTreeEntry", CB_EditTreeEntry},
    {"CB_EditTreeEntryFromMenu", CB_EditTreeEntryFromMenu},
    {"CB_ModifyParaBase", CB_ModifyParaBase},
    {"CB_PartSaveAs", CB_PartSaveAs},
    {"CB_ExitPartBase", CB_ExitPartBase},
    {"ShowEntryVal", ShowEntryVal},
    {"CB_ShowVal", CB_ShowVal},
    {"SetEntryVal", SetEntryVal},
    {"SetEntryDefault", SetEntryDefault},
    {"CB_ShowEntryValTimer", CB_ShowEntryValTimer},
    {nullptr, nullptr},
};

}  // namespace

PartBaseEditorState& PartEditor() {
    static PartBaseEditorState state;
    return state;
}

namespace {
platform::ResetHook ResetState([] { ResetPartBaseEditor(); });
}  // namespace

GwCore* OpenPartBaseEditor(std::unique_ptr<ParaBase> base, GwCore* parent) {
    if (base == nullptr) return nullptr;
    PartBaseEditorState& s = PartEditor();
    if (s.Window != nullptr) {
        if (TheWindowHandler().Close(s.Window) == 0 && s.Window != nullptr && ExitEditor()) s.Window->destroy();
        if (s.Window != nullptr) return nullptr;
    }
    ResetPartBaseEditor();
    GwWaitObject wait;
    if (parent == nullptr) parent = GetMainWindow();
    GwCore* window = GwRcMgr::load(parent, kWindowName, 1);
    if (window == nullptr) {
        ShowErrorMessage(kWindowMissingMessage, parent);
        return nullptr;
    }
    if (GetPartialBaseTitle().empty()) SetPartialBaseTitle(window->title());
    s.Window = window;
    s.Base = std::move(base);
    window->set_user_data(GwUD(static_cast<void*>(s.Base.get())));
    window->set_title(GetPartialBaseTitle() + " [" + s.Base->GetPath(kDFilePath) + "]");
    TheWindowHandler().Add(window, 0, CloseFromWindowList);
    window->show();
    return window;
}

int CB_CreatePartBase(GwCore* widget, GwEvent*, GwUD) {
    PartBaseEditorState& s = PartEditor();
    GwCore* frame = widget != nullptr ? widget->frame() : nullptr;
    if (frame == nullptr || s.Base == nullptr || frame->user_data().pointer() != s.Base.get()) return 1;
    GwWaitObject wait;
    s.Window = frame;
    ForgetEntryDialog();
    for (GwTree* tree : {s.UsedTree.get(), s.UnusedTree.get()}) {
        if (tree != nullptr) tree->set_entries(nullptr);
    }
    s.Modified = false;
    s.UsedTree = frame->frame_child<GwTree>(kUsedTreeName);
    s.UnusedTree = frame->frame_child<GwTree>(kUnusedTreeName);
    if (s.UsedTree == nullptr || s.UnusedTree == nullptr) {
        ShowErrorMessage(kWindowMissingMessage, frame);
        return 1;
    }
    for (GwTree* tree : {s.UsedTree, s.UnusedTree}) {
        tree->bind(GwCB_SELECT, [tree](GwCore*, GwEvent*) {
            PartEditor().LastSelected = tree;
            return 1;
        });
    }
    s.FileName = BaseFileName(s.Base->GetPath(kDFilePath));
    BuildTrees();
    return 1;
}

int CB_SetAllValidUsed(GwCore*, GwEvent*, GwUD) {
    PartBaseEditorState& s = PartEditor();
    if (s.Base == nullptr) return 1;
    s.Base->SetAllValidUsed();
    Rebuild();
    return 1;
}

int CB_SetAllValidUnUsed(GwCore*, GwEvent*, GwUD) {
    PartBaseEditorState& s = PartEditor();
    if (s.Base == nullptr) return 1;
    s.Base->SetAllUnused();
    Rebuild();
    return 1;
}

int CB_SetUsedDRIVE(GwCore*, GwEvent*, GwUD) {
    MarkDrive(true);
    return 1;
}

int CB_SetUnUsedDRIVE(GwCore*, GwEvent*, GwUD) {
    MarkDrive(false);
    return 1;
}

int CB_PTE_MoveToOtherTree(GwCore* widget, GwEvent*, GwUD userData) {
    PartBaseEditorState& s = PartEditor();
    GwTree* source = SourceTree(widget, userData);
    GwTree* used = s.UsedTree;
    GwTree* unused = s.UnusedTree;
    if (source == nullptr || used == nullptr || unused == nullptr) return 1;
    GwTree* destination = source == used ? unused : used;
    auto* node = dynamic_cast<ParaTreeEntry*>(source->selected_entry());
    if (node == nullptr || !MoveNode(source, destination, node)) return 1;
    Redraw(source);
    Redraw(destination);
    s.Modified = true;
    return 1;
}

int CB_Tree_Button(GwCore* widget, GwEvent* event, GwUD userData) {
    auto* tree = dynamic_cast<GwTree*>(widget);
    if (tree == nullptr || event == nullptr || (event->state & GwMOUSE_BUTTON1) == 0 || tree->entries() == nullptr)
        return 1;
    GwTreeEntry* entry = tree->locate_entry(event->x, event->y);
    if (entry == nullptr) return 1;
    tree->select_entry(entry);
    if ((event->state & GwMOUSE_DOUBLE) != 0) CB_PTE_MoveToOtherTree(widget, event, userData);
    return 1;
}

int CB_EditTreeEntry(GwCore* widget, GwEvent*, GwUD userData) {
    EditEntry(SourceTree(widget, userData), true);
    return 1;
}

int CB_EditTreeEntryFromMenu(GwCore* widget, GwEvent*, GwUD userData) {
    EditEntry(SourceTree(widget, userData), true);
    return 1;
}

int CB_ModifyParaBase(GwCore* widget, GwEvent*, GwUD) {
    PartBaseEditorState& s = PartEditor();
    SaveMarks(s.Window != nullptr ? s.Window.get() : (widget != nullptr ? widget->frame() : nullptr));
    return 1;
}

int CB_PartSaveAs(GwCore* widget, GwEvent*, GwUD) {
    PartBaseEditorState& s = PartEditor();
    GwCore* frame = s.Window != nullptr ? s.Window.get() : (widget != nullptr ? widget->frame() : nullptr);
    if (s.SaveFolder.empty()) s.SaveFolder = GetUserDataDir();
    GwFileSelector selector(GetMainWindow(), "PartBaseSaveAs");
    selector.set_mode(GwFILESELECTOR_SAVE);
    selector.set_directory(s.SaveFolder);
    selector.set_filter("*.??D");
    const char* title = GetProfileText("Titles", "ChooseParaBaseFile");
    selector.set_title(title != nullptr ? title : "");
    if (!selector.go()) return 1;
    s.SaveFolder = selector.directory();
    const std::string path = selector.selection();
    ParaBase* base = MarkFromUsedTree();
    if (base == nullptr) return 1;
    const std::string saved = base->GetPath(kDFilePath);
    base->InitFile(path.c_str());
    if (base->WriteFileBase() != 0) {
        ShowErrorMessageFor(kParaBaseErrorMessage, base, frame);
        base->InitFile(saved.c_str());
        return 1;
    }
    if (frame != nullptr) frame->set_title(GetPartialBaseTitle() + " [" + path + "]");
    s.Modified = false;
    return 1;
}

int CB_ExitPartBase(GwCore* widget, GwEvent*, GwUD) {
    PartBaseEditorState& s = PartEditor();
    if (widget != nullptr && widget != s.Window && s.Window != nullptr) {
        // From a menu: the window's own close runs this again.
        s.Window->close();
        return 1;
    }
    return ExitEditor() ? 1 : 0;
}

GwCore* PartBaseWindow() {
    PartBaseEditorState& s = PartEditor();
    return s.Window;
}

ParaBase* PartBase() { return PartEditor().Base.get(); }

bool IsPartBaseModified() { return PartEditor().Modified; }

void ResetPartBaseEditor() {
    PartBaseEditorState& s = PartEditor();
    s.Used.reset();
    s.Unused.reset();
    s = PartBaseEditorState{};
}

const GwFuncDesc* PartBaseCallbacks() { return kPartBaseCallbacks; }
