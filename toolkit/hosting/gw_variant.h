// Conversions between the arguments of control events (VARIANTs) and the
// program's texts and flags.
#pragma once

#include "platform/com/com_variant.h"
#include "toolkit/base/gw_string.h"

// A string or a string by reference, up to its first NUL; empty for a null
// pointer or any other type.
GwString GwStringFromVARIANT(const platform::VARIANT* value);
// A boolean (-1 true, 0 false) or a non-zero 32-bit integer; false for a
// null pointer or any other type.
bool GwBoolFromVARIANT(const platform::VARIANT* value);
// Replaces the string a by-reference argument points to (the old string is
// freed); false, nothing changed, for any other argument.
bool GwStringToVARIANT(const char* text, platform::VARIANT* value);
