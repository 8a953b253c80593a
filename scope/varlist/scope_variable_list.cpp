#include "scope/varlist/scope_variable_list.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

#include "platform/base/quoted_text.h"
#include "platform/files/paths.h"
#include "platform/files/text_file.h"

namespace {

constexpr std::string_view kSeparators = " \t,";
constexpr size_t kFieldsPerLine = 6;
// The largest factor a time base can give is 2^14; beyond it the time itself is the factor.
constexpr int kLargestFactorExponent = 14;

// Splits a line at runs of blanks, tabs and commas. A field that starts with
// a quote runs to its closing quote (a doubled quote inside stands for one),
// or to the end of the line without one.
std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    size_t pos = line.find_first_not_of(kSeparators);
    while (pos != std::string_view::npos) {
        size_t end = 0;
        if (line[pos] == platform::kTextQuote) {
            std::string field;
            end = platform::ReadQuotedText(line, pos, &field);
            fields.push_back(std::move(field));
        } else {
            end = line.find_first_of(kSeparators, pos);
            if (end == std::string_view::npos) end = line.size();
            fields.emplace_back(line.substr(pos, end - pos));
        }
        pos = line.find_first_not_of(kSeparators, end);
    }
    return fields;
}

// The number a field begins with, as a 32-bit value saturated at its limits;
// null when the field does not begin with one.
std::optional<int32_t> LeadingInt(std::string_view field) {
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    int64_t value = 0;
    auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (end == field.data()) return std::nullopt;
    if (error == std::errc::result_out_of_range) value = field.front() == '-' ? INT64_MIN : INT64_MAX;
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

std::optional<double> LeadingDouble(std::string_view field) {
    const std::string text(field);  // strtod needs the terminating NUL
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) return std::nullopt;
    return value;
}

// One variable from a line; null when the line lacks a field.
std::optional<ScopeVariable> ParseLine(std::string_view line) {
    const std::vector<std::string> fields = Fields(line);
    if (fields.size() < kFieldsPerLine) return std::nullopt;
    const auto fraction_bits = LeadingInt(fields[2]);
    const auto factor = LeadingDouble(fields[3]);
    const auto width_kind = LeadingInt(fields[4]);
    const auto level = LeadingInt(fields[5]);
    if (!fraction_bits || !factor || !width_kind || !level) return std::nullopt;

    ScopeVariable variable;
    variable.name = fields[0].substr(0, ScopeVariableList::kMaxNameLength);
    if (!platform::EqualNoCase(fields[1], "none")) {
        variable.unit = fields[1].substr(0, ScopeVariableList::kMaxUnitLength);
    }
    // Fraction bits and level are byte fields of the list.
    variable.fraction_bits = static_cast<uint8_t>(*fraction_bits);
    variable.factor = *factor;
    variable.width_kind = *width_kind;
    variable.level = static_cast<uint8_t>(*level);
    return variable;
}

}  // namespace

std::string ScopeVariableList::FileField(std::string_view text, size_t maxLength) {
    text = text.substr(0, maxLength);
    if (!text.empty() && text.find_first_of(kSeparators) == std::string_view::npos &&
        text.front() != platform::kTextQuote) {
        return std::string(text);
    }
    return platform::QuotedText(text);
}

void ScopeVariableList::InitWithTimeBase(std::string_view path, double time) {
    double factor = time * std::sqrt(2.0);
    for (int i = 0; i <= kLargestFactorExponent; ++i) {
        const double power = std::ldexp(1.0, i);
        if (power >= factor) {
            factor = power;
            break;
        }
    }
    SetFactorTable(std::span<const double>(&factor, 1));
    ReadListFile(path);
}

void ScopeVariableList::InitWithFactorTable(std::string_view path, std::span<const double> factors) {
    SetFactorTable(factors);
    ReadListFile(path);
}

bool ScopeVariableList::ReadListFile(std::string_view path) {
    path_ = path;
    const std::optional<std::string> text = platform::ReadTextFile(path);
    if (!text) {
        Clear();
        return false;
    }
    return ReadListText(*text);
}

bool ScopeVariableList::ReadListText(std::string_view text) {
    Clear();
    uint16_t next_index_kind1 = 0;
    uint16_t next_index_other = 0;
    for (std::string_view line : platform::SplitLines(text)) {
        // A line read as C text ends at a NUL byte.
        line = line.substr(0, line.find('\0'));
        if (line.size() > kMaxLineLength) return false;
        std::optional<ScopeVariable> variable = ParseLine(line);
        if (!variable) return false;
        if (entries_.size() >= kMaxEntries) continue;
        uint16_t& next_index = variable->width_kind == 1 ? next_index_kind1 : next_index_other;
        variable->index_within_kind = next_index++;
        entries_.push_back(std::move(*variable));
    }
    valid_ = true;
    return true;
}

void ScopeVariableList::Clear() {
    entries_.clear();
    current_ = 0;
    valid_ = false;
}

void ScopeVariableList::SetFactorTable(std::span<const double> factors) {
    factors_.assign(factors.begin(), factors.end());
}

template <typename Matches>
bool ScopeVariableList::SelectFirst(Matches matches) {
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (matches(entries_[i])) {
            current_ = static_cast<uint16_t>(i);
            return true;
        }
    }
    return false;
}

bool ScopeVariableList::SelectByKindIndex(uint16_t index, int32_t kind) {
    return SelectFirst([&](const ScopeVariable& v) { return v.width_kind == kind && v.index_within_kind == index; });
}

bool ScopeVariableList::SelectByName(std::string_view name) {
    return SelectFirst([&](const ScopeVariable& v) { return platform::EqualNoCase(v.name, name); });
}

const ScopeVariable* ScopeVariableList::Current() const {
    return current_ < entries_.size() ? &entries_[current_] : nullptr;
}

double ScopeVariableList::GetCurrentFactor() const {
    const ScopeVariable* variable = Current();
    if (variable == nullptr) return 0.0;
    if (variable->factor > 0.0) return variable->factor;
    const double index = -variable->factor;
    // Written so that NaN fails too, before any conversion to an index.
    if (!(index < static_cast<double>(factors_.size()))) return 0.0;
    return factors_[static_cast<size_t>(index)];
}
