// Small callbacks that device windows bind by name: the motor identification
// button, a tip for a text that does not fit, opening a path on the desktop
// and the device's type name. Each returns 1.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

inline constexpr int kMotorIdentParameter = 153;
// The device kind whose identification depends on parameter 153, and the
// user levels from which its two modes are offered.
inline constexpr int kIdentModeDeviceKind = 6;
inline constexpr int kIdentModeZeroLevel = 4;
inline constexpr int kIdentModeOneLevel = 5;
inline constexpr int kDeviceTypeParameter = 91;

// Enables the widget where the device offers motor identification at the
// user's level; offline and after a failed read (device error 5) disables.
int CB_ShowMotorIdent(GwCore* widget, GwEvent* event, GwUD userData);
// The widget's text becomes its tip when it is wider than the widget; else
// the tip is empty.
int CB_OverlenContent2Tooltip(GwCore* widget, GwEvent* event, GwUD userData);
// Opens the widget's text (a path) with the desktop's opener, never through a
// shell.
int CB_CallExplorer(GwCore* widget, GwEvent* event, GwUD userData);
// Shows the type name of the device's parameter 91 as the widget's text.
int CB_SetDeviceNameAsText(GwCore* widget, GwEvent* event, GwUD userData);
