// Taking a changed widget's value into its bound parameter (stored in the
// table, and written to the device when the base is online), the check that
// decides whether a widget differs from the stored value, and the two
// callbacks of change marks.
#pragma once

#include <string>

class GwCore;
class ParaBase;
struct GwEvent;
class GwUD;

// Takes the value of a widget marked changed. 1 when done or nothing to do
// (unbound, unchanged, a label, disabled or not writable at level 6 unless
// forced); 0 when it failed: no selection, an empty or malformed text (a
// malformed one beeps and keeps the mark), a refused store (after device
// error 5) or an empty spreadsheet cell (after an error box).
int TakeWidgetValue(ParaBase* base, GwCore* widget, bool force);
// Stores a text parsed by the parameter's type (value texts, hexadecimal,
// scaling) into element k of n by the write rule. 1 when stored; 0 after
// device error 5 for the base.
int StoreText(ParaBase* base, GwCore* widget, int n, int k, const std::string& text);
// Sets the mark to `preset`, then sets it when the widget shows another
// value than the stored one.
void CheckWidgetChanged(ParaBase* base, GwCore* widget, bool preset);

// Enables "BT_TakeIt" of the calling widget's window. Returns 1.
int CB_EnableTakeItBut(GwCore* widget, GwEvent* event, GwUD userData);
// Checks every widget of the calling widget's window with the mark preset,
// on the base of the window's device context. Returns 1.
int CB_MarkAllChanged(GwCore* widget, GwEvent* event, GwUD userData);

// Reads a whole text as a decimal number ("," taken for "."): an optional
// sign, digits with at most one point, an optional exponent. False for
// anything else.
bool ParseDecimalText(const std::string& text, double* value);
// Reads hexadecimal digits followed by any number of "H" as an unsigned
// 32-bit number. False for anything else.
bool ParseHexText(const std::string& text, double* value);
