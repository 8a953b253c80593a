// Raw values as numbers and fixed-width texts, the device kind, the keypad
// and SC groups of a table, and the oscilloscope's fixed-point numbers.
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

#include "bus/base/device_kind.h"
#include "parameters/parabase/para_base.h"
#include "parameters/parabase/value_text_table.h"

namespace {

constexpr char kSingleGroupName[] = "_Parameter";
constexpr const char* kKeypadExtraGroups[] = {"_NONE", "_MENU", "_VAL"};
constexpr int kKeypadExtraGroupCount = 3;
constexpr char kUnassignedSCGroupName[] = "-----";
// Characters from which a FLOAT32 text is shown in exponent form.
constexpr size_t kLongFloatText = 15;

void CopyCut(char* destination, size_t size, const std::string& text) {
    const size_t n = std::min(text.size(), size - 1);
    std::memcpy(destination, text.data(), n);
    destination[n] = '\0';
}

const char* SkipBlanks(const char* text) {
    while (*text == ' ') ++text;
    return text;
}

uint32_t Hours(int32_t raw) { return static_cast<uint32_t>(raw) >> 16; }
unsigned SubNumber(int32_t raw) { return (static_cast<uint32_t>(raw) >> 8) & 0xFF; }

// 2^n for the fraction bits of a fixed-point number (n taken as a byte).
double Scale(int n) { return std::ldexp(1.0, static_cast<uint8_t>(n)); }

// Shifts in unsigned arithmetic; the bits beyond 64 are gone.
uint64_t ShiftLeft(uint64_t v, int n) { return n >= 64 ? 0 : v << n; }

}  // namespace

int ParaBase::RawToDouble(int number, int32_t raw, double* out) {
    if (RequirePresent(number) != kParaOk) return kParaNoParameter;
    const ParameterEntry& e = entries_[number];
    double v = 0.0;
    if (e.type == kTypeErrStruc || !NumberOfRaw(e.type, raw, &v)) return TypeMismatch(number, "(double)");
    if (out != nullptr) *out = v;
    return kParaOk;
}

int ParaBase::GetMaximumAsDouble(int number, double* out) {
    const ParameterEntry* e = GetEntry(number);
    return RawToDouble(number, e != nullptr ? e->maximum : 0, out);
}

int ParaBase::GetMinimumAsDouble(int number, double* out) {
    const ParameterEntry* e = GetEntry(number);
    return RawToDouble(number, e != nullptr ? e->minimum : 0, out);
}

int ParaBase::GetDefaultAsDouble(int number, double* out) {
    const ParameterEntry* e = GetEntry(number);
    return RawToDouble(number, e != nullptr ? e->defaultValue : 0, out);
}

const char* ParaBase::FormatRawValueFixed(int number, int32_t raw) {
    std::string text;
    if (IsPresent(number)) {
        const ParameterEntry& e = entries_[number];
        switch (e.type) {
            case kTypeUsign8:
                if (e.flags & kFlagHex) {
                    text = platform::Format("%02XH", raw & 0xFFFF);
                } else if (e.flags & kFlagValueTexts) {
                    if (const char* t = valueTexts_->GetValueText(number, raw))
                        text = platform::Format("%5s", SkipBlanks(t));
                } else {
                    text = platform::Format("%3u", raw & 0xFF);
                }
                break;
            case kTypeUsign16:
            case kTypePassword:
                text = platform::Format((e.flags & kFlagHex) ? "%04XH" : "%5u", raw & 0xFFFF);
                break;
            case kTypeFixpt16:
                text = platform::Format("%7.2f", (raw & 0xFFFF) * kFixpt16Step);
                break;
            case kTypeInt16:
                text = platform::Format("%6d", static_cast<int16_t>(raw));
                break;
            case kTypeInt32Q16: {
                std::string t = platform::Format("%13.6lf", raw / kQ16PerUnit);
                text = TrimTrailingZeros(t.data());
                break;
            }
            case kTypeFloat32: {
                std::string t = platform::Format("%f", FloatOfBits(raw));
                text = TrimTrailingZeros(t.data());
                if (text.size() >= kLongFloatText) text = platform::Format("%e", FloatOfBits(raw));
                break;
            }
            case kTypeErrStruc:
                if (const char* t = valueTexts_->GetValueText(number, raw)) {
                    const char* shown = *SkipBlanks(t) != '\0' ? SkipBlanks(t) : "E0";
                    text = platform::Format("%05s-%02u,%3uh\n", shown, SubNumber(raw), Hours(raw));
                } else {
                    text = platform::Format("E%04u-%02u,%3uh\n", raw & 0xFF, SubNumber(raw), Hours(raw));
                }
                break;
            case kTypeInt8:
                text = platform::Format("%4d", static_cast<int8_t>(raw));
                break;
            case kTypeInt32:
                text = platform::Format("%11ld", raw);
                break;
            case kTypeUsign32:
                text = platform::Format((e.flags & kFlagHex) ? "%08LXH" : "%10lu", static_cast<uint32_t>(raw));
                break;
            default:
                break;
        }
    }
    CopyCut(ValueTextBuffer, sizeof ValueTextBuffer, text);
    return ValueTextBuffer;
}

int ParaBase::GetDeviceKind() {
    if (TableLoaded == 0) return 0;
    uint16_t code = 0;
    if (GetValueU16(kDeviceCodeParameter, &code) != kParaOk) return 0;
    return DeviceKindFromTypeNumber(code);
}

int ParaBase::GetKPGroupCount() {
    if (GetDeviceKind() == kUnknownDeviceKind) return 1;
    return (entries_[kKeypadGroupParameter].maximum & 0xFF) + kKeypadExtraGroupCount + 1;
}

const char* ParaBase::GetKPGroupName(int group) {
    if (group < 0 || group >= GetKPGroupCount()) return nullptr;
    if (GetDeviceKind() == kUnknownDeviceKind) return kSingleGroupName;
    const int highestText = entries_[kKeypadGroupParameter].maximum & 0xFF;
    if (group <= highestText) return FormatRawValue(kKeypadGroupParameter, group, false);
    return kKeypadExtraGroups[group - highestText - 1];
}

int ParaBase::GetSCGroupCount() {
    if (GetDeviceKind() == kUnknownDeviceKind) return 1;
    return entries_[kSCGroupParameter].maximum;
}

const char* ParaBase::GetSCGroupName(int group) {
    if (group < 0 || group > GetSCGroupCount()) return nullptr;
    if (GetDeviceKind() == kUnknownDeviceKind) return kSingleGroupName;
    if (group == 0) return kUnassignedSCGroupName;
    return FormatRawValue(kSCGroupParameter, group, false);
}

namespace {

// Whether some present entry satisfies `wanted`.
template <typename Wanted>
bool AnyPresent(const std::vector<ParameterEntry>& entries, Wanted wanted) {
    for (const ParameterEntry& e : entries) {
        if (e.number != 0 && e.valid != 0 && wanted(e)) return true;
    }
    return false;
}

}  // namespace

bool ParaBase::HasUsedInKPGroup(int group) const {
    return AnyPresent(entries_, [&](const ParameterEntry& e) { return e.KPGroup == group && e.transfer != 0; });
}

bool ParaBase::HasValidInKPGroup(int group) const {
    return AnyPresent(entries_, [&](const ParameterEntry& e) { return e.KPGroup == group; });
}

bool ParaBase::HasUnusedInKPGroup(int group) const {
    return AnyPresent(entries_, [&](const ParameterEntry& e) { return e.KPGroup == group && e.transfer == 0; });
}

bool ParaBase::HasValidInSCGroup(int group) const {
    return AnyPresent(entries_, [&](const ParameterEntry& e) { return e.SCGroup == group; });
}

bool ParaBase::HasUsedInSCGroup(int group) const {
    return AnyPresent(entries_, [&](const ParameterEntry& e) { return e.SCGroup == group && e.transfer != 0; });
}

void ParaBase::SetAllValidUsed() {
    for (ParameterEntry& e : entries_) e.transfer = e.number != 0 && e.valid != 0;
}

void ParaBase::SetAllUnused() {
    for (ParameterEntry& e : entries_) e.transfer = 0;
}

// --- free conversions ---

char* TrimTrailingZeros(char* text) {
    if (text == nullptr || std::strchr(text, '.') == nullptr) return text;
    size_t n = std::strlen(text);
    while (n > 0 && text[n - 1] == '0') text[--n] = '\0';
    if (n > 0 && text[n - 1] == '.') text[--n] = '\0';
    return text;
}

double FixedPoint16ToDouble(int16_t v, int n) {
    const int bits = static_cast<uint8_t>(n);
    const int32_t whole = bits >= 16 ? (v < 0 ? -1 : 0) : v >> bits;
    const uint32_t fraction = static_cast<uint16_t>(v) & static_cast<uint32_t>(ShiftLeft(1, bits) - 1);
    return whole + fraction / Scale(bits);
}

double FixedPoint32ToDouble(int32_t v, int n) {
    const int bits = static_cast<uint8_t>(n);
    if (bits >= 32) return static_cast<uint32_t>(v) / Scale(bits);
    const uint32_t fraction = static_cast<uint32_t>(v) & static_cast<uint32_t>(ShiftLeft(1, bits) - 1);
    return (v >> bits) + fraction / Scale(bits);
}

namespace {

// Within the range, a value >= 0 is its whole part shifted left with the
// fraction's bits (at most `fractionMask` of them) beside it. A negative value
// with a fraction would mix the sign bits of both parts, so it is converted
// as a whole.
template <typename Fixed>
Fixed FloatToFixedPoint(float x, int n, uint64_t fractionMask) {
    using Unsigned = std::make_unsigned_t<Fixed>;
    const int bits = static_cast<uint8_t>(n);
    const double scaled = x * Scale(bits);
    if (!(scaled >= std::numeric_limits<Fixed>::min() && scaled <= std::numeric_limits<Fixed>::max())) return 0;
    if (x < 0) return static_cast<Fixed>(std::trunc(scaled));
    const auto whole = static_cast<uint64_t>(std::trunc(x));
    const auto fraction = static_cast<uint64_t>(std::trunc((x - std::trunc(x)) * Scale(bits)));
    return static_cast<Fixed>(static_cast<Unsigned>(ShiftLeft(whole, bits) | (fraction & fractionMask)));
}

}  // namespace

int16_t FloatToFixedPoint16(float x, int n) { return FloatToFixedPoint<int16_t>(x, n, ~uint64_t{0}); }

// The fraction keeps 16 bits, as the drive's 32-bit fixed-point numbers do.
int32_t FloatToFixedPoint32(float x, int n) { return FloatToFixedPoint<int32_t>(x, n, 0xFFFF); }
