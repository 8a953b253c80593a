// The basic types of the object layer through which the program hosts the
// PLC editor control: GUIDs with their text form, result codes, dispatch ids.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/hex_digit.h"

namespace platform {

struct GUID {
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};
    friend constexpr bool operator==(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;

using HRESULT = int32_t;
using DISPID = int32_t;
using BOOL = int32_t;  // the 32-bit automation boolean of method results
inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000Eu);
inline constexpr HRESULT SELFREG_E_TYPELIB = static_cast<HRESULT>(0x80040200u);
inline constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201u);

constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }
constexpr bool Failed(HRESULT hr) { return hr < 0; }

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hexadecimal digits.
std::string GuidToString(const GUID& guid);
// Reads that form, digits in either case; null for anything else.
std::optional<GUID> GuidFromString(std::string_view text);

namespace guid_detail {
// Value of the hexadecimal digits text[pos, pos + count); -1 when one is not a digit.
constexpr int64_t Hex(std::string_view text, size_t pos, size_t count) {
    int64_t value = 0;
    for (size_t i = 0; i < count; ++i) {
        int digit = HexDigitValue(text[pos + i]);
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}
constexpr size_t kTextLength = 38;  // braces, 32 digits, 4 dashes
constexpr size_t kDataOffsets4[8] = {20, 22, 25, 27, 29, 31, 33, 35};

constexpr std::optional<GUID> Parse(std::string_view text) {
    if (text.size() != kTextLength || text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' ||
        text[24] != '-' || text[37] != '}')
        return std::nullopt;
    GUID guid;
    int64_t d1 = Hex(text, 1, 8), d2 = Hex(text, 10, 4), d3 = Hex(text, 15, 4);
    if (d1 < 0 || d2 < 0 || d3 < 0) return std::nullopt;
    guid.Data1 = static_cast<uint32_t>(d1);
    guid.Data2 = static_cast<uint16_t>(d2);
    guid.Data3 = static_cast<uint16_t>(d3);
    for (size_t i = 0; i < 8; ++i) {
        int64_t byte = Hex(text, kDataOffsets4[i], 2);
        if (byte < 0) return std::nullopt;
        guid.Data4[i] = static_cast<uint8_t>(byte);
    }
    return guid;
}
}  // namespace guid_detail

// A GUID written in its text form, checked when compiled.
consteval GUID GuidLiteral(std::string_view text) { return guid_detail::Parse(text).value(); }

// Identifiers of the base interfaces (values of this system's own).
inline constexpr IID IID_IUnknown = GuidLiteral("{7DF2774D-A744-4D90-860A-F472B5AF4699}");
inline constexpr IID IID_IClassFactory = GuidLiteral("{6A0A3BFB-6ACF-4CEB-98A3-98E6B8E31D86}");
inline constexpr IID IID_IDispatch = GuidLiteral("{DFB157BD-E530-4617-955B-C1405EB5136D}");
inline constexpr IID IID_IConnectionPoint = GuidLiteral("{D4F2C837-D62B-45B4-8631-23DE7A46F012}");
inline constexpr IID IID_IConnectionPointContainer = GuidLiteral("{EA32CF91-1946-44DC-B3A9-777C991A6B95}");

}  // namespace platform
