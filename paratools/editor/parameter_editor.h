// Callbacks of the parameter editor window "ParameterEditor", its popup
// "ParaPopup" and its search dialog "ParaSearch", bound by name.
#pragma once

#include "toolkit/core/gw_event.h"
#include "toolkit/core/gw_func_desc.h"

class GwCore;
struct ParameterEditorState;

int DlgPChoose_create(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPChoose_show(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DestroyParameterEditor(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPChoose_value_EditablePara(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPChoose_value_UpdatePara(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPChoose_Activate_KpGroup(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPChoose_Default_ParaList(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPChoose_Key_OK(GwCore* widget, GwEvent* event, GwUD userData);
int CB_Select_Para(GwCore* widget, GwEvent* event, GwUD userData);
int CB_FocusList(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPChoose_SearchPara(GwCore* widget, GwEvent* event, GwUD userData);
int CB_HideParaSeachMask(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPChoose_Timer_UpdateList(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ParaPopup(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowParaPopup(GwCore* widget, GwEvent* event, GwUD userData);
int CB_SetToUserGroup(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DeleteFromUserGroup(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowUserGroup(GwCore* widget, GwEvent* event, GwUD userData);
int CB_StorePara(GwCore* widget, GwEvent* event, GwUD userData);
int CB_StoreBaseToDevice(GwCore* widget, GwEvent* event, GwUD userData);
int CB_StoreBaseToFile(GwCore* widget, GwEvent* event, GwUD userData);
int CB_StoreDeviceData(GwCore* widget, GwEvent* event, GwUD userData);

int DlgPSearch_Show(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPSearch_Key_OK(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPSearch_Key_Cancel(GwCore* widget, GwEvent* event, GwUD userData);

// Store operations shared by the store callbacks and closing: true when the
// data set reached the device (or the file was written).
bool StoreEditorBaseToDevice(ParameterEditorState* state, GwCore* parent, int* result);
bool StoreEditorBase(ParameterEditorState* state, GwCore* parent);

// Forgets the directory the store-to-file selector last used (tests).
void ResetEditorStoreDirectory();

// The editor's callbacks with those of its dialogs, ending in a null entry.
const GwFuncDesc* ParameterEditorCallbacks();
