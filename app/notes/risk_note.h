// Modal notes that warn before an action with risk to people or machine and
// ask for confirmation; users above level 4 are not asked. Also the callback
// that centres a message window over its owner.
#pragma once

#include "toolkit/core/gw_event.h"

inline constexpr char kRiskNoteAdjustmentChanged[] = "RiskNote_AdjustmentChanged";
inline constexpr char kRiskNoteManualMode[] = "RiskNote_ManualMode";
inline constexpr char kRiskNoteTuning[] = "RiskNote_Tuning";
// Kept on the asking window's first child once the tuning note's box was
// ticked.
inline constexpr char kDontShowTuningNoteMark[] = "DontShowAgain_RiskNote_Tuning";
// The confirming button's result.
inline constexpr int kRiskNoteConfirmed = 6;

// True when confirmed (or the user level is above 4); false for any other
// result and when the window cannot be loaded.
bool ShowRiskNote(const char* definition, GwCore* parent);
bool ShowRiskNoteAdjustmentChanged(GwCore* parent);
bool ShowRiskNoteManualMode(GwCore* parent);
// True at once while `window` carries the mark.
bool ShowRiskNoteTuning(GwCore* window);

int CB_DontShowRiskNote_Tuning(GwCore* widget, GwEvent* event, GwUD userData);
int CB_CenterMessage(GwCore* widget, GwEvent* event, GwUD userData);
