// The partial parameter-base editor "ChooseUsedPara": the parameters of one
// parameter base file in two trees, "UsedPara" (marked for the partial base)
// and "UnusedPara", moved between them, marked at once, looked at and changed
// in the entry dialog "EntryEdit", and written back to the file or a new one.
// One editor at a time.
#pragma once

#include <memory>

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"

class GwCore;
class GwTree;
class ParaBase;

// Opens "ChooseUsedPara" on a loaded base, which the window owns from then
// on: closes a listed one first, loads the window under `parent` (the main
// window when null), titles it with the partial-base title (taken from the
// window as loaded the first time), " [", the base's D path and "]", lists it
// offline and shows it. Null when the window cannot be loaded (error message
// 7 shown) or an open editor would not close; the base is then deleted.
GwCore* OpenPartBaseEditor(std::unique_ptr<ParaBase> base, GwCore* parent = nullptr);

int CB_CreatePartBase(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetAllValidUsed(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetAllValidUnUsed(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetUsedDRIVE(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetUnUsedDRIVE(GwCore* widget, GwEvent* event, GwUD userData);
int CB_PTE_MoveToOtherTree(GwCore* widget, GwEvent* event, GwUD userData);
int CB_Tree_Button(GwCore* widget, GwEvent* event, GwUD userData);
int CB_EditTreeEntry(GwCore* widget, GwEvent* event, GwUD userData);
int CB_EditTreeEntryFromMenu(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ModifyParaBase(GwCore* widget, GwEvent* event, GwUD userData);
int CB_PartSaveAs(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ExitPartBase(GwCore* widget, GwEvent* event, GwUD userData);
int ShowEntryVal(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowVal(GwCore* widget, GwEvent* event, GwUD userData);
int SetEntryVal(GwCore* widget, GwEvent* event, GwUD userData);
int SetEntryDefault(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowEntryValTimer(GwCore* widget, GwEvent* event, GwUD userData);

// Opens or refreshes the entry dialog for the selected node of `tree`; a bus
// node opens "Options" instead.
void EditEntry(GwTree* tree, bool open);

// The open editor's window and base, null without one.
GwCore* PartBaseWindow();
ParaBase* PartBase();
// Whether moves or markings are not saved yet.
bool IsPartBaseModified();

// Forgets the editor (tests): the base is deleted, the window left alone.
void ResetPartBaseEditor();

// The editor's callbacks, ending in a null entry. CB_CancelPartBase is the
// option book's CB_CancelOption and is registered with it.
const GwFuncDesc* PartBaseCallbacks();
