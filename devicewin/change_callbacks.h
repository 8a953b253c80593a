// The change callbacks of parameter widgets: they mark the widget changed
// (or write it at once) and switch the widgets that depend on it: the
// containers of a radio group's buttons, the widget of a check box, the
// picture of a combo box's value.
#pragma once

class GwCore;
class GwUD;
struct GwEvent;

// Marks the change and switches the dependents named by the user data.
// Returns 1.
int CB_DvFctParaChange(GwCore* widget, GwEvent* event, GwUD userData);
// As CB_DvFctParaChange, then writes the value at once (a spreadsheet cell
// parsed as its column's parameter). Returns 1.
int CB_DvFctParaChangeDirect(GwCore* widget, GwEvent* event, GwUD userData);
// Walk steps: a bound child is enabled when its parameter is present and
// disabled when absent (unbound ones left alone); every bound child
// disabled. Both return 1.
int EnableBoundChild(GwCore* child, GwUD userData);
int DisableBoundChild(GwCore* child, GwUD userData);
