// What the editor's window and its entry dialog share: the one editor's
// base, trees, marks and dialog.
#pragma once

#include <memory>
#include <string>

#include "paratools/tree/para_tree.h"

class GwCombo;
class GwCore;
class GwEdit;
class GwTree;
class ParaBase;
class ParaTreeEntry;

struct PartBaseEditorState {
    GwCore* Window = nullptr;
    std::unique_ptr<ParaBase> Base;
    // File name without folder and extension: the root text of both trees.
    std::string FileName;
    std::unique_ptr<ParaTree> Used;
    std::unique_ptr<ParaTree> Unused;
    GwTree* UsedTree = nullptr;
    GwTree* UnusedTree = nullptr;
    // The tree in which the user last selected an entry.
    GwTree* LastSelected = nullptr;
    bool Modified = false;
    // Where "Save as" starts; empty until the first use (the user data
    // directory then).
    std::string SaveFolder;

    // The entry dialog.
    GwCore* Dialog = nullptr;
    std::string DialogTitle;
    GwCore* Name = nullptr;
    GwCore* Min = nullptr;
    GwCore* Max = nullptr;
    GwCore* Def = nullptr;
    GwCore* ValPage = nullptr;
    GwEdit* Val = nullptr;
    GwCombo* ValText = nullptr;
    GwEdit* ValString = nullptr;
    GwCore* Banner = nullptr;
    GwCore* Art = nullptr;
    GwCore* StdVal = nullptr;
    bool DialogOpen = false;
    ParaTreeEntry* Current = nullptr;
};

PartBaseEditorState& PartEditor();
// Whether a kept widget still exists.
bool IsLiveWidget(GwCore* widget);
// Hides the entry dialog and lets go of its node (before the trees'
// nodes are deleted).
void ForgetEntryDialog();
