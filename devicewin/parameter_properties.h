// The key filter of parameter widgets and the one "Parameter_Properties"
// window, which lists what the parameter database knows of the parameter a
// widget stands for.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

inline constexpr char kPropertiesWindowName[] = "Parameter_Properties";

// Editing keys (a printable character, backspace, tab, clear, return,
// delete) give the result of CB_DvFctParaChange, F1 that of
// CB_DvFctParaHelp, any other key 1.
int CB_DvFctParaProperties(GwCore* widget, GwEvent* event, GwUD userData);
// Opens "Parameter_Properties" under the widget's frame (or moves the open one
// there) and fills it for the widget's parameter. Returns 0; nothing is
// opened for a widget without a present parameter.
int CB_DvFctParaHelp(GwCore* widget, GwEvent* event, GwUD userData);
