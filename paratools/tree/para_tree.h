// Parameter trees: the builder that fills a tree widget with the parameters
// of a parameter base file, of the active device or of every device on the
// bus, and the search of a node by id.
#pragma once

#include <array>

#include "paratools/tree/para_tree_entry.h"
#include "toolkit/core/gw_ref.h"

class GwTree;
class GwTreeEntry;
class ParaBase;

// What a tree shows.
enum ParaTreeContent : int {
    kParaTreeOfFile = 0,
    kParaTreeOfActiveDevice = 1,
    kParaTreeOfAllDevices = 2,
};

// Which parameters of a keypad group a tree takes.
enum ParaTreeFilter : int {
    kFilterValid = 0,   // every present parameter
    kFilterUsed = 1,    // marked as part of the partial base
    kFilterUnused = 2,  // not marked
};

// Which access a parameter needs at the user level.
enum ParaTreeAccess : int {
    kAccessReadOrWrite = 0,
    kAccessWrite = 1,
    kAccessRead = 2,
    kAccessSCGroup = 3,  // a nonzero SC group, whatever the level
};

inline constexpr int kParaTreeDeviceSlots = 31;
// Folder texts are cut to this length.
inline constexpr size_t kFolderTextLength = 128;

class ParaTree {
public:
    // Empties `tree` and builds it anew (see the definition). With
    // `rootsOnly` the root and device nodes are built but not given to the
    // tree; the builder then owns and deletes them.
    ParaTree(const char* rootText, int accessMode, int kind, int userLevel, int filter, GwTree* tree,
             ParaBase* fileBase, bool rootsOnly);
    ~ParaTree();
    ParaTree(const ParaTree&) = delete;
    ParaTree& operator=(const ParaTree&) = delete;

    GwTree* Tree() const { return tree_; }
    ParaTreeEntry* Root() const { return root_; }
    // The device node of a slot (bus address; slot 0 in a file tree).
    ParaTreeEntry* DeviceNode(int slot) const;

private:
    void AddDevice(int slot, ParaTreeEntry* node);
    void AddGroups(int slot, int accessMode, int userLevel, int filter);
    bool Passes(ParaBase* base, int number, int accessMode, int userLevel, int filter) const;
    void GiveRoot();

    GwRef<GwTree> tree_;
    void* cleared_ = nullptr;
    ParaTreeEntry* root_ = nullptr;
    std::array<ParaTreeEntry*, kParaTreeDeviceSlots> devices_{};
    ParaTreeEntry* folder_ = nullptr;
    ParaTreeEntry* field_ = nullptr;
    bool rootGiven_ = false;
};

// The tree's root when its id is `id`, else the first match below it.
GwTreeEntry* FindEntry(GwTree* tree, const char* id);
// Depth first in child order below `entry` (not `entry` itself).
GwTreeEntry* FindInSubtree(GwTreeEntry* entry, const char* id);
