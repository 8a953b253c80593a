// Bit windows: one 8-, 16- or 32-bit parameter (or one element of an array
// parameter) shown as a column of named bits with their explanation texts,
// as an edit form ("5_BitEdit_") or a state form ("5_BitState_") followed
// by the width word of the parameter's type ("Byte", "Word", "DWord"). The
// window only names its bit container "_PN_<n>[<k>]"; showing and taking the
// bits is the widget binding's.
#pragma once

#include <string>

class DeviceSetupContext;
class GwCore;
class GwUD;
struct GwEvent;

inline constexpr char kBitEditStem[] = "5_BitEdit_";
inline constexpr char kBitStateStem[] = "5_BitState_";
// The heading label every bit window holds.
inline constexpr char kBitIntroName[] = "ParaIntro";
// A bit target text ("n", "n,i" or "n i") of at least this length is refused.
inline constexpr size_t kMaxBitTargetText = 16;

// The width word of the parameter's type; empty for a type without bits.
std::string BitWindowWord(char typeCode);

// Opens the bit window of element `element` of `n` as a child of the
// caller's window, closing a listed one of the same name first. Failures are
// shown in an error box.
void OpenBitEditWindow(GwCore* caller, DeviceSetupContext* context, int n, int element);
void OpenBitStateWindow(GwCore* caller, DeviceSetupContext* context, int n, int element);

// Reads a bit target text: the parameter number before the first blank or
// comma and the element in the rest. False for a text that is too long, an
// absent parameter, or an array parameter without an element; the element
// of any other parameter is 0.
bool ParseBitTarget(DeviceSetupContext* context, const std::string& text, int* n, int* element);

// Opens the edit window of the user data's target beside the caller's
// window, which is then hidden and destroyed. 0 after opening, else 1.
int CB_CallOtherBitEditWindow(GwCore* widget, GwEvent* event, GwUD userData);
