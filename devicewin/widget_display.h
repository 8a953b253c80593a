// Showing the value of a bound parameter in a widget of any kind: lists and
// combos filled with the parameter's values, format edits with a format that
// fits the parameter's type, toggles, bit fields of toggles or labels, radio
// groups and text widgets. Parameter reads follow the base: from the device
// when it is online, else from the table.
#pragma once

#include <cstdint>

class GwCore;
class ParaBase;
struct GwCellAttribute;

// Shows the bound value and clears the widget's change mark. 1 when done or
// nothing to do (unbound, absent parameter, a box already open while a read
// fails), 0 when it failed: the user chose to uncouple after a read error, a
// companion parameter cannot be read, or a radio group has too many values.
int ShowWidgetValue(ParaBase* base, GwCore* widget);
// Sets an edit's format (type, mask, length, precision) and, for a format
// edit whose aux text names a unit parameter ("_U_nnn"), its suffix.
void SetupEditFormat(ParaBase* base, GwCore* widget);
// Display length and precision of a spreadsheet column of parameter n.
void SetupColumnFormat(ParaBase* base, int n, GwCellAttribute* attribute);

// Element k of n as a device window shows it: read from the device when the
// base is online, else from the table. 0 when it was read.
int ReadShownValue(ParaBase* base, int n, double* value, int k = 0);

// A value truncated and held in the int range (0 for NaN).
int TruncatedValue(double v);
// A value truncated and taken as the 32 bits of a bit field.
uint32_t BitsOfValue(double v);

// The bound parameter's value as shown in text widgets (the value text of
// the run mode's dispatcher) of element k.
const char* DispatchedText(ParaBase* base, int n, int k);
