// Option windows: a parameter selects a piece of hardware or a function
// whose settings live in a window of their own. Beside the parameter's combo
// box "_PN_<n>" a button named <n> opens the window of the selected value
// and is active only while such a window exists. The user data is the stem:
// an index window of that name lists the windows by value text, else the
// window is the stem followed by the value text.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

// Makes the option button active or inactive (shown or hidden when its aux
// text is "hide", else enabled or disabled). Loads no window to find out.
int SetOptionState(GwCore* button, GwEvent* event, GwUD userData);
// On the combo's change: re-evaluates the button of the same number, then
// marks the change.
int CB_DvFctParaChanged_SetOptionState(GwCore* widget, GwEvent* event, GwUD userData);
// Opens the option window of the selected value, always fresh.
int CB_CallOption(GwCore* button, GwEvent* event, GwUD userData);
