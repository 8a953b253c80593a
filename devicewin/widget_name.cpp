#include "devicewin/widget_name.h"

#include <cctype>
#include <cstdint>
#include <limits>

#include "parameters/parabase/para_base.h"

namespace {

// Digits of the unit parameter behind "_U_".
constexpr size_t kUnitDigits = 3;

bool Contains(const std::string& text, const char* marker) { return text.find(marker) != std::string::npos; }

// The number behind the first `marker` of the name cut at its first "[".
int NumberBehind(const std::string& cut, const char* marker) {
    const size_t at = cut.find(marker);
    return at == std::string::npos ? 0 : LeadingNumber(cut, at + std::char_traits<char>::length(marker));
}

int Clamped(int64_t v) {
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

}  // namespace

int LeadingNumber(const std::string& text, size_t from) {
    size_t i = from;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        // Beyond the int range the value stays at the bound.
        if (value <= std::numeric_limits<int>::max()) value = value * 10 + (text[i] - '0');
    }
    return Clamped(negative ? -value : value);
}

int ParameterFromWidgetName(ParaBase* base, const std::string& name) {
    if (name.size() > kMaxBindingNameLength || !Contains(name, kBindingMarker)) return 0;
    const std::string cut = name.substr(0, name.find('['));
    if (!Contains(cut, kOffsetBindingMarker)) return NumberBehind(cut, kBindingMarker);
    const int n = NumberBehind(cut, kOffsetBindingMarker);
    if (base == nullptr) return n;
    double offset = 0.0;
    const int r = base->IsOnline() ? base->ReadValueDouble(kGroupIndexParameter, &offset)
                                   : base->GetValueDouble(kGroupIndexParameter, &offset);
    if (r != kParaOk) return n;
    const double truncated = offset < -1e10 ? -1e10 : offset > 1e10 ? 1e10 : offset;
    return Clamped(static_cast<int64_t>(n) + static_cast<int64_t>(truncated));
}

int FieldIndexFromWidgetName(const std::string& name) {
    if (name.size() > kMaxBindingNameLength || !Contains(name, kBindingMarker)) return -1;
    const size_t open = name.find('[');
    if (open == std::string::npos) return -1;
    // As a split at "[" and then at "]": closing brackets right after the
    // opening one are skipped, the piece ends at the next one.
    size_t first = open + 1;
    while (first < name.size() && name[first] == ']') ++first;
    const size_t end = name.find(']', first);
    const std::string piece = name.substr(first, end == std::string::npos ? std::string::npos : end - first);
    return piece.empty() ? -1 : LeadingNumber(piece);
}

bool IsOffsetWidgetName(const std::string& name) { return Contains(name, kOffsetBindingMarker); }

int NumberAfterPrefix(const std::string& text, const std::string& prefix) {
    if (text.find(prefix) == std::string::npos) return 0;
    return LeadingNumber(text, prefix.size());
}

bool HasNamesakeInGroup(ParaBase* base, int n) {
    if (base == nullptr || !base->IsPresent(n)) return false;
    double maximum = 0.0;
    if (base->GetMaximumAsDouble(kGroupIndexParameter, &maximum) != kParaOk || maximum < 0) return false;
    const int first = n / 10 * 10;
    const int64_t last = first + static_cast<int64_t>(maximum < 1e6 ? maximum : 1e6);
    const std::string name = base->GetParameterName(n);
    for (int64_t i = first; i <= last && i < 1000; ++i) {
        const int number = static_cast<int>(i);
        if (number != n && base->IsPresent(number) && name == base->GetParameterName(number)) return true;
    }
    return false;
}

int CompanionFromUserData(const std::string& text) {
    if (text.size() > kMaxCompanionTextLength) return 0;
    const size_t at = text.find(kCompanionMarker);
    return at == std::string::npos ? 0 : LeadingNumber(text, at + std::char_traits<char>::length(kCompanionMarker));
}

int UnitParameterFromAuxText(const std::string& text) {
    if (text.rfind(kUnitMarker, 0) != 0) return 0;
    return LeadingNumber(text.substr(std::char_traits<char>::length(kUnitMarker), kUnitDigits));
}
