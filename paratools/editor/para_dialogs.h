// The single-parameter dialog "ParaEdit" and the field-parameter dialog
// "ParaField" of the parameter editor, bound by name.
#pragma once

#include <string>

#include "toolkit/core/gw_event.h"

class GwCore;
struct ParameterEditorState;
struct ParameterEntry;

// Poll record of the field timer.
inline constexpr uint32_t kFieldPollMaximumMs = 100000;
inline constexpr uint32_t kFieldPollWeightMs = 1500;
inline constexpr uint32_t kFieldPollMinimumMs = 500;

int DlgPEdit_show(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPEdit_Timer(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPEdit_ShowValue(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPEdit_Key_Standard(GwCore* widget, GwEvent* event, GwUD userData);
int DlgPEdit_Key_OK(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DlgPEdit_hide(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CreateFieldPara(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowFieldPara(GwCore* widget, GwEvent* event, GwUD userData);
int CB_TimerFieldData(GwCore* widget, GwEvent* event, GwUD userData);
int CB_EditField(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CancelField(GwCore* widget, GwEvent* event, GwUD userData);
int CBP_ExpandFields(GwCore* widget, GwEvent* event, GwUD userData);
int CB_InitTimerUpdateSelected(GwCore* widget, GwEvent* event, GwUD userData);
int CB_UpdateSelectedParaIntern(GwCore* widget, GwEvent* event, GwUD userData);
// The selected parameter's bits: read-only over the dialog, or editable over
// the listed field or editor window (the dialog is then hidden).
int CB_CallBitView(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CallBitEdit(GwCore* widget, GwEvent* event, GwUD userData);

// Closes the dialogs the editor opened (when it closes).
void CloseEditorDialogs(ParameterEditorState* s);
// Forgets the dialogs (tests).
void ResetParameterDialogState();

// Whether a typed value is a whole number of the expected form: hexadecimal
// digits before an "H" (hex), else an optional '-', digits and at most one
// '.', with at least one digit.
bool IsCompleteValueText(const std::string& text, bool hex);
// Whether the entry's value is shown and typed in hexadecimal: an unsigned
// type (or password) with the hex flag.
bool IsHexType(const ParameterEntry* e);
// Characters before the "." of a number text.
int IntegerPart(const std::string& text);
