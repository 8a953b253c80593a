// Change marks of parameter widgets: a widget the user changed carries the
// user type "ParaChanged" until its value is shown again, and marking one
// enables its window's take-over button "BT_TakeIt".
#pragma once

class GwCore;

inline constexpr char kChangedMark[] = "ParaChanged";
inline constexpr char kTakeOverButtonName[] = "BT_TakeIt";

void SetWidgetChanged(GwCore* widget, bool changed);
bool IsWidgetChanged(const GwCore* widget);
// Enables the "BT_TakeIt" of the widget's window when it has one.
void EnableTakeOverButton(GwCore* widget, bool enable);
