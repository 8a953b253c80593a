// Widgets of a device window that appear, disappear or become usable by a
// parameter value, by whether the device has a parameter at all, or by the
// user level. The argument texts come from the callbacks' user data (or the
// widget's aux text for the CheckGlobalUserLevel pair). Every missing piece
// (no context, no text, no parameter, a failed read) makes a condition true,
// so that a widget rather shows than hides when its data is missing.
#pragma once

#include <string>

class GwCore;
class GwUD;
struct GwEvent;

// "<n>[<k>] <op> <literal>": "==" and "!=" compare the value's display text
// with the literal, "<", "<=", ">" and ">=" the value with the literal as a
// number; any other operator is true.
bool EvaluateCondition(GwCore* widget, const std::string& condition);
// "<op> <literal>" over the value the combo box or list selects.
bool EvaluateSelectionCondition(GwCore* widget, const std::string& condition);

int CB_ShowIf(GwCore* widget, GwEvent* event, GwUD userData);
// As CB_ShowIf while the timer guard lets the widget's timer work.
int CB_ShowIfViaTimer(GwCore* widget, GwEvent* event, GwUD userData);
int CB_EnableIf(GwCore* widget, GwEvent* event, GwUD userData);
// Enables the window's child named by the combo's aux text while the
// selection condition holds, then the parameter-change callback, whose
// result it gives.
int CB_ComboBoxEnableOtherObjectIf(GwCore* widget, GwEvent* event, GwUD userData);
int CB_ShowIfParaAvailable(GwCore* widget, GwEvent* event, GwUD userData);
int CB_HideIfParaAvailable(GwCore* widget, GwEvent* event, GwUD userData);
int CB_HideIfNotParaAvailable(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DisableIfNotParaAvailable(GwCore* widget, GwEvent* event, GwUD userData);
// Shown and enabled at a user level of at least the user data's number.
int CB_ShowIfUserLevelEGT(GwCore* widget, GwEvent* event, GwUD userData);
// "<page> <level>": the tab page is in the tab set exactly from that level.
int CB_ShowTabPageIfUserLevelEGT(GwCore* widget, GwEvent* event, GwUD userData);
// Below the aux text's level: hidden (disabled); else shown (enabled).
int CheckGlobalUserLevel_Show(GwCore* widget, GwEvent* event, GwUD userData);
int CheckGlobalUserLevel_Enable(GwCore* widget, GwEvent* event, GwUD userData);
