// The Marlo control windows: one window per control type (the value text of
// parameter 300: "3_Ctrl_VFC", "3_Ctrl_FOR", "3_Ctrl_SFC"), and the leveling
// page of the firmware-200 tab book, which the "FOR" control has not.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

inline constexpr int kControlTypeParameter = 300;
inline constexpr const char* kControlWindowNames[] = {"3_Ctrl_VFC", "3_Ctrl_FOR", "3_Ctrl_SFC"};
inline constexpr char kLevelingPageName[] = "TAB_Leveling";
inline constexpr char kControlWithoutLeveling[] = "FOR";

// Opens the window named by the calling widget's user data (a prefix such
// as "3_Ctrl_") followed by the present control type's text. Returns 1.
int CB_CallCtrlWindow(GwCore* widget, GwEvent* event, GwUD userData);
// Closes the open control windows, then changes the parameter; returns what
// the change returns.
int CB_ChangeCtrl(GwCore* widget, GwEvent* event, GwUD userData);
// Takes "TAB_Leveling" into the calling tab book or leaves it out by the
// control type. Returns 1.
int CB3_200_ShowLeveling(GwCore* widget, GwEvent* event, GwUD userData);
