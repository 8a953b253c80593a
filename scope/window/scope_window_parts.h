// What the oscilloscope window's units share: its widgets looked up through
// their references (null once the window is closed), the texts it shows, and
// the displays that several callbacks repeat.
#pragma once

#include <string>

#include "scope/recorder/scope_parameters.h"
#include "scope/window/scope_window.h"

class GwCore;

// Main messages of the window.
inline constexpr int kScopeNoDeviceMessage = 6;
inline constexpr int kScopeWindowMissingMessage = 7;
inline constexpr int kScopeRecorderRunningMessage = 29;
inline constexpr uint32_t kScopeFirstTickMs = 500;

// The engine while the window is open; null otherwise.
ScopeRecorder* ScopeEngine();
// Whether the window is open and holds an engine.
bool ScopeWindowOpen();
// The live widget, null when missing or the window is closed.
GwCore* ScopeChild(ScopeWidget which);
// The frame of the calling widget as parent of a message, else the window.
GwCore* ScopeMessageParent(GwCore* widget);

void SetScopeText(ScopeWidget which, const std::string& text);
std::string ScopeText(ScopeWidget which);
void SetScopeEnabled(ScopeWidget which, bool on);
void SetScopeVisible(ScopeWidget which, bool on);
void SetScopeChecked(ScopeWidget which, bool on);
bool IsScopeChecked(ScopeWidget which);
void SetScopeReadOnly(ScopeWidget which, bool on);
// Whether the calling widget is a toggle that is off: a radio switched off by
// a sibling reports its change with its own user data.
bool IsSwitchedOff(GwCore* widget);

// A text of section "Scope-States" ("ScopeActive", "WaitForTrig", ...).
std::string ScopeStateText(const char* key);
// A text of section "Titles".
std::string ScopeTitleText(const char* key);

// "%lf" ("%f" for the level) with the trailing zeros of a decimal text cut.
std::string ScopeNumberText(double value);
// Rounded to 5 significant digits.
double ScopeRound(double value);
// The number in a field as the user typed it (0 for none).
double ScopeFieldNumber(ScopeWidget which);

// The display text of a variable: its introduction in the description file
// of the device, else its name.
std::string ScopeVariableText(const std::string& name);

// The trigger channel's toggle, the level with its precision and unit, the
// pre-trigger and the mode toggles.
void ShowScopeTrigger();
void ShowScopeTriggerLevel();
// Recording time and interval, each rounded.
void ShowScopeTimes();
// The fixed one of the two times applied again, then the interval shown.
void ApplyScopeFixedTime();
// The channel toggles, live values with units and variable buttons.
void ShowScopeChannels();
// One channel's live value and unit.
void ShowScopeActualValue(int channel);

// The plot-tool page: shown from and stored into [Options].
void ShowScopePlotPage();
void StoreScopePlotPage();

// Writes back a trigger mode that a manual trigger changed.
void RestoreScopeTriggerMode();

// The error check of a tick: with the engine's error flag set, main error 5
// for the device; false when that closed the window.
bool CheckScopeEngineError();
