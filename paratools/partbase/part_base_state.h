// What the editor's window and its entry dialog share: the one editor's
// base, trees, marks and dialog.
#pragma once

#include <memory>
#include <string>

#include "paratools/tree/para_tree.h"
#include "toolkit/core/gw_ref.h"

class GwCombo;
class GwCore;
class GwEdit;
class GwTree;
class ParaBase;
class ParaTreeEntry;

struct PartBaseEditorState {
    GwRef<> Window;
    std::unique_ptr<ParaBase> Base;
    // File name without folder and extension: the root text of both trees.
    std::string FileName;
    std::unique_ptr<ParaTree> Used;
    std::unique_ptr<ParaTree> Unused;
    GwRef<GwTree> UsedTree;
    GwRef<GwTree> UnusedTree;
    // The tree in which the user last selected an entry.
    GwRef<GwTree> LastSelected;
    bool Modified = false;
    // Where "Save as" starts; empty until the first use (the user data
    // directory then).
    std::string SaveFolder;

    // The entry dialog.
    GwRef<> Dialog;
    std::string DialogTitle;
    GwRef<> Name;
    GwRef<> Min;
    GwRef<> Max;
    GwRef<> Def;
    GwRef<> ValPage;
    GwRef<GwEdit> Val;
    GwRef<GwCombo> ValText;
    GwRef<GwEdit> ValString;
    GwRef<> Banner;
    GwRef<> Art;
    GwRef<> StdVal;
    bool DialogOpen = false;
    ParaTreeEntry* Current = nullptr;
};

PartBaseEditorState& PartEditor();
// Hides the entry dialog and lets go of its node (before the trees'
// nodes are deleted).
void ForgetEntryDialog();
