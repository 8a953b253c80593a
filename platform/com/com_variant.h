// Counted strings (BSTR) and the tagged values (VARIANT) that dispatch calls
// and events carry: 32-bit integers, doubles, booleans, strings and strings
// passed by reference for the callee to replace.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/com_types.h"

namespace platform {

// Bytes (UTF-8 text) counted by a length stored before them, so they may hold
// NULs; a NUL always follows them. Null is the empty string.
using BSTR = char*;

BSTR SysAllocString(const char* text);  // up to its NUL; null gives null
// `length` bytes from `bytes`, or NULs when `bytes` is null. Null when no
// memory is left.
BSTR SysAllocStringLen(const char* bytes, uint32_t length);
void SysFreeString(BSTR text);
uint32_t SysStringLen(BSTR text);

// All counted bytes, and the text up to the first NUL.
std::string_view BstrBytes(BSTR text);
std::string BstrText(BSTR text);

// Room for a path that the callee of an event fills in: a blank followed by
// NULs, kPathBufferChars long.
inline constexpr uint32_t kPathBufferChars = 260;
BSTR AllocPathBuffer();

using VARTYPE = uint16_t;
inline constexpr VARTYPE VT_EMPTY = 0;
inline constexpr VARTYPE VT_I4 = 3;
inline constexpr VARTYPE VT_R8 = 5;
inline constexpr VARTYPE VT_BSTR = 8;
inline constexpr VARTYPE VT_BOOL = 11;
inline constexpr VARTYPE VT_BYREF = 0x4000;
// A string passed by reference for the callee to replace.
inline constexpr VARTYPE VT_BSTR_BYREF = VT_BYREF | VT_BSTR;

using VARIANT_BOOL = int16_t;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

struct VARIANT {
    VARTYPE vt = VT_EMPTY;
    union {
        int32_t lVal;
        double dblVal;
        VARIANT_BOOL boolVal;
        BSTR bstrVal;    // VT_BSTR: owned by the variant
        BSTR* pbstrVal;  // VT_BYREF | VT_BSTR: the caller's string
    };
    VARIANT() : dblVal(0) {}
};

void VariantInit(VARIANT* value);
// Frees an owned string and makes the variant empty.
void VariantClear(VARIANT* value);

VARIANT VariantFromLong(int32_t number);
VARIANT VariantFromDouble(double number);
VARIANT VariantFromBool(bool flag);
VARIANT VariantFromString(std::string_view bytes);  // owns a new BSTR
VARIANT VariantByRefString(BSTR* text);             // refers to the caller's BSTR

// Readers; a variant of another type gives DISP_E_TYPEMISMATCH.
// A string or a string by reference, up to its first NUL.
HRESULT VariantToText(const VARIANT& value, std::string* text);
HRESULT VariantToLong(const VARIANT& value, int32_t* number);
// A double, or a 32-bit integer (which converts exactly).
HRESULT VariantToDouble(const VARIANT& value, double* number);
// A boolean (-1/0), or a non-zero 32-bit integer.
HRESULT VariantToBool(const VARIANT& value, bool* flag);

// Replaces the string a by-reference variant points to (the old one is
// freed). DISP_E_TYPEMISMATCH for any other variant, E_POINTER for a null
// reference.
HRESULT SetByRefText(const VARIANT& value, std::string_view bytes);

}  // namespace platform
