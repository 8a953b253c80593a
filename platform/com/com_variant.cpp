// BSTR allocation and VARIANT conversions.
#include "platform/com/com_variant.h"

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

// The byte count sits right before the bytes.
constexpr size_t kLengthPrefix = sizeof(uint32_t);

uint32_t& LengthOf(BSTR text) { return *reinterpret_cast<uint32_t*>(text - kLengthPrefix); }

bool IsByRefString(const VARIANT& value) { return value.vt == (VT_BYREF | VT_BSTR); }

}  // namespace

BSTR SysAllocString(const char* text) {
    if (text == nullptr) return nullptr;
    return SysAllocStringLen(text, static_cast<uint32_t>(std::strlen(text)));
}

BSTR SysAllocStringLen(const char* bytes, uint32_t length) {
    // Aligned for the length prefix; calloc leaves the closing NUL (and the
    // bytes when none are given) zero.
    char* block = static_cast<char*>(std::calloc(kLengthPrefix + size_t{length} + 1, 1));
    if (block == nullptr) return nullptr;
    BSTR text = block + kLengthPrefix;
    LengthOf(text) = length;
    if (bytes != nullptr && length > 0) std::memcpy(text, bytes, length);
    return text;
}

void SysFreeString(BSTR text) {
    if (text != nullptr) std::free(text - kLengthPrefix);
}

uint32_t SysStringLen(BSTR text) { return text == nullptr ? 0 : LengthOf(text); }

std::string_view BstrBytes(BSTR text) { return {text == nullptr ? "" : text, SysStringLen(text)}; }

std::string BstrText(BSTR text) {
    std::string_view bytes = BstrBytes(text);
    return std::string(bytes.substr(0, bytes.find('\0')));
}

BSTR AllocPathBuffer() {
    BSTR buffer = SysAllocStringLen(nullptr, kPathBufferChars);
    if (buffer != nullptr) buffer[0] = ' ';
    return buffer;
}

void VariantInit(VARIANT* value) {
    value->vt = VT_EMPTY;
    value->dblVal = 0;
}

void VariantClear(VARIANT* value) {
    if (value->vt == VT_BSTR) SysFreeString(value->bstrVal);
    VariantInit(value);
}

VARIANT VariantFromLong(int32_t number) {
    VARIANT value;
    value.vt = VT_I4;
    value.lVal = number;
    return value;
}

VARIANT VariantFromDouble(double number) {
    VARIANT value;
    value.vt = VT_R8;
    value.dblVal = number;
    return value;
}

VARIANT VariantFromBool(bool flag) {
    VARIANT value;
    value.vt = VT_BOOL;
    value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return value;
}

VARIANT VariantFromString(std::string_view bytes) {
    VARIANT value;
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocStringLen(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return value;
}

VARIANT VariantByRefString(BSTR* text) {
    VARIANT value;
    value.vt = VT_BYREF | VT_BSTR;
    value.pbstrVal = text;
    return value;
}

HRESULT VariantToText(const VARIANT& value, std::string* text) {
    if (value.vt == VT_BSTR) {
        *text = BstrText(value.bstrVal);
        return S_OK;
    }
    if (IsByRefString(value)) {
        if (value.pbstrVal == nullptr) return E_POINTER;
        *text = BstrText(*value.pbstrVal);
        return S_OK;
    }
    return DISP_E_TYPEMISMATCH;
}

HRESULT VariantToLong(const VARIANT& value, int32_t* number) {
    if (value.vt != VT_I4) return DISP_E_TYPEMISMATCH;
    *number = value.lVal;
    return S_OK;
}

HRESULT VariantToDouble(const VARIANT& value, double* number) {
    if (value.vt == VT_R8) {
        *number = value.dblVal;
        return S_OK;
    }
    if (value.vt == VT_I4) {
        *number = value.lVal;
        return S_OK;
    }
    return DISP_E_TYPEMISMATCH;
}

HRESULT VariantToBool(const VARIANT& value, bool* flag) {
    if (value.vt == VT_BOOL) {
        *flag = value.boolVal != VARIANT_FALSE;
        return S_OK;
    }
    if (value.vt == VT_I4) {
        *flag = value.lVal != 0;
        return S_OK;
    }
    return DISP_E_TYPEMISMATCH;
}

HRESULT SetByRefText(const VARIANT& value, std::string_view bytes) {
    if (!IsByRefString(value)) return DISP_E_TYPEMISMATCH;
    if (value.pbstrVal == nullptr) return E_POINTER;
    SysFreeString(*value.pbstrVal);
    *value.pbstrVal = SysAllocStringLen(bytes.data(), static_cast<uint32_t>(bytes.size()));
    return S_OK;
}

}  // namespace platform
