// Display texts of values (numbers, hexadecimal, value texts, error records),
// plain number texts, value texts translated by the description file, and
// the explanations of bits.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "parameters/parabase/para_base.h"
#include "parameters/parabase/para_description_file.h"
#include "parameters/parabase/value_text_table.h"
#include "parameters/values/darray.h"
#include "parameters/values/dstring.h"

namespace {

// The one empty text that display operations hand out.
const char kEmptyText[] = "";
// Characters from which a FLOAT32 text is shown in exponent form.
constexpr size_t kLongFloatText = 15;

// The text from its first non-blank character, without trailing blanks; a
// value text may hold blanks ("Speed control").
std::string WithoutOuterBlanks(const char* text) {
    std::string_view t(text);
    const size_t first = t.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(t.substr(first, t.find_last_not_of(' ') + 1 - first));
}

std::string Trimmed(std::string text) { return TrimTrailingZeros(text.data()); }

unsigned SubNumber(int32_t raw) { return (static_cast<uint32_t>(raw) >> 8) & 0xFF; }
uint32_t Hours(int32_t raw) { return static_cast<uint32_t>(raw) >> 16; }

// trunc(v) as the 32-bit pattern of a signed or unsigned integer.
int32_t TruncatedRaw(double v) {
    return static_cast<int32_t>(static_cast<uint32_t>(
        TruncClamped(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<uint32_t>::max())));
}

// trunc(v x scale), and 1 or -1 instead of 0 for a nonzero v.
int32_t ScaledRaw(double v, double scale, bool negativeToMinusOne) {
    int32_t raw = TruncatedRaw(v * scale);
    if (raw == 0 && v > 0) raw = 1;
    if (raw == 0 && v < 0 && negativeToMinusOne) raw = -1;
    return raw;
}

// The raw value a number has in a parameter of `type`; false for a type
// without a number form.
bool RawOfNumber(char type, double v, int32_t* raw) {
    switch (type) {
        case kTypeUsign8:
        case kTypeUsign16:
        case kTypePassword:
        case kTypeInt16:
        case kTypeErrStruc:
        case kTypeInt8:
        case kTypeInt32:
        case kTypeUsign32:
            *raw = TruncatedRaw(v);
            return true;
        case kTypeFixpt16:
            *raw = ScaledRaw(v, kFixpt16PerUnit, false);
            return true;
        case kTypeInt32Q16:
            *raw = ScaledRaw(v, kQ16PerUnit, true);
            return true;
        case kTypeFloat32:
            *raw = BitsOfFloat(NearestFloat(v));
            return true;
        default:
            return false;
    }
}

}  // namespace

const char* ParaBase::Display(const std::string& text) {
    if (text.empty()) return kEmptyText;
    // Cut to the buffer: a long STRING value must not run past it.
    const size_t n = std::min(text.size(), sizeof DisplayText - 1);
    std::memcpy(DisplayText, text.data(), n);
    DisplayText[n] = '\0';
    return DisplayText;
}

const char* ParaBase::FormatRawValue(int index, int32_t raw, bool withNumber) {
    if (!IsPresent(index)) return kEmptyText;
    const ParameterEntry& e = entries_[index];
    switch (e.type) {
        case kTypeUsign8: {
            if (e.flags & kFlagHex) return Display(platform::Format("%02XH", raw & 0xFFFF));
            if ((e.flags & kFlagValueTexts) == 0) return Display(platform::Format("%u", raw & 0xFF));
            if (valueTexts_->GetValueText(index, raw & 0xFF) == nullptr) {
                DisplayText[0] = '\0';
                return DisplayText;
            }
            const std::string word = WithoutOuterBlanks(valueTexts_->GetValueText(index, raw & 0xFF));
            return Display(withNumber ? platform::Format("%s (%u)", word, raw & 0xFF) : platform::Format("%s", word));
        }
        case kTypeUsign16:
        case kTypePassword:
            return Display(platform::Format((e.flags & kFlagHex) ? "%04XH" : "%u", raw & 0xFFFF));
        case kTypeUsign32:
            return Display(platform::Format((e.flags & kFlagHex) ? "%08LXH" : "%lu", static_cast<uint32_t>(raw)));
        case kTypeFixpt16:
            return Display(platform::Format("%0.2f", (raw & 0xFFFF) * kFixpt16Step));
        case kTypeInt8:
            return Display(platform::Format("%d", static_cast<int8_t>(raw)));
        case kTypeInt16:
            return Display(platform::Format("%d", static_cast<int16_t>(raw)));
        case kTypeInt32:
            return Display(platform::Format("%ld", raw));
        case kTypeInt32Q16:
            return Display(Trimmed(platform::Format("%lf", raw / kQ16PerUnit)));
        case kTypeFloat32: {
            std::string text = Trimmed(platform::Format("%f", FloatOfBits(raw)));
            if (text.size() >= kLongFloatText) text = platform::Format("%e", FloatOfBits(raw));
            return Display(text);
        }
        case kTypeErrStruc: {
            const char* text = valueTexts_->GetValueText(index, raw & 0xFF);
            if (text == nullptr)
                return Display(platform::Format("E%02u-%u,%uh", raw & 0xFF, SubNumber(raw), Hours(raw)));
            while (*text == ' ') ++text;
            return Display(platform::Format("%5s-%2u,%uh", *text != '\0' ? text : "E0", SubNumber(raw), Hours(raw)));
        }
        default:
            return kEmptyText;
    }
}

const char* ParaBase::FormatStoredValue(int index, int element, bool withNumber) {
    if (!IsPresent(index)) return kEmptyText;
    if (entries_[index].type == kTypeString) return Display(TextOf(index).Text());
    int32_t raw = 0;
    if (StoredRaw(index, element, &raw) != kParaOk) return kEmptyText;
    return FormatRawValue(index, raw, withNumber);
}

const char* ParaBase::FormatU16Value(int index, uint16_t raw, bool withNumber) {
    return FormatUnsignedValue(index, raw, withNumber);
}

const char* ParaBase::FormatUnsignedValue(int index, uint32_t raw, bool withNumber) {
    if (!IsPresent(index)) return kEmptyText;
    switch (entries_[index].type) {
        case kTypeUsign8:
        case kTypeUsign16:
        case kTypeFixpt16:
        case kTypePassword:
        case kTypeInt16:
        case kTypeInt32Q16:
        case kTypeErrStruc:
        case kTypeInt8:
        case kTypeInt32:
        case kTypeUsign32:
            return FormatRawValue(index, static_cast<int32_t>(raw), withNumber);
        case kTypeFloat32:
            return FormatRawValue(index, BitsOfFloat(static_cast<float>(raw)), withNumber);
        default:
            return kEmptyText;
    }
}

const char* ParaBase::FormatSignedValue(int index, int32_t raw, bool withNumber) {
    if (!IsPresent(index)) return kEmptyText;
    switch (entries_[index].type) {
        case kTypeInt16:
        case kTypeInt32Q16:
        case kTypeInt8:
        case kTypeInt32:
            return FormatRawValue(index, raw, withNumber);
        case kTypeFloat32:
            return FormatRawValue(index, BitsOfFloat(static_cast<float>(raw)), withNumber);
        default:
            return kEmptyText;
    }
}

const char* ParaBase::FormatDoubleValue(int index, double v, bool withNumber) {
    if (!IsPresent(index)) return kEmptyText;
    int32_t raw = 0;
    if (!RawOfNumber(entries_[index].type, v, &raw)) return kEmptyText;
    return FormatRawValue(index, raw, withNumber);
}

dstring& ParaBase::RawValueToString(dstring& out, int index, int32_t raw) {
    std::string text;
    if (IsPresent(index)) {
        switch (entries_[index].type) {
            case kTypeUsign8:
                text = platform::Format("%u", raw & 0xFF);
                break;
            case kTypeUsign16:
                text = platform::Format("%u", raw & 0xFFFF);
                break;
            case kTypeUsign32:
                text = platform::Format("%u", static_cast<uint32_t>(raw));
                break;
            case kTypeInt8:
                text = platform::Format("%d", static_cast<int8_t>(raw));
                break;
            case kTypeInt16:
                text = platform::Format("%d", static_cast<int16_t>(raw));
                break;
            case kTypeInt32:
                text = platform::Format("%d", raw);
                break;
            case kTypeInt32Q16:
                text = platform::Format("%lf", raw / kQ16PerUnit);
                break;
            case kTypeFloat32:
                text = platform::Format("%lf", FloatOfBits(raw));
                break;
            case kTypeErrStruc:
                text = platform::Format("%u", raw & 0xFF);
                break;
            case kTypeFixpt16:
                text = platform::Format("%lf", (raw & 0xFFFF) * kFixpt16Step);
                break;
            default:
                break;
        }
    }
    out.AssignText(text.c_str());
    return out;
}

int ParaBase::DeviceClass() {
    double code = 0.0;
    if (GetValueDouble(kDeviceCodeParameter, &code) != kParaOk) return 0;
    return static_cast<int>(TruncClamped(code, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()) /
                            kDeviceClassDivisor);
}

const char* ParaBase::Dispatched(int index, const char* text, char option) {
    if (descriptionFile_ == nullptr) return text;
    const std::string name = GetParameterName(index);
    return descriptionFile_->TranslateValueText(name.c_str(), text, option, DeviceClass());
}

const char* ParaBase::GetDispatchedValueText(int index, int element) {
    return GetDispatchedValueTextEx(index, 0, element);
}

const char* ParaBase::GetDispatchedValueTextEx(int index, char option, int element) {
    return Dispatched(index, FormatStoredValue(index, element, false), option);
}

const char* ParaBase::GetDispatchedDoubleText(int index, double v) { return GetDispatchedDoubleTextEx(index, 0, v); }

const char* ParaBase::GetDispatchedDoubleTextEx(int index, char option, double v) {
    return Dispatched(index, FormatDoubleValue(index, v, false), option);
}

const char* ParaBase::GetBitText(int index, int bit, int extra) {
    static std::string fallback;
    const std::string name = GetParameterName(index);
    const int deviceClass = DeviceClass();
    if (descriptionFile_ != nullptr) {
        if (const char* text = descriptionFile_->FindBitExplorerText(name.c_str(), bit, extra, deviceClass))
            return text;
    }
    ReadBusParameter(index, 0, GetValueCount(index));
    const std::string shown = FormatStoredValue(index, 0, false);
    if (descriptionFile_ != nullptr)
        return descriptionFile_->GetBitExplorerTextForValue(
            deviceClass, name.c_str(), shown.c_str(), index, name.c_str(), bit, extra);
    fallback = ParaDescriptionFile::BitFallbackText(index, name.c_str(), extra, bit);
    return fallback.c_str();
}

namespace {

// The parameter that reports the device's active run mode.
constexpr int kRunModeReportParameter = 151;

// A value text up to its first blank, leading blanks skipped ("  Off mode"
// gives "Off").
std::string FirstWord(const char* text) {
    std::string_view t(text);
    const size_t first = t.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    t.remove_prefix(first);
    return std::string(t.substr(0, t.find(' ')));
}

}  // namespace

int ParaBase::DoubleToRaw(int number, double v, int32_t* raw) {
    if (const int r = RequirePresent(number)) return r;
    const char type = entries_[number].type;
    int32_t result = 0;
    if (type == kTypeErrStruc || !RawOfNumber(type, v, &result)) return TypeMismatch(number, "(double)");
    // A small negative FIXPT16 value has no raw form: 0 would change its sign.
    if (type == kTypeFixpt16 && result == 0 && v < 0) return TypeMismatch(number, "(double)");
    if (raw != nullptr) *raw = result;
    return kParaOk;
}

std::string ParaBase::FormatValue(int number, double v) {
    int32_t raw = 0;
    if (DoubleToRaw(number, v, &raw) != kParaOk) return {};
    const ParameterEntry& e = entries_[number];
    switch (e.type) {
        case kTypeUsign8:
            if ((e.flags & kFlagHex) == 0 && (e.flags & kFlagValueTexts) != 0) {
                const char* text = valueTexts_->GetValueText(number, raw & 0xFF);
                if (text == nullptr) return {};
                return platform::Format("%s (%u)", FirstWord(text), raw & 0xFF);
            }
            break;
        case kTypeFixpt16:
            return platform::Format("%0.2lf", v);
        case kTypeInt32Q16:
        case kTypeFloat32:
            return Trimmed(platform::Format("%lf", v));
        default:
            break;
    }
    return FormatRawValue(number, raw, true);
}

double ParaBase::GetMinimum(int number) {
    double v = 0.0;
    return GetMinimumAsDouble(number, &v) == kParaOk ? v : 0.0;
}

double ParaBase::GetMaximum(int number) {
    double v = 0.0;
    return GetMaximumAsDouble(number, &v) == kParaOk ? v : 0.0;
}

double ParaBase::GetDefault(int number) {
    double v = 0.0;
    return GetDefaultAsDouble(number, &v) == kParaOk ? v : 0.0;
}

uint8_t ParaBase::GetRunModeChar() {
    int32_t raw = 0;
    if (!IsPresent(kRunModeReportParameter) || StoredRaw(kRunModeReportParameter, 0, &raw) != kParaOk) return 0;
    return static_cast<uint8_t>(raw & 0xFF);
}
