// A button that writes one parameter and, when asked, waits until the device
// reports a target value in it, with an activity window, a time-out and a
// refresh of the widgets above it.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

inline constexpr char kWaitWord[] = "WAIT";
// The wait between two reads of the parameter, ms.
inline constexpr unsigned kParaWaitPollMs = 300;
// Levels above this count from the widget's window instead of the widget.
inline constexpr int kLevelsFromWindow = 10;

// User data: "<parameter> <value>" and optionally "WAIT <kind> <target>
// <time-out ms> <levels>"; aux text "<activity>;<time-out text>;<final text>".
// Takes the window's changed widgets over first (nothing more when that
// fails), disables "BT_TakeIt", writes the value, then waits while there is an
// aux text. The kinds: "LE" (value <= target), "GE" (>=), "D" (!=), any other
// word (==). Returns 1.
int CB_SetParaWait(GwCore* widget, GwEvent* event, GwUD userData);
