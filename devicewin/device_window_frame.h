// The frame every device window shares: opening a window for the device of
// its caller's context (with the variant for the device's firmware and the
// redirection of a "Deversion_Dialog"), refreshing the bound widgets of a
// window or of one control, the generic poll timers, and two small window
// functions. All are callbacks bound by name; each returns 1 unless said
// otherwise.
#pragma once

#include <array>

#include "toolkit/core/gw_types.h"

class GwCore;
class GwUD;
struct GwEvent;

// The name of the child that sends a window's callers to another window,
// named by its aux text.
inline constexpr char kRedirectionChildName[] = "Deversion_Dialog";
// Modality and close mode (destroy) of every device window.
inline constexpr int kDeviceWindowModality = 1;
inline constexpr int kDeviceWindowCloseMode = 2;
// The first period of a window's poll timer, ms.
inline constexpr unsigned kFirstPollPeriodMs = 500;
// The setup window's parts that its compact layout moves.
inline constexpr char kContFuncName[] = "ContFunc";
inline constexpr char kContValName[] = "ContVal";
inline constexpr char kContSaveName[] = "ContSave";

// Opens the window named by the user data for the device of the caller's
// context, or gives the focus to the listed one.
int CB_CallDeviceWindow(GwCore* widget, GwEvent* event, GwUD userData);
// Hides and shows the window's parent (a redraw), then closes the window as
// CB_CloseDeviceWindow does.
int CB_CloseDeviceWindow_Update_Parent(GwCore* window, GwEvent* event, GwUD userData);
// Shows every bound widget of the widget's window, then disables its
// "BT_TakeIt".
int CB_DvFctShowStandard(GwCore* widget, GwEvent* event, GwUD userData);
// Shows every bound widget below the widget.
int CB_DvFctShowObject(GwCore* widget, GwEvent* event, GwUD userData);
// One child of a refresh walk whose user data is the window; 0 stops the
// walk (the child's value could not be shown).
int ShowChildWidget(GwCore* child, GwUD frame);
// Online: starts the widget's timer with the first period; offline: stops
// it. Then the refresh of the widget (object) or of its window (standard).
int CB_DvFctInitTimerObject(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DvFctInitTimerStandard(GwCore* widget, GwEvent* event, GwUD userData);
// A poll tick: stops the timer, refreshes, and starts the timer again with
// the generic poll record's interval, whatever way the refresh ends.
int CB_DvFctTimerObject(GwCore* widget, GwEvent* event, GwUD userData);
int CB_DvFctTimerStandard(GwCore* widget, GwEvent* event, GwUD userData);
// Stops the timers of the widgets of the widget's window that lie below the
// widget.
int CB_StopAllTimer(GwCore* widget, GwEvent* event, GwUD userData);
// The setup window's reduced layout from its full one (`rects` in the
// context's order): the function area folds away and what lies below it
// moves up by the difference of the tops of "ContFunc" and "ContVal".
void SetCompactLayout(GwCore* frame, const std::array<GwRect, 4>& rects);
// Toggles the setup window between its full and its reduced layout, from
// the rectangles of the context.
int CB_SwitchSize(GwCore* widget, GwEvent* event, GwUD userData);
// Gives the focus to the default button of the widget's window.
int CB_SetFocusToDefault(GwCore* widget, GwEvent* event, GwUD userData);
