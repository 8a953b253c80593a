// Typed access to the table: the get and set families with their type,
// range and write-level checks.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "app/services/user_level.h"
#include "parameters/parabase/para_base.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"
#include "platform/base/hex_digit.h"
#include "scope/rounding/significant_digits.h"

namespace {

// Accepted type codes of the families.
constexpr char kUnsignedTypes[] = {
    kTypeUsign8, kTypeUsign16, kTypeFixpt16, kTypePassword, kTypeErrStruc, kTypeUsign32, '\0'};
constexpr char kSignedTypes[] = {kTypeInt16, kTypeInt32Q16, kTypeInt8, kTypeInt32, '\0'};
constexpr char kNumberTypes[] = {kTypeUsign8,
                                 kTypeUsign16,
                                 kTypeFixpt16,
                                 kTypePassword,
                                 kTypeInt16,
                                 kTypeInt32Q16,
                                 kTypeFloat32,
                                 kTypeInt8,
                                 kTypeInt32,
                                 kTypeUsign32,
                                 '\0'};
constexpr char kDoubleTypes[] = {kTypeUsign8,
                                 kTypeUsign16,
                                 kTypeFixpt16,
                                 kTypePassword,
                                 kTypeInt16,
                                 kTypeInt32Q16,
                                 kTypeFloat32,
                                 kTypeErrStruc,
                                 kTypeInt8,
                                 kTypeInt32,
                                 kTypeUsign32,
                                 '\0'};
constexpr char kTextSettableTypes[] = {kTypeUsign8,
                                       kTypeUsign16,
                                       kTypeFixpt16,
                                       kTypePassword,
                                       kTypeInt16,
                                       kTypeInt32Q16,
                                       kTypeFloat32,
                                       kTypeString,
                                       kTypeInt8,
                                       kTypeInt32,
                                       kTypeUsign32,
                                       '\0'};

// Requested-type texts of message 10.
constexpr char kRequestedUnsigned[] = "(usign32)";
constexpr char kRequestedSigned[] = "(int32)";
constexpr char kRequestedFloat[] = "(float32)";
constexpr char kRequestedText[] = "(dstring)";
constexpr char kRequestedRaw[] = "(MultiDataType)";

// Number ranges of the fixed-point types as numbers.
constexpr double kFixpt16Highest = 3276.0;
constexpr double kQ16Highest = 32767.0;
constexpr double kQ16Lowest = -32768.0;
constexpr int64_t kFixpt16RawHighest = 0xFFFF;

bool IsOneOf(char type, const char* types) { return type != '\0' && std::strchr(types, type) != nullptr; }

// The smallest and largest integer a type stores.
void IntegerRange(char type, int64_t* lo, int64_t* hi) {
    switch (type) {
        case kTypeUsign8:
            *lo = 0;
            *hi = std::numeric_limits<uint8_t>::max();
            break;
        case kTypeUsign16:
        case kTypePassword:
            *lo = 0;
            *hi = std::numeric_limits<uint16_t>::max();
            break;
        case kTypeUsign32:
            *lo = 0;
            *hi = std::numeric_limits<uint32_t>::max();
            break;
        case kTypeInt8:
            *lo = std::numeric_limits<int8_t>::min();
            *hi = std::numeric_limits<int8_t>::max();
            break;
        case kTypeInt16:
            *lo = std::numeric_limits<int16_t>::min();
            *hi = std::numeric_limits<int16_t>::max();
            break;
        default:
            *lo = std::numeric_limits<int32_t>::min();
            *hi = std::numeric_limits<int32_t>::max();
            break;
    }
}

const char* SkipWhite(const char* p) {
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}

// The decimal integer at the start of a text (blanks, sign, digits), held
// within the 64-bit range; 0 without digits.
int64_t LeadingInteger(const char* text) {
    const char* p = SkipWhite(text);
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    uint64_t v = 0;
    constexpr uint64_t kLimit = uint64_t{1} << 63;
    for (; *p >= '0' && *p <= '9'; ++p) v = std::min(kLimit, v * 10 + static_cast<uint64_t>(*p - '0'));
    if (negative) return v >= kLimit ? std::numeric_limits<int64_t>::min() : -static_cast<int64_t>(v);
    return v >= kLimit ? std::numeric_limits<int64_t>::max() : static_cast<int64_t>(v);
}

// The hexadecimal number at the start of a text ("0x" allowed), held below
// 2^36; 0 without digits.
int64_t LeadingHex(const char* text) {
    const char* p = SkipWhite(text);
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) p += 2;
    constexpr int64_t kLimit = int64_t{1} << 36;
    int64_t v = 0;
    for (;; ++p) {
        const int digit = platform::HexDigitValue(*p);
        if (digit < 0) break;
        v = std::min(kLimit, v * 16 + digit);
    }
    return v;
}

// The decimal floating-point number at the start of a text: sign, digits,
// point, exponent; no other notation. 0 without one.
double LeadingNumber(const char* text) {
    const char* start = SkipWhite(text);
    const char* p = start;
    if (*p == '-' || *p == '+') ++p;
    bool digits = false;
    for (; *p >= '0' && *p <= '9'; ++p) digits = true;
    if (*p == '.') {
        for (++p; *p >= '0' && *p <= '9'; ++p) digits = true;
    }
    if (!digits) return 0.0;
    if (*p == 'e' || *p == 'E') {
        const char* q = p + 1;
        if (*q == '-' || *q == '+') ++q;
        if (*q >= '0' && *q <= '9') {
            for (p = q; *p >= '0' && *p <= '9'; ++p) {}
        }
    }
    return std::strtod(std::string(start, p).c_str(), nullptr);
}

std::string Trimmed(const char* text) {
    std::string s = text;
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

// --- checks shared by the families ---

int ParaBase::RequirePresent(int index) {
    if (IsPresent(index)) return kParaOk;
    return SetMessage(kParaNoParameter, {index});
}

int ParaBase::TypeMismatch(int index, const char* requested) {
    return SetMessage(kParaTypeMismatch, {TypeName(entries_[index].type), index, GetParameterName(index), requested});
}

int ParaBase::RequireType(int index, const char* types, const char* requested) {
    if (const int r = RequirePresent(index)) return r;
    if (IsOneOf(entries_[index].type, types)) return kParaOk;
    return TypeMismatch(index, requested);
}

int ParaBase::RequireWriteLevel(int index) {
    if (IsWriteAllowed(index, kSetterWriteLevel)) return kParaOk;
    return SetMessage(kParaWriteLevel, {index, GetParameterName(index), GetUserLevel()});
}

int ParaBase::StoredRaw(int index, int element, int32_t* raw) const {
    const ParameterEntry& e = entries_[index];
    if ((e.flags & kFlagArray) == 0) {
        *raw = e.value;
        return kParaOk;
    }
    if (!HasArrayClass(e.type)) return kParaInvalidData;
    const darray* array = values_[index].array.get();
    if (array == nullptr || !array->GetElement(raw, element)) return kParaShortArray;
    return kParaOk;
}

int ParaBase::FetchRaw(int index, int element, int32_t* raw) {
    const int r = StoredRaw(index, element, raw);
    if (r == kParaInvalidData) return SetMessage(r, {index, GetParameterName(index)});
    return r;
}

int ParaBase::StoreRaw(int index, int element, int32_t raw) {
    ParameterEntry& e = entries_[index];
    if ((e.flags & kFlagArray) == 0) {
        e.value = raw;
        return kParaOk;
    }
    if (!HasArrayClass(e.type)) return SetMessage(kParaInvalidData, {index, GetParameterName(index)});
    darray* array = values_[index].array.get();
    // The array takes the low bytes of the little-endian word.
    const uint8_t bytes[4] = {static_cast<uint8_t>(raw),
                              static_cast<uint8_t>(raw >> 8),
                              static_cast<uint8_t>(raw >> 16),
                              static_cast<uint8_t>(raw >> 24)};
    if (array == nullptr || !array->SetElement(bytes, element)) return kParaShortArray;
    return kParaOk;
}

int ParaBase::OutOfRange(int index, const char* valueText) {
    return SetMessage(kParaOutOfRange, {index, GetParameterName(index), valueText, GetParameterUnit(index)});
}

int ParaBase::OutOfRangeNumber(int index, double v) { return OutOfRange(index, platform::Format("%lf", v).c_str()); }

// --- get ---

int ParaBase::GetWidened(int index, const char* types, const char* requested, int32_t* out, int element) {
    if (const int r = RequireType(index, types, requested)) return r;
    int32_t raw = 0;
    if (const int r = FetchRaw(index, element, &raw)) return r;
    WidenRawByType(entries_[index].type, &raw);
    *out = raw;
    return kParaOk;
}

namespace {

// A wide getter's result cut to the width of `Narrow`.
template <typename Narrow, typename Wide, typename Getter>
int Narrowed(Narrow* out, Getter get) {
    Wide v = 0;
    const int r = get(&v);
    if (r == kParaOk) *out = static_cast<Narrow>(v);
    return r;
}

}  // namespace

int ParaBase::GetValueU32(int index, uint32_t* out, int element) {
    int32_t raw = 0;
    const int r = GetWidened(index, kUnsignedTypes, kRequestedUnsigned, &raw, element);
    if (r == kParaOk) *out = static_cast<uint32_t>(raw);
    return r;
}

int ParaBase::GetValueU8(int index, uint8_t* out, int element) {
    return Narrowed<uint8_t, uint32_t>(out, [&](uint32_t* v) { return GetValueU32(index, v, element); });
}

int ParaBase::GetValueU16(int index, uint16_t* out, int element) {
    return Narrowed<uint16_t, uint32_t>(out, [&](uint32_t* v) { return GetValueU32(index, v, element); });
}

int ParaBase::GetValueS32(int index, int32_t* out, int element) {
    return GetWidened(index, kSignedTypes, kRequestedSigned, out, element);
}

int ParaBase::GetValueS8(int index, int8_t* out, int element) {
    return Narrowed<int8_t, int32_t>(out, [&](int32_t* v) { return GetValueS32(index, v, element); });
}

int ParaBase::GetValueS16(int index, int16_t* out, int element) {
    return Narrowed<int16_t, int32_t>(out, [&](int32_t* v) { return GetValueS32(index, v, element); });
}

int ParaBase::GetValueFloat(int index, float* out, int element) {
    if (const int r = RequireType(index, kNumberTypes, kRequestedFloat)) return r;
    int32_t raw = 0;
    if (const int r = FetchRaw(index, element, &raw)) return r;
    double v = 0.0;
    NumberOfRaw(entries_[index].type, raw, &v);
    *out = entries_[index].type == kTypeFloat32 ? FloatOfBits(raw) : static_cast<float>(v);
    return kParaOk;
}

int ParaBase::GetValueDouble(int index, double* out, int element) {
    if (const int r = RequireType(index, kDoubleTypes, kRequestedFloat)) return r;
    int32_t raw = 0;
    if (const int r = FetchRaw(index, element, &raw)) return r;
    double v = 0.0;
    NumberOfRaw(entries_[index].type, raw, &v);
    if (entries_[index].type == kTypeFloat32) v = RoundToSignificantDigits(v, kFloatSignificantDigits, true);
    *out = v;
    return kParaOk;
}

int ParaBase::GetRawValue(int index, int32_t* out, int element) {
    if (const int r = RequirePresent(index)) return r;
    if (entries_[index].type == kTypeString) return TypeMismatch(index, kRequestedRaw);
    return FetchRaw(index, element, out);
}

int ParaBase::GetValueString(int index, dstring& out, int element) {
    if (const int r = RequirePresent(index)) return r;
    if (entries_[index].type == kTypeString) {
        out.AssignText(TextOf(index).Text());
        return kParaOk;
    }
    int32_t raw = 0;
    if (const int r = FetchRaw(index, element, &raw)) return r;
    out.AssignText(FormatStoredValue(index, element, false));
    return kParaOk;
}

// --- set ---

int ParaBase::SetValueU32(int index, uint32_t v, int element) {
    if (const int r = RequireType(index, kUnsignedTypes, kRequestedUnsigned)) return r;
    const ParameterEntry& e = entries_[index];
    if (e.type != kTypeErrStruc && (v < RawAtTypeWidth(e.type, e.minimum) || v > RawAtTypeWidth(e.type, e.maximum)))
        return OutOfRange(index, FormatUnsignedValue(index, v, false));
    return StoreRaw(index, element, static_cast<int32_t>(v));
}

int ParaBase::SetValueU8(int index, uint8_t v, int element) { return SetValueU32(index, v, element); }

int ParaBase::SetValueU16(int index, uint16_t v, int element) { return SetValueU32(index, v, element); }

int ParaBase::SetValueS32(int index, int32_t v, int element) {
    if (const int r = RequireType(index, kSignedTypes, kRequestedSigned)) return r;
    const ParameterEntry& e = entries_[index];
    if (v < RawAtTypeWidth(e.type, e.minimum) || v > RawAtTypeWidth(e.type, e.maximum))
        return OutOfRange(index, FormatSignedValue(index, v, false));
    return StoreRaw(index, element, v);
}

int ParaBase::SetValueS16(int index, int16_t v, int element) { return SetValueS32(index, v, element); }

int ParaBase::SetValueFloat(int index, float v, int element) { return SetValueDouble(index, v, element); }

int ParaBase::SetFromDouble(int index, double v, int32_t* raw) {
    const ParameterEntry& e = entries_[index];
    if (IsPlainIntegerType(e.type)) {
        const double lo = static_cast<double>(RawAtTypeWidth(e.type, e.minimum));
        const double hi = static_cast<double>(RawAtTypeWidth(e.type, e.maximum));
        if (!(v >= lo && v <= hi)) return OutOfRange(index, FormatDoubleValue(index, v, false));
        *raw = static_cast<int32_t>(static_cast<uint32_t>(
            TruncClamped(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<uint32_t>::max())));
        WidenRawByType(e.type, raw);
        return kParaOk;
    }
    switch (e.type) {
        case kTypeFloat32: {
            const double lo = RoundToSignificantDigits(FloatOfBits(e.minimum), kFloatSignificantDigits, true);
            const double hi = RoundToSignificantDigits(FloatOfBits(e.maximum), kFloatSignificantDigits, true);
            if (!(v >= lo && v <= hi)) return OutOfRange(index, FormatDoubleValue(index, v, false));
            *raw = BitsOfFloat(NearestFloat(v));
            return kParaOk;
        }
        case kTypeInt32Q16: {
            if (!(v <= kQ16Highest && v >= kQ16Lowest)) return OutOfRangeNumber(index, v);
            int32_t r = static_cast<int32_t>(std::trunc(v * kQ16PerUnit));
            if (r == 0 && v > 0) r = 1;
            if (r == 0 && v < 0) r = -1;
            if (r < e.minimum || r > e.maximum) return OutOfRange(index, FormatDoubleValue(index, v, false));
            *raw = r;
            return kParaOk;
        }
        case kTypeFixpt16: {
            // Negative numbers have no FIXPT16 form: they would wrap to large
            // raw values.
            if (!(v <= kFixpt16Highest && v >= 0.0)) return OutOfRangeNumber(index, v);
            int32_t r = static_cast<int32_t>(std::trunc(v * kFixpt16PerUnit));
            if (r == 0 && v > 0) r = 1;
            if (r < RawAtTypeWidth(e.type, e.minimum) || r > RawAtTypeWidth(e.type, e.maximum))
                return OutOfRange(index, FormatDoubleValue(index, v, false));
            *raw = r;
            return kParaOk;
        }
        default:
            return TypeMismatch(index, kRequestedFloat);
    }
}

int ParaBase::SetValueDouble(int index, double v, int element) {
    if (const int r = RequirePresent(index)) return r;
    if (const int r = RequireWriteLevel(index)) return r;
    int32_t raw = 0;
    if (const int r = SetFromDouble(index, v, &raw)) return r;
    return StoreRaw(index, element, raw);
}

int ParaBase::SetRawValue(int index, int32_t raw, int element) {
    if (const int r = RequirePresent(index)) return r;
    if (const int r = RequireWriteLevel(index)) return r;
    const ParameterEntry& e = entries_[index];
    WidenRawByType(e.type, &raw);
    if (e.type == kTypeString) return TypeMismatch(index, kRequestedRaw);
    if (!IsOneOf(e.type, kNumberTypes))
        return SetMessage(kParaWriteLevel, {index, GetParameterName(index), GetUserLevel()});
    if (!IsRawWithinLimits(e, raw)) return OutOfRange(index, FormatRawValue(index, raw, false));
    return StoreRaw(index, element, raw);
}

int ParaBase::ParseValueText(int index, const dstring& text, int32_t* raw) {
    const ParameterEntry& e = entries_[index];
    const char* t = text.Text();
    *raw = 0;
    if (IsPlainIntegerType(e.type)) {
        int64_t v = 0;
        if (IsUnsignedType(e.type) && (e.flags & kFlagValueTexts)) {
            const int highest = e.maximum & 0xFF;
            for (int i = 0; i <= highest; ++i) {
                if (Trimmed(FormatRawValueFixed(index, i)) == t) {
                    v = i;
                    break;
                }
            }
        } else if (IsUnsignedType(e.type) && (e.flags & kFlagHex)) {
            std::string digits = t;
            while (!digits.empty() && digits.back() == 'H') digits.pop_back();
            while (!digits.empty() && digits.back() == 'h') digits.pop_back();
            v = LeadingHex(digits.c_str());
        } else {
            v = LeadingInteger(t);
        }
        // A number the type cannot hold would wrap to another value.
        int64_t lo = 0, hi = 0;
        IntegerRange(e.type, &lo, &hi);
        if (v < lo || v > hi) return OutOfRange(index, t);
        *raw = static_cast<int32_t>(static_cast<uint32_t>(v));
        return kParaOk;
    }
    switch (e.type) {
        case kTypeFixpt16: {
            const double v = LeadingNumber(t);
            const double scaled = std::trunc(v * kFixpt16PerUnit);
            if (!(scaled >= 0.0 && scaled <= kFixpt16RawHighest)) return OutOfRangeNumber(index, v);
            *raw = static_cast<int32_t>(scaled);
            return kParaOk;
        }
        case kTypeInt32Q16: {
            const double v = LeadingNumber(t);
            const double scaled = std::trunc(v * kQ16PerUnit);
            if (!(scaled >= std::numeric_limits<int32_t>::min() && scaled <= std::numeric_limits<int32_t>::max()))
                return OutOfRangeNumber(index, v);
            *raw = static_cast<int32_t>(scaled);
            return kParaOk;
        }
        case kTypeFloat32:
            *raw = BitsOfFloat(NearestFloat(LeadingNumber(t)));
            return kParaOk;
        default:
            return TypeMismatch(index, kRequestedText);
    }
}

int ParaBase::SetValueString(int index, const dstring& text, int element) {
    if (const int r = RequirePresent(index)) return r;
    if (const int r = RequireWriteLevel(index)) return r;
    if (entries_[index].type == kTypeString) {
        TextOf(index).Assign(text);
        return kParaOk;
    }
    if (!IsOneOf(entries_[index].type, kTextSettableTypes)) return TypeMismatch(index, kRequestedText);
    int32_t raw = 0;
    if (const int r = ParseValueText(index, text, &raw)) return r;
    return SetRawValue(index, raw, element);
}

int ParaBase::SetDefaultValue(int index) {
    double d = 0.0;
    if (const int r = GetDefaultAsDouble(index, &d)) return r;
    const int count = GetValueCount(index);
    for (int element = 0; element < count; ++element) SetValueDouble(index, d, element);
    return kParaOk;
}
